#include "game/draw/HudText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/G3DImages.h"
#include "engine/G3DState.h"

namespace {

class HudTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FontSizes[0] = {3, 7};
        FontSizes[1] = {8, 15};
    }
};

TEST_F(HudTextTest, GlyphSlotsAndTextWidth) {
    EXPECT_EQ(GlyphSlot(0, ' '), 50);
    EXPECT_EQ(GlyphSlot(0, 'A'), 83);
    EXPECT_EQ(GlyphSlot(1, ' '), 150);
    EXPECT_EQ(GlyphSlot(1, 131), 249);
    EXPECT_FLOAT_EQ(FontTextWidth("hello", 0), 5 * 4 / 320.0f);
    EXPECT_FLOAT_EQ(FontTextWidth("hello", 1), 5 * 9 / 320.0f);
    EXPECT_FLOAT_EQ(FontTextWidth("", 0), 0.0f);
}

TEST_F(HudTextTest, NoCharacterSelectsTheMessagePicture) {
    for (int font = 0; font < 2; ++font) {
        for (int c = 0; c < 256; ++c)
            EXPECT_NE(GlyphSlot(font, static_cast<uint8_t>(c)), kMessagePictureSlot);
    }
}

TEST_F(HudTextTest, ZeroPadding) {
    std::string s;
    ZeroPadInt(7, 3, s);
    EXPECT_EQ(s, "007");
    ZeroPadInt(1234, 3, s);
    EXPECT_EQ(s, "1234");
    ZeroPadInt(0, 1, s);
    EXPECT_EQ(s, "0");
    ZeroPadInt(-7, 4, s);
    EXPECT_EQ(s, "00-7");
}

TEST_F(HudTextTest, TextScreenIs200HighOnlyForA200LineFrame) {
    TDStuff engine;
    engine.CentreY = 100;
    EXPECT_FLOAT_EQ(TextScreenHeight(engine), 200.0f);
    engine.CentreY = 120;
    EXPECT_FLOAT_EQ(TextScreenHeight(engine), 240.0f);
    engine.CentreY = 240;
    EXPECT_FLOAT_EQ(TextScreenHeight(engine), 240.0f);
}

TEST_F(HudTextTest, PlainTextAdvancesBreaksAtReturnsAndWrapsToItsLeftEdge) {
    const float gw = 3 / 320.0f, ax = 4 / 320.0f, ay = 8 / 240.0f;
    auto glyphs = LayoutFontText("AB\rC^", 0, 0.25f, 0.5f, 240.0f);
    ASSERT_EQ(glyphs.size(), 4u);  // "^" is a glyph here
    EXPECT_EQ(glyphs[0].slot, GlyphSlot(0, 'A'));
    EXPECT_FLOAT_EQ(glyphs[0].x, 0.25f);
    EXPECT_FLOAT_EQ(glyphs[0].w, gw);
    EXPECT_FLOAT_EQ(glyphs[0].h, 7 / 240.0f);
    EXPECT_FLOAT_EQ(glyphs[1].x, 0.25f + ax);
    EXPECT_FLOAT_EQ(glyphs[2].x, 0.25f);
    EXPECT_FLOAT_EQ(glyphs[2].y, 0.5f + ay);
    EXPECT_EQ(glyphs[3].slot, GlyphSlot(0, '^'));

    // 80 glyphs of 4 units fill the 320-unit line: the pen reaches 1 - gw only
    // after the 80th and stays on the line until it passes it.
    std::string line(81, 'x');
    glyphs = LayoutFontText(line, 0, 0.5f, 0.0f, 200.0f);
    int firstWrapped = -1;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i].y > 0.0f) {
            firstWrapped = static_cast<int>(i);
            break;
        }
    }
    // From x = 0.5 the pen passes 1 - gw after 40 glyphs (0.5 + 40 * 4/320 = 1.0).
    EXPECT_EQ(firstWrapped, 40);
    EXPECT_FLOAT_EQ(glyphs[40].x, 0.5f) << "a wrapped line starts again at X";
    EXPECT_FLOAT_EQ(glyphs[40].y, 8 / 200.0f);

    // A pen exactly at 1 - gw stays on the line.
    FontSizes[0] = {4, 7};  // advance 5/320 = 1/64, glyph 4/320
    glyphs = LayoutFontText("ab", 0, 1.0f - 4 / 320.0f - 5 / 320.0f, 0.0f, 240.0f);
    EXPECT_FLOAT_EQ(glyphs[1].y, 0.0f);
}

TEST_F(HudTextTest, RichTextStartsBigSwitchesFontsAndBreaksAtCaret) {
    auto glyphs = LayoutRichText("abc", 0.0f, 0.0f, 240.0f);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0].slot, GlyphSlot(1, 'a'));
    EXPECT_FLOAT_EQ(glyphs[1].x, 9 / 320.0f);

    const std::string text = std::string("A") + char(176) + "b^c" + char(178) + "d\r";
    glyphs = LayoutRichText(text, 0.1f, 0.2f, 240.0f);
    ASSERT_EQ(glyphs.size(), 5u);  // A b c d and the carriage return drawn as a glyph
    EXPECT_EQ(glyphs[0].slot, GlyphSlot(1, 'A'));
    EXPECT_EQ(glyphs[1].slot, GlyphSlot(0, 'b'));
    EXPECT_FLOAT_EQ(glyphs[1].x, 0.1f + 9 / 320.0f);
    EXPECT_FLOAT_EQ(glyphs[1].h, 7 / 240.0f);
    EXPECT_FLOAT_EQ(glyphs[2].x, 0.1f);  // "^": new line of the small font
    EXPECT_FLOAT_EQ(glyphs[2].y, 0.2f + 8 / 240.0f);
    EXPECT_EQ(glyphs[3].slot, GlyphSlot(1, 'd'));
    EXPECT_EQ(glyphs[4].slot, GlyphSlot(1, 13));
    EXPECT_TRUE(LayoutRichText("", 0, 0, 240).empty());
}

// Font sizes come from game.ini unchecked: any 32-bit value must give a
// defined cut and layout, and no glyph may be larger than its sheet.
TEST_F(HudTextTest, FontSizesOfAnyValueStayWithinTheSheet) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    TG3DImage& sheet = G3DImages[kFontSheetSlot];
    sheet.Width = 8, sheet.Height = 4;
    sheet.Pixels.assign(8 * 4 * 4, 200);
    const struct {
        FontMetrics metrics;
        int32_t glyphWidth, glyphHeight;  // of the space, 0: not cut
    } cases[] = {{{3, 2}, 3, 2}, {{4000, 4000}, 8, 4}, {{kMax, kMax}, 8, 4}, {{kMin, kMin}, 0, 0}};
    for (const auto& c : cases) {
        TG3DImage& space = G3DImages[GlyphSlot(0, ' ')];
        space = TG3DImage{};
        CutFontSheet(0, c.metrics);
        EXPECT_EQ(space.Width, c.glyphWidth) << c.metrics.width;
        EXPECT_EQ(space.Height, c.glyphHeight) << c.metrics.height;
    }
    sheet = TG3DImage{};
    G3DImages[GlyphSlot(0, ' ')] = TG3DImage{};

    FontSizes[0] = {kMax, kMax};
    EXPECT_FLOAT_EQ(FontTextWidth("ab", 0), 2 * 2147483648.0f / 320);
    const auto glyphs = LayoutFontText("ab", 0, 0.0f, 0.0f, 240.0f);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_GT(glyphs[1].y, 0.0f);  // wrapped to a new line far below
}

}  // namespace
