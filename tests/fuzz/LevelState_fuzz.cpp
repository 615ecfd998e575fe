// Fuzz target of the whole level-state reader: any bytes become a level file
// in the demo game's folder and are read as the game reads a level, with the
// rebuild of everything derived from it (the definition the file names, mesh
// copies, instance counts, behaviour instances and golems from the cells, the
// golems' reset). A refused file ends the game through Halt, which throws
// here. What a read leaves must lie within the level's tables.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/G3DState.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"
#include "platform/process/Halt.h"
#include "tests/fuzz/FuzzGameFolder.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "level state: %s\n", what);
    std::abort();
}

void CheckLevel(const LevelStuff& level) {
    Check(int64_t{level.SizeX} * level.SizeY * level.SizeZ == level.CellCount, "cell count");
    for (int32_t i = 0; i < level.CellCount; ++i) {
        Check(IsBlocType(level.CellTypes[i]), "cell type");
    }
    for (const GolemStuff& golem : level.Golems) Check(IsBlocType(golem.GolemBloc), "golem type");
    for (const BehaviourStuff& instance : level.BehaviourInstances) {
        Check(instance.BehaviourType >= 0 && instance.BehaviourType < kBehaviourCount,
              "behaviour of an instance");
        Check(instance.MovingBlocRow >= -1 && instance.MovingBlocRow <= level.MovingBlocs.High(),
              "moving bloc of an instance");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzutil::FuzzGameFolder& game = fuzzutil::GameFolderForFuzzing();
    game.BeginInput();
    game.Write("LEVEL/Fuzz.lvl", std::string(reinterpret_cast<const char*>(data), size));
    Level.LoadedDefinitionFile.clear();  // each read loads its definition afresh
    try {
        ReadLevelState("level\\FUZZ.LVL", "High", Level, game.Window(), DStuff);
    } catch (const platform::HaltRequested&) {
        // A refused file: the message is shown and the game ends.
        Check(game.messages.texts.size() == 1, "a refused file without its message");
        return 0;
    }
    CheckLevel(Level);
    return 0;
}
