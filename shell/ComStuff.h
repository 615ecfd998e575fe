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
