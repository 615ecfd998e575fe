// The game's start-up at the main window's first activation, and its end.
#pragma once

#include <cstdint>

class TSoundBuffer;

namespace platform {
class Window;
}

// Display flags of the frame: the frame counter and the debug coordinates.
// Cleared at start-up, toggled by menu commands.
extern uint8_t ShowFPS;
extern uint8_t DebugDisplay;

// The three interface sounds, loaded at start-up from game.ini's names; null
// when not named or sound is off.
extern TSoundBuffer* MenuSound;
extern TSoundBuffer* TimerSound;
extern TSoundBuffer* CameraSound;

// Brings the game's services up, once, at the first activation of the main
// window `form`.
void StartUpGame(platform::Window& form);

// Exit status of a game ended by data it cannot play (a level file or
// definition missing or invalid).
constexpr int kDataErrorStatus = 1;

// Takes the game's services down and ends the process with `exitStatus`
// (0 when the user ends the game); does not return. Nothing is saved.
[[noreturn]] void ShutDownGame(platform::Window& form, int exitStatus = 0);
