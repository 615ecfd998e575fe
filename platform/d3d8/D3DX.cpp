#include "platform/d3d8/D3DX.h"

#include <cmath>

#include "platform/d3d8/Device.h"

namespace d3dx {
namespace {

using d3d8::Vector3;

Vector3 Normalised(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f)) return {0, 0, 0};
    return {v.x / length, v.y / length, v.z / length};
}

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

uint32_t TextureSide(uint32_t n) {
    uint32_t side = 2;
    while (side < n && side <= (1u << 30)) side *= 2;
    return side;
}

d3d8::Result CreateTexture(d3d8::Device* device, uint32_t width, uint32_t height,
                           uint32_t mipLevels, uint32_t usage, d3d8::Format format, d3d8::Pool pool,
                           d3d8::Texture** texture) {
    if (texture == nullptr) return d3d8::Result::InvalidCall;
    *texture = nullptr;
    if (device == nullptr || width == 0 || height == 0) return d3d8::Result::InvalidCall;
    return device->CreateTexture(TextureSide(width), TextureSide(height), mipLevels, usage, format,
                                 pool, texture);
}

void MatrixIdentity(d3d8::Matrix& out) {
    out = {};
    for (int i = 0; i < 4; ++i) out.m[i][i] = 1.0f;
}

void MatrixPerspectiveFovLH(d3d8::Matrix& out, float fovy, float aspect, float zn, float zf) {
    const float yScale = 1.0f / std::tan(fovy / 2.0f);
    out = {};
    out.m[0][0] = yScale / aspect;
    out.m[1][1] = yScale;
    out.m[2][2] = zf / (zf - zn);
    out.m[2][3] = 1.0f;
    out.m[3][2] = -zn * zf / (zf - zn);
}

void MatrixLookAtLH(d3d8::Matrix& out, const Vector3& eye, const Vector3& at, const Vector3& up) {
    const Vector3 z = Normalised({at.x - eye.x, at.y - eye.y, at.z - eye.z});
    const Vector3 x = Normalised(Cross(up, z));
    const Vector3 y = Cross(z, x);
    out = {};
    const Vector3 axes[3] = {x, y, z};
    for (int c = 0; c < 3; ++c) {
        out.m[0][c] = axes[c].x;
        out.m[1][c] = axes[c].y;
        out.m[2][c] = axes[c].z;
        out.m[3][c] = -Dot(axes[c], eye);
    }
    out.m[3][3] = 1.0f;
}

}  // namespace d3dx
