#include "game/StartUp.h"

#include "engine/G3DEngine.h"
#include "game/GameIni.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/clips/ClipPlayback.h"
#include "game/media/Media.h"
#include "game/media/Music.h"
#include "game/media/Video.h"
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
    VideoPlaying = 0;
    InitSound();
    SetHearingDistance(kHearingDistance, DStuff);
    InitMusic();
    InitMedia();  // MIDI, MP3, CD, video and speech; SpeechAvailable says whether it started
    ReadGameIni(form);
    LoadSound(MenuSoundFile, MenuSound);
    LoadSound(TimerSoundFile, TimerSound);
    LoadSound(CameraSoundFile, CameraSound);
    BuildCubeFaces();
    ShowFPS = 0;
    DebugDisplay = 0;
    Heroes[0].CameraDistance = 0;
}

void ShutDownGame(platform::Window& form, int exitStatus) {
    G3DDone();
    StopAllMusic();
    // The video stops before full screen ends; the engine is done, so it is
    // not reset, and no next clip starts.
    if (VideoPlaying != 0) EndVideo();
    if (FullScreenActive) G3DWindowed(form, DStuff);
    CloseMusic();
    CloseMedia();
    ShutDownSound();
    platform::Halt(exitStatus);
}
