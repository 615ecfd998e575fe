// The engine's lifecycle: binding the engine to the main window at a frame
// size. Includes the backend's own operations (clear, present, full screen,
// reset, done) so that callers need this header only.
#pragma once

#include <cstdint>

#include "engine/G3DBackend.h"
#include "engine/G3DState.h"

namespace platform {
class Window;
}

// Smallest frame G3DInit accepts; a smaller one (a minimised window) is
// ignored and the last frame size stays.
constexpr int32_t kG3DMinFrameWidth = 4;
constexpr int32_t kG3DMinFrameHeight = 2;
// Largest frame side G3DInit accepts.
constexpr int32_t kG3DMaxFrameSide = 32767;

// Largest frame side that G3DInit accepts and the backend can draw on `form`.
int32_t G3DMaxFrameSide(platform::Window& form);

// Binds the engine to `form` at a frame of width × height: frame size and
// colour table, projection base, the backend's context and fixed state, and a
// new render list of 100000 triangles with the scales of this size.
void G3DInit(int32_t width, int32_t height, TDStuff& state, platform::Window& form);
