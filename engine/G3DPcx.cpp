#include "engine/G3DPcx.h"

namespace {
constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteSize = 768;
constexpr char kPaletteMarker = 0x0C;  // the byte before the palette
}  // namespace

bool G3DPcxReadable(std::string_view file) { return file.size() >= kHeaderSize + kPaletteSize; }

bool G3DPcxSize(std::string_view file, int32_t& width, int32_t& height) {
    if (file.size() < 12) return false;
    width = (static_cast<uint8_t>(file[8]) | (static_cast<uint8_t>(file[9]) << 8)) + 1;
    height = (static_cast<uint8_t>(file[10]) | (static_cast<uint8_t>(file[11]) << 8)) + 1;
    return true;
}

std::vector<uint8_t> G3DDecodeRuns(std::string_view data, size_t count) {
    std::vector<uint8_t> out(count, 0);
    size_t produced = 0;
    size_t at = 0;
    while (produced < count && at < data.size()) {
        const uint8_t c = static_cast<uint8_t>(data[at++]);
        if (c < 192) {
            out[produced++] = c;
            continue;
        }
        if (at >= data.size()) break;  // a run code without its value
        const uint8_t v = static_cast<uint8_t>(data[at++]);
        for (int n = c - 192; n > 0 && produced < count; --n) out[produced++] = v;
    }
    return out;
}

bool G3DDecodePcx(std::string_view file, G3DPicture& picture) {
    if (!G3DPcxReadable(file)) return false;
    int32_t width = 0, height = 0;
    G3DPcxSize(file, width, height);
    if (width > kG3DMaxPictureSide || height > kG3DMaxPictureSide) return false;
    const size_t paletteAt = file.size() - kPaletteSize;
    size_t dataEnd = paletteAt;
    if (dataEnd > kHeaderSize && file[dataEnd - 1] == kPaletteMarker) --dataEnd;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels = G3DDecodeRuns(file.substr(kHeaderSize, dataEnd - kHeaderSize),
                                   static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int i = 0; i < 256; ++i) {
        picture.Palette[i] = static_cast<uint8_t>(file[paletteAt + 3 * i]);
        picture.Palette[256 + i] = static_cast<uint8_t>(file[paletteAt + 3 * i + 1]);
        picture.Palette[512 + i] = static_cast<uint8_t>(file[paletteAt + 3 * i + 2]);
    }
    return true;
}

std::vector<uint8_t> G3DColourPicture(const G3DPicture& picture, int32_t stride, int32_t rows) {
    std::vector<uint8_t> rgba(static_cast<size_t>(stride) * static_cast<size_t>(rows) * 4, 0);
    for (int32_t y = 0; y < picture.Height && y < rows; ++y) {
        const uint8_t* source = picture.Pixels.data() + static_cast<size_t>(y) * picture.Width;
        uint8_t* target = rgba.data() + static_cast<size_t>(y) * stride * 4;
        for (int32_t x = 0; x < picture.Width && x < stride; ++x) {
            const uint8_t i = source[x];
            target[x * 4 + 0] = picture.Palette[i];
            target[x * 4 + 1] = picture.Palette[256 + i];
            target[x * 4 + 2] = picture.Palette[512 + i];
            target[x * 4 + 3] = i == 0 ? 0 : 255;
        }
    }
    return rgba;
}

int32_t G3DNextPowerOfTwo(int32_t n) {
    int32_t p = 2;
    while (n > p && p < (1 << 30)) p *= 2;
    return p;
}
