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

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

}  // namespace

KeepGLContext::KeepGLContext()
    : window_(SDL_GL_GetCurrentWindow()), context_(SDL_GL_GetCurrentContext()) {}

KeepGLContext::~KeepGLContext() {
    if (SDL_GL_GetCurrentContext() != context_ || SDL_GL_GetCurrentWindow() != window_)
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
}

// The frame of a software surface and what shows it: SDL's software renderer
// (which draws the overlay) over the window system's own pixels. Where those
// are 32-bit X8R8G8B8 the frame is their client part; otherwise it is kept in
// memory and converted when shown.
struct Window::SoftwareScreen {
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    SDL_Surface* surface = nullptr;  // the window's, as last seen; not owned
    std::vector<uint32_t> memory;    // the frame where the surface cannot hold it
    uint32_t* frame = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // in pixels
    int strip = 0;
    bool shown = false;
    bool overlayKept = false;            // all the overlay drew at the last showing is there
    std::vector<uint32_t> underOverlay;  // the frame, where the overlay drew over it
    bool overlayOnClient = false;
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

void Window::SetOwner(const Window& owner) {
    if (&owner != this) SDL_SetWindowModalFor(window_, owner.window_);
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
    int width = 0, height = 0, pitch = 0;
    uint32_t* frame = SoftwareFrame(width, height, pitch);
    if (frame == nullptr) return;
    for (int y = 0; y < height; ++y)
        std::fill_n(frame + static_cast<size_t>(y) * pitch, width, kOpaqueBlack);
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
    SoftwareScreen& s = *screen_;
    if (!s.shown || s.frame == nullptr) return {};
    width = s.width;
    height = s.height;
    rgb.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, '\0');
    size_t i = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = s.frame + static_cast<size_t>(y) * s.pitch;
        for (int x = 0; x < width; ++x, i += 3) {
            rgb[i] = static_cast<char>(row[x] >> 16 & 255);
            rgb[i + 1] = static_cast<char>(row[x] >> 8 & 255);
            rgb[i + 2] = static_cast<char>(row[x] & 255);
        }
    }
    return rgb;
}

uint32_t* Window::SoftwareFrame(int& width, int& height, int& pitch) {
    if (!screen_) return nullptr;
    SoftwareScreen& s = *screen_;
    // The renderer first: it takes the window's surface for itself.
    SDL_Renderer* renderer = SoftwareRenderer();
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    ClientSize(width, height);
    if (surface != nullptr) {
        width = std::min(width, surface->w);
        height = std::min(height, surface->h - topStrip_);
    }
    if (renderer == nullptr || surface == nullptr || width <= 0 || height <= 0) {
        s.frame = nullptr;
        return nullptr;
    }
    // A surface made anew (the window resized) carries no mark of ours.
    if (surface->userdata != &s || surface != s.surface || width != s.width || height != s.height ||
        topStrip_ != s.strip) {
        NewSoftwareFrame(surface, width, height);
    } else if (s.overlayOnClient) {
        // The frame as it was before the overlay drew over it (a frame kept
        // in memory is converted into the surface anew anyway).
        for (int y = 0; y < s.height && !s.underOverlay.empty(); ++y)
            std::copy_n(s.underOverlay.data() + static_cast<size_t>(y) * s.width, s.width,
                        s.frame + static_cast<size_t>(y) * s.pitch);
        s.overlayOnClient = false;
        s.overlayKept = false;
    }
    pitch = s.pitch;
    return s.frame;
}

void Window::NewSoftwareFrame(SDL_Surface* surface, int width, int height) {
    SoftwareScreen& s = *screen_;
    surface->userdata = &s;
    s.surface = surface;
    s.width = width;
    s.height = height;
    s.strip = topStrip_;
    const uint32_t format = surface->format->format;
    const bool direct = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
    if (direct) {
        s.memory.clear();
        s.pitch = surface->pitch / 4;
        s.frame =
            static_cast<uint32_t*>(surface->pixels) + static_cast<size_t>(topStrip_) * s.pitch;
    } else {
        s.memory.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kOpaqueBlack);
        s.pitch = width;
        s.frame = s.memory.data();
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    s.shown = false;
    s.overlayKept = s.overlayOnClient = false;
}

SDL_Renderer* Window::SoftwareRenderer() {
    if (!screen_) return nullptr;
    if (!screen_->renderer) {
        KeepGLContext keep;
        screen_->renderer.reset(SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE));
    }
    return screen_->renderer.get();
}

bool Window::OverlayKept() const { return screen_ && screen_->overlayKept; }

void Window::OverlayCoversClient() {
    if (!screen_ || screen_->frame == nullptr || screen_->overlayOnClient) return;
    SoftwareScreen& s = *screen_;
    s.overlayOnClient = true;
    if (!s.memory.empty()) {
        s.underOverlay.clear();
        return;
    }
    s.underOverlay.resize(static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
    for (int y = 0; y < s.height; ++y)
        std::copy_n(s.frame + static_cast<size_t>(y) * s.pitch, s.width,
                    s.underOverlay.data() + static_cast<size_t>(y) * s.width);
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
    int width = 0, height = 0, pitch = 0;
    if (SoftwareFrame(width, height, pitch) == nullptr) return;
    SoftwareScreen& s = *screen_;
    if (!s.memory.empty()) {
        // The surface takes another pixel format: the frame is converted into it.
        uint8_t* client = static_cast<uint8_t*>(s.surface->pixels) +
                          static_cast<size_t>(s.strip) * static_cast<size_t>(s.surface->pitch);
        SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_ARGB8888, s.memory.data(), width * 4,
                          s.surface->format->format, client, s.surface->pitch);
    }
    if (overlay_) overlay_();
    s.overlayKept = overlay_ && !s.overlayOnClient;
    SDL_RenderPresent(s.renderer.get());
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
