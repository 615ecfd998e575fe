// The software-device backend's 3-D drawing: one render-list triangle at a
// time through the triangle buffer, and the camera's view and projection with
// the scene that every camera set-up opens and the flush closes.
#pragma once

#include <array>
#include <cstdint>

#include "engine/G3DState.h"
#include "platform/d3d8/D3D8Types.h"

// The vertex colours of a render-list triangle: alpha Trunc(Alpha × 255); a
// flat triangle's channels Trunc(channel × (1 − darkness)), a textured one's
// grey Trunc(255 − darkness × 255); every value held to 0..255.
std::array<d3d8::Color, 3> G3DD3D8VertexColours(const TG3DTriangle& t);

// Texture coordinates (u, v) of a triangle's vertices for its layout flags.
std::array<std::array<float, 2>, 3> G3DD3D8TexCoords(bool layoutLow, bool layoutSwap);

// The value handed to the projection as its field of view, in radians:
// −(arctan(ClipWidth ÷ s) × 1.455 × 180) ÷ 3.1415 with s = ProjectionBase ×
// ClipWidth div 320 (at least 1), as a single.
float G3DD3D8FieldOfView(const TDStuff& state);

// The camera's look-at point and up vector (the eye is at the origin): the
// pitch cosine held at least 0.005 from 0.
void G3DD3D8ViewVectors(const TDStuff& state, d3d8::Vector3& at, d3d8::Vector3& up);
