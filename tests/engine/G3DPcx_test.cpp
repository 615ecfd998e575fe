#include "engine/G3DPcx.h"

#include <gtest/gtest.h>

#include "tests/engine/TestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct RunCase {
    std::string data;
    size_t count;
    Bytes expected;
};

TEST(G3DPcx, RunLengthDecoding) {
    const RunCase cases[] = {
        {"\xC3\x05\x07", 4, {5, 5, 5, 7}},
        {std::string("\xC0\x09", 2), 0, {}},       // an empty run
        {std::string("\xC0\x09\x01", 3), 1, {1}},  // an empty run, then a byte
        {std::string("\xC4\x00", 2), 4, {0, 0, 0, 0}},
        {"\xC5\x02\x03\x04", 3, {2, 2, 2}},  // a run cut at the count
        {"\x01\x02\x03\x04", 2, {1, 2}},     // more data than needed
        {"\x01", 3, {1, 0, 0}},              // missing pixels are 0
        {"\x01\xC3", 4, {1, 0, 0, 0}},       // a run without its value
        {"\xC1\xC8\xFF\x05", 2, {0xC8, 5}},  // escaped high bytes
        {"\xFF\x06", 70, Bytes(63, 6)},      // the longest run
    };
    for (const RunCase& c : cases) {
        Bytes expected = c.expected;
        expected.resize(c.count, 0);
        EXPECT_EQ(G3DDecodeRuns(c.data, c.count), expected) << "data size " << c.data.size();
    }
}

TEST(G3DPcx, DecodingStopsAtThePalette) {
    // The data holds 2 pixels of a 2 × 2 picture; the palette bytes that follow
    // must not be read as pixels.
    const std::string file = enginetest::MakePcx(2, 2, "\x03\x04");
    G3DPicture picture;
    ASSERT_TRUE(G3DDecodePcx(file, picture));
    EXPECT_EQ(picture.Width, 2);
    EXPECT_EQ(picture.Height, 2);
    EXPECT_EQ(picture.Pixels, (Bytes{3, 4, 0, 0}));
    // Palette is stored planar; the marker byte before it is not part of it.
    EXPECT_EQ(picture.Palette[4], 4);
    EXPECT_EQ(picture.Palette[256 + 4], 251);
    EXPECT_EQ(picture.Palette[512 + 4], 2);
}

TEST(G3DPcx, HeaderFieldsAndPalettePosition) {
    // No marker before the palette: the palette is the last 768 bytes whatever
    // precedes it. Xmin and Ymin (offsets 4 and 6) play no part in the size.
    std::string palette(768, '\0');
    palette[0] = 7, palette[1] = 8, palette[2] = 9, palette[3 * 255 + 2] = 99;
    std::string file =
        enginetest::MakePcx(3, 2, std::string("\x01\x02\x03\x00\x04\x05\x06\x00", 8), palette);
    file[4] = 1, file[6] = 1;
    G3DPicture picture;
    ASSERT_TRUE(G3DDecodePcx(file, picture));
    EXPECT_EQ(picture.Width, 3);
    EXPECT_EQ(picture.Height, 2);
    // Width 3 (Xmax even) pads each row with a byte; the padding is not skipped.
    EXPECT_EQ(picture.Pixels, (Bytes{1, 2, 3, 0, 4, 5}));
    EXPECT_EQ(picture.Palette[0], 7);
    EXPECT_EQ(picture.Palette[256], 8);
    EXPECT_EQ(picture.Palette[512], 9);
    EXPECT_EQ(picture.Palette[512 + 255], 99);

    // Xmax and Ymax are 16-bit little-endian at offsets 8 and 10.
    int32_t width = 0, height = 0;
    file[8] = '\x3F', file[9] = '\x01', file[10] = '\x00', file[11] = '\x02';
    ASSERT_TRUE(G3DPcxSize(file, width, height));
    EXPECT_EQ(width, 0x140);
    EXPECT_EQ(height, 0x201);
}

TEST(G3DPcx, UnreadableFiles) {
    G3DPicture picture;
    EXPECT_FALSE(G3DDecodePcx(std::string(128 + 767, '\0'), picture));  // no room for a palette
    EXPECT_FALSE(G3DDecodePcx("", picture));
    // A side beyond the decoder's limit.
    EXPECT_FALSE(G3DDecodePcx(enginetest::MakePcx(kG3DMaxPictureSide + 1, 1, ""), picture));
    // An empty data stream still gives a picture of index 0.
    ASSERT_TRUE(G3DDecodePcx(enginetest::MakePcx(3, 1, ""), picture));
    EXPECT_EQ(picture.Pixels, (Bytes{0, 0, 0}));
}

TEST(G3DPcx, ColouringMakesIndexZeroTransparent) {
    G3DPicture picture;
    ASSERT_TRUE(G3DDecodePcx(enginetest::MakePcx(3, 2, std::string("\x00\x01\x02\x03\x00\x05", 6)),
                             picture));
    const Bytes rgba = G3DColourPicture(picture, 4, 2);
    ASSERT_EQ(rgba.size(), 4u * 2 * 4);
    EXPECT_EQ(Bytes(rgba.begin(), rgba.begin() + 4), (Bytes{0, 255, 0, 0}));
    EXPECT_EQ(Bytes(rgba.begin() + 4, rgba.begin() + 8), (Bytes{1, 254, 0, 255}));
    EXPECT_EQ(Bytes(rgba.begin() + 12, rgba.begin() + 16), (Bytes{0, 0, 0, 0}));      // padding
    EXPECT_EQ(Bytes(rgba.begin() + 16, rgba.begin() + 20), (Bytes{3, 252, 1, 255}));  // row 1
}

TEST(G3DPcx, NextPowerOfTwo) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 2},     {1, 2},     {2, 2},  {3, 4},
                                                 {128, 128}, {129, 256}, {-5, 2}, {8193, 16384}};
    for (auto [n, p] : cases) EXPECT_EQ(G3DNextPowerOfTwo(n), p) << n;
}

}  // namespace
