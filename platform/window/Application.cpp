#include "platform/window/Application.h"

#include <SDL.h>
#ifdef __linux__
#include <malloc.h>
#endif

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/text/Cp1252.h"
#include "platform/window/KeyMap.h"
#include "platform/window/Window.h"

namespace platform {
namespace {

MouseButton ButtonOf(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_RIGHT:
            return MouseButton::Right;
        case SDL_BUTTON_MIDDLE:
            return MouseButton::Middle;
        default:
            return MouseButton::Left;
    }
}

// Keys that also type a control character, as the window system reports them.
char ControlCharacterOf(uint8_t virtualKey) {
    switch (virtualKey) {
        case 8:
        case 9:
        case 13:
        case 27:
            return static_cast<char>(virtualKey);
        default:
            return 0;
    }
}

// The window an event of the keyboard, the mouse or the window system is
// for; false for other events.
bool EventWindowId(const SDL_Event& event, uint32_t& id) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            id = event.window.windowID;
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            id = event.key.windowID;
            return true;
        case SDL_TEXTINPUT:
            id = event.text.windowID;
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            id = event.button.windowID;
            return true;
        case SDL_MOUSEMOTION:
            id = event.motion.windowID;
            return true;
        case SDL_MOUSEWHEEL:
            id = event.wheel.windowID;
            return true;
        default:
            return false;
    }
}

// Stop signals (SIGINT, SIGTERM) received since Initialise. The first asks the
// main window to close between two dispatches; a second one, while that close
// has not finished the program, ends it as the signal would by default.
std::atomic<int> stopSignals{0};
std::atomic<bool> stopPending{false};
struct sigaction previousInt, previousTerm;

void OnStopSignal(int signal) {
    if (stopSignals.fetch_add(1) > 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    stopPending = true;
}

void InstallStopSignals() {
    stopSignals = 0;
    stopPending = false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

void RestoreStopSignals() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

// Video drivers that show nothing on any screen. SDL falls back to them when
// no display can be reached; only a user who names one gets it.
bool ShowsNothing(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// The memory that drawing a frame takes and gives back (the OpenGL driver's
// per-frame scene data above all) stays with the process, instead of going
// back to the system at the end of each frame and coming back page by page,
// a page fault each, in the next: at 1920 x 1080 that was most of PlayerGL's
// own time in a frame.
void KeepFrameMemory() {
#ifdef __GLIBC__
    constexpr int kKeptFreeTop = 128 << 20;  // free memory at the heap's top kept
    constexpr int kMappedAlone = 32 << 20;   // blocks from this size on mapped apart
    mallopt(M_TRIM_THRESHOLD, kKeptFreeTop);
    mallopt(M_MMAP_THRESHOLD, kMappedAlone);
#endif
}

bool DriverChosenByUser() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    return chosen != nullptr && chosen[0] != '\0';
}

// After SDL fell back to a driver that shows nothing: the display that the
// environment names (X11 or Wayland) is asked again, three times half a
// second apart, since one that is starting or busy may answer then. True when
// one started; otherwise `why` says what its driver answered.
bool RetryNamedDisplays(std::string& why) {
    const struct {
        const char* variable;
        const char* driver;
    } kNamed[] = {{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}};
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) SDL_Delay(500);
        for (const auto& named : kNamed) {
            const char* display = std::getenv(named.variable);
            if (display == nullptr || display[0] == '\0') continue;
            SDL_VideoQuit();
            if (SDL_VideoInit(named.driver) == 0) return true;
            why = std::string(SDL_GetError()) + " (" + named.variable + "=" + display + ")";
        }
    }
    return false;
}

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

bool Application::Initialise() {
    if (initialised_) return true;
    KeepFrameMemory();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    // Windows drawn in memory (PlayerD3D's frames, the dialogs) hand their
    // pixels to the window system as they are, not through an OpenGL texture
    // that SDL would otherwise make for each: a copy and a full-window draw
    // less per frame, and no OpenGL context beside the program's own.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A full-screen window that changed the display's mode stays as it is
    // when a dialog or message box takes the keyboard: those show over it,
    // and the game is still there when they close.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "Cannot start the display: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (ShowsNothing(driver) && !DriverChosenByUser()) {
        std::string why = std::string("no display found (only the ") + driver + " driver)";
        if (!RetryNamedDisplays(why)) {
            std::fprintf(stderr, "Cannot start the display: %s\n", why.c_str());
            SDL_Quit();
            return false;
        }
    }
    // A missing joystick service only means there is no joystick.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    // The screen saver and monitor power-off stay off while the player runs.
    SDL_DisableScreenSaver();
    SDL_StartTextInput();
    InstallStopSignals();
    initialised_ = true;
    terminated_ = false;
    return true;
}

