// The demo game played through the program's own frame loop: the main window
// with the engine of one player (OpenGL, or the software device when built
// with PLAYER_SOFTWARE_SURFACE), the application's message loop and idle handler, in
// a copy of the demo game folder under the X server, with key events put into
// the window system's queue as a player's keys would be. Title, a new game on
// the jump button, a walk with one jump to the exit pads, and the second level
// entered and drawn.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "game/GameClock.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "platform/clock/Ticks.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/process/Halt.h"
#include "platform/window/Application.h"
#include "shell/ComStuff.h"
#include "shell/GameForm.h"
#include "support/WinFunc.h"
#include "tests/common/ScratchFolder.h"
#include "tests/shell/DemoFormFixture.h"
#include "tools/demogame/DemoLayout.h"

namespace {

// Game time of one frame (ms).
constexpr uint32_t kFrameTime = 20;
constexpr int kFrameLimit = 3000;

// One name per player, so that both runs are told apart.
#ifdef PLAYER_SOFTWARE_SURFACE
#define GameFormPlayTest GameFormPlayD3DTest
#endif

class GameFormPlayTest : public formtest::DemoFormFixture {
  protected:
    std::string Bytes(const std::string& name) const {
        std::string bytes;
        platform::fs::ReadWholeFile(folder.Path("Demo/" + name), bytes);
        return bytes;
    }
};

TEST_F(GameFormPlayTest, TitleNewGameAndAWalkThroughTheExitIntoTheSecondLevel) {
#ifdef PLAYER_SOFTWARE_SURFACE
    TScreenForm form(platform::Surface::Software);  // as PlayerD3D
#else
    TScreenForm form(platform::Surface::OpenGL);  // as PlayerGL
#endif
    ScreenForm = &form;
    const uint32_t id = form.Window().Id();
    form.FormActivate();
    ASSERT_EQ(GameMode, ModeTitle);
    ASSERT_EQ(KeyBindings[8], 32) << "the demo jumps with the space bar";
    ASSERT_EQ(KeyBindings[7], 'D') << "and steps right with D";

    // The player: waits for the title to take keys, starts a game with the
    // jump button (which also skips the opening cut-scene), then walks right
    // along the hall to the exit pads past the conveyor, jumping once.
    enum class Step { Title, Starting, Walking, Arrived } step = Step::Title;
    int frames = 0, playFrames = 0, arrivedFrames = 0;
    // On the way, one jump from the floor: Space held until the hero rises.
    enum class Jump { Waiting, Pressed, Done } jump = Jump::Waiting;
    int walkFrames = 0;
    float floorY = 0, peakY = 0;
    bool sawCutScene = false;
    std::string pixels;
    int width = 0, height = 0;
    std::function<void()> play = [&] {
        now += kFrameTime;
        ++frames;
        sawCutScene = sawCutScene || KeyFramesRunning != 0;
        if (GameMode == ModePlay) ++playFrames;
        if (step == Step::Title && int64_t{FrameTime} - ModeStartTime > 1100) {
            formtest::Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
            step = Step::Starting;
        } else if (step == Step::Starting && GameMode != ModePlay && !IsKeyDown(' ')) {
            // The developer video runs first; a lost focus meanwhile releases
            // the key, which the player presses again.
            formtest::Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
        } else if (step == Step::Starting && playFrames > 5 && KeyFramesRunning == 0) {
            formtest::Key(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
            formtest::Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D, id);
            step = Step::Walking;
        } else if (step == Step::Walking && Heroes[0].LevelName != demo::LevelName(2)) {
            // Other tests' windows on the same X server may take the focus,
            // which releases every key: the walker presses D again, as the
            // keyboard's repeat would.
            if (!IsKeyDown('D')) formtest::Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D, id);
            const HeroStuff& h = Heroes[0];
            peakY = std::max(peakY, h.Y);
            if (jump == Jump::Waiting && ++walkFrames > 10 && h.OnGround != 0) {
                floorY = peakY = h.Y;
                jump = Jump::Pressed;
            }
            if (jump == Jump::Pressed && h.VerticalSpeed > 0) {
                formtest::Key(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
                jump = Jump::Done;
            } else if (jump == Jump::Pressed && !IsKeyDown(' ')) {
                formtest::Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
            }
        } else if (step == Step::Walking) {
            formtest::Key(SDL_KEYUP, SDLK_d, SDL_SCANCODE_D, id);
            step = Step::Arrived;
        } else if (step == Step::Arrived && ++arrivedFrames == 30) {
            pixels = form.Window().ReadClientPixels(width, height);
        }
        if (arrivedFrames == 30 || frames == kFrameLimit) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    };
    platform::Application::Instance().SetIdleHandler([&](bool& done) {
        form.GameLoop(done);
        play();
    });
    int exitCode = -1;
    try {
        platform::Application::Instance().Run();
    } catch (const platform::HaltRequested& halt) {
        exitCode = halt.exitCode;
    }
    ScreenForm = nullptr;
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(step, Step::Arrived) << "after " << frames << " frames, hero at (" << Heroes[0].X
                                   << ", " << Heroes[0].Y << ", " << Heroes[0].Z << ")";
    EXPECT_TRUE(sawCutScene);
    EXPECT_EQ(jump, Jump::Done);
    EXPECT_GT(peakY - floorY, 512.0f) << "a jump rises more than a cell above the floor";

    // The second level was read from the working copy, the first written there.
    EXPECT_EQ(Level.Banner1, "Level 2");
    EXPECT_EQ(Level.SizeX, 12);
    EXPECT_NE(Bytes("CURRENT_GAME/Level1.lvl"), Bytes("LEVEL/Level1.lvl"));
    EXPECT_EQ(Bytes("CURRENT_GAME/Level2.lvl"), Bytes("LEVEL/Level2.lvl"));

    // And drawn: hardly any black, and many colours.
    ASSERT_FALSE(pixels.empty());
    std::set<uint32_t> colours;
    size_t black = 0;
    for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
        const auto r = static_cast<uint8_t>(pixels[i]), g = static_cast<uint8_t>(pixels[i + 1]),
                   b = static_cast<uint8_t>(pixels[i + 2]);
        colours.insert(uint32_t{r} << 16 | uint32_t{g} << 8 | b);
        if (r < 8 && g < 8 && b < 8) ++black;
    }
    EXPECT_LT(black * 10, pixels.size() / 3) << "more than a tenth of the frame is black";
    EXPECT_GT(colours.size(), 200u);
}

}  // namespace
