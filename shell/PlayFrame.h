// One frame of play mode: golem decisions, behaviours, hero control, golem
// motion, the hero timer, the level exit, hero physics, the scene and the HUD.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Window;
}

// The saves-left count that the save command's caption shows; -1 at start and
// after a load, which makes the next play frame rebuild the caption.
extern int32_t SaveCountShown;

void PlayFrame(platform::Window& form);

// The HUD of a play frame, drawn over the scene: weapon view, cross, debug
// coordinates, timer, life, golems, inventory, weapon and level counts. Holds
// the current hero's health to 0..100 on the way.
void DrawPlayHud();

// The save command's caption: `saveText` alone for unlimited saves (1000 or
// more), else followed by " (" count " " `countWord` ")".
std::string SaveCommandCaption(int32_t savesLeft, const std::string& saveText,
                               const std::string& countWord);