void Application::Finalise() {
    if (!initialised_) return;
    RestoreStopSignals();
    SDL_EnableScreenSaver();
    SDL_Quit();
    initialised_ = false;
    idle_ = nullptr;
}

void Application::Register(Window* window) { windows_.push_back(window); }

void Application::Unregister(Window* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    if (modal_ == window) modal_ = nullptr;
}

Window* Application::FindWindow(uint32_t id) const {
    for (Window* window : windows_) {
        if (window->Id() == id) return window;
    }
    return nullptr;
}

void Application::Activate(Window* window) {
    if (window != nullptr && window->Listener() != nullptr) window->Listener()->OnActivate();
}

Window* Application::TargetOf(uint32_t id) const {
    Window* window = FindWindow(id);
    return window != nullptr ? window : MainWindow();
}

void Application::DispatchWindowEvent(const void* sdlEvent, Window& window) {
    const SDL_WindowEvent& event = static_cast<const SDL_Event*>(sdlEvent)->window;
    WindowListener* listener = window.Listener();
    if (listener == nullptr) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            // Only the modal window may have the focus while it is open.
            if (Blocked(window)) {
                modal_->Raise();
                break;
            }
            listener->OnActivate();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            listener->OnFocusLost();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            listener->OnPaint();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            int width = 0, height = 0;
            window.ClientSize(width, height);
            listener->OnResize(width, height);
            break;
        }
        case SDL_WINDOWEVENT_CLOSE:
            listener->OnClose();
            break;
        default:
            break;
    }
}

void Application::Dispatch(const void* sdlEvent) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(sdlEvent);
    if (event.type == SDL_QUIT) {
        if (MainWindow() != nullptr && MainWindow()->Listener() != nullptr)
            MainWindow()->Listener()->OnClose();
        return;
    }
    uint32_t id = 0;
    if (!EventWindowId(event, id)) return;
    Window* window = TargetOf(id);
    if (window == nullptr) return;
    // Keys, text and the mouse (every event but the window system's) a modal
    // window keeps from the others.
    if (event.type != SDL_WINDOWEVENT && Blocked(*window)) return;
    if (window->Filter() && window->Filter()(sdlEvent)) return;
    WindowListener* listener = window->Listener();
    if (listener == nullptr) return;
    switch (event.type) {
        case SDL_WINDOWEVENT:
            DispatchWindowEvent(sdlEvent, *window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const uint8_t vk = VirtualKeyOf(event.key.keysym.sym, event.key.keysym.scancode);
            if (vk == 0) break;
            if (event.type == SDL_KEYUP) {
                listener->OnKeyUp(vk);
                break;
            }
            listener->OnKeyDown(vk, event.key.repeat != 0);
            if (char c = ControlCharacterOf(vk)) listener->OnKeyPress(c);
            break;
        }
        case SDL_TEXTINPUT:
            for (char c : Utf8ToCp1252(event.text.text)) listener->OnKeyPress(c);
            break;
        case SDL_MOUSEBUTTONDOWN:
            listener->OnMouseDown(ButtonOf(event.button.button));
            break;
        case SDL_MOUSEBUTTONUP:
            listener->OnMouseUp(ButtonOf(event.button.button));
            break;
        default:
            break;
    }
}

bool Application::WaitMessages(int timeoutMs) {
    SDL_Event event;
    if (!terminated_ && SDL_WaitEventTimeout(&event, std::max(timeoutMs, 0)) == 1) Dispatch(&event);
    return ProcessMessages();
}

bool Application::ProcessMessages() {
    if (stopPending.exchange(false)) {
        // A stop signal closes the program as closing the main window does.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        Dispatch(&quit);
    }
    SDL_Event event;
    while (!terminated_ && SDL_PollEvent(&event)) Dispatch(&event);
    return !terminated_;
}

void Application::Run() {
    // The main window is activated when it is first shown.
    if (MainWindow() != nullptr && MainWindow()->Visible()) Activate(MainWindow());
    while (!terminated_) {
        if (!ProcessMessages()) break;
        if (idle_) {
            bool done = true;
            idle_(done);
            if (!done) continue;  // called again as soon as the queue is empty
        }
        // Nothing wants the idle time: wait for the next event.
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 100) == 1) Dispatch(&event);
    }
}

}  // namespace platform
