// A top-level window of the player over SDL2: the main window with its 3-D
// view, or one of the dialogs. Owns its SDL window (and, for an OpenGL
// surface, the OpenGL context; for a software surface, the frame shown in it
// and the renderer that shows it). Game code sees no SDL type: the native
// handles are only for the engine backends and the interface toolkit layer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Window;

namespace platform {

enum class MouseButton { Left, Right, Middle };

// What a window tells its owner. Called from Application's message loop on the
// main thread, between frames.
class WindowListener {
  public:
    virtual ~WindowListener() = default;
    virtual void OnActivate() {}
    // The window lost the input focus: keys held now will not report release.
    virtual void OnFocusLost() {}
    virtual void OnPaint() {}
    // `virtualKey` is the Windows virtual-key code of the key (KeyMap.h).
    virtual void OnKeyDown(uint8_t /*virtualKey*/, bool /*repeat*/) {}
    virtual void OnKeyUp(uint8_t /*virtualKey*/) {}
    // Text typed, as cp1252 characters.
    virtual void OnKeyPress(char /*character*/) {}
    virtual void OnMouseDown(MouseButton /*button*/) {}
    virtual void OnMouseUp(MouseButton /*button*/) {}
    virtual void OnResize(int /*clientWidth*/, int /*clientHeight*/) {}
    virtual void OnClose() {}
};

enum class Surface {
    OpenGL,    // an OpenGL context is created with the window (PlayerGL)
    Software,  // the window shows frames drawn in memory (PlayerD3D, dialogs)
};

struct WindowSettings {
    std::string title;  // cp1252
    int width = 328;    // client size
    int height = 267;
    bool centred = true;
    bool resizable = true;
    bool visible = true;
    Surface surface = Surface::Software;
};

// For the scope of its life: puts back, when it ends, the OpenGL context (and
// its window) that was current when it began. SDL's renderers may show a
// software window through an OpenGL context of their own and leave that one
// current, where the engine's calls would then land.
class KeepGLContext {
  public:
    KeepGLContext();
    ~KeepGLContext();
    KeepGLContext(const KeepGLContext&) = delete;
    KeepGLContext& operator=(const KeepGLContext&) = delete;

  private:
    SDL_Window* window_;
    void* context_;
};

class Window {
  public:
    // Largest client side the window system takes: SDL holds new windows to
    // it, and larger sizes wrap around on X11.
    static constexpr int kMaxClientSide = 16384;

    explicit Window(const WindowSettings& settings);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void SetListener(WindowListener* listener) { listener_ = listener; }
    WindowListener* Listener() const { return listener_; }

    void SetTitle(const std::string& cp1252Title);
    std::string Title() const;

    void Show();
    void Hide();
    bool Visible() const;
    void Raise();  // brings the window to the front and gives it the input focus
    // Keeps the window above the other windows of the desktop, or ends that.
    void SetAlwaysOnTop(bool on);
    // Makes the window one of `owner`'s: the window manager keeps it above
    // its owner, also when the owner covers the whole display.
    void SetOwner(const Window& owner);

    // Height of the strip that the window keeps above its client area for a
    // menu bar (0: none, the start). The client area (ClientSize,
    // SetClientSize, the software frame, the read-back) is the part below
    // it, so that its size stays what the game asks for. Changing the strip
    // keeps the window's size: the client area grows or shrinks.
    void SetTopStrip(int height);
    int TopStrip() const { return topStrip_; }
    // Drawn over the window (its strip above all) just before each frame is
    // shown; empty: nothing.
    void SetOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }
    // Offered every event of this window (an SDL_Event) before its listener;
    // returning true keeps the event from the listener.
    using EventFilter = std::function<bool(const void* sdlEvent)>;
    void SetEventFilter(EventFilter filter) { filter_ = std::move(filter); }
    const EventFilter& Filter() const { return filter_; }

    void ClientSize(int& width, int& height) const;
    // Sizes of 0 or less are ignored; larger ones are held to kMaxClientSide.
    void SetClientSize(int width, int height);
    void Position(int& left, int& top) const;
    void SetPosition(int left, int top);
    // The outer rectangle in screen pixels, the window system's frame
    // included (the client rectangle where the frame cannot be told).
    void OuterRect(int& left, int& top, int& width, int& height) const;
    // Whether the window has the input focus (is the active window).
    bool Active() const;

    // Paints the whole client area black and shows it.
    void FillBlack();
    // OpenGL surface: draws the overlay and shows the frame drawn (swaps the
    // buffers).
    void PresentGL();
    // Shows the last frame again without drawing a new one (a software
    // surface; an OpenGL surface keeps no copy and shows nothing new).
    void ShowLastFrame();

    // Reads the client area as shown, as 8-bit RGB rows from the top (an
    // OpenGL surface: its last frame presented, where swaps keep it in the back
    // buffer); empty when the surface cannot be read back (a software surface
    // that has shown no frame yet).
    std::string ReadClientPixels(int& width, int& height);

    // Software surface: the frame of the client area, X8R8G8B8 rows `pitch`
    // pixels apart, kept from one showing to the next and made anew (black)
    // when the client area changes; null for an OpenGL surface or no client
    // area. Where the window system's pixels take that form, the frame is
    // them: what is drawn there is shown without a copy.
    uint32_t* SoftwareFrame(int& width, int& height, int& pitch);
    // Shows the software frame in the client area, the overlay drawn over it.
    void ShowSoftwareFrame();
    // For the overlay of a software surface, while it draws: whether all it
    // drew at the last showing is still in the window (only in the strip, on
    // the same surface), so that an overlay that has not changed need not
    // draw again.
    bool OverlayKept() const;
    // For the overlay of a software surface, before it draws over the client
    // area: the frame is kept aside and put back before the next frame is
    // drawn or the last one shown again.
    void OverlayCoversClient();
    // The renderer that shows the software frame (made at its first use);
    // null for an OpenGL surface or when none can be made.
    SDL_Renderer* SoftwareRenderer();

    // Covers the window's display without changing its mode, or ends that.
    void SetDesktopFullScreen(bool on);
    // Whether the window covers its display (either kind of full screen).
    bool FullScreen() const;
    // Size of full-screen display mode `index` of the window's display; false
    // past the last one.
    bool DisplayMode(int index, int& width, int& height) const;

    Surface SurfaceKind() const { return surface_; }
    uint32_t Id() const;
    SDL_Window* Native() const { return window_; }
    void* GLContext() const { return glContext_; }  // OpenGL surface only

  private:
    struct SoftwareScreen;
    // Takes `surface` (the window's, made anew) for a software frame of
    // width × height below the strip, all black.
    void NewSoftwareFrame(SDL_Surface* surface, int width, int height);

    SDL_Window* window_ = nullptr;
    void* glContext_ = nullptr;
    std::unique_ptr<SoftwareScreen> screen_;  // software surface: frame and renderer
    Surface surface_;
    WindowListener* listener_ = nullptr;
    std::string title_;
    int topStrip_ = 0;
    std::function<void()> overlay_;
    EventFilter filter_;
};

}  // namespace platform
