#include "engine/G3DImages.h"

#include <gtest/gtest.h>

#include "engine/G3DPcx.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/engine/TestFiles.h"

namespace {

class G3DImagesTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::SetMessageSink(&messages); }
    void TearDown() override {
        platform::SetMessageSink(nullptr);
        G3DClearImages();
    }
    // A picture whose pixel (x, y) has index 1 + (x + 10 y) mod 190 (no run codes).
    std::string Picture(const std::string& name, int w, int h) {
        std::vector<uint8_t> indices;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                indices.push_back(static_cast<uint8_t>(1 + (x + 10 * y) % 190));
        }
        return folder.Write(name, enginetest::MakePcx(w, h, enginetest::PlainRuns(indices)));
    }
    // Red byte (= palette index here) of a slot's pixel, -1 when transparent.
    static int Index(int slot, int x, int y) {
        const TG3DImage& image = G3DImages[slot];
        const size_t at = (static_cast<size_t>(y) * G3DNextPowerOfTwo(image.Width) + x) * 4;
        return image.Pixels[at + 3] == 0 ? -1 : image.Pixels[at];
    }
    platform::RecordingMessageSink messages;
    enginetest::ScratchFolder folder;
    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
};

TEST_F(G3DImagesTest, LoadSizesAndScales) {
    G3DLoadImage(3, Picture("wide.pcx", 100, 40), *state);
    const TG3DImage& image = G3DImages[3];
    EXPECT_EQ(image.Width, 100);
    EXPECT_EQ(image.Height, 40);
    EXPECT_FLOAT_EQ(image.U, 0.78125f);
    EXPECT_FLOAT_EQ(image.V, 0.625f);
    EXPECT_EQ(image.Pixels.size(), 128u * 64 * 4);
    EXPECT_EQ(Index(3, 99, 0), 100);
    EXPECT_EQ(Index(3, 100, 0), -1);  // beyond the picture: zero
    EXPECT_EQ(Index(3, 0, 39), 11);
    EXPECT_TRUE(messages.texts.empty());  // width 100: no message

    G3DLoadImage(4, Picture("tiny.pcx", 1, 1), *state);
    EXPECT_FLOAT_EQ(G3DImages[4].U, 0.5f);
    EXPECT_FLOAT_EQ(G3DImages[4].V, 0.5f);
}

TEST_F(G3DImagesTest, OddWidthIsReportedAndLoaded) {
    const std::string name = Picture("odd.pcx", 101, 2);
    G3DLoadImage(5, name, *state);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "G3D: The image " + name + " must have an odd width");
    EXPECT_EQ(G3DImages[5].Width, 101);
}

TEST_F(G3DImagesTest, UnreadableFilesKeepTheSlot) {
    G3DLoadImage(6, Picture("first.pcx", 4, 4), *state);
    G3DLoadImage(6, folder.Path("none.pcx"), *state);
    G3DLoadImage(6, folder.Write("short.pcx", std::string(300, 'x')), *state);
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(messages.texts[0], "G3D: The 3D file " + folder.Path("none.pcx") + " is missing");
    EXPECT_EQ(G3DImages[6].Width, 4);
    G3DLoadImage(6, "", *state);
    G3DLoadImage(4096, Picture("x.pcx", 4, 4), *state);  // no such slot
    G3DLoadImage(-1, Picture("x.pcx", 4, 4), *state);
    EXPECT_EQ(messages.texts.size(), 2u);
}

TEST_F(G3DImagesTest, CropCutsAndClips) {
    G3DLoadImage(10, Picture("sheet.pcx", 8, 4), *state);
    G3DCropImage(10, 2, 1, 3, 2, 11);
    EXPECT_EQ(G3DImages[11].Width, 3);
    EXPECT_EQ(G3DImages[11].Height, 2);
    EXPECT_FLOAT_EQ(G3DImages[11].U, 0.75f);
    EXPECT_EQ(Index(11, 0, 0), 13);
    EXPECT_EQ(Index(11, 2, 1), 25);
    EXPECT_EQ(Index(11, 3, 0), -1);  // new room is zero

    G3DCropImage(10, 6, -1, 4, 3, 12);  // partly outside: transparent there
    EXPECT_EQ(Index(12, 0, 0), -1);
    EXPECT_EQ(Index(12, 0, 1), 7);
    EXPECT_EQ(Index(12, 1, 2), 18);
    EXPECT_EQ(Index(12, 2, 1), -1);

    G3DCropImage(10, 1, 1, 2, 2, 10);  // into its own slot
    EXPECT_EQ(G3DImages[10].Width, 2);
    EXPECT_EQ(Index(10, 0, 0), 12);
    EXPECT_EQ(Index(10, 1, 1), 23);

    G3DCropImage(99, 0, 0, 2, 2, 13);  // an empty source
    EXPECT_TRUE(G3DImages[13].Pixels.empty());
    G3DCropImage(10, 0, 0, 0, 2, 13);                  // no size
    G3DCropImage(10, INT32_MAX, INT32_MAX, 2, 2, 13);  // far outside: all transparent
    EXPECT_EQ(Index(13, 1, 1), -1);
    G3DCropImage(10, 0, 0, 2, 2, 4096);
}

TEST_F(G3DImagesTest, ClearEmptiesEverySlot) {
    G3DLoadImage(0, Picture("a.pcx", 2, 2), *state);
    G3DLoadImage(4095, Picture("a.pcx", 2, 2), *state);
    G3DClearImages();
    EXPECT_TRUE(G3DImages[0].Pixels.empty());
    EXPECT_TRUE(G3DImages[4095].Pixels.empty());
}

}  // namespace
