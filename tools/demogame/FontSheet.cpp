#include "tools/demogame/FontSheet.h"

#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/FontGlyphs.h"

namespace demo {

namespace {
constexpr int kSheetRows = (kGlyphCount + kSheetGlyphsPerRow - 1) / kSheetGlyphsPerRow;

uint8_t InkAt(const FontStyle& style, int32_t y) {
    // The upper half of the glyph takes InkTop, the lower half InkBottom.
    return y * 2 < style.Height ? style.InkTop : style.InkBottom;
}

void DrawGlyph(const FontStyle& style, int code, int32_t x0, int32_t y0, IndexedPicture& sheet) {
    for (int gy = 0; gy < kGlyphRows; ++gy) {
        for (int gx = 0; gx < kGlyphColumns; ++gx) {
            if (!GlyphDot(code, gx, gy)) continue;
            for (int32_t sy = 0; sy < style.Scale; ++sy) {
                for (int32_t sx = 0; sx < style.Scale; ++sx) {
                    const int32_t x = gx * style.Scale + sx, y = gy * style.Scale + sy;
                    if (x >= style.Width || y >= style.Height) continue;
                    sheet.At(x0 + x, y0 + y) = InkAt(style, y);
                    const bool room = x + 1 < style.Width && y + 1 < style.Height;
                    if (style.Shadow == 0 || !room) continue;
                    uint8_t& behind = sheet.At(x0 + x + 1, y0 + y + 1);
                    if (behind == 0) behind = style.Shadow;
                }
            }
        }
    }
}
}  // namespace

FontStyle SmallFontStyle() {
    FontStyle s;
    s.InkTop = s.InkBottom = Shade(Ramp::Grey, 31);
    return s;
}

FontStyle BigFontStyle() {
    FontStyle s;
    s.Width = 10;
    s.Height = 15;
    s.Scale = 2;
    s.InkTop = Shade(Ramp::Gold, 31);
    s.InkBottom = Shade(Ramp::Gold, 22);
    s.Shadow = Shade(Ramp::Violet, 6);
    return s;
}

int32_t FontSheetWidth(int32_t glyphWidth) {
    const int32_t w = kSheetGlyphsPerRow * (glyphWidth + 1);
    return w % 2 == 0 ? w : w + 1;
}

int32_t FontSheetHeight(int32_t glyphHeight) { return kSheetRows * (glyphHeight + 1); }

void GlyphCorner(const FontStyle& style, int k, int32_t& x, int32_t& y) {
    x = (k % kSheetGlyphsPerRow) * (style.Width + 1);
    y = (k / kSheetGlyphsPerRow) * (style.Height + 1);
}

IndexedPicture MakeFontSheet(const FontStyle& style) {
    IndexedPicture sheet(FontSheetWidth(style.Width), FontSheetHeight(style.Height));
    for (int k = 0; k < kGlyphCount; ++k) {
        int32_t x = 0, y = 0;
        GlyphCorner(style, k, x, y);
        DrawGlyph(style, kFirstGlyph + k, x, y, sheet);
    }
    return sheet;
}

}  // namespace demo
