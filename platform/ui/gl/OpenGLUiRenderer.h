// The interface toolkit's frames drawn with OpenGL over the main window of
// PlayerGL. Compiled into the OpenGL engine backend, which links OpenGL, and
// registered there for every OpenGL window (UiRenderer.h).
#pragma once

#include <memory>

#include "platform/ui/UiRenderer.h"

namespace platform::ui {

// A renderer for `window` (an OpenGL surface), with the window's toolkit
// context current.
std::unique_ptr<UiRenderer> MakeOpenGLUiRenderer(Window& window);

}  // namespace platform::ui
