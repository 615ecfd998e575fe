// The controls: keyboard, mouse and joystick 1 into the current hero's 14
// control flags once per frame, the keys that act outside the hero, and the
// hero control of play mode. Mouse buttons as the frame reads them: a click
// counts for exactly one frame.
#pragma once

#include <cstdint>

// Set when the main window's button is pressed, cleared only at the end of
// every frame: a click between two frames counts in the next one.
extern uint8_t MouseLeftDown;
extern uint8_t MouseRightDown;

namespace platform {
class Window;
}

// Mouse mode: where the cursor was last put back (screen pixels), and the
// anchor minus the cursor position read at the start of the frame.
extern int32_t CursorAnchorX, CursorAnchorY;
extern int32_t MouseDeltaX, MouseDeltaY;
// Bloc type first touched by the hero's last move (-1 none), copied by the play
// frame.
extern int32_t HeroFloorType;

// First step of every started frame: the current hero's control flags.
void ReadControls(platform::Window& form);
// Second step: skipping clips, stopping videos, the debug display.
void GlobalKeys(platform::Window& form);
// What the hero touches, then its movement, view, jump, camera distance, items,
// actions, golem orders and shots.
void ControlHero(platform::Window& form);

// Brings a yaw beyond 2^24 units back by whole turns (a non-finite one to 0);
// smaller yaws are left exactly as they are.
void KeepYawInTurns(float& yaw);
