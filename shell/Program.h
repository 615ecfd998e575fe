// The program block shared by both players: the application object, the three
// windows, and the message loop.
#pragma once

#include "platform/window/Window.h"

#include <string>

// Runs the player named `programName` with the engine's kind of window
// surface; returns the exit code when the message loop ends.
int RunPlayer(const std::string& programName, platform::Surface surface);
