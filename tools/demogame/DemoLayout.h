// Where the demo game keeps its files, and how its data names them. Files are
// stored in mixed letter case under "/" folders; the data refers to them the
// way games made on Windows do, with "\" and in another letter case, so the
// player's path resolution is exercised by every load.
#pragma once

#include <string>

namespace demo {

// Stored file (relative to the game folder) and data reference of a picture
// of the 3-D file, a mesh, a sound and a HUD picture, by base name.
std::string TextureFile(const std::string& name);
std::string TextureRef(const std::string& name);
std::string MeshFile(const std::string& name);
std::string MeshRef(const std::string& name);
std::string SoundFile(const std::string& name);
std::string SoundRef(const std::string& name);
std::string HudFile(const std::string& name);
std::string HudRef(const std::string& name);

// The 3-D file, the level definition and the two font sheets.
extern const char* const k3DFile;
extern const char* const k3DRef;
extern const char* const kDefinitionFile;
extern const char* const kDefinitionRef;
extern const char* const kSmallFontFile;
extern const char* const kSmallFontRef;
extern const char* const kBigFontFile;
extern const char* const kBigFontRef;

// The levels: stored in "LEVEL/", named by the data without a folder (a level
// name is a file of LEVEL\ and of CURRENT_GAME\).
constexpr int kLevelCount = 2;
std::string LevelFile(int level);  // level 1 or 2
std::string LevelName(int level);

}  // namespace demo
