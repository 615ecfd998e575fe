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
    // The message loop: runs until Terminate.
    void Run();
    // Makes Run return after the current dispatch.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Tells the window's listener it was activated (the main window at its
    // first showing, any window when it gains the focus).
    void Activate(Window* window);

  private:
    void Dispatch(const void* sdlEvent);
    Window* FindWindow(uint32_t id) const;

    bool initialised_ = false;
    bool terminated_ = false;
    std::string title_;
    std::vector<Window*> windows_;
    IdleHandler idle_;
    bool idleWantsMore_ = false;
};

}  // namespace platform
