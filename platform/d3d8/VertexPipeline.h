// The device's vertex work: vertices of the scene format transformed by the
// world, view and projection matrices, triangles clipped to the view volume
// (−w ≤ x ≤ w, −w ≤ y ≤ w, 0 ≤ z ≤ w) and mapped to back-buffer pixels, where
// x = −1 lands on the centre of column 0 and x = 1 on the right edge; and
// vertices of the screen format taken as they are.
#pragma once

#include <cstdint>

#include "platform/d3d8/D3D8Types.h"
#include "platform/d3d8/Raster.h"

namespace d3d8 {

// A vertex after the transform, before the division by w.
struct ClipVertex {
    float x, y, z, w;
    float r, g, b, a;
    float u, v;
};

// A triangle clipped to the view volume has at most this many corners.
constexpr int kMaxClippedVertices = 9;

// p · M.
Matrix Multiply(const Matrix& a, const Matrix& b);

// A 24-byte scene vertex (x, y, z, colour, u, v) transformed by `m`.
ClipVertex TransformSceneVertex(const uint8_t* vertex, const Matrix& m);

// A 28-byte screen vertex (x, y, z, rhw, colour, u, v).
ScreenVertex ReadScreenVertex(const uint8_t* vertex);

// Clips the triangle to the view volume and maps the polygon left to a
// target of width × height: its corners in order (a fan from the first), at
// most kMaxClippedVertices. Returns their number (0 when nothing is left).
int ClipToScreen(const ClipVertex (&triangle)[3], int32_t width, int32_t height, ScreenVertex* out);

}  // namespace d3d8
