// Writes the whole demo game folder: game.ini, the font sheets and HUD icons,
// the 3-D file with its pictures, the meshes, the sounds, the level
// definition and the two levels in LEVEL\, and the empty CURRENT_GAME\ and
// SAVEGAME\ folders.
#pragma once

#include <string>

namespace demo {

// The text of the 3-D file: "#IMAGES" lines N=FILE, "#TEXTURES" lines T=A-B.
std::string ThreeDFileText();

// Writes the game into `folder` (created when missing). False, with a
// message in `error`, when a folder or file could not be written.
bool MakeDemoGame(const std::string& folder, std::string& error);

}  // namespace demo
