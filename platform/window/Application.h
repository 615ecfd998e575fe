// The application object: SDL start-up, the application title, and the message
// loop that dispatches window events and calls the idle handler whenever no
// event is waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class Window;

class Application {
  public:
    static Application& Instance();

    // Starts SDL's video, events and joystick services and takes over SIGINT
    // and SIGTERM: each asks the main window to close, as the window system's
    // close does (a second one ends the process at once). False (with the
    // reason on standard error) when no display can be opened; a video driver
    // that shows nothing (offscreen, dummy) counts as none unless the user
    // named it in SDL_VIDEODRIVER.
    bool Initialise();
    bool Initialised() const { return initialised_; }
    // Closes SDL and gives the stop signals back; every window must be gone.
    void Finalise();

    void SetTitle(const std::string& cp1252Title) { title_ = cp1252Title; }
    const std::string& Title() const { return title_; }

    // Windows register themselves when created; the first is the main window.
    void Register(Window* window);
    void Unregister(Window* window);
    Window* MainWindow() const { return windows_.empty() ? nullptr : windows_.front(); }

    // Called once whenever the event queue is empty; it sets `done` to false to
    // be called again at once. While no idle handler wants to run, the loop
    // waits for events.
    using IdleHandler = std::function<void(bool& done)>;
    void SetIdleHandler(IdleHandler handler) { idle_ = std::move(handler); }

    // Dispatches a pending stop signal, then every waiting event. Returns false
    // once Terminate was called.
    bool ProcessMessages();
    // Waits up to `timeoutMs` for an event, then dispatches as ProcessMessages
    // does.
    bool WaitMessages(int timeoutMs);
    // The message loop: runs until Terminate.
    void Run();
    // Makes Run return after the current dispatch.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Tells the window's listener it was activated (the main window at its
    // first showing, any window when it gains the focus).
    void Activate(Window* window);

    // While a modal window is set, the keys, text and mouse buttons of every
    // other window are dropped, and another window that gains the focus gives
    // it back to the modal one. Null ends that.
    void SetModalWindow(Window* window) { modal_ = window; }
    Window* ModalWindow() const { return modal_; }

  private:
    void Dispatch(const void* sdlEvent);
    void DispatchWindowEvent(const void* sdlEvent, Window& window);
    Window* FindWindow(uint32_t id) const;
    // The window an event names, or the main window.
    Window* TargetOf(uint32_t id) const;
    // A modal window is open and `window` is another one.
    bool Blocked(const Window& window) const { return modal_ != nullptr && modal_ != &window; }

    bool initialised_ = false;
    bool terminated_ = false;
    std::string title_;
    std::vector<Window*> windows_;
    IdleHandler idle_;
    bool idleWantsMore_ = false;
    Window* modal_ = nullptr;
};

}  // namespace platform
