#include "shell/ComStuff.h"

#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/StartUp.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"
#include "game/level/SaveGames.h"
#include "game/media/Music.h"
#include "game/media/Video.h"
#include "platform/msgbox/MessageBox.h"
#include "shell/GameScene.h"
#include "shell/MainMenu.h"
#include "support/Snd.h"
#include "support/WinFunc.h"

int32_t GameMode = ModeNone;
uint8_t ModeEntered = 0;
int32_t ModeStartTime = 0;
HudMessageStuff HudMessage;
uint8_t IntroPlayed = 0;
uint8_t LevelExitRefused = 0;

namespace {

constexpr uint8_t kEscapeKey = 27;
// Game time a mode runs before its screen takes keys (ms).
constexpr int64_t kTitleKeyDelay = 1000;
constexpr int64_t kEndKeyDelay = 3000;
constexpr int32_t kHudMessageTime = 10000;
constexpr float kBannerStart = 0.7f;
// A level name is a short string.
constexpr size_t kLevelNameLength = 255;
const char* const kWorkingFolder = "CURRENT_GAME\\";

bool AnyButton(const HeroStuff& hero) {
    return hero.ControlFlags[8] != 0 || hero.ControlFlags[9] != 0 || hero.ControlFlags[10] != 0 ||
           hero.ControlFlags[11] != 0;
}

// A level that cannot be read ends the game as a missing level file does.
[[noreturn]] void RefuseLevel(const std::string& name, platform::Window& form) {
    platform::ShowMessage("The file " + std::string(kWorkingFolder) + name +
                          " is missing or invalid.");
    ShutDownGame(form, kDataErrorStatus);
}

// Steps 2, 3, 5, 6 and 7 of a level change: the level named `name` (cut to a
// short string) is read from the working copy and becomes the hero's.
void ReadLevelOfName(const std::string& name, platform::Window& form) {
    const std::string cut = name.substr(0, kLevelNameLength);
    if (!LevelNameStaysInGame(cut)) RefuseLevel(cut, form);
    Heroes[CurrentHero].LevelName = cut;
    const std::string quality = Level.LoadedQuality;  // the read replaces it
    ReadLevelState(kWorkingFolder + cut, quality, Level, form, DStuff);
}

void EnterReadLevel(platform::Window& form) {
    LevelExitRefused = 0;
    SetGameMode(ModePlay, form);
    StopAllSounds();
    LevelBanner.on = 1;
    LevelBanner.y = kBannerStart;
    LevelBanner.startTime = FrameTime;
}

float CellFloor(int32_t cell) { return static_cast<float>(int64_t{cell} * 512); }

// The current hero as a new game starts it, on the start cell of the level
// just entered.
void ResetHeroForNewGame(HeroStuff& h) {
    h.LastShotTime = GameTimeMs();
    h.SavesLeft = StartSaveNumber;
    h.Inventory.fill(0);
    h.SelectedObject = 0;
    h.Weapon = 0;
    h.Life = 100.0f;
    h.VerticalSpeed = 0;
    h.CurrentAnim = h.TargetAnim = h.PreviousTargetAnim = 0;
    h.BlendDuration = 0;
    h.BlendStart = 0;
    h.WalkPhase = 0;
    h.X = CellCentre(Level.StartX);
    h.Y = CellFloor(Level.StartY);
    h.Z = CellCentre(Level.StartZ);
    h.Yaw = static_cast<float>(Level.StartAngle);
    h.Pitch = h.Tilt = 0;
    h.SpeedX = h.SpeedY = h.SpeedZ = h.YawSpeed = 0;
    h.PitchTarget = h.TiltTarget = 0;
    h.CameraDistance = static_cast<float>(CameraMinDistance);
    h.ActionLock = 0;
    h.CameraX = h.X;
    h.CameraY = h.Y;
    h.CameraZ = h.Z;
    h.TimerOn = 0;
    h.TimerValue = 0;
    h.TimerExpired = 0;
    h.TimerTick = 0;
}

void StartNewGame(platform::Window& form) {
    PlaySoundBuffer(MenuSound, false);
    // The game's pristine levels become the working copies whole, or the
    // title screen stays as it is.
    if (!RenewWorkingCopy("LEVEL")) {
        platform::ShowMessage(
            "A new game cannot start: the levels of LEVEL\\ could not be copied into "
            "CURRENT_GAME\\.");
        ModeStartTime = FrameTime;  // the title's keys wait again
        return;
    }
    StopVideo(form);
    StopAllMusic();
    EnterLevel(StartLevel, form);
    ResetHeroForNewGame(Heroes[CurrentHero]);
}

}  // namespace

