#include "platform/window/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

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
constexpr unsigned kFront = 0x0404;
constexpr unsigned kPackAlignment = 0x0D05;

template <typename Fn>
Fn GLFunction(const char* name) {
    return reinterpret_cast<Fn>(SDL_GL_GetProcAddress(name));
}

}  // namespace

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
    Application::Instance().Register(this);
}

Window::~Window() {
    Application::Instance().Unregister(this);
    if (glContext_ != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
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

void Window::ClientSize(int& width, int& height) const {
    if (surface_ == Surface::OpenGL) {
        SDL_GL_GetDrawableSize(window_, &width, &height);
    } else {
        SDL_GetWindowSize(window_, &width, &height);
    }
}

void Window::SetClientSize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    SDL_SetWindowSize(window_, std::min(width, kMaxClientSide), std::min(height, kMaxClientSide));
}

void Window::Position(int& left, int& top) const { SDL_GetWindowPosition(window_, &left, &top); }
void Window::SetPosition(int left, int top) { SDL_SetWindowPosition(window_, left, top); }

uint32_t Window::Id() const { return SDL_GetWindowID(window_); }

void Window::FillBlack() {
    if (surface_ == Surface::OpenGL) {
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(glContext_));
        auto clearColor = GLFunction<ClearColorFn>("glClearColor");
        auto clear = GLFunction<ClearFn>("glClear");
        if (clearColor == nullptr || clear == nullptr) return;
        clearColor(0.0f, 0.0f, 0.0f, 0.0f);
        clear(kColorBufferBit);
        SDL_GL_SwapWindow(window_);
        return;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window_);
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
        readBuffer(kFront);
        pixelStore(kPackAlignment, 1);
        std::string flipped(rgb.size(), '\0');
        readPixels(0, 0, width, height, kRgb, kUnsignedByte, flipped.data());
        const size_t row = static_cast<size_t>(width) * 3;
        for (int y = 0; y < height; ++y)
            flipped.copy(rgb.data() + static_cast<size_t>(y) * row, row,
                         static_cast<size_t>(height - 1 - y) * row);
        return rgb;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return {};
    width = surface->w;
    height = surface->h;
    rgb.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, '\0');
    SDL_LockSurface(surface);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Uint32 pixel = 0;
            const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                              x * surface->format->BytesPerPixel;
            SDL_memcpy(&pixel, at, surface->format->BytesPerPixel);
            Uint8 r, g, b;
            SDL_GetRGB(pixel, surface->format, &r, &g, &b);
            size_t i = (static_cast<size_t>(y) * width + x) * 3;
            rgb[i] = static_cast<char>(r);
            rgb[i + 1] = static_cast<char>(g);
            rgb[i + 2] = static_cast<char>(b);
        }
    }
    SDL_UnlockSurface(surface);
    return rgb;
}

}  // namespace platform
