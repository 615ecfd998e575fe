#include "platform/ui/gl/OpenGLUiRenderer.h"

#include <GL/gl.h>
#include <SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include "platform/window/Window.h"

namespace platform::ui {
namespace {

// Dear ImGui's OpenGL 2 renderer in the window's context. It keeps and puts
// back the OpenGL state that it changes, except the colour mask, which the
// relief mode may have narrowed: the mask is opened for the toolkit's drawing
// and restored after it.
class OpenGLUiRenderer : public UiRenderer {
  public:
    explicit OpenGLUiRenderer(Window& window) : window_(window) {
        MakeCurrent();
        ImGui_ImplOpenGL2_Init();
    }
    ~OpenGLUiRenderer() override {
        MakeCurrent();
        ImGui_ImplOpenGL2_Shutdown();
    }
    OpenGLUiRenderer(const OpenGLUiRenderer&) = delete;
    OpenGLUiRenderer& operator=(const OpenGLUiRenderer&) = delete;

    void NewFrame() override {
        MakeCurrent();
        ImGui_ImplOpenGL2_NewFrame();
    }

    void Render(ImDrawData* data) override {
        if (data == nullptr) return;
        MakeCurrent();
        GLboolean mask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
        glGetBooleanv(GL_COLOR_WRITEMASK, mask);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        ImGui_ImplOpenGL2_RenderDrawData(data);
        glColorMask(mask[0], mask[1], mask[2], mask[3]);
    }

  private:
    void MakeCurrent() {
        SDL_GL_MakeCurrent(window_.Native(), static_cast<SDL_GLContext>(window_.GLContext()));
    }

    Window& window_;
};

// Every program that links the OpenGL backend draws its toolkit frames so.
const bool registered = [] {
    SetOpenGLUiRendererFactory(&MakeOpenGLUiRenderer);
    return true;
}();

}  // namespace

std::unique_ptr<UiRenderer> MakeOpenGLUiRenderer(Window& window) {
    if (window.GLContext() == nullptr) return nullptr;
    return std::make_unique<OpenGLUiRenderer>(window);
}

}  // namespace platform::ui
