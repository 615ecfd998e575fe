// The demo game's own dot-matrix font: 5 × 7 glyphs for the character codes
// 32..131 (printable ASCII, then a heart, a key, a skull, an arrow and a
// star), from which both bitmap-font sheets are drawn.
#pragma once

namespace demo {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 100;  // codes 32..131

// Whether dot (x, y) of the glyph of `code` is set; false outside the glyph
// or for a code without a glyph.
bool GlyphDot(int code, int x, int y);

}  // namespace demo
