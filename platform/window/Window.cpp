#include "platform/window/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/text/Cp1252.h"
#include "platform/window/Application.h"

namespace platform {
namespace {

// The few OpenGL entry points the window itself needs, looked up at run time
// so that the platform layer does not link OpenGL (PlayerD3D has none).
using ClearColorFn = void (*)(float, float, float, float);
using ClearFn = void (*)(unsigned);
using ReadPixelsFn = void (*)(int, int, int, int, unsigned, unsigned, void*);
using ReadBufferFn = void (*)(unsigned);
using PixelStoreFn = void (*)(unsigned, int);
constexpr unsigned kColorBufferBit = 0x4000;
constexpr unsigned kRgb = 0x1907;
constexpr unsigned kUnsignedByte = 0x1401;
constexpr unsigned kBack = 0x0405;
constexpr unsigned kPackAlignment = 0x0D05;

template <typename Fn>
Fn GLFunction(const char* name) {
    return reinterpret_cast<Fn>(SDL_GL_GetProcAddress(name));
}

struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

}  // namespace

KeepGLContext::KeepGLContext()
    : window_(SDL_GL_GetCurrentWindow()), context_(SDL_GL_GetCurrentContext()) {}

KeepGLContext::~KeepGLContext() {
    if (SDL_GL_GetCurrentContext() != context_ || SDL_GL_GetCurrentWindow() != window_)
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
}

// The frame of a software surface and what shows it: SDL's software renderer
// and a streaming texture of the frame's size.
struct Window::SoftwareScreen {
    std::vector<uint32_t> frame;
    int width = 0;
    int height = 0;
    bool shown = false;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture;
    int textureWidth = 0;
    int textureHeight = 0;
};

Window::Window(const WindowSettings& settings)
    : surface_(settings.surface), title_(settings.title) {
    Uint32 flags = settings.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (settings.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (surface_ == Surface::OpenGL) {
        flags |= SDL_WINDOW_OPENGL;
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    }
    int position = settings.centred ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
    std::string utf8 = Cp1252ToUtf8(settings.title);
    window_ =
        SDL_CreateWindow(utf8.c_str(), position, position, settings.width, settings.height, flags);
    if (window_ == nullptr) throw std::runtime_error(std::string("SDL window: ") + SDL_GetError());
    if (surface_ == Surface::OpenGL) {
        glContext_ = SDL_GL_CreateContext(window_);
        if (glContext_ == nullptr) {
            std::string error = SDL_GetError();
            SDL_DestroyWindow(window_);
            throw std::runtime_error("OpenGL context: " + error);
        }
    }
    if (surface_ == Surface::Software) screen_ = std::make_unique<SoftwareScreen>();
    Application::Instance().Register(this);
}

Window::~Window() {
    Application::Instance().Unregister(this);
    if (glContext_ != nullptr) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
        SDL_DestroyWindow(window_);
        return;
    }
    // The renderers of a software surface may hold OpenGL contexts of their own.
    KeepGLContext keep;
    screen_.reset();  // the renderer goes before its window
    SDL_DestroyWindow(window_);
}

void Window::SetTitle(const std::string& cp1252Title) {
    title_ = cp1252Title;
    SDL_SetWindowTitle(window_, Cp1252ToUtf8(cp1252Title).c_str());
}

std::string Window::Title() const { return title_; }

void Window::Show() { SDL_ShowWindow(window_); }
void Window::Hide() { SDL_HideWindow(window_); }
bool Window::Visible() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0; }

void Window::Raise() {
    SDL_RaiseWindow(window_);
    SDL_SetWindowInputFocus(window_);
}

void Window::SetAlwaysOnTop(bool on) {
    SDL_SetWindowAlwaysOnTop(window_, on ? SDL_TRUE : SDL_FALSE);
}

void Window::SetTopStrip(int height) { topStrip_ = std::clamp(height, 0, kMaxClientSide / 2); }

void Window::ClientSize(int& width, int& height) const {
    if (surface_ == Surface::OpenGL) {
        SDL_GL_GetDrawableSize(window_, &width, &height);
    } else {
        SDL_GetWindowSize(window_, &width, &height);
    }
    height = std::max(height - topStrip_, 0);
}

void Window::SetClientSize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    const int64_t outerHeight = std::min<int64_t>(int64_t{height} + topStrip_, kMaxClientSide);
    SDL_SetWindowSize(window_, std::min(width, kMaxClientSide), static_cast<int>(outerHeight));
}

void Window::Position(int& left, int& top) const { SDL_GetWindowPosition(window_, &left, &top); }
void Window::SetPosition(int left, int top) { SDL_SetWindowPosition(window_, left, top); }

void Window::OuterRect(int& left, int& top, int& width, int& height) const {
    SDL_GetWindowPosition(window_, &left, &top);
    SDL_GetWindowSize(window_, &width, &height);
    int borderTop = 0, borderLeft = 0, borderBottom = 0, borderRight = 0;
    if (SDL_GetWindowBordersSize(window_, &borderTop, &borderLeft, &borderBottom, &borderRight) !=
        0) {
        return;
    }
    left -= borderLeft;
    top -= borderTop;
    width += borderLeft + borderRight;
    height += borderTop + borderBottom;
}

