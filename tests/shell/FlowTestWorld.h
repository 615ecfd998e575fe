// The game as the shell plays it in a test: the demo game written into a
// scratch folder made current, started up on a hidden window (the engine
// linked is the test's), every mode, clip and control state back to that of a
// program past its developer video.
#pragma once

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "game/GameClock.h"
#include "game/StartUp.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/HeroStuff.h"
#include "platform/fs/FileSystem.h"
#include "shell/ComStuff.h"
#include "support/WinFunc.h"
#include "tests/game/LevelTestWorld.h"
#include "tools/demogame/DemoGame.h"
#include "tools/demogame/DemoLayout.h"

namespace flowtest {

class FlowTestWorld : public leveltest::LevelTestWorld {
  public:
    FlowTestWorld() {
        std::string error;
        if (!demo::MakeDemoGame(folder.Root(), error)) throw std::runtime_error(error);
        StartUpGame(*window);
        GameMode = ModeNone;
        GameTime = 0;  // the clock of a program just started
        LastTickCount = 0;
        FrameTime = 0;
        // The developer video has been shown: the title starts on the intro.
        IntroPlayed = 1;
        CurrentClip = MessageClip = NextClip = -1;
        KeyFramesRunning = TitleClipRunning = 0;
        std::fill(std::begin(KeyDown), std::end(KeyDown), uint8_t{0});
        Heroes[0].ControlFlags.fill(0);
        Heroes[0].PreviousControlFlags.fill(0);
    }

    // A new game from the title screen: Button1 once the title takes keys.
    void NewGame() {
        SetGameMode(ModeTitle, *window);
        TitleFrame(*window);
        FrameTime = ModeStartTime + 1001;
        Heroes[0].ControlFlags[8] = 1;
        TitleFrame(*window);
        Heroes[0].ControlFlags.fill(0);
    }

    // The bytes of a file of the game folder (real, '/'-separated name).
    std::string FileBytes(const std::string& name) const {
        std::string bytes;
        platform::fs::ReadWholeFile(folder.Path(name), bytes);
        return bytes;
    }
};

}  // namespace flowtest
