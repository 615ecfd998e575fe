// The demo game as a player program starts it: a copy of the demo game folder
// (DEMO_FOLDER, set by the build) made current, the game's globals set up as
// for a program started there, a clock that moves only when the test moves
// `now`, and halts turned into exceptions; key events put into the window
// system's queue as a player's keys would be.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/level/LevelStuff.h"
#include "platform/clock/Ticks.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/process/Halt.h"
#include "platform/window/Application.h"
#include "support/WinFunc.h"
#include "tests/common/ScratchFolder.h"

namespace formtest {

// A key of the keyboard pressed or released in window `window`.
inline void Key(uint32_t type, SDL_Keycode sym, SDL_Scancode scancode, uint32_t window) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = window;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = scancode;
    SDL_PushEvent(&event);
}

class DemoFormFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::Application::Instance().Initialise());
        std::filesystem::copy(DEMO_FOLDER, folder.Path("Demo"),
                              std::filesystem::copy_options::recursive);
        previousFolder = platform::fs::CurrentFolder();
        ASSERT_TRUE(platform::fs::SetCurrentFolder(folder.Path("Demo")));
        InitWinFunc();
        InitGameGlobals("PlayerGL");
        platform::SetHaltHandler([](int code) { throw platform::HaltRequested{code}; });
        platform::SetTickSource([this] { return now; });
    }
    void TearDown() override {
        // A halt thrown out of the message loop leaves the rest of the queue
        // (SDL's end-of-poll marker too) to the next test.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        platform::Application::Instance().SetIdleHandler(nullptr);
        platform::SetTickSource(nullptr);
        platform::SetHaltHandler(nullptr);
        platform::fs::SetCurrentFolder(previousFolder);
    }

    testutil::ScratchFolder folder;
    std::string previousFolder;
    uint32_t now = 1000;
};

}  // namespace formtest
