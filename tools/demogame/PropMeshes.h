// The objects of the demo game's levels, built from boxes in cell-centred
// coordinates (a cell spans -256..256, its floor at y = -256): crate, doors
// and their opening frames, lever frames, key, gem, medikit, moving platform,
// trophy, and the crumbling frames of dug earth.
#pragma once

#include <vector>

#include "tools/demogame/FigureMeshes.h"

namespace demo {

// Frame counts of the animated objects.
constexpr int kDoorFrames = 4;   // "Door_Open1".."Door_Open4"
constexpr int kLeverFrames = 3;  // "Lever_Pull1".."Lever_Pull3"
constexpr int kSpinFrames = 4;   // "Key1".."Key4", "Gem1".."Gem4"
constexpr int kDigFrames = 4;    // "Earth_Dig1".."Earth_Dig4"

// Every object mesh with its base name: "Crate", "Door_Sensor",
// "Door_Open1".., "Gate", "Door_Wood", "Lever", "Lever_Pull1"..,
// "Lever_Down", "Key1".., "Gem1".., "Medikit", "Platform", "Trophy", "Spring",
// "ExitPad",
// "Earth_Dig1"...
std::vector<NamedMesh> PropMeshes();

}  // namespace demo
