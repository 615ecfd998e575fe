// The software-device backend's video pictures: the picture becomes the
// video texture when it changes, is drawn as an overlay over the whole back
// buffer, and the back buffer is presented stretched over the client area
// (G3DBackendShowVideo, G3DBackendReleaseVideo of G3DBackend.h).
#pragma once

#include <cstdint>

// The used part (u, v) of a texture of texWidth × texHeight texels that holds
// a picture of width × height in its top-left corner.
void G3DD3D8VideoTexturePart(int32_t width, int32_t height, uint32_t texWidth, uint32_t texHeight,
                             float& u, float& v);
