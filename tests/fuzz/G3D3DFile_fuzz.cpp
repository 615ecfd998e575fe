// Fuzz target: the parser of the 3-D file (the "#IMAGES" and "#TEXTURES"
// lists); every line it accepts must carry numbers in 0..32767.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/G3D3DFile.h"

namespace {
bool InRange(int32_t n) { return n >= 0 && n <= 32767; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const G3D3DFileContents contents = G3DParse3DFile(text);
    for (const G3DPictureLine& p : contents.Pictures) {
        if (!InRange(p.Picture)) std::abort();
    }
    for (const G3DTextureLine& t : contents.Textures) {
        if (!InRange(t.Texture) || !InRange(t.First) || !InRange(t.Last)) std::abort();
    }
    return 0;
}
