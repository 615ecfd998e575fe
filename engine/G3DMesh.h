// Engine meshes: integer vertices and 16-byte faces, the binary mesh file,
// copies, key-frame interpolation, and the scratch space that G3DDrawMesh
// transforms meshes into.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One face: eight 16-bit words as stored in the mesh file.
struct TG3DFace {
    uint16_t V0;            // first vertex; a sprite's centre vertex
    uint16_t V1;            // second vertex; a sprite's width
    uint16_t V2;            // third vertex; a sprite's height
    uint16_t Texture;       // animated-texture number; flat faces: SecondPalette index
    uint16_t Layout;        // texture-coordinate layout 0..3
    uint16_t DoubleSided;   // nonzero: never removed as a back face
    uint16_t Kind;          // 0 textured, 1 alpha-tested, 2 sprite, 3+ flat colour
    uint16_t Transparency;  // percent, added to the object's transparency
};

// Face kinds.
constexpr uint16_t kG3DFaceTextured = 0;
constexpr uint16_t kG3DFaceAlphaTested = 1;
constexpr uint16_t kG3DFaceSprite = 2;
constexpr uint16_t kG3DFaceFlat = 3;

// A mesh. Entries 0..LastVertex of X, Y, Z and 0..LastFace of Faces are used;
// the arrays may hold a spare entry. LastFace is -1 when the mesh has no face.
// Held through a pointer (nullptr = no mesh) and freed with G3DFreeMesh.
struct TG3DMesh {
    int32_t LastVertex = 0;
    int32_t LastFace = 0;
    std::vector<int32_t> X, Y, Z;
    std::vector<TG3DFace> Faces;
};

// Largest last index a mesh may have (the mesh file stores 16-bit counts; a
// copy takes one spare entry).
constexpr int32_t kG3DMeshMaxLast = 65536;

// Makes `mesh` a fresh mesh with room for a + 1 vertices and b + 1 faces and
// last indices a and b; the old mesh is freed. Out-of-range sizes leave nullptr.
void G3DAllocMesh(TG3DMesh*& mesh, int32_t a, int32_t b);
// Frees the mesh; mesh := nullptr. Nothing when it is nullptr already.
void G3DFreeMesh(TG3DMesh*& mesh);
// dest := a new mesh equal to source (with one spare vertex and face of room).
// Nothing when source is nullptr.
void G3DCopyMesh(const TG3DMesh* source, TG3DMesh*& dest);

// Loads a binary mesh file into `mesh`. An empty name does nothing; a missing
// file shows the missing-file message and keeps the old mesh.
void G3DLoadMesh(const std::string& name, TG3DMesh*& mesh);
// Builds `mesh` from the bytes of a mesh file. A file under 4 bytes changes
// nothing (false); a short file reads as if zero-filled; faces whose vertex
// indices lie outside the mesh are dropped.
bool G3DReadMesh(std::string_view bytes, TG3DMesh*& mesh);

// Key-frame morph: r := a + (b - a) × t per vertex coordinate and face
// transparency, rounding half to even. r is (re)made a copy of a when it is
// missing or its vertex or face count differs from a's. Nothing when a or b
// is nullptr.
void G3DInterpolateMesh(const TG3DMesh* a, const TG3DMesh* b, TG3DMesh*& r, float t);

// Grows the scratch space to at least `vertices` vertices and `faces` faces.
void G3DGrowScratch(int32_t vertices, int32_t faces);

// Vertex and face room of the scratch space: at least that of every mesh
// allocated so far (5001 vertices and 15001 faces at start).
int32_t G3DScratchVertexCapacity();
int32_t G3DScratchFaceCapacity();

// The scratch space G3DDrawMesh works in: per-vertex camera-relative position
// and a cached light value. Sized ahead by G3DAllocMesh, never during a draw
// unless a mesh was built without it.
struct TG3DScratch {
    std::vector<float> X, Y, Z;
    std::vector<float> Dark;  // 1 - light, valid where Lit is set
    std::vector<uint8_t> Lit;
    int32_t FaceCapacity = 0;
};
TG3DScratch& G3DScratchMesh();
