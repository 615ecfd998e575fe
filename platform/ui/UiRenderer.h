// What draws the interface toolkit's frames into a window: SDL's renderer for
// windows with a software surface, OpenGL for the main window of PlayerGL.
// The OpenGL one lives with the OpenGL engine backend (only PlayerGL links
// OpenGL) and is made through a factory that it registers; without one, an
// OpenGL window gets a renderer that draws nothing.
#pragma once

#include <memory>

struct ImDrawData;

namespace platform {
class Window;
}

namespace platform::ui {

class UiRenderer {
  public:
    virtual ~UiRenderer() = default;
    // Before each toolkit frame, with the window's toolkit context current:
    // makes the font texture at the first call.
    virtual void NewFrame() = 0;
    // Draws a finished frame over what the window holds now.
    virtual void Render(ImDrawData* data) = 0;
};

// Makes the renderer of an OpenGL window's toolkit frames.
using UiRendererFactory = std::unique_ptr<UiRenderer> (*)(Window& window);
// Registers the factory for OpenGL windows (the OpenGL backend, at start).
void SetOpenGLUiRendererFactory(UiRendererFactory factory);

// The renderer for `window` (not owned; it must outlive the renderer), with
// the window's toolkit context current.
std::unique_ptr<UiRenderer> MakeUiRenderer(Window& window);

}  // namespace platform::ui
