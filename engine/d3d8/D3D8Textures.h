// The software-device backend's textures: the 3-D file's pictures and the
// image slots become A8R8G8B8 textures (index 0 transparent), and slots are
// drawn as 2-D overlays in back-buffer pixels.
#pragma once

#include <array>
#include <cstdint>

#include "engine/G3DImages.h"
#include "platform/d3d8/Texture.h"
#include "platform/d3d8/Unknown.h"

// One vertex of the screen format as the overlay buffer holds it.
struct G3DOverlayVertex {
    float X, Y, Z, Rhw;
    uint32_t Colour;
    float U, V;
};
static_assert(sizeof(G3DOverlayVertex) == 28, "screen vertices are 28 bytes");

// The two triangles of an overlay of a slot whose used part is u × v of its
// texture, for a back buffer of width × height: fractions x, y, w, h of the
// back buffer turned into pixels (the left and top edges held at one buffer
// side before the buffer, the sizes at three sides), white vertices with alpha
// Trunc((1 − transparency / 100) × 255) held to 0..255, texture coordinates
// 0.004 inside the used part.
std::array<G3DOverlayVertex, 6> G3DD3D8OverlayQuad(int32_t width, int32_t height, float u, float v,
                                                   int32_t transparency, float x, float y, float w,
                                                   float h);

// A texture for a width × height picture of RGBA bytes, `stride` pixels a row:
// the picture in its top-left texels. False (and no texture) when the device
// cannot make one.
bool G3DD3D8MakeTexture(const uint8_t* rgba, int32_t width, int32_t height, int32_t stride,
                        d3d8::Ref<d3d8::Texture>& out);
// Writes the picture into the top-left texels of `texture`, which has room
// for it; false when the texture cannot be locked.
bool G3DD3D8FillTexture(d3d8::Texture& texture, const uint8_t* rgba, int32_t width, int32_t height,
                        int32_t stride);

// Draws the u × v used part of `texture` as a 2-D overlay at fractions x, y,
// w, h of the back buffer, in a scene of its own (as G3DDrawImage does).
void G3DD3D8DrawOverlay(d3d8::Texture* texture, float u, float v, bool alphaTest,
                        int32_t transparency, float x, float y, float w, float h);
