#include "tools/demogame/DemoLayout.h"

#include "game/level/DefinitionSection.h"

namespace demo {

std::string TextureFile(const std::string& name) { return "Textures/" + name + ".pcx"; }
std::string TextureRef(const std::string& name) { return "textures\\" + name + ".PCX"; }
std::string MeshFile(const std::string& name) { return "Meshes/" + name + ".msh"; }
std::string MeshRef(const std::string& name) { return "MESHES\\" + UpperAscii(name) + ".MSH"; }
std::string SoundFile(const std::string& name) { return "Sounds/" + name + ".wav"; }
std::string SoundRef(const std::string& name) { return "Sounds\\" + UpperAscii(name) + ".wav"; }
std::string HudFile(const std::string& name) { return "Hud/" + name + ".pcx"; }
std::string HudRef(const std::string& name) { return "HUD\\" + name + ".Pcx"; }

const char* const k3DFile = "Textures/World.3d";
const char* const k3DRef = "TEXTURES\\world.3D";
const char* const kDefinitionFile = "Definitions/Quest.def";
const char* const kDefinitionRef = "definitions\\QUEST.DEF";
const char* const kSmallFontFile = "Fonts/SmallFont.pcx";
const char* const kSmallFontRef = "FONTS\\smallfont.PCX";
const char* const kBigFontFile = "Fonts/BigFont.pcx";
const char* const kBigFontRef = "Fonts\\BIGFONT.pcx";

std::string LevelFile(int level) { return "LEVEL/Level" + std::to_string(level) + ".lvl"; }
std::string LevelName(int level) { return "LEVEL" + std::to_string(level) + ".LVL"; }

}  // namespace demo
