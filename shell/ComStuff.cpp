#include "shell/ComStuff.h"

#include "game/GameClock.h"
#include "support/Snd.h"

int32_t GameMode = ModeNone;
uint8_t ModeEntered = 0;
int32_t ModeStartTime = 0;
HudMessageStuff HudMessage;

void SetGameMode(int32_t mode, platform::Window& /*form*/) {
    if (mode == GameMode) return;
    GameMode = mode;
    StopAllSounds();
    // Not built yet: StopVideo while a video plays (video).
    ModeStartTime = FrameTime;
    if (mode == ModeTitle || mode == ModeEnd) {
        // Not built yet: disabling the save-game menu command (menus).
        ModeEntered = 1;
    }
    ResetFrameStep();
}
