// Drives a window of another program from outside, as a player at the
// keyboard would, and counts the frames the X server shows in it (not a test;
// used by CompareBackends_bench.sh).
// Usage: FrameCounter <window id> <step>...
//   tap KEY       press and release the key (an X key name: Left, Shift_L...)
//   hold KEY      press the key and keep it down
//   release KEY   let it go
//   wait SECONDS  let the program run
//   count SECONDS print the frames per second shown in that time
// The window gets the input focus first; keys still held at the end are let go.
// A frame is a drawing that reaches the window's bottom row: a program shows
// each of its frames by putting the whole window's picture (at least its lower
// part), in one request or in bands, and nothing else draws there.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int damageEvent = 0;

// The X server's key code of key name `name`, 0 when there is none.
KeyCode CodeOf(Display* display, const std::string& name) {
    const KeySym symbol = XStringToKeysym(name.c_str());
    return symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
}

void Key(Display* display, KeyCode code, bool down) {
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    XFlush(display);
}

// Handles the events that came; returns the frames among them.
int64_t TakeEvents(Display* display, int bottom) {
    int64_t frames = 0;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != damageEvent + XDamageNotify) continue;
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (damage.area.y + damage.area.height >= bottom) ++frames;
    }
    return frames;
}

// Lets `seconds` pass while taking the events; returns the frames shown.
int64_t Run(Display* display, double seconds, int bottom) {
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    int64_t frames = TakeEvents(display, bottom);
    const int fd = ConnectionNumber(display);
    while (Clock::now() < end) {
        // Sleeps until the server writes or a millisecond passes.
        fd_set read;
        FD_ZERO(&read);
        FD_SET(fd, &read);
        timeval wait{0, 1000};
        select(fd + 1, &read, nullptr, nullptr, &wait);
        frames += TakeEvents(display, bottom);
    }
    return frames;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: FrameCounter <window id> <step>...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    int damageError = 0, testEvent = 0, testError = 0, major = 0, minor = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError) ||
        !XTestQueryExtension(display, &testEvent, &testError, &major, &minor)) {
        std::fprintf(stderr, "the X server lacks the DAMAGE or XTEST extension\n");
        return 1;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        std::fprintf(stderr, "no window %s\n", argv[1]);
        return 1;
    }
    const int bottom = attributes.height;
    XDamageCreate(display, window, XDamageReportRawRectangles);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::set<KeyCode> held;
    int status = 0;
    for (int i = 2; i + 1 < argc && status == 0; i += 2) {
        const std::string step = argv[i], value = argv[i + 1];
        if (step == "wait" || step == "count") {
            const double seconds = std::atof(value.c_str());
            const int64_t frames = Run(display, seconds, bottom);
            if (step == "count") std::printf("%.1f\n", static_cast<double>(frames) / seconds);
            continue;
        }
        const KeyCode code = CodeOf(display, value);
        if (code == 0) {
            std::fprintf(stderr, "no key %s\n", value.c_str());
            status = 2;
        } else if (step == "tap") {
            Key(display, code, true);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            Key(display, code, false);
        } else if (step == "hold") {
            Key(display, code, true);
            held.insert(code);
        } else if (step == "release") {
            Key(display, code, false);
            held.erase(code);
        } else {
            std::fprintf(stderr, "unknown step %s\n", step.c_str());
            status = 2;
        }
    }
    for (KeyCode code : held) Key(display, code, false);
    XCloseDisplay(display);
    return status;
}
