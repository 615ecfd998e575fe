// The utility functions the engine takes beside the device: texture creation
// at any size (enlarged to what the device takes) and the left-handed camera
// matrices.
#pragma once

#include <cstdint>

#include "platform/d3d8/D3D8Types.h"

namespace d3d8 {
class Device;
class Texture;
}  // namespace d3d8

namespace d3dx {

// Smallest power of two that is at least `n` and at least 2.
uint32_t TextureSide(uint32_t n);

// A texture for a width × height picture: each side enlarged to TextureSide,
// so the picture fills the top-left width × height texels. Fails (with a null
// texture) for a side of 0, one the device does not take, or no device.
d3d8::Result CreateTexture(d3d8::Device* device, uint32_t width, uint32_t height,
                           uint32_t mipLevels, uint32_t usage, d3d8::Format format, d3d8::Pool pool,
                           d3d8::Texture** texture);

void MatrixIdentity(d3d8::Matrix& out);

// Left-handed perspective: vertical field of view `fovy` (radians, used through
// the cotangent of its half), width / height `aspect`, depth 0 at `zn` and 1 at
// `zf`.
void MatrixPerspectiveFovLH(d3d8::Matrix& out, float fovy, float aspect, float zn, float zf);

// Left-handed view from `eye` towards `at` with `up` upwards; a zero axis
// stays zero.
void MatrixLookAtLH(d3d8::Matrix& out, const d3d8::Vector3& eye, const d3d8::Vector3& at,
                    const d3d8::Vector3& up);

}  // namespace d3dx