bool Window::Active() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0; }

uint32_t Window::Id() const { return SDL_GetWindowID(window_); }

void Window::FillBlack() {
    if (surface_ == Surface::OpenGL) {
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(glContext_));
        auto clearColor = GLFunction<ClearColorFn>("glClearColor");
        auto clear = GLFunction<ClearFn>("glClear");
        if (clearColor == nullptr || clear == nullptr) return;
        clearColor(0.0f, 0.0f, 0.0f, 0.0f);
        clear(kColorBufferBit);
        PresentGL();
        return;
    }
    int width = 0, height = 0;
    uint32_t* frame = SoftwareFrame(width, height);
    if (frame == nullptr) return;
    std::fill_n(frame, static_cast<size_t>(width) * static_cast<size_t>(height), kOpaqueBlack);
    ShowSoftwareFrame();
}

std::string Window::ReadClientPixels(int& width, int& height) {
    ClientSize(width, height);
    if (width <= 0 || height <= 0) return {};
    std::string rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, '\0');
    if (surface_ == Surface::OpenGL) {
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(glContext_));
        auto readBuffer = GLFunction<ReadBufferFn>("glReadBuffer");
        auto pixelStore = GLFunction<PixelStoreFn>("glPixelStorei");
        auto readPixels = GLFunction<ReadPixelsFn>("glReadPixels");
        if (readBuffer == nullptr || pixelStore == nullptr || readPixels == nullptr) return {};
        // The frame shown stays in the back buffer after the swap where swaps
        // copy (Mesa's software drivers under an X server); the front buffer
        // of a window reads as black with llvmpipe.
        readBuffer(kBack);
        pixelStore(kPackAlignment, 1);
        std::string flipped(rgb.size(), '\0');
        readPixels(0, 0, width, height, kRgb, kUnsignedByte, flipped.data());
        const size_t row = static_cast<size_t>(width) * 3;
        for (int y = 0; y < height; ++y)
            flipped.copy(rgb.data() + static_cast<size_t>(y) * row, row,
                         static_cast<size_t>(height - 1 - y) * row);
        return rgb;
    }
    if (!screen_->shown) return {};
    width = screen_->width;
    height = screen_->height;
    rgb.assign(screen_->frame.size() * 3, '\0');
    for (size_t i = 0; i < screen_->frame.size(); ++i) {
        const uint32_t pixel = screen_->frame[i];
        rgb[i * 3] = static_cast<char>(pixel >> 16 & 255);
        rgb[i * 3 + 1] = static_cast<char>(pixel >> 8 & 255);
        rgb[i * 3 + 2] = static_cast<char>(pixel & 255);
    }
    return rgb;
}

uint32_t* Window::SoftwareFrame(int& width, int& height) {
    if (!screen_) return nullptr;
    ClientSize(width, height);
    if (width <= 0 || height <= 0) return nullptr;
    SoftwareScreen& s = *screen_;
    if (width != s.width || height != s.height) {
        s.frame.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kOpaqueBlack);
        s.width = width;
        s.height = height;
        s.shown = false;
    }
    return s.frame.data();
}

SDL_Renderer* Window::SoftwareRenderer() {
    if (!screen_) return nullptr;
    if (!screen_->renderer) {
        KeepGLContext keep;
        screen_->renderer.reset(SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE));
    }
    return screen_->renderer.get();
}

void Window::PresentGL() {
    if (surface_ != Surface::OpenGL) return;
    if (overlay_) overlay_();
    SDL_GL_SwapWindow(window_);
}

void Window::ShowLastFrame() {
    if (surface_ == Surface::Software && screen_->shown) ShowSoftwareFrame();
}

void Window::ShowSoftwareFrame() {
    KeepGLContext keep;
    SDL_Renderer* renderer = SoftwareRenderer();
    if (renderer == nullptr || screen_->frame.empty()) return;
    SoftwareScreen& s = *screen_;
    if (!s.texture || s.textureWidth != s.width || s.textureHeight != s.height) {
        s.texture.reset(SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STREAMING, s.width, s.height));
        s.textureWidth = s.texture ? s.width : 0;
        s.textureHeight = s.texture ? s.height : 0;
    }
    if (!s.texture) return;
    SDL_UpdateTexture(s.texture.get(), nullptr, s.frame.data(), s.width * 4);
    if (topStrip_ > 0) {
        // The strip shows the overlay; without one it is black.
        const SDL_Rect strip{0, 0, s.width, topStrip_};
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderFillRect(renderer, &strip);
    }
    const SDL_Rect client{0, topStrip_, s.width, s.height};
    SDL_RenderCopy(renderer, s.texture.get(), nullptr, &client);
    if (overlay_) overlay_();
    SDL_RenderPresent(renderer);
    s.shown = true;
}

void Window::SetDesktopFullScreen(bool on) {
    SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool Window::FullScreen() const {
    return (SDL_GetWindowFlags(window_) &
            (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) != 0;
}

bool Window::DisplayMode(int index, int& width, int& height) const {
    int display = SDL_GetWindowDisplayIndex(window_);
    if (display < 0) display = 0;
    SDL_DisplayMode mode{};
    if (index < 0 || SDL_GetDisplayMode(display, index, &mode) != 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
}

}  // namespace platform
