#include "engine/G3DMesh.h"

#include <algorithm>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DState.h"
#include "platform/fs/FileSystem.h"

namespace {

void Grow(TG3DScratch& scratch, int32_t vertices, int32_t faces) {
    if (static_cast<size_t>(vertices) > scratch.X.size()) {
        scratch.X.resize(vertices);
        scratch.Y.resize(vertices);
        scratch.Z.resize(vertices);
        scratch.Dark.resize(vertices);
        scratch.Lit.resize(vertices);
    }
    scratch.FaceCapacity = std::max(scratch.FaceCapacity, faces);
}

uint16_t Word(std::string_view bytes, size_t offset) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                                 (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

int32_t Long(std::string_view bytes, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
    return static_cast<int32_t>(v);
}

bool FaceInRange(const TG3DFace& face, int32_t lastVertex) {
    if (face.V0 > lastVertex) return false;
    if (face.Kind == kG3DFaceSprite) return true;  // V1, V2 are the sprite's size
    return face.V1 <= lastVertex && face.V2 <= lastVertex;
}

void DropBadFaces(TG3DMesh& mesh) {
    int32_t kept = 0;
    for (int32_t j = 0; j <= mesh.LastFace; ++j) {
        if (FaceInRange(mesh.Faces[j], mesh.LastVertex)) mesh.Faces[kept++] = mesh.Faces[j];
    }
    mesh.LastFace = kept - 1;
}

int32_t Morph(int32_t a, int32_t b, float t) {
    const float difference = static_cast<float>(int64_t{b} - a);
    return G3DClamp32(a + G3DRound64(static_cast<double>(difference) * t));
}

// Morph of n values at once, for a finite t of at most 4e5 in size: every
// product then stays below 2^51, where adding and taking away 1.5 × 2^52
// rounds half to even exactly as Round does, and the loop vectorises.
void MorphRun(const int32_t* a, const int32_t* b, int32_t* r, int32_t n, float t) {
    constexpr double kRound = 6755399441055744.0;  // 1.5 × 2^52
    const double td = t;
    for (int32_t i = 0; i < n; ++i) {
        const double product = static_cast<double>(static_cast<float>(int64_t{b[i]} - a[i])) * td;
        const auto rounded = static_cast<int64_t>((product + kRound) - kRound);
        r[i] = static_cast<int32_t>(std::clamp<int64_t>(a[i] + rounded, INT32_MIN, INT32_MAX));
    }
}

}  // namespace

TG3DScratch& G3DScratchMesh() {
    static TG3DScratch scratch = [] {
        TG3DScratch s;
        Grow(s, 5001, 15001);
        return s;
    }();
    return scratch;
}

void G3DGrowScratch(int32_t vertices, int32_t faces) { Grow(G3DScratchMesh(), vertices, faces); }

int32_t G3DScratchVertexCapacity() { return static_cast<int32_t>(G3DScratchMesh().X.size()); }

int32_t G3DScratchFaceCapacity() { return G3DScratchMesh().FaceCapacity; }

void G3DAllocMesh(TG3DMesh*& mesh, int32_t a, int32_t b) {
    G3DFreeMesh(mesh);
    if (a < 0 || b < -1 || a > kG3DMeshMaxLast || b > kG3DMeshMaxLast) return;
    G3DGrowScratch(a + 1, b + 1);
    mesh = new TG3DMesh;
    mesh->X.resize(a + 1);
    mesh->Y.resize(a + 1);
    mesh->Z.resize(a + 1);
    mesh->Faces.resize(b + 1);
    mesh->LastVertex = a;
    mesh->LastFace = b;
}

void G3DFreeMesh(TG3DMesh*& mesh) {
    delete mesh;
    mesh = nullptr;
}

void G3DCopyMesh(const TG3DMesh* source, TG3DMesh*& dest) {
    // A mesh copied onto itself is already its copy (and allocating would free it).
    if (source == nullptr || source == dest) return;
    G3DAllocMesh(dest, source->LastVertex + 1, source->LastFace + 1);
    if (dest == nullptr) return;
    dest->LastVertex = source->LastVertex;
    dest->LastFace = source->LastFace;
    std::copy_n(source->X.begin(), source->LastVertex + 1, dest->X.begin());
    std::copy_n(source->Y.begin(), source->LastVertex + 1, dest->Y.begin());
    std::copy_n(source->Z.begin(), source->LastVertex + 1, dest->Z.begin());
    std::copy_n(source->Faces.begin(), source->LastFace + 1, dest->Faces.begin());
}

bool G3DReadMesh(std::string_view bytes, TG3DMesh*& mesh) {
    if (bytes.size() < 4) return false;
    const int32_t lastVertex = Word(bytes, 0);
    const int32_t lastFace = Word(bytes, 2);
    G3DAllocMesh(mesh, lastVertex, lastFace);
    if (mesh == nullptr) return false;
    const size_t nv = static_cast<size_t>(lastVertex) + 1;
    const size_t nf = static_cast<size_t>(lastFace) + 1;
    std::string padded(bytes);
    padded.resize(std::max(padded.size(), 4 + 12 * nv + 16 * nf), '\0');  // short file: zeros
    for (size_t i = 0; i < nv; ++i) {
        mesh->X[i] = Long(padded, 4 + 4 * i);
        mesh->Y[i] = Long(padded, 4 + 4 * (nv + i));
        mesh->Z[i] = Long(padded, 4 + 4 * (2 * nv + i));
    }
    for (size_t j = 0; j < nf; ++j) {
        const size_t at = 4 + 12 * nv + 16 * j;
        TG3DFace& f = mesh->Faces[j];
        f = {Word(padded, at),      Word(padded, at + 2), Word(padded, at + 4),
             Word(padded, at + 6),  Word(padded, at + 8), Word(padded, at + 10),
             Word(padded, at + 12), Word(padded, at + 14)};
    }
    DropBadFaces(*mesh);
    return true;
}

void G3DLoadMesh(const std::string& name, TG3DMesh*& mesh) {
    if (name.empty()) return;
    std::string bytes;
    if (!platform::fs::FileExists(name) || !platform::fs::ReadWholeFile(name, bytes)) {
        G3DShowMissingFile(name);
        return;
    }
    G3DReadMesh(bytes, mesh);
}

void G3DInterpolateMesh(const TG3DMesh* a, const TG3DMesh* b, TG3DMesh*& r, float t) {
    if (a == nullptr || b == nullptr) return;
    if (r == nullptr || r->LastVertex != a->LastVertex || r->LastFace != a->LastFace) {
        G3DCopyMesh(a, r);
        if (r == nullptr) return;
    }
    const int32_t vertices = std::min(a->LastVertex, b->LastVertex) + 1;
    if (std::isfinite(t) && std::fabs(t) <= 4e5f) {
        MorphRun(a->X.data(), b->X.data(), r->X.data(), vertices, t);
        MorphRun(a->Y.data(), b->Y.data(), r->Y.data(), vertices, t);
        MorphRun(a->Z.data(), b->Z.data(), r->Z.data(), vertices, t);
    } else {
        for (int32_t i = 0; i < vertices; ++i) {
            r->X[i] = Morph(a->X[i], b->X[i], t);
            r->Y[i] = Morph(a->Y[i], b->Y[i], t);
            r->Z[i] = Morph(a->Z[i], b->Z[i], t);
        }
    }
    for (int32_t i = vertices; i <= a->LastVertex; ++i) {  // a key frame with fewer vertices
        r->X[i] = a->X[i];
        r->Y[i] = a->Y[i];
        r->Z[i] = a->Z[i];
    }
    const int32_t faces = std::min(a->LastFace, b->LastFace) + 1;
    for (int32_t j = 0; j <= a->LastFace; ++j) {
        const int32_t from = a->Faces[j].Transparency;
        const int32_t to = j < faces ? b->Faces[j].Transparency : from;
        r->Faces[j].Transparency = static_cast<uint16_t>(Morph(from, to, t));
    }
}
