// Game modes (none, title, play, end), the one routine that changes them, and
// the one-line HUD message that commands use to confirm what they did.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Window;
}

constexpr int32_t ModeNone = -1;
constexpr int32_t ModeTitle = 0;
constexpr int32_t ModePlay = 1;
constexpr int32_t ModeEnd = 10;

// The current mode; changed only by SetGameMode.
extern int32_t GameMode;
// Set when the title or end mode is entered; the mode's frame consumes it.
extern uint8_t ModeEntered;
// FrameTime when the mode last changed.
extern int32_t ModeStartTime;

// The HUD message line, drawn and counted down by the frame.
struct HudMessageStuff {
    std::string text;
    int32_t timeLeft = 0;  // ms of game time
    uint8_t on = 0;
};
extern HudMessageStuff HudMessage;

// Changes the game mode; nothing happens when it is the current one.
void SetGameMode(int32_t mode, platform::Window& form);

// Intro clip 33 was started in this run (it plays once per run).
extern uint8_t IntroPlayed;

// The title and end modes' frames and keys.
void TitleFrame(platform::Window& form);
void TitleScreenKeys(platform::Window& form);
void EndFrame(platform::Window& form);
void EndScreenKeys(platform::Window& form);

// The hero's life fell below 0: back to the title screen.
void HeroDied(platform::Window& form);
// The hero (and every golem) stands on exits: goes through the exit of the
// hero's cell when it names a level, unless a level change was refused since
// they last stood on exits.
void CheckLevelExit(platform::Window& form);
// Set when a level change was refused; cleared by the play frame once the
// hero or a golem is off the exits, and by every level entered.
extern uint8_t LevelExitRefused;
// Leaves the current level (its state written to CURRENT_GAME\) for `name`,
// placing the hero at the centre of cell (x, y, z). When the level left
// cannot be written (a full disk), says so, naming the file and the reason,
// and stays in the level.
void GoToLevel(const std::string& name, int32_t x, int32_t y, int32_t z, platform::Window& form);
// Enters the first level of a new game (nothing written; the caller places the
// hero).
void EnterLevel(const std::string& name, platform::Window& form);
// Shows `text` as the HUD message for 10000 ms of game time.
void ShowHudMessage(const std::string& text);
