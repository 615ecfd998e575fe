// Bitmap-font sheets: one picture holding the glyphs of the character codes
// 32..131 in the order the player cuts them, left to right one pixel apart,
// rows one pixel apart, from the top-left corner.
#pragma once

#include <cstdint>

#include "tools/demogame/PcxWriter.h"

namespace demo {

// Glyphs per row of a sheet (five rows hold the hundred glyphs).
constexpr int kSheetGlyphsPerRow = 20;

// How a sheet's glyphs look. A glyph cell is Width × Height pixels; each dot of
// the 5 × 7 font becomes Scale × Scale pixels, ink shaded from InkTop to
// InkBottom down the glyph; Shadow (0: none) is put one pixel right and down of
// the ink where the cell has room.
struct FontStyle {
    int32_t Width = 5;
    int32_t Height = 7;
    int32_t Scale = 1;
    uint8_t InkTop = 1;
    uint8_t InkBottom = 1;
    uint8_t Shadow = 0;
};

// The two fonts of the demo game: small 5 × 7 and big 10 × 15.
FontStyle SmallFontStyle();
FontStyle BigFontStyle();

// Sheet size for glyph cells of width × height: exactly kSheetGlyphsPerRow
// glyphs per row before the cutter wraps, an even width (the image loader
// wants one).
int32_t FontSheetWidth(int32_t glyphWidth);
int32_t FontSheetHeight(int32_t glyphHeight);

// Top-left corner of glyph k (0 = code 32) on a sheet.
void GlyphCorner(const FontStyle& style, int k, int32_t& x, int32_t& y);

// Draws the whole sheet; background index 0 (transparent).
IndexedPicture MakeFontSheet(const FontStyle& style);

}  // namespace demo
