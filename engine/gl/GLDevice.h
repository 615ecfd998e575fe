// The OpenGL backend's hold on the main window: the window's OpenGL context
// made current, the fixed render state, clearing, presenting, full screen and
// display modes (the lifecycle operations of G3DBackend.h).
#pragma once

#include <cstdint>

namespace platform {
class Window;
}

// The window the engine was last bound to; nullptr before the first G3DInit.
platform::Window* G3DGLWindow();

// Makes the engine's context current again when another one is (a dialog's
// drawing, or SDL's own renderers, may leave theirs current). Every operation
// of the backend that calls OpenGL begins with it; nothing before the first
// G3DInit or after G3DDone.
void G3DGLBind();

// True until the first G3DInit and again after G3DDone or G3DReset: the next
// G3DInit takes the context anew.
bool G3DGLNewContext();

// Number of times a context was taken (for checks that G3DInit does not take
// one on every call).
int32_t G3DGLContextCount();
