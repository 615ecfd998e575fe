// Fuzz target of the level definition loader: any bytes are loaded whole as
// a definition of the demo game's folder (whose meshes, sounds, pictures and
// 3-D file the definition can name): hero, skies, bloc types, the behaviour
// compiler and the clips, then the level's pictures. All of it happens in
// memory: the definition is the input's bytes, and the folder's files are read
// from memory. What the load keeps must lie within its tables, and every
// compiled command must be what its stored line compiles to.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/G3DState.h"
#include "game/script/Behaviours.h"
#include "game/clips/ClipStuff.h"
#include "game/level/LevelDefinition.h"
#include "game/level/LevelStuff.h"
#include "platform/process/Halt.h"
#include "tests/fuzz/FuzzGameFolder.h"

namespace {

// The checks of what a load keeps go through every record whatever the input:
// left out of the coverage that guides the search, they cost it nothing.
[[clang::no_sanitize("coverage")]] void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "level definition: %s\n", what);
    std::abort();
}

[[clang::no_sanitize("coverage")]] bool SameCommand(const CommandStuff& a, const CommandStuff& b) {
    return a.Opcode == b.Opcode && a.Param1 == b.Param1 && a.Param2 == b.Param2 &&
           a.Param3 == b.Param3 && a.Param4 == b.Param4 && a.Param5 == b.Param5 &&
           a.Param6 == b.Param6 && a.Param7 == b.Param7 && a.Param8 == b.Param8 && a.Line == b.Line;
}

[[clang::no_sanitize("coverage")]] void CheckBlocs(const LevelStuff& level) {
    for (const BlocStuff& bloc : level.Blocs) {
        Check(bloc.MeshCount >= 0 && bloc.MeshCount <= kBlocMaxMeshes, "mesh count");
        Check(bloc.FramePosition == 0 ||
                  (bloc.FramePosition > 0 && bloc.FramePosition < bloc.MeshCount),
              "frame position outside the frames");
    }
}

// The clips the load read: the others were put back to their defaults.
[[clang::no_sanitize("coverage")]] void CheckClips(const LevelStuff& level) {
    for (int32_t c = 0; c <= kLastDefinedClip; ++c) {
        if (!level.ClipsRead[static_cast<size_t>(c)]) continue;
        for (const KeyFrameStuff& frame : level.Clips[c].KeyFrames) {
            for (const KeyFrameObjectStuff& slot : frame.Objects) {
                Check(slot.IndexA >= -1 && slot.IndexA < kClipObjectCount, "object index A");
                Check(slot.IndexB >= -1 && slot.IndexB < kClipObjectCount, "object index B");
            }
        }
    }
}

[[clang::no_sanitize("coverage")]] void CheckBehaviours(const LevelStuff& level) {
    CommandStuff again;
    for (const BehaviourTypeStuff& behaviour : level.Behaviours) {
        if (behaviour.BehaviourName.empty()) continue;  // no command to look at
        for (const CommandStuff& command : behaviour.Commands) {
            Check(command.Opcode >= 0 && command.Opcode <= kLastOpcode, "opcode");
            // The slots a line does not write keep what an earlier input left.
            again = command;
            CompileCommandLine(command.Line, again);
            Check(SameCommand(command, again), "a stored line compiles to another command");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzutil::FuzzGameFolder& game = fuzzutil::GameFolderForFuzzing();
    game.ReadFromMemory();
    game.BeginInput();
    Level.LoadedDefinitionFile.clear();  // every input is loaded, not taken as loaded already
    try {
        LoadLevelDefinitionText("definitions\\FUZZ.DEF",
                                std::string(reinterpret_cast<const char*>(data), size), "High",
                                Level, game.Window(), DStuff);
    } catch (const platform::HaltRequested&) {
        // A file of no definition: said as a missing level file is, and the game ends.
        Check(game.messages.texts.size() == 1, "a refused definition without its message");
        return 0;
    }
    CheckBlocs(Level);
    CheckClips(Level);
    CheckBehaviours(Level);
    return 0;
}
