#include "engine/G3D3DFile.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/G3DImages.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/engine/TestFiles.h"

namespace {

TEST(G3D3DFile, LineNormalisation) {
    const std::pair<std::string, std::string> cases[] = {
        {" 12 = wall.pcx\r", "12=WALL.PCX"},
        {"\t#images", "#IMAGES"},
        {"a b\tc\rd", "ABCD"},
        {"\xE9t\xE9", "\xE9T\xE9"},  // only a-z change case
        {std::string(300, 'x'), std::string(255, 'X')},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(G3DNormaliseLine(line), expected);
}

TEST(G3D3DFile, ParsesSectionsAndSkipsBadLines) {
    const std::string text =
        "3=ignored.pcx\n"  // before the images section
        "#Images\r\n"
        " 1 = floor.pcx \r\n"
        "\r\n"
        "2=Wall.pcx\n"
        "32767=last.pcx\n"
        "32768=toolarge.pcx\n"  // number out of range
        "noequals.pcx\n"        // no "="
        "x1=bad.pcx\n"          // not a number
        "#TEXTURES\n"
        "7 = 10 - 13\n"
        "8=13-10\n"
        "9=4\n"         // no "-"
        "10=40000-1\n"  // out of range
        "11=1-2-3\n";   // the rest after the first "-" is not a number
    const G3D3DFileContents c = G3DParse3DFile(text);
    ASSERT_EQ(c.Pictures.size(), 3u);
    EXPECT_EQ(c.Pictures[0].Picture, 1);
    EXPECT_EQ(c.Pictures[0].File, "FLOOR.PCX");
    EXPECT_EQ(c.Pictures[1].File, "WALL.PCX");
    EXPECT_EQ(c.Pictures[2].Picture, 32767);
    ASSERT_EQ(c.Textures.size(), 2u);
    EXPECT_EQ(c.Textures[0].Texture, 7);
    EXPECT_EQ(c.Textures[0].First, 10);
    EXPECT_EQ(c.Textures[0].Last, 13);
    EXPECT_EQ(c.Textures[1].Texture, 8);
    EXPECT_EQ(c.Textures[1].First, 13);
    EXPECT_EQ(c.Textures[1].Last, 10);
}

TEST(G3D3DFile, NoImagesSectionMeansNothing) {
    EXPECT_TRUE(G3DParse3DFile("1=A.PCX\n#TEXTURES\n1=2-3\n").Pictures.empty());
    EXPECT_TRUE(G3DParse3DFile("1=A.PCX\n#TEXTURES\n1=2-3\n").Textures.empty());
}

TEST(G3D3DFile, AnimationCycles) {
    auto state = std::make_unique<TDStuff>();
    state->AnimTextures[7] = {10, 13, 10};
    state->AnimTextures[8] = {13, 10, 13};
    state->AnimTextures[9] = {4, 4, 9};
    state->HighestAnimTexture = 9;
    std::vector<int32_t> up, down;
    for (int i = 0; i < 5; ++i) {
        G3DAnimateTextures(*state);
        up.push_back(state->AnimTextures[7].Current);
        down.push_back(state->AnimTextures[8].Current);
    }
    EXPECT_EQ(up, (std::vector<int32_t>{11, 12, 13, 10, 11}));
    EXPECT_EQ(down, (std::vector<int32_t>{12, 11, 10, 13, 12}));
    EXPECT_EQ(state->AnimTextures[9].Current, 4);
}

class G3D3DFileLoad : public ::testing::Test {
  protected:
    void SetUp() override { platform::SetMessageSink(&messages); }
    void TearDown() override { platform::SetMessageSink(nullptr); }
    std::string Palette(uint8_t red) {
        std::string p(1, 12);
        for (int i = 0; i < 256; ++i)
            p += std::string{static_cast<char>(red), 0, static_cast<char>(i)};
        return p;
    }
    platform::RecordingMessageSink messages;
    enginetest::ScratchFolder folder;
    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
};

TEST_F(G3D3DFileLoad, PalettesComeFromTheFirstTwoPictures) {
    folder.Write("a.pcx", enginetest::MakePcx(2, 2, "", Palette(11)));
    folder.Write("b.pcx", enginetest::MakePcx(2, 2, "", Palette(22)));
    folder.Write("c.pcx", enginetest::MakePcx(2, 2, "", Palette(33)));
    const std::string file = folder.Write(
        "level.3d", "#IMAGES\n1=" + folder.Path("a.pcx") + "\n2=" + folder.Path("b.pcx") +
                        "\n3=" + folder.Path("c.pcx") + "\n#TEXTURES\n5=1-3\n2=2-2\n");
    state->HighestAnimTexture = 99;
    G3DLoad3DFile(file, *state);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(state->Last3DFile, file);
    EXPECT_EQ(state->MainPalette[0], 11);
    EXPECT_EQ(state->SecondPalette[0], 22);
    EXPECT_EQ(state->SecondPalette[512 + 200], 200);
    EXPECT_EQ(state->HighestAnimTexture, 5);
    EXPECT_EQ(state->AnimTextures[5].First, 1);
    EXPECT_EQ(state->AnimTextures[5].Last, 3);
    EXPECT_EQ(state->AnimTextures[5].Current, 1);
}

TEST_F(G3D3DFileLoad, MissingFilesAreReported) {
    const std::string file =
        folder.Write("level.3d", "#IMAGES\n1=" + folder.Path("none.pcx") + "\n");
    state->MainPalette[0] = 77;
    G3DLoad3DFile(file, *state);
    ASSERT_EQ(messages.texts.size(), 1u);
    // The name as the normalised line gives it.
    EXPECT_EQ(messages.texts[0],
              "G3D: The 3D file " + G3DNormaliseLine(folder.Path("none.pcx")) + " is missing");
    EXPECT_EQ(state->MainPalette[0], 77);  // nothing loaded, palette kept

    state->HighestAnimTexture = 12;
    state->AnimTextures[3] = {1, 2, 2};
    G3DLoad3DFile(folder.Path("gone.3d"), *state);
    EXPECT_EQ(messages.texts.back(), "G3D: The 3D file " + folder.Path("gone.3d") + " is missing");
    EXPECT_EQ(state->Last3DFile, folder.Path("gone.3d"));
    EXPECT_EQ(state->HighestAnimTexture, 0);
    EXPECT_EQ(state->AnimTextures[3].Current, 2);

    // A file that names no picture is said as a missing one.
    for (const char* bytes : {"", "\x89PNG\r\n junk", "#IMAGES\n#TEXTURES\n1=2-3\n"}) {
        G3DLoad3DFile(folder.Write("empty.3d", bytes), *state);
        EXPECT_EQ(messages.texts.back(),
                  "G3D: The 3D file " + folder.Path("empty.3d") + " is missing");
    }
    EXPECT_EQ(state->AnimTextures[1].Last, 3);

    G3DLoad3DFile("", *state);  // nothing at all
    EXPECT_EQ(messages.texts.size(), 5u);
}

TEST_F(G3D3DFileLoad, ShortPictureIsUnreadable) {
    const std::string name = folder.Write("short.pcx", std::string(200, '\0'));
    TPalette palette{};
    palette[0] = 5;
    EXPECT_FALSE(G3DLoadPCXTexture(name, 1, palette));
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(palette[0], 5);
    EXPECT_FALSE(G3DLoadPCXTexture(folder.Write("ok.pcx", enginetest::MakePcx(2, 2, "")), 32768,
                                   palette));  // picture number out of range
}

}  // namespace
