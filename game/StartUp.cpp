#include "game/StartUp.h"

#include "platform/process/Halt.h"
#include "support/Random.h"
#include "support/WinFunc.h"

uint8_t ShowFPS = 0;
uint8_t DebugDisplay = 0;

void StartUpGame(platform::Window& /*form*/) {
    // The media services need no per-thread initialisation here.
    Randomize();
    // Not built yet: clearing the level's remembered load keys (level record).
    // Not built yet: VideoPlaying := 0 (video).
    // Not built yet: InitSound and SetHearingDistance(14336) (positional sound).
    // Not built yet: InitMusic (module music).
    // Not built yet: the speech object (speech).
    // Not built yet: ReadGameIni (configuration, window and engine set-up).
    // Not built yet: the three interface sounds (positional sound).
    // Not built yet: BuildCubeFaces (block shapes).
    ShowFPS = 0;
    DebugDisplay = 0;
    // Not built yet: hero 0's camera distance := 0 (hero records).
}

void ShutDownGame(platform::Window& /*form*/) {
    // Not built yet: G3DDone (engine).
    // Not built yet: StopAllMusic, and StopVideo while a video plays (music and video).
    // Not built yet: G3DWindowed when FullScreenActive (engine display modes).
    // Not built yet: CloseMusic (module music).
    platform::Halt(0);
}
