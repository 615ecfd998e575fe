#include "game/StartUp.h"

#include "engine/G3DEngine.h"
#include "game/GameIni.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "platform/process/Halt.h"
#include "support/ModPlay.h"
#include "support/Random.h"
#include "support/Snd.h"
#include "support/WinFunc.h"

uint8_t ShowFPS = 0;
uint8_t DebugDisplay = 0;
TSoundBuffer* MenuSound = nullptr;
TSoundBuffer* TimerSound = nullptr;
TSoundBuffer* CameraSound = nullptr;

namespace {
// Sounds are heard up to 28 cells away.
constexpr int32_t kHearingDistance = 14336;
}  // namespace

void StartUpGame(platform::Window& form) {
    // The media services need no per-thread initialisation here.
    Randomize();
    Level.LoadedTextureFile.clear();
    Level.LoadedDefinitionFile.clear();
    Level.LoadedQuality.clear();
    // Not built yet: VideoPlaying := 0 (video).
    InitSound();
    SetHearingDistance(kHearingDistance, DStuff);
    InitMusic();
    // Not built yet: the speech object (speech).
    ReadGameIni(form);
    LoadSound(MenuSoundFile, MenuSound);
    LoadSound(TimerSoundFile, TimerSound);
    LoadSound(CameraSoundFile, CameraSound);
    BuildCubeFaces();
    ShowFPS = 0;
    DebugDisplay = 0;
    Heroes[0].CameraDistance = 0;
}

void ShutDownGame(platform::Window& form) {
    G3DDone();
    // Not built yet: StopAllMusic, and StopVideo while a video plays (music and video).
    if (FullScreenActive) G3DWindowed(form, DStuff);
    CloseMusic();
    ShutDownSound();
    platform::Halt(0);
}
