// The level definition loader: reads a level's definition file (an INI file)
// into hero 0's meshes, sounds and metrics, the skies, the 257 bloc types and,
// through their own loaders, the behaviours and clips; then loads the level's
// pictures. A second load of the same file at the same quality does nothing.
#pragma once

#include <cstdint>
#include <string>

#include "engine/G3DMesh.h"

struct LevelStuff;
struct TDStuff;

namespace platform {
class Window;
}

// The bar mesh of the cut-scenes' letterbox bars: 1000 × 100 units, two
// flat double-sided faces. Rebuilt (the old one freed) by every definition
// load; drawn by the clip playback.
extern TG3DMesh* LetterboxMesh;

// Loads the definition file `fileName` (relative to the game folder) with the
// texture quality word `quality` into `level`, hero 0 and `engine`. Returns at
// once when the same file (letter case ignored) is loaded at the same quality
// (upper-cased) already. Every bloc type starts from its defaults, its old
// meshes and sounds freed; its InstanceCount is kept. The definition's
// [General] Root folder is current while its files load; the game folder is
// current again afterwards. `form` is the main window. A missing file loads
// as an empty one; a file that is there but holds none of a definition's
// sections (empty, unreadable, not an INI file) shows "The file <fileName> is
// missing or invalid." and ends the program through ShutDownGame(form,
// kDataErrorStatus).
void LoadLevelDefinition(const std::string& fileName, const std::string& quality, LevelStuff& level,
                         platform::Window& form, TDStuff& engine);

// As LoadLevelDefinition, with the definition's text already read (`text`);
// `fileName` names it. The files it names are read as ever.
void LoadLevelDefinitionText(const std::string& fileName, const std::string& text,
                             const std::string& quality, LevelStuff& level, platform::Window& form,
                             TDStuff& engine);

// The bounds of `mesh` as cell-local integers (0 = the low face of the cell):
// the smallest and largest X and Z, the smallest Y, and the highest Y of each
// quadrant around the middle of X and Z (1: low X low Z, 2: high X low Z,
// 3: high X high Z, 4: low X high Z). Maxima start at 0 and minima at 512
// before the bias of 256, a quadrant without a vertex keeps -256, and a
// missing mesh gives 768, 256, 768, -256 × 4, 768, 256.
void MeshBounds(const TG3DMesh* mesh, int32_t& Xmin, int32_t& Xmax, int32_t& Ymin, int32_t& Ymax1,
                int32_t& Ymax2, int32_t& Ymax3, int32_t& Ymax4, int32_t& Zmin, int32_t& Zmax);
