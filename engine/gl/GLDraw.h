// The OpenGL backend's 3-D drawing: the camera's projection, render-list
// triangles in immediate mode, and the two-pass colour-masked relief mode.
#pragma once

#include <cstdint>

// Texture coordinates (s, t) of a triangle's three vertices for its layout
// flags: 0.005 and 0.995 at the picture's edges; `swap` exchanges s and t.
void G3DTriangleTexCoords(bool layoutLow, bool layoutSwap, float (&st)[3][2]);
