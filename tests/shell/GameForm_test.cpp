// The real main window under an X server: title, the black paint before
// start-up, start-up at the first activation, frames back to back on the idle
// handler, and the close that ends the game.
#include "shell/GameForm.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "game/GameClock.h"
#include "platform/clock/Ticks.h"
#include "platform/process/Halt.h"
#include "platform/window/Application.h"
#include "shell/ComStuff.h"
#include "shell/Controls.h"
#include "support/WinFunc.h"

namespace {

class GameFormTest : public ::testing::Test {
  protected:
    // SDL stays started until the process ends, as in the other OpenGL tests:
    // shutting it down unloads Mesa's driver, and the driver's one-time set-up
    // memory then shows as a leak in a library gone from memory, which no
    // leak suppression can match.
    static void SetUpTestSuite() { ASSERT_TRUE(platform::Application::Instance().Initialise()); }

    void SetUp() override {
        // As in a program not yet activated: the start-up retitles it, and the
        // clock has counted no tick (an earlier test's source may have counted
        // past this test's).
        platform::Application::Instance().SetTitle("Ostra2 - Player");
        GameMode = ModeNone;
        GameTime = 0;
        LastTickCount = 0;
        FrameTime = 0;
        platform::SetHaltHandler([](int code) { throw platform::HaltRequested{code}; });
        form = std::make_unique<TScreenForm>(platform::Surface::OpenGL);
    }
    void TearDown() override {
        form.reset();
        // A halt thrown out of the message loop leaves the rest of the queue,
        // SDL's end-of-poll marker included, where a real halt ends the
        // process: the next test's first dispatch would stop at that marker.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        platform::Application::Instance().SetIdleHandler(nullptr);
        platform::SetHaltHandler(nullptr);
        platform::SetTickSource(nullptr);
    }

    // Paints the client area white with OpenGL so a black paint shows.
    void PaintWhite() {
        using ClearColorFn = void (*)(float, float, float, float);
        using ClearFn = void (*)(unsigned);
        auto clearColor = reinterpret_cast<ClearColorFn>(SDL_GL_GetProcAddress("glClearColor"));
        auto clear = reinterpret_cast<ClearFn>(SDL_GL_GetProcAddress("glClear"));
        ASSERT_NE(clearColor, nullptr);
        clearColor(1, 1, 1, 1);
        clear(0x4000);
        SDL_GL_SwapWindow(form->Window().Native());
    }

    std::unique_ptr<TScreenForm> form;
};

TEST_F(GameFormTest, WindowCarriesTheApplicationTitle) {
    EXPECT_EQ(std::string(SDL_GetWindowTitle(form->Window().Native())), "Ostra2 - Player");
    int width = 0, height = 0;
    form->Window().ClientSize(width, height);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
}

TEST_F(GameFormTest, PaintBeforeStartUpIsBlackAndRunsNothingElse) {
    PaintWhite();
    MouseLeftDown = 1;
    form->GameFrame();
    int width = 0, height = 0;
    std::string pixels = form->Window().ReadClientPixels(width, height);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels.find_first_not_of('\0'), std::string::npos) << "client area not black";
    EXPECT_EQ(GameStarted, 0);
    EXPECT_EQ(form->FramesRun, 0u);
    EXPECT_EQ(MouseLeftDown, 1) << "the mouse flags are kept until the game runs";
    MouseLeftDown = 0;
}

TEST_F(GameFormTest, FirstActivationStartsTheGameOnceAndFramesRunBackToBack) {
    form->FormActivate();
    EXPECT_EQ(GameStarted, 1);
    EXPECT_EQ(FormActivated, 1);
    EXPECT_EQ(GameMode, ModeTitle);
    EXPECT_FLOAT_EQ(TimeScale, 1.0f);
    EXPECT_EQ(form->TitleMenuShortcut.key, 27);
    EXPECT_EQ(form->WindowModeMenuShortcut.key, 13);
    EXPECT_TRUE(form->WindowModeMenuShortcut.alt);

    // A second activation does not repeat the start-up.
    GameMode = ModePlay;
    form->FormActivate();
    EXPECT_EQ(GameMode, ModePlay);

    // Frames run on the idle handler until the window is closed; the close
    // ends the game through the quit routine.
    int clockReads = 0;
    platform::SetTickSource([&clockReads] {
        if (++clockReads == 400) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
        return static_cast<uint32_t>(clockReads);
    });
    int exitCode = -1;
    try {
        platform::Application::Instance().Run();
    } catch (const platform::HaltRequested& halt) {
        exitCode = halt.exitCode;
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(form->FramesRun, 199u);  // at most two clock reads a frame, no waiting between
}

TEST_F(GameFormTest, AClickAndTheHudMessageLastTheirFrames) {
    uint32_t now = 1000;
    platform::SetTickSource([&now] { return now; });
    form->FormActivate();
    // Pressed and released between two frames: the next frame still sees it.
    form->OnMouseDown(platform::MouseButton::Right);
    form->OnMouseUp(platform::MouseButton::Right);
    EXPECT_EQ(MouseRightDown, 1);
    form->GameFrame();
    EXPECT_EQ(MouseRightDown, 0);

    form->GameFrame();
    HudMessage = {"Saved", 100, 1};
    now += 60;
    form->GameFrame();
    EXPECT_EQ(HudMessage.on, 1);
    EXPECT_EQ(HudMessage.timeLeft, 40);
    now += 60;
    form->GameFrame();  // runs out in this frame
    EXPECT_EQ(HudMessage.on, 0);
}

TEST_F(GameFormTest, KeysAreRecordedByVirtualKey) {
    form->OnKeyDown(65, false);
    EXPECT_EQ(IsKeyDown(65), 1);
    form->OnKeyUp(65);
    EXPECT_EQ(IsKeyDown(65), 0);
}

TEST_F(GameFormTest, KeysHeldWhenTheWindowLosesTheFocusAreReleased) {
    form->OnKeyDown(38, false);
    form->OnKeyDown(107, false);
    SDL_Event lost{};
    lost.type = SDL_WINDOWEVENT;
    lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    lost.window.windowID = form->Window().Id();
    SDL_PushEvent(&lost);
    platform::Application::Instance().ProcessMessages();
    EXPECT_EQ(IsKeyDown(38), 0);
    EXPECT_EQ(IsKeyDown(107), 0);
}

TEST(ScreenFormCommands, RefusesOnlyTheScreenSaverAndMonitorPower) {
    EXPECT_TRUE(TScreenForm::RefusesSystemCommand(61760));
    EXPECT_TRUE(TScreenForm::RefusesSystemCommand(61808));
    EXPECT_FALSE(TScreenForm::RefusesSystemCommand(61761));
    EXPECT_FALSE(TScreenForm::RefusesSystemCommand(61809));
    EXPECT_FALSE(TScreenForm::RefusesSystemCommand(61536));
}

}  // namespace

namespace {

TEST(FrameCounter, ThousandOverTheStepRoundedHalfToEven) {
    EXPECT_EQ(FrameRateText(1), "FPS:1000");
    EXPECT_EQ(FrameRateText(3), "FPS:333");
    EXPECT_EQ(FrameRateText(16), "FPS:62");  // 62.5
    EXPECT_EQ(FrameRateText(400), "FPS:2");  // 2.5
    EXPECT_EQ(FrameRateText(0), "FPS:1000");
}

}  // namespace
