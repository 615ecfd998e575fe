// Fuzz target: the binary mesh file reader, then a copy and a key-frame morph
// of what it read (every face it keeps must index vertices of the mesh).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/G3DMesh.h"

namespace {
// Four bytes can claim 65536 vertices and faces; claims far beyond the input
// only repeat the zero-filled case at great cost, so they are skipped.
constexpr size_t kLargestShortfall = 65536;

size_t DeclaredSize(const uint8_t* data) {
    const size_t vertices = (data[0] | data[1] << 8) + 1u;
    const size_t faces = (data[2] | data[3] << 8) + 1u;
    return 4 + 12 * vertices + 16 * faces;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 4 && DeclaredSize(data) > size + kLargestShortfall) return 0;
    TG3DMesh* mesh = nullptr;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (G3DReadMesh(bytes, mesh) && mesh != nullptr) {
        for (int32_t j = 0; j <= mesh->LastFace; ++j) {
            const TG3DFace& f = mesh->Faces[j];
            const bool sprite = f.Kind == kG3DFaceSprite;
            if (f.V0 > mesh->LastVertex ||
                (!sprite && (f.V1 > mesh->LastVertex || f.V2 > mesh->LastVertex))) {
                std::abort();  // a face pointing outside the mesh survived the read
            }
        }
        TG3DMesh* copy = nullptr;
        TG3DMesh* morph = nullptr;
        G3DCopyMesh(mesh, copy);
        G3DInterpolateMesh(mesh, copy, morph, 0.5f);
        G3DFreeMesh(morph);
        G3DFreeMesh(copy);
    }
    G3DFreeMesh(mesh);
    return 0;
}
