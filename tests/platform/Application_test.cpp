// The application object's start and stop: which displays it accepts, and the
// stop signals that close the main window as the window system's close does.
#include "platform/window/Application.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "platform/window/Window.h"

namespace {

using platform::Application;

class CloseCounter : public platform::WindowListener {
  public:
    void OnClose() override { ++closes; }
    int closes = 0;
};

// Starts the application in a child process with the given display settings
// (nullptr: unset) and exits 0 when it started.
[[noreturn]] void StartWith(const char* display, const char* driver) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
    if (display != nullptr) setenv("DISPLAY", display, 1);
    if (driver != nullptr) setenv("SDL_VIDEODRIVER", driver, 1);
    std::exit(Application::Instance().Initialise() ? 0 : 1);
}

TEST(ApplicationDeathTest, RefusesADriverThatShowsNothingUnlessTheUserNamedIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(StartWith(nullptr, nullptr), testing::ExitedWithCode(1),
                "Cannot start the display: .*offscreen");
    EXPECT_EXIT(StartWith(nullptr, "offscreen"), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(StartWith(nullptr, "dummy"), testing::ExitedWithCode(0), "");
    // A display named but not there: asked again, then its driver's answer.
    EXPECT_EXIT(StartWith(":987", nullptr), testing::ExitedWithCode(1),
                "Cannot start the display: .*\\(DISPLAY=:987\\)");
}

TEST(ApplicationDeathTest, ASecondStopSignalEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Application::Instance().Initialise();
            std::raise(SIGTERM);
            std::raise(SIGTERM);
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}

TEST(Application, StopSignalsCloseTheMainWindow) {
    for (int signal : {SIGTERM, SIGINT}) {
        Application& application = Application::Instance();
        ASSERT_TRUE(application.Initialise());
        {
            platform::WindowSettings settings;
            settings.visible = false;
            settings.surface = platform::Surface::Software;
            platform::Window window(settings);
            CloseCounter counter;
            window.SetListener(&counter);
            std::raise(signal);
            EXPECT_EQ(counter.closes, 0) << "closed inside the signal handler";
            application.ProcessMessages();
            application.ProcessMessages();
            EXPECT_EQ(counter.closes, 1) << signal;
        }
        application.Finalise();
    }
}

}  // namespace
