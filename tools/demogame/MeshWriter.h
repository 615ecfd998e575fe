// Mesh files for the demo game: a builder of engine meshes out of boxes and
// quads, and the writer of the binary mesh file (two 16-bit last indices,
// the X, Y and Z arrays of 32-bit coordinates, then eight 16-bit words per
// face).
#pragma once

#include <cstdint>
#include <string>

#include "engine/G3DMesh.h"

namespace demo {

// The bytes of the mesh file of `mesh` (LastVertex + 1 vertices, LastFace + 1
// faces).
std::string MeshFileBytes(const TG3DMesh& mesh);

// How a quad or box is painted: a texture number (kinds 0..2) or a palette
// index (flat kinds), and the face kind.
struct Paint {
    uint16_t Texture = 0;
    uint16_t Kind = kG3DFaceTextured;
    uint16_t Transparency = 0;
};

// `mesh` turned by `degrees` about the vertical axis through the cell centre.
TG3DMesh Turned(TG3DMesh mesh, float degrees);

// The name of frame `n` of a numbered series: `base` followed by `n`.
std::string Numbered(const char* base, int n);

// A flat-coloured paint of palette index `colour`.
Paint FlatPaint(uint8_t colour);
// A textured paint of texture `texture`.
Paint TexturePaint(uint16_t texture);

// Builds a mesh in cell-centred coordinates (a cell spans -256..256, Y up).
// Every face is double-sided, so the winding does not matter to the drawing.
class MeshBuilder {
  public:
    int32_t AddVertex(int32_t x, int32_t y, int32_t z);
    // Two triangles a-b-c and c-d-a, mapped so that the texture covers the quad.
    void AddQuad(int32_t a, int32_t b, int32_t c, int32_t d, const Paint& paint);
    // One triangle with texture-coordinate layout `layout` (0..3).
    void AddTriangle(int32_t a, int32_t b, int32_t c, uint16_t layout, const Paint& paint);
    // A box from (x0, y0, z0) to (x1, y1, z1): six quads.
    void AddBox(int32_t x0, int32_t y0, int32_t z0, int32_t x1, int32_t y1, int32_t z1,
                const Paint& paint);
    // A camera-facing sprite centred at (x, y, z), width × height.
    void AddSprite(int32_t x, int32_t y, int32_t z, uint16_t width, uint16_t height,
                   uint16_t texture);
    int32_t VertexCount() const { return static_cast<int32_t>(mesh_.X.size()); }
    int32_t FaceCount() const { return static_cast<int32_t>(mesh_.Faces.size()); }
    // The mesh built so far (at least one vertex and one face must exist).
    TG3DMesh Mesh() const;

  private:
    TG3DMesh mesh_;
};

}  // namespace demo
