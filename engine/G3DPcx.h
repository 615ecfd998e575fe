// PCX pictures as the engine reads them: 8-bit run-length data after a
// 128-byte header, a 768-byte palette at the end of the file. Decoding works on
// the file's bytes; colouring turns palette indices into RGBA pixels with
// index 0 transparent.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/G3DState.h"

// Largest picture side the engine decodes.
constexpr int32_t kG3DMaxPictureSide = 8192;

// A decoded picture: Width × Height palette indices, rows top to bottom.
struct G3DPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;
    TPalette Palette{};  // planar
};

// Whether the file is long enough for a header and a palette.
bool G3DPcxReadable(std::string_view file);

// Size fields of a PCX header (Xmax + 1, Ymax + 1); false when the data is
// shorter than the header fields.
bool G3DPcxSize(std::string_view file, int32_t& width, int32_t& height);

// Decodes a whole PCX file. False when the file is too short to hold its
// header and palette, or a side exceeds kG3DMaxPictureSide. The data ends at
// the palette (and its marker byte); pixels missing from it are index 0.
bool G3DDecodePcx(std::string_view file, G3DPicture& picture);

// Run-length decoding of `data` into exactly `count` indices: a byte c >= 192
// repeats the next byte c - 192 times, any other byte stands for itself; a run
// past `count` is cut, indices the data does not reach are 0.
std::vector<uint8_t> G3DDecodeRuns(std::string_view data, size_t count);

// RGBA pixels of a picture: (red, green, blue) of each index, alpha 0 for index
// 0 and 255 otherwise. Row r starts at pixel r × stride of a zero-filled buffer
// of stride × rows pixels (stride >= Width, rows >= Height).
std::vector<uint8_t> G3DColourPicture(const G3DPicture& picture, int32_t stride, int32_t rows);

// Smallest power of two >= n, at least 2.
int32_t G3DNextPowerOfTwo(int32_t n);
