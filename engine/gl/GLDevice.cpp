#include "engine/gl/GLDevice.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>

#include "engine/G3D3DFile.h"
#include "engine/G3DEngine.h"
#include "platform/window/Window.h"
#include "support/WinFunc.h"

namespace {

// The bound window and context state: set by G3DInit, kept for the run.
platform::Window* boundWindow = nullptr;
bool bound = false;  // between G3DInit and G3DDone
bool newContext = true;
int32_t contextCount = 0;
GLint maxTextureSize = 0;

void MakeCurrent(platform::Window& form) {
    SDL_GL_MakeCurrent(form.Native(), static_cast<SDL_GLContext>(form.GLContext()));
}

void SetFixedState() {
    glEnable(GL_SCISSOR_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_DEPTH_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glCullFace(GL_FRONT_AND_BACK);  // culling stays off: the engine removes back faces
    glFrontFace(GL_CW);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int DisplayOf(platform::Window& form) {
    const int display = SDL_GetWindowDisplayIndex(form.Native());
    return display < 0 ? 0 : display;
}

}  // namespace

platform::Window* G3DGLWindow() { return boundWindow; }

bool G3DGLNewContext() { return newContext; }

int32_t G3DGLContextCount() { return contextCount; }

void G3DGLBind() {
    if (!bound || boundWindow == nullptr || boundWindow->GLContext() == nullptr) return;
    if (SDL_GL_GetCurrentContext() != boundWindow->GLContext() ||
        SDL_GL_GetCurrentWindow() != boundWindow->Native()) {
        MakeCurrent(*boundWindow);
    }
}

void G3DBackendInit(TDStuff& /*state*/, platform::Window& form) {
    boundWindow = &form;
    if (newContext) {
        ++contextCount;
        newContext = false;
    }
    bound = true;
    MakeCurrent(form);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    SetFixedState();
}

int32_t G3DBackendMaxTextureSize() { return maxTextureSize > 0 ? maxTextureSize : 1024; }

int32_t G3DBackendMaxFrameSide(platform::Window& form) {
    if (form.GLContext() == nullptr) return 0;
    MakeCurrent(form);
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    return std::min(dims[0], dims[1]);
}

void G3DDone() {
    if (boundWindow != nullptr) SDL_GL_MakeCurrent(boundWindow->Native(), nullptr);
    bound = false;
    newContext = true;
}

void G3DReset(TDStuff& state, platform::Window& form) {
    newContext = true;
    G3DInit(state.Frame.Width, state.Frame.Height, state, form);
    if (!state.Last3DFile.empty()) G3DLoad3DFile(state.Last3DFile, state);
}

void G3DClearScreen(uint8_t index, TDStuff& state) {
    G3DGLBind();
    const TPalette& p = state.MainPalette;
    if (state.ReliefOn) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(p[index] / 256.0f, p[256 + index] / 256.0f, p[512 + index] / 256.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void G3DPresent(platform::Window& form, int32_t x, int32_t y, int32_t w, int32_t h,
                TDStuff& /*state*/) {
    G3DGLBind();
    int clientWidth = 0, clientHeight = 0;
    form.ClientSize(clientWidth, clientHeight);
    const int64_t fromBottom = int64_t{clientHeight} - y - h;
    const GLint row = static_cast<GLint>(std::clamp<int64_t>(fromBottom, INT32_MIN, INT32_MAX));
    glViewport(x, row, std::max(w, 0), std::max(h, 0));
    glScissor(x, row, std::max(w, 0), std::max(h, 0));
    form.PresentGL();  // the window's overlay (its menu bar), then the swap
}

void G3DFullScreen(platform::Window& form, TDStuff& state) {
    const int width = state.Frame.Width / 4 * 4;
    const int height = state.Frame.Height / 4 * 4;
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode mode{};
    if (SDL_GetClosestDisplayMode(DisplayOf(form), &wanted, &mode) != nullptr) {
        SDL_SetWindowDisplayMode(form.Native(), &mode);
    }
    form.SetClientSize(width, height);
    SDL_SetWindowFullscreen(form.Native(), SDL_WINDOW_FULLSCREEN);  // a failure is not fatal
    FullScreenActive = true;
}

void G3DWindowed(platform::Window& form, TDStuff& state) {
    SDL_SetWindowFullscreen(form.Native(), 0);
    FullScreenActive = false;
    form.SetPosition(0, 0);
    form.SetClientSize(state.Frame.Width, state.Frame.Height);
}

bool G3DDisplayMode(platform::Window& form, int32_t index, int32_t& width, int32_t& height) {
    SDL_DisplayMode mode{};
    if (index < 0 || SDL_GetDisplayMode(DisplayOf(form), index, &mode) != 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
}
