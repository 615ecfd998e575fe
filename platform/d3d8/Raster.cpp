#include "platform/d3d8/Raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace d3d8 {
namespace {

constexpr double kSubpixels = 16.0;

bool Finite(float v) { return std::isfinite(v); }

bool Drawable(const ScreenVertex& v) {
    return Finite(v.x) && Finite(v.y) && Finite(v.z) && Finite(v.u) && Finite(v.v) &&
           std::fabs(v.x) <= kMaxVertexCoordinate && std::fabs(v.y) <= kMaxVertexCoordinate &&
           v.rhw > 0.0f && Finite(v.rhw) && Finite(v.r) && Finite(v.g) && Finite(v.b) &&
           Finite(v.a);
}

int64_t FloorDiv(int64_t n, int64_t d) {
    int64_t q = n / d;
    if (n % d != 0 && n < 0) --q;
    return q;
}

int64_t CeilDiv(int64_t n, int64_t d) { return -FloorDiv(-n, d); }

TriangleEdge MakeEdge(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
    const int64_t dx = bx - ax, dy = by - ay;
    const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
    return {dx, dy, ax, ay, topLeft ? 0 : 1};
}

void Attributes(const ScreenVertex& v, double (&q)[kAttributes]) {
    const double rhw = v.rhw;
    q[0] = rhw;
    q[1] = v.z;
    q[2] = v.r * rhw;
    q[3] = v.g * rhw;
    q[4] = v.b * rhw;
    q[5] = v.a * rhw;
    q[6] = v.u * rhw;
    q[7] = v.v * rhw;
}

// Plane equations of the attributes over the snapped positions (pixels).
void SetPlanes(const ScreenVertex* const (&v)[3], const double (&px)[3], const double (&py)[3],
               double area, TriangleSetup& out) {
    double q[3][kAttributes];
    for (int k = 0; k < 3; ++k) Attributes(*v[k], q[k]);
    const double x1 = px[1] - px[0], y1 = py[1] - py[0];
    const double x2 = px[2] - px[0], y2 = py[2] - py[0];
    for (int a = 0; a < kAttributes; ++a) {
        const double d1 = q[1][a] - q[0][a], d2 = q[2][a] - q[0][a];
        out.planes.value[a] = q[0][a];
        out.planes.dx[a] = (d1 * y2 - d2 * y1) / area;
        out.planes.dy[a] = (d2 * x1 - d1 * x2) / area;
    }
    out.planes.originX = px[0];
    out.planes.originY = py[0];
}

bool Magnifies(const ScreenVertex* const (&v)[3], double area, int32_t texWidth,
               int32_t texHeight) {
    const double du1 = double{v[1]->u} - v[0]->u, dv1 = double{v[1]->v} - v[0]->v;
    const double du2 = double{v[2]->u} - v[0]->u, dv2 = double{v[2]->v} - v[0]->v;
    const double texels = std::fabs(du1 * dv2 - du2 * dv1) * texWidth * texHeight;
    return texels <= area;
}

}  // namespace

bool SetUpTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2,
                   int32_t width, int32_t height, int32_t texWidth, int32_t texHeight, Cull cull,
                   TriangleSetup& out) {
    if (!Drawable(v0) || !Drawable(v1) || !Drawable(v2) || width <= 0 || height <= 0) return false;
    const ScreenVertex* v[3] = {&v0, &v1, &v2};
    int64_t fx[3], fy[3];
    for (int k = 0; k < 3; ++k) {
        fx[k] = static_cast<int64_t>(std::nearbyint(double{v[k]->x} * kSubpixels));
        fy[k] = static_cast<int64_t>(std::nearbyint(double{v[k]->y} * kSubpixels));
    }
    int64_t area2 = (fx[1] - fx[0]) * (fy[2] - fy[0]) - (fx[2] - fx[0]) * (fy[1] - fy[0]);
    // A positive area is a clockwise turn on screen.
    if (area2 == 0 || (cull == Cull::Clockwise && area2 > 0) ||
        (cull == Cull::CounterClockwise && area2 < 0)) {
        return false;
    }
    if (area2 < 0) {  // both windings are drawn: make it one
        std::swap(v[1], v[2]);
        std::swap(fx[1], fx[2]);
        std::swap(fy[1], fy[2]);
        area2 = -area2;
    }
    const int64_t minFx = std::min({fx[0], fx[1], fx[2]}), maxFx = std::max({fx[0], fx[1], fx[2]});
    const int64_t minFy = std::min({fy[0], fy[1], fy[2]}), maxFy = std::max({fy[0], fy[1], fy[2]});
    out.minX = static_cast<int32_t>(std::max<int64_t>(CeilDiv(minFx, 16), 0));
    out.maxX = static_cast<int32_t>(std::min<int64_t>(FloorDiv(maxFx, 16), width - 1));
    out.minY = static_cast<int32_t>(std::max<int64_t>(CeilDiv(minFy, 16), 0));
    out.maxY = static_cast<int32_t>(std::min<int64_t>(FloorDiv(maxFy, 16), height - 1));
    if (out.minX > out.maxX || out.minY > out.maxY) return false;
    for (int k = 0; k < 3; ++k) {
        const int n = (k + 1) % 3;
        out.edges[k] = MakeEdge(fx[k], fy[k], fx[n], fy[n]);
    }
    const double px[3] = {fx[0] / kSubpixels, fx[1] / kSubpixels, fx[2] / kSubpixels};
    const double py[3] = {fy[0] / kSubpixels, fy[1] / kSubpixels, fy[2] / kSubpixels};
    const double area = static_cast<double>(area2) / (kSubpixels * kSubpixels);
    SetPlanes(v, px, py, area, out);
    out.magnify = Magnifies(v, area, texWidth, texHeight);
    return true;
}

