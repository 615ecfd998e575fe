// Video pictures shown by the engine: while a video plays, its latest
// picture covers the window's client area in place of the game's frame, drawn
// through the backend so that every program shows it the same way.
#pragma once

#include <cstdint>

struct TDStuff;

namespace platform {
class Window;
}

// Shows `width` × `height` RGBA pixels (`rgba` holds width × height × 4
// bytes, rows from the top) stretched over the client area of `form` and
// presents them; `serial` changes whenever the pixels do. Nothing for an
// empty picture or one larger than the backend's textures.
void G3DShowVideoPicture(const uint8_t* rgba, int32_t width, int32_t height, uint64_t serial,
                         platform::Window& form, TDStuff& state);

// Lets go of the last picture's texture once the video has ended, and clears
// the pictures from the window's buffers: what draws nothing then shows black.
void G3DReleaseVideoPicture(platform::Window& form);
