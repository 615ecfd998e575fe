// The engine's drawing backend: the operations whose work depends on the
// graphics interface. The backend-independent engine calls the G3DBackend*
// hooks; the engine operations declared here are the backend's own from start
// to end. A program links exactly one backend library: player_engine_gl
// (OpenGL 1.1), the Direct3D-8-like one, or player_engine_null (draws nothing,
// for tests without a display).
#pragma once

#include <cstdint>

struct TDStuff;
struct TG3DImage;

namespace platform {
class Window;
}

// --- Hooks called by the shared engine ---

// Binds the backend to the window after G3DInit's shared first steps: context
// or device, fixed render state.
void G3DBackendInit(TDStuff& state, platform::Window& form);

// Largest texture side the backend accepts (pictures above it are refused).
int32_t G3DBackendMaxTextureSize();

// Largest frame side the backend can draw on `form` (its largest viewport);
// 0 or less when it cannot tell.
int32_t G3DBackendMaxFrameSide(platform::Window& form);

// Replaces picture `picture` (0..32767) by `width` × `height` RGBA pixels
// (power-of-two sides).
void G3DBackendUploadPicture(int32_t picture, const uint8_t* rgba, int32_t width, int32_t height);

// Releases the slot's old texture and makes a new one from its Pixels (PW × PH).
void G3DBackendUploadImage(TG3DImage& image);

// Draws an image slot as a 2-D overlay: x, y from the top-left corner, w, h as
// fractions of the view; alpha 1 - transparency / 100.
void G3DBackendDrawImage(const TG3DImage& image, bool alphaTest, int32_t transparency, float x,
                         float y, float w, float h, TDStuff& state);

// The camera's last steps after the shared ones of G3DSetCamera: depth clear,
// view and projection, start of the frame's 3-D drawing.
void G3DBackendSetCamera(TDStuff& state);

// Draws the first `count` entries of the sorted SortBuffer (farthest first),
// with relief when on; closes the 3-D drawing begun by G3DBackendSetCamera.
void G3DBackendDrawList(TDStuff& state, int32_t count);

// Relief mode switched off: the backend restores its full colour output.
void G3DBackendReliefOff(TDStuff& state);

// Shows a video picture of `width` × `height` RGBA pixels (rows from the top)
// stretched over the whole client area of `form`, and presents it; the
// frame's own drawing is covered. `serial` changes with the pixels: the
// backend may keep what it made of the last ones.
void G3DBackendShowVideo(const uint8_t* rgba, int32_t width, int32_t height, uint64_t serial,
                         platform::Window& form, TDStuff& state);

// Releases what the backend keeps for video pictures.
void G3DBackendReleaseVideo(platform::Window& form);

// --- Engine operations that are wholly the backend's ---

// Draws render-list entry `index`.
void G3DDrawTriangle(int32_t index, TDStuff& state);

// Clears the colour buffer to main-palette colour `index`.
void G3DClearScreen(uint8_t index, TDStuff& state);

// Shows the frame in the client rectangle (x, y, w, h), y from the top.
void G3DPresent(platform::Window& form, int32_t x, int32_t y, int32_t w, int32_t h, TDStuff& state);

// Full screen at the frame size (rounded down to multiples of 4); sets
// FullScreenActive.
void G3DFullScreen(platform::Window& form, TDStuff& state);

// Back to the desktop mode, the window at 0,0 with the frame size as client
// size; clears FullScreenActive.
void G3DWindowed(platform::Window& form, TDStuff& state);

// Releases the engine's hold on the window's drawing context.
void G3DDone();

// After a display change: binds the engine again and reloads what the new
// context lacks.
void G3DReset(TDStuff& state, platform::Window& form);

// Full-screen display mode number `index` of the window's display (width and
// height in pixels); false past the last one.
bool G3DDisplayMode(platform::Window& form, int32_t index, int32_t& width, int32_t& height);
