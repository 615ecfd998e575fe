#include "shell/ComStuff.h"

#include <gtest/gtest.h>

#include "game/GameClock.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"

namespace {

TEST(SetGameMode, ChangesModeResetsTheStepAndMarksTitleEntry) {
    ASSERT_TRUE(platform::Application::Instance().Initialise());
    platform::WindowSettings settings;
    settings.visible = false;
    platform::Window window(settings);

    GameMode = ModeNone;
    ModeEntered = 0;
    FrameTime = 700;
    FrameStep = 40;
    GameTime = 900.0f;
    SetGameMode(ModeTitle, window);
    EXPECT_EQ(GameMode, ModeTitle);
    EXPECT_EQ(ModeEntered, 1);
    EXPECT_EQ(ModeStartTime, 700);
    EXPECT_EQ(FrameTime, 900);
    EXPECT_EQ(FrameStep, 1);

    // The same mode again changes nothing.
    FrameStep = 33;
    ModeEntered = 0;
    SetGameMode(ModeTitle, window);
    EXPECT_EQ(FrameStep, 33);
    EXPECT_EQ(ModeEntered, 0);

    SetGameMode(ModePlay, window);
    EXPECT_EQ(ModeEntered, 0);
    EXPECT_EQ(GameMode, ModePlay);
}

}  // namespace
