// What the software device should draw, worked out pixel by pixel from its
// rules in double precision, for the device tests to compare against:
// coverage by the top-left rule at whole-number pixel centres (vertices on a
// 1/16 grid), perspective-correct interpolation, texel sampling, modulate and
// blending with rounding to nearest.
#pragma once

#include <cstdint>
#include <vector>

namespace ref {

// A vertex in back-buffer pixels.
struct Vertex {
    double x, y, z, rhw;
    double r, g, b, a;
    double u, v;
};

// A texture: width × height texels 0xAARRGGBB, row by row.
struct Texels {
    int width = 0, height = 0;
    std::vector<uint32_t> texels;
    uint32_t At(int x, int y) const;  // wraps around
};

// Whether the triangle covers the centre of pixel (px, py): inside, or on an
// edge that is a top edge (horizontal, the triangle below it) or a left edge.
bool Covers(const Vertex (&t)[3], int px, int py);

// Distance in pixels from the centre of pixel (px, py) to the nearest edge line.
double EdgeDistance(const Vertex (&t)[3], int px, int py);

// The value of `field` at the centre of pixel (px, py), interpolated in
// perspective (weighted by rhw) over the snapped vertex positions.
double Interpolate(const Vertex (&t)[3], int px, int py, double Vertex::*field);

// Nearest whole number, halves up, held to 0..255.
int Byte(double v);
// a × b / 255 rounded to nearest.
int Modulate(int a, int b);
// Source over destination with source alpha: (s × a + d × (255 − a)) / 255 rounded.
int Blend(int s, int d, int a);

// Bilinear sample at (u, v): the four texels around u × width − 0.5, v ×
// height − 0.5, weights in 1/256 from the truncated fractions, rounded.
uint32_t Bilinear(const Texels& t, double u, double v);
// Point sample: texel floor(u × width), floor(v × height).
uint32_t Point(const Texels& t, double u, double v);

}  // namespace ref
