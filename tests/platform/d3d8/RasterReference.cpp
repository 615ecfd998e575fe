#include "tests/platform/d3d8/RasterReference.h"

#include <algorithm>
#include <cmath>

namespace ref {
namespace {

struct Point2 {
    int64_t x, y;  // 1/16 pixel
};

Point2 Snapped(const Vertex& v) {
    return {static_cast<int64_t>(std::nearbyint(v.x * 16)),
            static_cast<int64_t>(std::nearbyint(v.y * 16))};
}

int64_t Cross(Point2 a, Point2 b, Point2 p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

int Sign(int64_t v) { return (v > 0) - (v < 0); }

// Whether edge a-b, with the third corner c, is a top or a left edge.
bool TopOrLeft(Point2 a, Point2 b, Point2 c) {
    if (a.y == b.y) return c.y > a.y;  // horizontal: top when the triangle is below
    // Left when c lies to the right of the edge at c's height.
    const int64_t n = (c.x - a.x) * (b.y - a.y) - (b.x - a.x) * (c.y - a.y);
    return Sign(n) == Sign(b.y - a.y);
}

}  // namespace

uint32_t Texels::At(int x, int y) const {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    return texels[static_cast<size_t>(y) * width + x];
}

bool Covers(const Vertex (&t)[3], int px, int py) {
    const Point2 s[3] = {Snapped(t[0]), Snapped(t[1]), Snapped(t[2])};
    const Point2 p{16 * int64_t{px}, 16 * int64_t{py}};
    for (int e = 0; e < 3; ++e) {
        const Point2 a = s[e], b = s[(e + 1) % 3], c = s[(e + 2) % 3];
        const int64_t sideC = Cross(a, b, c);
        if (sideC == 0) return false;
        const int64_t sideP = Cross(a, b, p);
        if (sideP == 0) {
            if (!TopOrLeft(a, b, c)) return false;
        } else if (Sign(sideP) != Sign(sideC)) {
            return false;
        }
    }
    return true;
}

double EdgeDistance(const Vertex (&t)[3], int px, int py) {
    double best = 1e300;
    for (int e = 0; e < 3; ++e) {
        const Vertex& a = t[e];
        const Vertex& b = t[(e + 1) % 3];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        if (length == 0) continue;
        best = std::min(best, std::fabs(dx * (py - a.y) - dy * (px - a.x)) / length);
    }
    return best;
}

double Interpolate(const Vertex (&t)[3], int px, int py, double Vertex::*field) {
    const Point2 s[3] = {Snapped(t[0]), Snapped(t[1]), Snapped(t[2])};
    const Point2 p{16 * int64_t{px}, 16 * int64_t{py}};
    const double area = static_cast<double>(Cross(s[0], s[1], s[2]));
    double weights[3];
    for (int k = 0; k < 3; ++k) {
        weights[k] = static_cast<double>(Cross(s[(k + 1) % 3], s[(k + 2) % 3], p)) / area;
    }
    double top = 0, bottom = 0;
    for (int k = 0; k < 3; ++k) {
        top += weights[k] * t[k].*field * t[k].rhw;
        bottom += weights[k] * t[k].rhw;
    }
    return top / bottom;
}

int Byte(double v) { return static_cast<int>(std::clamp(std::floor(v + 0.5), 0.0, 255.0)); }

int Modulate(int a, int b) { return Byte(a * b / 255.0); }

int Blend(int s, int d, int a) { return Byte((s * a + d * (255 - a)) / 255.0); }

uint32_t Bilinear(const Texels& t, double u, double v) {
    const double fu = u * t.width - 0.5, fv = v * t.height - 0.5;
    const int x = static_cast<int>(std::floor(fu)), y = static_cast<int>(std::floor(fv));
    const int wu = static_cast<int>((fu - std::floor(fu)) * 256);
    const int wv = static_cast<int>((fv - std::floor(fv)) * 256);
    const uint32_t c[4] = {t.At(x, y), t.At(x + 1, y), t.At(x, y + 1), t.At(x + 1, y + 1)};
    const int w[4] = {(256 - wu) * (256 - wv), wu * (256 - wv), (256 - wu) * wv, wu * wv};
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double sum = 0;
        for (int k = 0; k < 4; ++k) sum += static_cast<double>(c[k] >> shift & 255) * w[k];
        out |= static_cast<uint32_t>(std::floor(sum / 65536.0 + 0.5)) << shift;
    }
    return out;
}

uint32_t Point(const Texels& t, double u, double v) {
    return t.At(static_cast<int>(std::floor(u * t.width)),
                static_cast<int>(std::floor(v * t.height)));
}

}  // namespace ref
