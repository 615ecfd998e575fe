#include "game/GameIni.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "engine/G3DEngine.h"
#include "game/clips/ClipStuff.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/text/Cp1252.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "support/IniFiles32.h"
#include "support/WinFunc.h"

bool MouseMode = false;
bool MusicOn = true;
HudSettingsStuff HudSettings;
std::string StartLevel;
int32_t StartSaveNumber = 1000;
int32_t CameraMinDistance = 0, CameraMaxDistance = 0, CameraStep = 0;
std::string MenuSoundFile, TimerSoundFile, CameraSoundFile;
std::string HelpFile;
std::string GameTitle = "Ostra 2 Player";

namespace {

// [Control] keys in the order they are read and written, with the binding
// each one fills.
struct ControlKey {
    const char* key;
    int binding;
};
constexpr ControlKey kControlKeys[] = {
    {"KeyWeapon", 13},  {"KeyInventory", 12}, {"KeyLookUp", 0},   {"KeyLookDown", 1},
    {"KeyMoveUp", 2},   {"KeyMoveDown", 3},   {"KeyLookLeft", 4}, {"KeyLookRight", 5},
    {"KeyMoveLeft", 6}, {"KeyMoveRight", 7},  {"KeyButton1", 8},  {"KeyButton2", 9},
    {"KeyButton3", 10}, {"KeyButton4", 11},
};

constexpr int32_t kResolutionHeights[] = {120, 200, 240, 384, 480, 600, 768, 1024, 1200};

float ReadFloat(const TIniFile32& ini, const char* key, float def) {
    return static_cast<float>(ini.ReadFloat("Game", key, def));
}

WindowPlacement ReadGeneralAndControl(const TIniFile32& ini) {
    WindowPlacement place;
    place.top = ini.ReadInteger("General", "Top", 100);
    place.left = ini.ReadInteger("General", "Left", 100);
    place.width = ini.ReadInteger("General", "Width", 320);
    place.height = ini.ReadInteger("General", "Height", 240);
    DepthOfView = ini.ReadInteger("General", "DepthOfView", 14);
    // Resolution and Texture are written back by WriteGameIni but never read.
    place.fullScreen = ini.ReadBool("General", "Fullscreen", false);
    MouseMode = ini.ReadBool("General", "MouseMode", false);
    MusicOn = ini.ReadBool("General", "Music", true);
    for (const ControlKey& control : kControlKeys) {
        KeyBindings[control.binding] =
            static_cast<uint8_t>(ini.ReadInteger("Control", control.key, 0));
    }
    return place;
}

void ReadFontsAndMedia(const TIniFile32& ini, HudSettingsStuff& hud) {
    HudPictures& p = hud.Pictures;
    p.smallFontBitmap = ini.ReadString("Game", "SmallFontBitmap", "");
    p.smallFont = {ini.ReadInteger("Game", "SmallFontWidth", 3),
                   ini.ReadInteger("Game", "SmallFontHeight", 7)};
    p.bigFontBitmap = ini.ReadString("Game", "BigFontBitmap", "");
    p.bigFont = {ini.ReadInteger("Game", "BigFontWidth", 8),
                 ini.ReadInteger("Game", "BigFontHeight", 15)};
    hud.DeveloperVideo = ini.ReadString("Game", "DeveloperVideo", "");
    hud.IntroVideo = ini.ReadString("Game", "IntroVideo", "");
    hud.IntroMusic = ini.ReadString("Game", "IntroMusic", "");
    hud.ExtroVideo = ini.ReadString("Game", "ExtroVideo", "");
    hud.ExtroMusic = ini.ReadString("Game", "ExtroMusic", "");
}

void ReadHudLayout(const TIniFile32& ini, HudSettingsStuff& hud) {
    hud.InventoryLeft = ReadFloat(ini, "InventoryLeft", 0);
    hud.InventoryTop = ReadFloat(ini, "InventoryTop", 0);
    hud.InventoryStringLeft = ReadFloat(ini, "InventoryStringLeft", 0);
    hud.InventoryStringTop = ReadFloat(ini, "InventoryStringTop", 0);
    hud.InventoryAlpha = ini.ReadInteger("Game", "InventoryAlpha", 0);
    hud.WeaponLeft = ReadFloat(ini, "WeaponLeft", 0.8f);
    hud.WeaponTop = ReadFloat(ini, "WeaponTop", 0);
    hud.WeaponStringLeft = ReadFloat(ini, "WeaponStringLeft", 0.8f);
    hud.WeaponStringTop = ReadFloat(ini, "WeaponStringTop", 0);
    hud.WeaponAlpha = ini.ReadInteger("Game", "WeaponAlpha", 0);
    hud.Pictures.lifeIcon = ini.ReadString("Game", "LifeIcon", "");
    hud.LifeLeft = ReadFloat(ini, "LifeLeft", 0);
    hud.LifeStringLeft = ReadFloat(ini, "LifeStringLeft", 0);
    hud.LifeTop = ReadFloat(ini, "LifeTop", 0.87f);
    hud.LifeStringTop = ReadFloat(ini, "LifeStringTop", 0.87f);
    hud.LifeWidth = ReadFloat(ini, "LifeWidth", 0.103f);
    hud.LifeHeight = ReadFloat(ini, "LifeHeight", 0.121f);
    hud.LifeAlpha = ini.ReadInteger("Game", "LifeAlpha", 0);
    hud.Pictures.golemIcon = ini.ReadString("Game", "GolemIcon", "");
    hud.GolemLeft = ReadFloat(ini, "GolemLeft", 0.4f);
    hud.GolemStringLeft = ReadFloat(ini, "GolemStringLeft", 0.4f);
    hud.GolemTop = ReadFloat(ini, "GolemTop", 0.87f);
    hud.GolemStringTop = ReadFloat(ini, "GolemStringTop", 0.87f);
    hud.GolemWidth = ReadFloat(ini, "GolemWidth", 0.103f);
    hud.GolemHeight = ReadFloat(ini, "GolemHeight", 0.121f);
    hud.GolemAlpha = ini.ReadInteger("Game", "GolemAlpha", 0);
    hud.Pictures.crossIcon = ini.ReadString("Game", "CrossIcon", "");
    hud.CrossLeft = ReadFloat(ini, "CrossLeft", 0);
    hud.CrossTop = ReadFloat(ini, "CrossTop", 0.87f);
    hud.CrossWidth = ReadFloat(ini, "CrossWidth", 0.103f);
    hud.CrossHeight = ReadFloat(ini, "CrossHeight", 0.121f);
    hud.CrossAlpha = ini.ReadInteger("Game", "CrossAlpha", 0);
    hud.TimerHealth = ReadFloat(ini, "TimerHealth", 2.5f);
    hud.TimerLeft = ReadFloat(ini, "TimerLeft", 0);
    hud.TimerTop = ReadFloat(ini, "TimerTop", 0);
}

void ReadGameConstants(const TIniFile32& ini) {
    StartLevel = ini.ReadString("Game", "StartLevel", "");
    StartSaveNumber = ini.ReadInteger("Game", "StartSaveNumber", 1000);
    CameraMinDistance = ini.ReadInteger("Game", "CameraMinDistance", 0);
    CameraMaxDistance = ini.ReadInteger("Game", "CameraMaxDistance", 0);
    CameraStep = ini.ReadInteger("Game", "CameraStep", 0);
    MenuSoundFile = ini.ReadString("Game", "MenuSound", "");
    TimerSoundFile = ini.ReadString("Game", "TimerSound", "");
    CameraSoundFile = ini.ReadString("Game", "CameraSound", "");
    HelpFile = ini.ReadString("Game", "HelpFile", "");
    GameTitle = ini.ReadString("Game", "GameTitle", "Ostra 2 Player");
}

void ReadGameSection(const TIniFile32& ini) {
    HudSettings = HudSettingsStuff{};
    ReadFontsAndMedia(ini, HudSettings);
    ReadHudLayout(ini, HudSettings);
    ReadGameConstants(ini);
}

// [General] and [Control], then [Game].
WindowPlacement ReadSettings(const TIniFile32& ini) {
    const WindowPlacement place = ReadGeneralAndControl(ini);
    ReadGameSection(ini);
    return place;
}

// A game.ini that gives nothing but the defaults is said on stderr, in one
// line: one that is there but cannot be read (with the reason), none in the
// game folder, or one that holds none of the three sections.
void ReportDefaultsOnly(const TIniFile32& ini) {
    if (ini.LoadFailed()) {
        platform::fs::ReportUnreadableFile(ini.FileName);
        return;
    }
    const std::string real = platform::fs::Resolve(ini.FileName);
    const std::string folder = platform::Utf8ToCp1252(real.substr(0, real.find_last_of('/')));
    if (!platform::fs::EntryExists(ini.FileName)) {
        platform::ReportOnConsole("No game.ini in " + folder + ": the default settings are used.");
    } else if (ini.FindSection("General") < 0 && ini.FindSection("Control") < 0 &&
               ini.FindSection("Game") < 0) {
        platform::ReportOnConsole("The game.ini of " + folder +
                                  " has none of the sections [General], [Control] and [Game]: "
                                  "the default settings are used.");
    }
}

// One side of the client size, held to least..most. A value out of range is
// put right and the user told so; 0 or less asks for nothing: the window
// keeps its size.
int32_t FitWindowSide(const char* key, int32_t asked, int32_t least, int32_t most) {
    const int32_t fitted = asked <= 0 ? 0 : std::clamp(asked, least, most);
    if (fitted != asked) {
        const std::string outcome = fitted == 0
                                        ? "is no size; the window keeps its own"
                                        : "is out of range; " + std::to_string(fitted) + " is used";
        platform::ReportOnConsole("game.ini: " + std::string(key) + "=" + std::to_string(asked) +
                                  " " + outcome);
    }
    return fitted;
}

// Places the window and gives it the client size of game.ini, held to what
// the window system and the engine take.
void PlaceWindow(platform::Window& form, const WindowPlacement& place) {
    form.SetPosition(place.left, place.top);
    const int32_t most = std::min(platform::Window::kMaxClientSide, G3DMaxFrameSide(form));
    const int32_t width = FitWindowSide("Width", place.width, kG3DMinFrameWidth, most);
    const int32_t height = FitWindowSide("Height", place.height, kG3DMinFrameHeight, most);
    if (width > 0 && height > 0) form.SetClientSize(width, height);
}

// Starts the engine on the window's client area; a client area that the
// engine cannot take (the window system may refuse a size) is held to its
// limits, so that the engine always starts.
void StartEngine(platform::Window& form) {
    int width = 0, height = 0;
    form.ClientSize(width, height);
    const int32_t most = G3DMaxFrameSide(form);
    G3DInit(std::clamp(width, kG3DMinFrameWidth, most),
            std::clamp(height, kG3DMinFrameHeight, most), DStuff, form);
}

}  // namespace

