// Fuzz target: PCX decoding (header sizes, run-length data, palette) and the
// colouring of the decoded picture into RGBA pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/G3DPcx.h"

namespace {
// Larger pictures are decoded but not coloured, to keep each run short.
constexpr int32_t kLargestColouredSide = 512;
// A 13-byte header can ask for 8192 × 8192 pixels; pictures above this many
// pixels (yet within the side limit) are not decoded, for the same reason.
constexpr int64_t kLargestDecodedPixels = int64_t{1} << 22;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    int32_t width = 0, height = 0;
    if (G3DPcxSize(file, width, height) && width <= kG3DMaxPictureSide &&
        height <= kG3DMaxPictureSide && int64_t{width} * height > kLargestDecodedPixels) {
        return 0;
    }
    G3DPicture picture;
    if (!G3DDecodePcx(file, picture)) return 0;
    const size_t expected = static_cast<size_t>(picture.Width) * picture.Height;
    if (picture.Pixels.size() != expected) std::abort();
    if (picture.Width <= kLargestColouredSide && picture.Height <= kLargestColouredSide) {
        const int32_t stride = G3DNextPowerOfTwo(picture.Width);
        const int32_t rows = G3DNextPowerOfTwo(picture.Height);
        const auto rgba = G3DColourPicture(picture, stride, rows);
        if (rgba.size() != static_cast<size_t>(stride) * rows * 4) std::abort();
    }
    return 0;
}
