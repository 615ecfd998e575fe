// Writer of 8-bit PCX pictures as the engine reads them: a 128-byte header,
// run-length data row by row, the 0x0C marker and a 768-byte palette.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// 256 × (red, green, blue), in the order the file stores them.
using PcxPalette = std::array<uint8_t, 768>;

// A picture of palette indices, rows top to bottom. Index 0 is transparent
// wherever the engine draws the picture as an overlay.
struct IndexedPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;  // Width × Height

    IndexedPicture() = default;
    IndexedPicture(int32_t width, int32_t height, uint8_t fill = 0);
    uint8_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
    uint8_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
    // Sets a pixel; points outside the picture are ignored.
    void Plot(int32_t x, int32_t y, uint8_t index);
    // Fills the rectangle [x0, x1) × [y0, y1), clipped to the picture.
    void FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t index);
};

// Run-length coding of `count` indices: runs of 2 to 63 equal bytes, and any
// byte of 192 or more, become a count byte (192 + n) and the value.
std::string EncodeRuns(const uint8_t* data, size_t count);

// The bytes of a PCX file holding `picture`, each row encoded on its own.
std::string PcxFileBytes(const IndexedPicture& picture, const PcxPalette& palette);

}  // namespace demo
