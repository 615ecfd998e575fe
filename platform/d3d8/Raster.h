// Triangle set-up and scan conversion. Vertices are snapped to 1/16 pixel
// (to nearest, halves to even); pixel centres lie at whole coordinates (pixel
// x, y covers the point (x, y)); a centre exactly on an edge belongs to the
// triangle when the edge is a top edge (horizontal, the triangle below it) or
// a left edge. Spans are solved exactly in integers, row by row. A target is
// drawn in blocks of rows, so that several threads can draw it, each block
// by one thread.
#pragma once

#include <cstdint>

#include "platform/d3d8/PixelPipeline.h"

namespace d3d8 {

// A vertex in back-buffer pixels: position, depth 0..1, 1 / w, colour
// (0..255 a channel) and texture coordinates.
struct ScreenVertex {
    float x, y, z, rhw;
    float r, g, b, a;
    float u, v;
};

// Largest distance from the origin, in pixels, of a vertex that is drawn.
constexpr float kMaxVertexCoordinate = 4194304.0f;

// Rows of a block.
constexpr int32_t kBlockRows = 8;

struct TriangleEdge {
    int64_t dx, dy;  // from its start to its end vertex, 1/16 pixel
    int64_t ax, ay;  // its start vertex, 1/16 pixel
    int64_t bias;    // 0 for top and left edges, 1 for the others
};

struct TriangleSetup {
    TriangleEdge edges[3];
    int32_t minX, maxX, minY, maxY;  // pixel bounds within the target
    AttributePlanes planes;
    bool magnify;    // texture shown at no more than one texel a pixel
    uint32_t state;  // index of the PixelState to draw with
};

// Which winding is dropped: none, clockwise or counter-clockwise on screen
// (rows counted downwards).
enum class Cull { None, Clockwise, CounterClockwise };

// Sets up a triangle for a target of width × height. False when it covers no
// pixel centre of the target (or has no area, a vertex out of range, or the
// winding that `cull` drops).
bool SetUpTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2,
                   int32_t width, int32_t height, int32_t texWidth, int32_t texHeight, Cull cull,
                   TriangleSetup& out);

// Draws the triangle's pixels in rows `first` to `last`.
void RasterizeTriangle(const TriangleSetup& t, const PixelState& state, const RenderTarget& target,
                       int32_t first, int32_t last);

}  // namespace d3d8