std::string GameIniPath() {
    const std::string inGameFolder = GameFolder + "\\game.ini";
    if (platform::fs::FileWritable(inGameFolder)) return inGameFolder;
    return "game.ini";
}

void ReadGameSection() {
    const TIniFile32 ini(GameIniPath());
    if (ini.LoadFailed()) platform::fs::ReportUnreadableFile(ini.FileName);
    ReadGameSection(ini);
}

WindowPlacement ReadGameIniSettings() {
    // One read of the file for all three sections.
    const TIniFile32 ini(GameIniPath());
    if (ini.LoadFailed()) platform::fs::ReportUnreadableFile(ini.FileName);
    return ReadSettings(ini);
}

void ReadGameIni(platform::Window& form) {
    const TIniFile32 ini(GameIniPath());
    ReportDefaultsOnly(ini);
    const WindowPlacement place = ReadSettings(ini);
    form.SetTitle(GameTitle);
    platform::Application::Instance().SetTitle(GameTitle);
    SetBuiltInClips(Level, HudSettings.DeveloperVideo, HudSettings.IntroMusic,
                    HudSettings.IntroVideo, HudSettings.ExtroMusic, HudSettings.ExtroVideo);
    PlaceWindow(form, place);
    StartEngine(form);
    Level.LoadedQuality = "High";
    SetCursorVisible(!MouseMode);
    if (place.fullScreen) G3DFullScreen(form, DStuff);
}

int32_t ResolutionIndex(int32_t frameHeight) {
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(kResolutionHeights)); ++i) {
        if (kResolutionHeights[i] == frameHeight) return i;
    }
    return 2;
}

bool WriteGameIni(platform::Window& form) {
    TIniFile32 ini(GameIniPath());
    int left = 0, top = 0, width = 0, height = 0;
    form.Position(left, top);
    form.ClientSize(width, height);
    ini.WriteInteger("General", "Top", top);
    ini.WriteInteger("General", "Left", left);
    ini.WriteInteger("General", "Width", width);
    ini.WriteInteger("General", "Height", height);
    ini.WriteInteger("General", "DepthOfView", DepthOfView);
    ini.WriteInteger("General", "Resolution", ResolutionIndex(2 * DStuff.CentreY));
    ini.WriteBool("General", "Fullscreen", FullScreenActive);
    ini.WriteBool("General", "MouseMode", MouseMode);
    ini.WriteBool("General", "Music", MusicOn);
    ini.WriteBool("General", "Texture", HighTextures != 0);
    for (const ControlKey& control : kControlKeys)
        ini.WriteInteger("Control", control.key, KeyBindings[control.binding]);
    return ini.Save();
}
