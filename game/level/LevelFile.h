// Level state files: writing the level record into a binary level file (the
// level left, or a level saved with a game) and reading one back into the
// level record, followed by the rebuild of everything derived from it: the
// level definition, instance counts, mesh copies, the behaviour instances and
// golems of the grid's cells, and the golems' reset.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct LevelStuff;
struct TDStuff;

namespace platform {
class Window;
}

// Writes `level` and the game clock `GameTime` into the level file `path`,
// replacing the whole file at once (never half-written). False when it could
// not be written; the old file is then untouched and the system's reason goes
// to `reason` when given.
bool WriteLevelState(const std::string& path, const LevelStuff& level,
                     std::string* reason = nullptr);

// Reads the level file `path` into `level`, loads the definition it names with
// `quality`, and rebuilds the level (instance counts, mesh copies, behaviour
// instances and golems started from the grid, golem reset, the random seed,
// the game clock and frame step; the times kept only in memory, the texture
// tick and the heroes' blend start and pain-sound time, are held to the clock
// read). The whole file is checked before anything
// changes: a missing or invalid file shows "The file <path> is missing or
// invalid." and ends the program through ShutDownGame(form, kDataErrorStatus).
// The file named is the one at fault: for a level of CURRENT_GAME\ still as a
// new game copied it from LEVEL\ (or found in neither), LEVEL\'s file, in the
// letter case it is stored with.
void ReadLevelState(const std::string& path, const std::string& quality, LevelStuff& level,
                    platform::Window& form, TDStuff& engine);

// As ReadLevelState, with the file's bytes already read: `path` only names
// the file in the message of a refusal.
void ReadLevelStateBytes(std::string_view bytes, const std::string& path,
                         const std::string& quality, LevelStuff& level, platform::Window& form,
                         TDStuff& engine);

// Puts every golem of `level` back to its starting state: seeds the random
// generator with the level's RandSeed; each golem looks along its heading,
// aims at its own position, stands in the cell of its position, in state 0,
// having not seen the hero, and makes no sound for the next 2000 ms.
void ResetGolems(LevelStuff& level);

// Whether a level name taken from data names a file inside CURRENT_GAME\ (or
// a subfolder of it): not empty, not rooted, no drive and no ".." component.
// A level change to any other name ends the game as a missing level file does.
bool LevelNameStaysInGame(const std::string& name);