namespace {

// floor(p / d) for d > 0, kept as quotient and remainder while p grows by a
// fixed step from row to row.
class FloorSteps {
  public:
    FloorSteps(int64_t p, int64_t d, int64_t step)
        : d_(d),
          q_(FloorDiv(p, d)),
          r_(p - q_ * d),
          stepQ_(FloorDiv(step, d)),
          stepR_(step - stepQ_ * d) {}
    int64_t Value() const { return q_; }
    void Next() {
        q_ += stepQ_;
        r_ += stepR_;
        if (r_ >= d_) r_ -= d_, ++q_;
    }

  private:
    int64_t d_, q_, r_, stepQ_, stepR_;
};

// The range of centres of a row inside one edge: x ≥ Value() for a left
// bound, x ≤ Value() for a right bound; a horizontal edge holds all or none.
class EdgeBound {
  public:
    // The centre (x, y) is inside when dx·(16y − ay) − dy·(16x − ax) ≥ bias, that
    // is a·x ≤ k − bias with a = −16·dy and k = dx·(16y − ay) + dy·ax.
    EdgeBound(const TriangleEdge& e, int32_t y)
        : a_(-16 * e.dy),
          k_(e.dx * (16 * int64_t{y} - e.ay) + e.dy * e.ax - e.bias),
          steps_(k_, a_ > 0 ? a_ : (a_ < 0 ? -a_ : 1), 16 * e.dx),
          stepK_(16 * e.dx) {}
    void Apply(int64_t& lo, int64_t& hi) const {
        if (a_ > 0) {
            lo = std::max(lo, -steps_.Value());
        } else if (a_ < 0) {
            hi = std::min(hi, steps_.Value());
        } else if (k_ < 0) {
            hi = lo - 1;
        }
    }
    void Next() {
        steps_.Next();
        k_ += stepK_;
    }

  private:
    int64_t a_, k_;
    FloorSteps steps_;
    int64_t stepK_;
};

}  // namespace

void RasterizeTriangle(const TriangleSetup& t, const PixelState& state, const RenderTarget& target,
                       int32_t first, int32_t last) {
    first = std::max(first, t.minY);
    last = std::min(last, t.maxY);
    if (first > last) return;
    SpanBatch batch;
    batch.planes = &t.planes;
    batch.linear = t.magnify ? state.magLinear : state.minLinear;
    EdgeBound edges[3] = {{t.edges[0], first}, {t.edges[1], first}, {t.edges[2], first}};
    for (int32_t y = first; y <= last; ++y) {
        int64_t lo = t.minX, hi = t.maxX;
        for (EdgeBound& e : edges) {
            e.Apply(lo, hi);
            e.Next();
        }
        if (lo <= hi) {
            batch.rows[batch.count++] = {y, static_cast<int32_t>(lo), static_cast<int32_t>(hi)};
        }
        if (batch.count == kSpanBatchRows || (y == last && batch.count > 0)) {
            ShadeSpans(batch, state, target);
            batch.count = 0;
        }
    }
}

}  // namespace d3d8
