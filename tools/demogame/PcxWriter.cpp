#include "tools/demogame/PcxWriter.h"

#include <algorithm>

#include "tools/demogame/Bytes.h"

namespace demo {

namespace {
constexpr size_t kHeaderSize = 128;
constexpr size_t kMaxRun = 63;
constexpr uint8_t kRunFlag = 0xC0;
constexpr uint8_t kPaletteMarker = 0x0C;

std::string Header(const IndexedPicture& picture) {
    std::string h(kHeaderSize, '\0');
    h[0] = 10;  // manufacturer
    h[1] = 5;   // version: 256-colour palette at the end
    h[2] = 1;   // run-length encoding
    h[3] = 8;   // bits per pixel
    PutU16(h, 8, static_cast<uint32_t>(picture.Width - 1));
    PutU16(h, 10, static_cast<uint32_t>(picture.Height - 1));
    PutU16(h, 12, 72);  // resolution
    PutU16(h, 14, 72);
    h[65] = 1;                                            // one plane
    PutU16(h, 66, static_cast<uint32_t>(picture.Width));  // bytes per line
    PutU16(h, 68, 1);                                     // colour palette
    return h;
}
}  // namespace

IndexedPicture::IndexedPicture(int32_t width, int32_t height, uint8_t fill)
    : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height, fill) {}

void IndexedPicture::Plot(int32_t x, int32_t y, uint8_t index) {
    if (x >= 0 && y >= 0 && x < Width && y < Height) At(x, y) = index;
}

void IndexedPicture::FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t index) {
    for (int32_t y = std::max(y0, 0); y < std::min(y1, Height); ++y) {
        for (int32_t x = std::max(x0, 0); x < std::min(x1, Width); ++x) At(x, y) = index;
    }
}

std::string EncodeRuns(const uint8_t* data, size_t count) {
    std::string out;
    size_t i = 0;
    while (i < count) {
        const uint8_t v = data[i];
        size_t n = 1;
        while (i + n < count && n < kMaxRun && data[i + n] == v) ++n;
        if (n > 1 || v >= kRunFlag) AppendU8(out, kRunFlag + n);
        AppendU8(out, v);
        i += n;
    }
    return out;
}

std::string PcxFileBytes(const IndexedPicture& picture, const PcxPalette& palette) {
    std::string file = Header(picture);
    for (int32_t y = 0; y < picture.Height; ++y) {
        file += EncodeRuns(&picture.Pixels[static_cast<size_t>(y) * picture.Width],
                           static_cast<size_t>(picture.Width));
    }
    AppendU8(file, kPaletteMarker);
    file.append(reinterpret_cast<const char*>(palette.data()), palette.size());
    return file;
}

}  // namespace demo
