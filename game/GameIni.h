// The game's configuration file game.ini: the window and controls ([General],
// [Control], written back on request) and the game's own constants ([Game],
// read once): HUD layout, fonts, intro and extro media, first level, save
// allowance, camera limits, interface sounds, help file and title.
#pragma once

#include <cstdint>
#include <string>

#include "game/draw/HudText.h"

namespace platform {
class Window;
}

// HUD layout of game.ini [Game]: positions and sizes are fractions of the
// screen, alphas transparency percentages.
struct HudSettingsStuff {
    HudPictures Pictures;  // font sheets, glyph sizes and the three icons
    std::string DeveloperVideo, IntroVideo, IntroMusic, ExtroVideo, ExtroMusic;
    float InventoryLeft = 0, InventoryTop = 0, InventoryStringLeft = 0, InventoryStringTop = 0;
    int32_t InventoryAlpha = 0;
    float WeaponLeft = 0.8f, WeaponTop = 0, WeaponStringLeft = 0.8f, WeaponStringTop = 0;
    int32_t WeaponAlpha = 0;
    float LifeLeft = 0, LifeStringLeft = 0, LifeTop = 0.87f, LifeStringTop = 0.87f;
    float LifeWidth = 0.103f, LifeHeight = 0.121f;
    int32_t LifeAlpha = 0;
    float GolemLeft = 0.4f, GolemStringLeft = 0.4f, GolemTop = 0.87f, GolemStringTop = 0.87f;
    float GolemWidth = 0.103f, GolemHeight = 0.121f;
    int32_t GolemAlpha = 0;
    float CrossLeft = 0, CrossTop = 0.87f, CrossWidth = 0.103f, CrossHeight = 0.121f;
    int32_t CrossAlpha = 0;
    float TimerHealth = 2.5f;
    float TimerLeft = 0, TimerTop = 0;
};

// [General]: read at start-up, edited by the menus and the options dialog,
// written back by WriteGameIni.
extern bool MouseMode;  // the mouse steers the hero
extern bool MusicOn;    // music plays
// [Game]: read once at start-up.
extern HudSettingsStuff HudSettings;
extern std::string StartLevel;
extern int32_t StartSaveNumber;  // 1000 or more: unlimited
extern int32_t CameraMinDistance, CameraMaxDistance, CameraStep;
extern std::string MenuSoundFile, TimerSoundFile, CameraSoundFile;
extern std::string HelpFile;
extern std::string GameTitle;

// Where game.ini is: in the game folder when it is there and writable,
// otherwise "game.ini" in the current folder.
std::string GameIniPath();

// The window geometry of game.ini [General].
struct WindowPlacement {
    int32_t top = 100, left = 100, width = 320, height = 240;
    bool fullScreen = false;
};

// Reads game.ini once, without touching a window: [General] and [Control]
// into the depth of view, MouseMode, MusicOn and the key bindings, then
// [Game] as ReadGameSection does. Returns the window geometry of [General].
// A game.ini that is there but cannot be read gives the defaults, as a missing
// one does, and one line on stderr naming the file and the reason.
WindowPlacement ReadGameIniSettings();

// Reads game.ini (as ReadGameIniSettings does), places and sizes the window,
// sets the titles and built-in clips, initialises the engine on the window,
// sets the cursor and goes full screen when asked. A game.ini that gives only
// the defaults is said on stderr in one line: one that cannot be read (naming
// it and the reason), none in the game folder, or one with none of the three
// sections (naming the folder).
void ReadGameIni(platform::Window& form);

// Reads game.ini [Game] into HudSettings and the other [Game] globals.
void ReadGameSection();

// Writes [General] and [Control] back; other keys and sections stay. False
// when the file could not be written.
bool WriteGameIni(platform::Window& form);

// The Resolution value for a frame of height 2 × centreY (index in the list
// of known heights, 2 for any other).
int32_t ResolutionIndex(int32_t frameHeight);
