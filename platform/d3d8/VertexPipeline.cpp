#include "platform/d3d8/VertexPipeline.h"

#include <algorithm>
#include <cstring>

namespace d3d8 {
namespace {

constexpr int kPlanes = 6;

float ReadFloat(const uint8_t* at) {
    float v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

void ReadColour(const uint8_t* at, float& r, float& g, float& b, float& a) {
    uint32_t c;
    std::memcpy(&c, at, sizeof c);
    a = static_cast<float>(c >> 24);
    r = static_cast<float>(c >> 16 & 255);
    g = static_cast<float>(c >> 8 & 255);
    b = static_cast<float>(c & 255);
}

// Distance of a vertex inside plane p of the view volume (negative: outside).
float Inside(const ClipVertex& v, int p) {
    switch (p) {
        case 0:
            return v.x + v.w;
        case 1:
            return v.w - v.x;
        case 2:
            return v.y + v.w;
        case 3:
            return v.w - v.y;
        case 4:
            return v.z;
        default:
            return v.w - v.z;
    }
}

ClipVertex Lerp(const ClipVertex& a, const ClipVertex& b, float t) {
    auto mix = [t](float p, float q) { return p + (q - p) * t; };
    return {mix(a.x, b.x), mix(a.y, b.y), mix(a.z, b.z), mix(a.w, b.w), mix(a.r, b.r),
            mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a), mix(a.u, b.u), mix(a.v, b.v)};
}

// One Sutherland-Hodgman step: the part of the polygon inside plane p.
int ClipPlane(const ClipVertex* in, int count, int p, ClipVertex* out) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[(i + 1) % count];
        const float da = Inside(a, p), db = Inside(b, p);
        if (da >= 0) out[n++] = a;
        if ((da >= 0) != (db >= 0)) out[n++] = Lerp(a, b, da / (da - db));
    }
    return n;
}

ScreenVertex ToScreen(const ClipVertex& c, int32_t width, int32_t height) {
    const float rhw = 1.0f / c.w;
    return {(1.0f + c.x * rhw) * (static_cast<float>(width) * 0.5f),
            (1.0f - c.y * rhw) * (static_cast<float>(height) * 0.5f),
            c.z * rhw,
            rhw,
            c.r,
            c.g,
            c.b,
            c.a,
            c.u,
            c.v};
}

}  // namespace

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    }
    return r;
}

ClipVertex TransformSceneVertex(const uint8_t* vertex, const Matrix& m) {
    const float x = ReadFloat(vertex), y = ReadFloat(vertex + 4), z = ReadFloat(vertex + 8);
    ClipVertex c{};
    c.x = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    c.y = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    c.z = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
    c.w = x * m.m[0][3] + y * m.m[1][3] + z * m.m[2][3] + m.m[3][3];
    ReadColour(vertex + 12, c.r, c.g, c.b, c.a);
    c.u = ReadFloat(vertex + 16);
    c.v = ReadFloat(vertex + 20);
    return c;
}

ScreenVertex ReadScreenVertex(const uint8_t* vertex) {
    ScreenVertex s{};
    s.x = ReadFloat(vertex);
    s.y = ReadFloat(vertex + 4);
    s.z = ReadFloat(vertex + 8);
    s.rhw = ReadFloat(vertex + 12);
    ReadColour(vertex + 16, s.r, s.g, s.b, s.a);
    s.u = ReadFloat(vertex + 20);
    s.v = ReadFloat(vertex + 24);
    return s;
}

int ClipToScreen(const ClipVertex (&triangle)[3], int32_t width, int32_t height,
                 ScreenVertex* out) {
    bool inside = true;
    for (int p = 0; p < kPlanes; ++p) {
        int outside = 0;
        for (const ClipVertex& v : triangle) outside += !(Inside(v, p) >= 0);
        if (outside == 3) return 0;
        inside = inside && outside == 0;
    }
    ClipVertex a[kMaxClippedVertices + 3], b[kMaxClippedVertices + 3];
    for (int k = 0; k < 3; ++k) a[k] = triangle[k];
    int count = 3;
    if (!inside) {
        for (int p = 0; p < kPlanes && count >= 3; ++p) {
            count = ClipPlane(a, count, p, b);
            std::copy(b, b + count, a);
        }
    }
    if (count < 3) return 0;
    count = std::min(count, kMaxClippedVertices);
    for (int k = 0; k < count; ++k) out[k] = ToScreen(a[k], width, height);
    return count;
}

}  // namespace d3d8
