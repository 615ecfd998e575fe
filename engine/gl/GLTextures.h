// The OpenGL backend's textures: the 32768 texture names of the 3-D file's
// pictures, the image slots' textures, and overlay drawing.
#pragma once

#include <array>
#include <cstdint>

// OpenGL texture names by picture number; 0 = none yet.
extern std::array<uint32_t, 32768> G3DTextureNames;