void SetGameMode(int32_t mode, platform::Window& form) {
    if (mode == GameMode) return;
    GameMode = mode;
    TitleClipRunning = 0;
    StopAllSounds();
    StopVideo(form);
    ModeStartTime = FrameTime;
    if (mode == ModeTitle || mode == ModeEnd) {
        MainMenu[MenuItemId::SaveGamePosition].enabled = false;
        ModeEntered = 1;
    } else if (mode == ModePlay) {
        MainMenu[MenuItemId::SaveGamePosition].enabled = true;
    }
    ResetFrameStep();
}

void TitleFrame(platform::Window& form) {
    if (ModeEntered != 0) {
        ModeEntered = 0;
        if (IntroPlayed == 0 && !HudSettings.DeveloperVideo.empty()) {
            PlayClip(kDeveloperClip, form);
        } else {
            PlayClip(kIntroClip, form);
        }
        IntroPlayed = 1;
    }
    if (int64_t{FrameTime} - ModeStartTime > kTitleKeyDelay) TitleScreenKeys(form);
}

void TitleScreenKeys(platform::Window& form) {
    if (IsKeyDown(kEscapeKey) != 0) ShutDownGame(form);
    // The intro is current: as the media clip that runs, or as the clip last
    // started when it has no media to keep running.
    const bool introCurrent = CurrentClip == kIntroClip || TitleClipRunning != 0;
    if (introCurrent && AnyButton(Heroes[CurrentHero])) StartNewGame(form);
}

void EndFrame(platform::Window& form) {
    if (ModeEntered != 0) {
        ModeEntered = 0;
        PlayClip(kExtroClip, form);
        GameWon = 0;
    }
    if (int64_t{FrameTime} - ModeStartTime > kEndKeyDelay) EndScreenKeys(form);
}

void EndScreenKeys(platform::Window& form) {
    if (AnyButton(Heroes[CurrentHero])) SetGameMode(ModeTitle, form);
}

void HeroDied(platform::Window& form) {
    HeroStuff& h = Heroes[CurrentHero];
    h.CameraDistance = h.DefaultCameraDistance;
    SetGameMode(ModeTitle, form);
}

void CheckLevelExit(platform::Window& form) {
    if (LevelExitRefused != 0) return;
    const HeroStuff& h = Heroes[CurrentHero];
    const int32_t t =
        GetCellType(CellOfCoordinate(h.X), CellOfCoordinate(h.Y), CellOfCoordinate(h.Z));
    if (!IsBlocType(t)) return;
    const LevelExitStuff exit = Level.LevelExits[t];  // the read replaces the table
    if (exit.ExitLevel.empty()) return;
    GoToLevel(exit.ExitLevel, exit.ExitX, exit.ExitY, exit.ExitZ, form);
}

void GoToLevel(const std::string& name, int32_t x, int32_t y, int32_t z, platform::Window& form) {
    HeroStuff& h = Heroes[CurrentHero];
    // The level left keeps everything that happened in it, or is not left; a
    // name that would lead out of the working copy is never written.
    std::string reason;
    if (LevelNameStaysInGame(h.LevelName) && !WriteWorkingLevel(h.LevelName, reason)) {
        platform::ShowMessage("The file " + std::string(kWorkingFolder) + h.LevelName +
                              " could not be written (" + reason + "): the level is not left.");
        LevelExitRefused = 1;
        return;
    }
    ReadLevelOfName(name, form);
    h.X = CellCentre(x);
    h.Y = CellCentre(y);
    h.Z = CellCentre(z);
    EnterReadLevel(form);
}

void EnterLevel(const std::string& name, platform::Window& form) {
    ReadLevelOfName(name, form);
    EnterReadLevel(form);
}

void ShowHudMessage(const std::string& text) {
    HudMessage.text = text;
    HudMessage.timeLeft = kHudMessageTime;
    HudMessage.on = 1;
}
