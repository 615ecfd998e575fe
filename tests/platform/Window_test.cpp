// A window with a software surface and a menu bar over its frames, under the X
// server: the frame is shown as drawn, the bar in its strip above it; an
// unchanged bar is not drawn again, and a menu opened over the frame leaves
// nothing behind once it closes, even where no new frame is drawn.
#include "platform/window/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/ui/WindowUi.h"
#include "platform/window/Application.h"
#include "tests/common/SdlEvents.h"

namespace {

constexpr uint32_t kFrameColour = 0xFF204060;
constexpr int kWidth = 160, kHeight = 120;

// Pixel (x, y) of the whole window as it was last handed to the window system.
uint32_t Shown(platform::Window& window, int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(window.Native());
    return static_cast<const uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x] | 0xFF000000u;
}

// Client pixels read back that are not the frame's colour.
int OtherThanFrame(platform::Window& window) {
    int width = 0, height = 0;
    const std::string rgb = window.ReadClientPixels(width, height);
    int other = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        const uint32_t pixel = 0xFF000000u | uint32_t{static_cast<uint8_t>(rgb[i])} << 16 |
                               uint32_t{static_cast<uint8_t>(rgb[i + 1])} << 8 |
                               static_cast<uint8_t>(rgb[i + 2]);
        other += pixel != kFrameColour;
    }
    return other;
}

TEST(SoftwareWindow, MenuBarOverTheFrame) {
    ASSERT_TRUE(platform::Application::Instance().Initialise());
    platform::WindowSettings settings;
    settings.title = "Window_test";
    settings.width = kWidth;
    settings.height = kHeight;
    platform::Window window(settings);
    platform::ui::WindowUi ui(window, platform::ui::UiKind::MenuBar);
    window.SetOverlay([&] {
        ui.Frame([](platform::ui::Ui& u) {
            if (!u.BeginMenuBar()) return;
            if (u.BeginMenu("File", "file", true)) {
                u.MenuItem("Quit", "quit", "", true);
                u.EndMenu();
            }
            u.EndMenuBar();
        });
    });
    const int strip = window.TopStrip();
    ASSERT_GT(strip, 2);
    const uint32_t id = window.Id();
    // Frames: the frame drawn anew (or not), shown, the events taken.
    auto frames = [&](int count, bool draw) {
        for (int n = 0; n < count; ++n) {
            int width = 0, height = 0, pitch = 0;
            uint32_t* frame = window.SoftwareFrame(width, height, pitch);
            ASSERT_NE(frame, nullptr);
            ASSERT_EQ(width, kWidth);
            for (int y = 0; y < height && draw; ++y)
                std::fill_n(frame + static_cast<size_t>(y) * pitch, width, kFrameColour);
            window.ShowSoftwareFrame();
            platform::Application::Instance().ProcessMessages();
        }
    };
    frames(5, true);
    EXPECT_EQ(OtherThanFrame(window), 0) << "the bar stays in its strip";
    EXPECT_NE(Shown(window, 2, strip / 2), 0xFF000000u) << "the bar is drawn";

    // A mark in the strip stays while the bar does not change.
    const uint32_t bar = Shown(window, kWidth - 2, 1);
    SDL_Surface* surface = SDL_GetWindowSurface(window.Native());
    static_cast<uint32_t*>(surface->pixels)[surface->pitch / 4 + kWidth - 2] = 0xFFFF0000;
    frames(2, true);
    EXPECT_EQ(Shown(window, kWidth - 2, 1), 0xFFFF0000u) << "the unchanged bar drawn again";

    // The file menu opened: the bar drawn anew, the menu over the frame.
    testutil::PushClick(14, strip / 2, id);
    frames(10, true);
    EXPECT_EQ(Shown(window, kWidth - 2, 1), bar);
    EXPECT_GT(OtherThanFrame(window), 0) << "no menu over the frame";

    // Closed with a click on the frame, with no frame drawn: the frame as it was.
    testutil::PushClick(kWidth - 10, kHeight - 10, id);
    frames(10, false);
    EXPECT_EQ(OtherThanFrame(window), 0) << "the menu left a trace";
}

}  // namespace
