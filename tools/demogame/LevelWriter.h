// Turns a level plan into a binary level file through the game's own level
// writer, so that the demo's levels are exactly what the player reads.
#pragma once

#include <memory>
#include <string>

#include "tools/demogame/DemoLevels.h"

struct LevelStuff;

namespace demo {

// A level record holding the plan: grid and layers, start, exits, clip zones
// (unused ones moved out of reach), camera points (none), banners, sky,
// colours, light depth and seed; every list empty.
std::unique_ptr<LevelStuff> LevelFromPlan(const LevelPlan& plan);

// Writes the plan as a level file at `path` (a real path), with game time 0.
bool WriteLevelPlan(const LevelPlan& plan, const std::string& path);

}  // namespace demo
