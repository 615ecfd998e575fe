#include "tools/demogame/PcxWriter.h"

#include <gtest/gtest.h>

#include "engine/G3DPcx.h"
#include "tools/demogame/DemoPalette.h"

namespace {

using demo::EncodeRuns;
using demo::IndexedPicture;

std::string Runs(std::initializer_list<uint8_t> bytes) {
    const std::vector<uint8_t> v(bytes);
    return EncodeRuns(v.data(), v.size());
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

TEST(PcxWriterTest, SingleLowBytesStandForThemselves) {
    EXPECT_EQ(Runs({1, 2, 191}), Bytes({1, 2, 191}));
}

TEST(PcxWriterTest, RepeatsAndHighBytesBecomeRuns) {
    EXPECT_EQ(Runs({7, 7, 7}), Bytes({0xC3, 7}));
    EXPECT_EQ(Runs({192}), Bytes({0xC1, 192}));
    EXPECT_EQ(Runs({255, 5}), Bytes({0xC1, 255, 5}));
}

TEST(PcxWriterTest, RunsStopAtSixtyThree) {
    const std::vector<uint8_t> v(100, 9);
    EXPECT_EQ(EncodeRuns(v.data(), v.size()), Bytes({0xFF, 9, 0xC0 + 37, 9}));
}

TEST(PcxWriterTest, EncodedRunsDecodeToTheSameIndices) {
    std::vector<uint8_t> v;
    for (int i = 0; i < 1000; ++i) v.push_back(static_cast<uint8_t>((i * 37 / 5) % 256));
    v.insert(v.end(), 130, 200);
    const std::string runs = EncodeRuns(v.data(), v.size());
    EXPECT_EQ(G3DDecodeRuns(runs, v.size()), v);
}

TEST(PcxWriterTest, HeaderCarriesTheSizeAndAPalettePrecedesTheEnd) {
    IndexedPicture p(6, 3, 4);
    const std::string file = demo::PcxFileBytes(p, demo::DemoPalette());
    EXPECT_EQ(file[0], 10);
    EXPECT_EQ(static_cast<uint8_t>(file[8]), 5);   // Xmax
    EXPECT_EQ(static_cast<uint8_t>(file[10]), 2);  // Ymax
    EXPECT_EQ(static_cast<uint8_t>(file[66]), 6);  // bytes per line
    ASSERT_GE(file.size(), 128u + 769u);
    EXPECT_EQ(file[file.size() - 769], 0x0C);
    // One run per row: a run never crosses the end of a row.
    EXPECT_EQ(file.substr(128, 6), Bytes({0xC6, 4, 0xC6, 4, 0xC6, 4}));
}

TEST(PcxWriterTest, EngineDecodesWhatWasWritten) {
    IndexedPicture p(10, 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x) p.At(x, y) = static_cast<uint8_t>(x * 25 + y);
    }
    const demo::PcxPalette& palette = demo::DemoPalette();
    G3DPicture decoded;
    ASSERT_TRUE(G3DDecodePcx(demo::PcxFileBytes(p, palette), decoded));
    EXPECT_EQ(decoded.Width, 10);
    EXPECT_EQ(decoded.Height, 7);
    EXPECT_EQ(decoded.Pixels, p.Pixels);
    for (int i = 0; i < 256; ++i) {  // the engine keeps the palette planar
        EXPECT_EQ(decoded.Palette[i], palette[3 * i]);
        EXPECT_EQ(decoded.Palette[512 + i], palette[3 * i + 2]);
    }
}

TEST(PcxWriterTest, PlotAndFillStayInsideThePicture) {
    IndexedPicture p(4, 4);
    p.Plot(-1, 0, 9);
    p.Plot(4, 4, 9);
    p.FillRect(-5, 2, 2, 10, 3);
    EXPECT_EQ(p.At(0, 0), 0);
    EXPECT_EQ(p.At(1, 3), 3);
    EXPECT_EQ(p.At(2, 3), 0);
    EXPECT_EQ(p.Pixels.size(), 16u);
}

TEST(DemoPaletteTest, ShadesNeverUseTheTransparentIndex) {
    EXPECT_NE(demo::Shade(demo::Ramp::Grey, 0), 0);
    EXPECT_NE(demo::Shade(demo::Ramp::Grey, -5), 0);
    EXPECT_EQ(demo::Shade(demo::Ramp::Violet, 99), 255);
    EXPECT_EQ(demo::Shade(demo::Ramp::Brick, 0), 32);
    const demo::PcxPalette& p = demo::DemoPalette();
    EXPECT_EQ(p[0] + p[1] + p[2], 0);
    EXPECT_GT(p[3 * 31], p[3 * 1]);  // ramps get brighter
}

}  // namespace
