// Fuzz target of the whole level-state reader: any bytes, with the tables of
// the demo's first level put in (LevelStateInput.h), are read from memory as
// the game reads a level file of the demo game's folder, with the rebuild of
// everything derived from it (mesh copies, instance counts, behaviour
// instances and golems from the cells, the golems' reset). A refused file ends
// the game through Halt, which throws here. What a read leaves must lie within
// the level's capacities and types. Every input names the demo's definition,
// so that it is loaded once, as between levels of one definition: loading it
// for each input would take a hundred times as long as the read, and the
// definition loader has a fuzzer of its own.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/G3DState.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"
#include "platform/process/Halt.h"
#include "platform/fs/FileSystem.h"
#include "tests/fuzz/FuzzGameFolder.h"
#include "tests/fuzz/LevelStateInput.h"
#include "tools/demogame/DemoLayout.h"

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
    // Behaviour numbers stay as the file holds them: out of range, an instance
    // idles, which the interpreter sees to.
    for (const BehaviourStuff& instance : level.BehaviourInstances) {
        Check(instance.MovingBlocRow >= -1 && instance.MovingBlocRow <= level.MovingBlocs.High(),
              "moving bloc of an instance");
    }
}

// The tables of the demo's first level, put into every input.
std::string DemoTables() {
    std::string file;
    platform::fs::ReadWholeFile("LEVEL\\" + demo::LevelName(1), file);
    const size_t at = fuzzutil::TablesOffset(file);
    Check(at != 0 && file.size() >= at + kLevelTableBytes, "no tables in the demo's level");
    return file.substr(at, kLevelTableBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzutil::FuzzGameFolder& game = fuzzutil::GameFolderForFuzzing();
    game.ReadFromMemory();
    game.messages.texts.clear();
    static const std::string tables = DemoTables();
    // Kept from input to input: its room is not asked for again each time.
    static std::string bytes;
    fuzzutil::WithTables(std::string_view(reinterpret_cast<const char*>(data), size), tables,
                         bytes);
    const std::string definition = demo::kDefinitionRef;
    if (bytes.size() > definition.size()) {
        bytes[0] = static_cast<char>(definition.size());
        bytes.replace(1, definition.size(), definition);
    }
    try {
        ReadLevelStateBytes(bytes, "level\\FUZZ.LVL", "High", Level, game.Window(), DStuff);
    } catch (const platform::HaltRequested&) {
        // A refused file: the message is shown and the game ends.
        Check(game.messages.texts.size() == 1, "a refused file without its message");
        return 0;
    }
    CheckLevel(Level);
    return 0;
}
