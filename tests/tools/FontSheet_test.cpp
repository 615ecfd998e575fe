#include "tools/demogame/FontSheet.h"

#include <gtest/gtest.h>

#include "engine/G3DPcx.h"
#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/FontGlyphs.h"

namespace {

using demo::FontStyle;

// The corners at which the player cuts the hundred glyphs out of a sheet of
// the given width: left to right one pixel apart, a new row once x reaches
// width - glyph width.
std::vector<std::pair<int32_t, int32_t>> CutterCorners(const FontStyle& s, int32_t sheetWidth) {
    std::vector<std::pair<int32_t, int32_t>> corners;
    int32_t x = 0, y = 0;
    for (int k = 0; k < demo::kGlyphCount; ++k) {
        corners.emplace_back(x, y);
        x += s.Width + 1;
        if (x >= sheetWidth - s.Width) {
            x = 0;
            y += s.Height + 1;
        }
    }
    return corners;
}

void ExpectCutterFindsEveryGlyph(const FontStyle& s) {
    const demo::IndexedPicture sheet = demo::MakeFontSheet(s);
    EXPECT_EQ(sheet.Width % 2, 0);  // the image loader warns about odd widths
    const auto corners = CutterCorners(s, sheet.Width);
    for (int k = 0; k < demo::kGlyphCount; ++k) {
        int32_t x = 0, y = 0;
        demo::GlyphCorner(s, k, x, y);
        EXPECT_EQ(corners[k], std::make_pair(x, y)) << "glyph " << k;
        EXPECT_LE(x + s.Width, sheet.Width);
        EXPECT_LE(y + s.Height, sheet.Height);
    }
}

TEST(FontSheetTest, PlayerCutsTheGlyphsWhereTheyAreDrawn) {
    ExpectCutterFindsEveryGlyph(demo::SmallFontStyle());
    ExpectCutterFindsEveryGlyph(demo::BigFontStyle());
}

TEST(FontSheetTest, GapsBetweenGlyphsStayTransparent) {
    for (const FontStyle& s : {demo::SmallFontStyle(), demo::BigFontStyle()}) {
        const demo::IndexedPicture sheet = demo::MakeFontSheet(s);
        for (int k = 0; k < demo::kGlyphCount; ++k) {
            int32_t x0 = 0, y0 = 0;
            demo::GlyphCorner(s, k, x0, y0);
            for (int32_t y = y0; y <= y0 + s.Height && y < sheet.Height; ++y) {
                if (x0 + s.Width < sheet.Width) {
                    EXPECT_EQ(sheet.At(x0 + s.Width, y), 0);
                }
            }
            for (int32_t x = x0; x <= x0 + s.Width && x < sheet.Width; ++x) {
                if (y0 + s.Height < sheet.Height) {
                    EXPECT_EQ(sheet.At(x, y0 + s.Height), 0);
                }
            }
        }
    }
}

int InkIn(const demo::IndexedPicture& sheet, const FontStyle& s, int code) {
    int32_t x0 = 0, y0 = 0;
    demo::GlyphCorner(s, code - demo::kFirstGlyph, x0, y0);
    int ink = 0;
    for (int32_t y = 0; y < s.Height; ++y) {
        for (int32_t x = 0; x < s.Width; ++x) ink += sheet.At(x0 + x, y0 + y) != 0;
    }
    return ink;
}

TEST(FontSheetTest, EveryPrintableCharacterHasInkAndSpaceHasNone) {
    const FontStyle s = demo::SmallFontStyle();
    const demo::IndexedPicture sheet = demo::MakeFontSheet(s);
    EXPECT_EQ(InkIn(sheet, s, ' '), 0);
    for (int c = 33; c <= 131; ++c) EXPECT_GT(InkIn(sheet, s, c), 0) << "code " << c;
}

TEST(FontSheetTest, BigGlyphsAreTheSmallOnesScaledUp) {
    const FontStyle small = demo::SmallFontStyle(), big = demo::BigFontStyle();
    const demo::IndexedPicture a = demo::MakeFontSheet(small), b = demo::MakeFontSheet(big);
    // Without the shadow, four big pixels per small one.
    int bigInk = 0;
    int32_t x0 = 0, y0 = 0;
    demo::GlyphCorner(big, 'H' - 32, x0, y0);
    for (int32_t y = 0; y < big.Height; ++y) {
        for (int32_t x = 0; x < big.Width; ++x) {
            const uint8_t v = b.At(x0 + x, y0 + y);
            bigInk += v == big.InkTop || v == big.InkBottom;
        }
    }
    EXPECT_EQ(bigInk, 4 * InkIn(a, small, 'H'));
}

TEST(FontSheetTest, GlyphTableHasTheDotsOfA) {
    EXPECT_FALSE(demo::GlyphDot('A', 0, 0));
    EXPECT_TRUE(demo::GlyphDot('A', 1, 0));
    EXPECT_TRUE(demo::GlyphDot('A', 0, 3));
    EXPECT_TRUE(demo::GlyphDot('A', 4, 6));
    EXPECT_FALSE(demo::GlyphDot('A', 5, 0));  // outside the glyph
    EXPECT_FALSE(demo::GlyphDot(132, 0, 0));  // no glyph
    EXPECT_FALSE(demo::GlyphDot(31, 2, 2));
}

TEST(FontSheetTest, SheetsDecodeAsPictures) {
    const demo::IndexedPicture sheet = demo::MakeFontSheet(demo::BigFontStyle());
    G3DPicture p;
    ASSERT_TRUE(G3DDecodePcx(demo::PcxFileBytes(sheet, demo::DemoPalette()), p));
    EXPECT_EQ(p.Width, 220);
    EXPECT_EQ(p.Height, 80);
    EXPECT_EQ(p.Pixels, sheet.Pixels);
}

}  // namespace
