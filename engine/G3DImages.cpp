#include "engine/G3DImages.h"

#include <algorithm>

#include "engine/G3DBackend.h"
#include "engine/G3DPcx.h"
#include "platform/fs/FileSystem.h"

std::array<TG3DImage, kG3DImageSlots> G3DImages;

namespace {

bool ReadPicture(const std::string& name, std::string& bytes) {
    return platform::fs::FileExists(name) && platform::fs::ReadWholeFile(name, bytes);
}

bool IsPowerOfTwo(int32_t n) { return n >= 2 && (n & (n - 1)) == 0; }

bool FitsTexture(int32_t w, int32_t h) {
    const int32_t limit = G3DBackendMaxTextureSize();
    return w <= limit && h <= limit;
}

// Nearest-pixel resampling of a picture's indices to side × side.
G3DPicture Resample(const G3DPicture& picture, int32_t side) {
    G3DPicture out;
    out.Width = side;
    out.Height = side;
    out.Palette = picture.Palette;
    out.Pixels.resize(static_cast<size_t>(side) * side);
    for (int32_t y = 0; y < side; ++y) {
        const int64_t sy = int64_t{y} * picture.Height / side;
        for (int32_t x = 0; x < side; ++x) {
            const int64_t sx = int64_t{x} * picture.Width / side;
            out.Pixels[static_cast<size_t>(y) * side + x] =
                picture.Pixels[static_cast<size_t>(sy * picture.Width + sx)];
        }
    }
    return out;
}

bool Valid(int32_t slot) { return slot >= 0 && slot < kG3DImageSlots; }

void StoreSlot(TG3DImage& image, int32_t w, int32_t h, std::vector<uint8_t> pixels) {
    image.Width = w;
    image.Height = h;
    image.U = static_cast<float>(w) / static_cast<float>(G3DNextPowerOfTwo(w));
    image.V = static_cast<float>(h) / static_cast<float>(G3DNextPowerOfTwo(h));
    image.Pixels = std::move(pixels);
    G3DBackendUploadImage(image);
}

}  // namespace

bool G3DLoadPCXTexture(const std::string& name, int32_t picture, TPalette& palette) {
    if (name.empty() || picture < 0 || picture >= kG3DTextureCount) return false;
    std::string bytes;
    G3DPicture decoded;
    if (!ReadPicture(name, bytes) || !G3DDecodePcx(bytes, decoded)) {
        G3DShowMissingFile(name);
        return false;
    }
    palette = decoded.Palette;
    if (!IsPowerOfTwo(decoded.Width) || !IsPowerOfTwo(decoded.Height)) {
        decoded = Resample(decoded, kG3DPictureSide);
    }
    if (!FitsTexture(decoded.Width, decoded.Height)) return false;
    const std::vector<uint8_t> rgba = G3DColourPicture(decoded, decoded.Width, decoded.Height);
    G3DBackendUploadPicture(picture, rgba.data(), decoded.Width, decoded.Height);
    return true;
}

bool G3DLoadPCXTextureNoPalette(const std::string& name, int32_t picture) {
    TPalette unused;
    return G3DLoadPCXTexture(name, picture, unused);
}

void G3DLoadImage(int32_t slot, const std::string& name, TDStuff& /*state*/) {
    if (name.empty() || !Valid(slot)) return;
    std::string bytes;
    G3DPicture decoded;
    if (!ReadPicture(name, bytes) || !G3DPcxReadable(bytes)) {
        G3DShowMissingFile(name);
        return;
    }
    int32_t width = 0, height = 0;
    G3DPcxSize(bytes, width, height);
    if (width % 2 == 1) G3DShowOddWidth(name);  // Xmax even: rows padded, not skipped
    if (!G3DDecodePcx(bytes, decoded)) {
        G3DShowMissingFile(name);
        return;
    }
    const int32_t pw = G3DNextPowerOfTwo(decoded.Width);
    const int32_t ph = G3DNextPowerOfTwo(decoded.Height);
    if (!FitsTexture(pw, ph)) return;
    StoreSlot(G3DImages[slot], decoded.Width, decoded.Height, G3DColourPicture(decoded, pw, ph));
}

void G3DCropImage(int32_t source, int32_t x, int32_t y, int32_t w, int32_t h, int32_t dest) {
    if (!Valid(source) || !Valid(dest) || G3DImages[source].Pixels.empty()) return;
    if (w < 1 || h < 1 || w > kG3DMaxPictureSide || h > kG3DMaxPictureSide) return;
    const int32_t pw = G3DNextPowerOfTwo(w);
    const int32_t ph = G3DNextPowerOfTwo(h);
    if (!FitsTexture(pw, ph)) return;
    const TG3DImage& from = G3DImages[source];
    const int64_t stride = G3DNextPowerOfTwo(from.Width);
    std::vector<uint8_t> pixels(static_cast<size_t>(pw) * ph * 4, 0);
    for (int32_t j = 0; j < h; ++j) {
        const int64_t sy = int64_t{y} + j;
        if (sy < 0 || sy >= from.Height) continue;
        for (int32_t i = 0; i < w; ++i) {
            const int64_t sx = int64_t{x} + i;
            if (sx < 0 || sx >= from.Width) continue;
            std::copy_n(from.Pixels.begin() + (sy * stride + sx) * 4, 4,
                        pixels.begin() + (static_cast<size_t>(j) * pw + i) * 4);
        }
    }
    StoreSlot(G3DImages[dest], w, h, std::move(pixels));
}

void G3DDrawImage(int32_t slot, bool alphaTest, int32_t transparency, float x, float y, float w,
                  float h, TDStuff& state) {
    if (!Valid(slot) || G3DImages[slot].Pixels.empty()) return;
    G3DBackendDrawImage(G3DImages[slot], alphaTest, transparency, x, y, w, h, state);
}

void G3DClearImages() {
    for (TG3DImage& image : G3DImages) image.Pixels = {};
}
