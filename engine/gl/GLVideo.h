// The OpenGL backend's video pictures: one texture, replaced when the
// picture changes and drawn over the whole client area on its own viewport,
// then presented (G3DBackendShowVideo, G3DBackendReleaseVideo of
// G3DBackend.h).
#pragma once

#include <cstdint>

// The video texture's OpenGL name; 0 when none is kept.
uint32_t G3DGLVideoTexture();
