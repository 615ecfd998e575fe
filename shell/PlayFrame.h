// One frame of play mode: golem decisions, behaviours, hero control, golem
// motion, the hero timer, the level exit, hero physics, the scene and the HUD.
#pragma once

#include <cstdint>

namespace platform {
class Window;
}

// The saves-left count that the save command's caption shows; -1 at start and
// after a load, which makes the next play frame rebuild the caption.
extern int32_t SaveCountShown;

void PlayFrame(platform::Window& form);
