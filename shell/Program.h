// The program block shared by both players: the application object, the three
// windows, and the message loop.
#pragma once

#include "platform/window/Window.h"

// Runs the player with the engine's kind of window surface; returns the exit
// code when the message loop ends.
int RunPlayer(platform::Surface surface);
