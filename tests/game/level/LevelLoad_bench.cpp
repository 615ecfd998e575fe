// Level change cost: reading a 64 × 16 × 64 level file whose lists are all
// full, with its definition file (257 bloc types, a quarter of them with four
// mesh frames) either loaded already or loaded anew. Runs under an X server.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/G3DState.h"
#include "game/level/CellGrid.h"
#include "game/GameClock.h"
#include "game/level/LevelDefinition.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"
#include "tests/engine/TestFiles.h"
#include "tests/game/LevelTestWorld.h"

namespace {

std::string DefinitionText() {
    std::string text = "[General]\nHero=frame.msh\nShadow=frame.msh\n";
    for (int32_t n = 1; n < kBlocTypeCount; ++n) {
        text += "[Object " + std::to_string(n) + "]\nName=Type" + std::to_string(n) + "\n";
        if (n % 4 == 0) {
            text +=
                "Cube=FALSE\nMesh1=frame.msh\nMesh2=frame.msh\nMesh3=frame.msh\n"
                "Mesh4=frame.msh\nYmax=400\nSpeed=0.5\n";
        } else {
            text += "Cube=TRUE\nFaceATexture=3\nDoor=TRUE\nCollision=TRUE\n";
        }
        if (n % 50 == 0) text += "Golem=TRUE\nMeshWalk1=frame.msh\n";
    }
    return text;
}

// A mesh of 100 vertices and 50 faces.
std::string FrameMesh() {
    TG3DMesh mesh;
    mesh.LastVertex = 99;
    mesh.LastFace = 49;
    for (int32_t v = 0; v < 100; ++v) {
        mesh.X.push_back(v * 5 - 250);
        mesh.Y.push_back((v * 37) % 512 - 256);
        mesh.Z.push_back((v * 11) % 512 - 256);
    }
    for (uint16_t f = 0; f < 50; ++f)
        mesh.Faces.push_back({f, uint16_t(f + 1), uint16_t(f + 2), 0, 0, 0, 3, 0});
    return enginetest::MeshFileBytes(mesh);
}

void FillLevel() {
    AllocLevelGrid(64, 16, 64, Level);
    for (int32_t i = 0; i < Level.CellCount; ++i) {
        Level.CellTypes[i] = static_cast<uint16_t>(i % 7 == 0 ? (i * 13) % 256 + 1 : 0);
        Level.LightLayer[i] = static_cast<uint8_t>(i);
    }
    Level.DefinitionFile = "def.ini";
    Level.TileAnimations.SetHigh(kListRows - 1);
    for (TileAnimationStuff& row : Level.TileAnimations) row.AnimType = 4;
    Level.DugCells.SetHigh(kListRows - 1);
    Level.Golems.SetCount(kMaxGolems);
    for (GolemStuff& golem : Level.Golems) golem.GolemBloc = 50, golem.X = 1000;
    Level.MovingBlocs.SetHigh(kListRows - 1);
    for (MovingBlocStuff& row : Level.MovingBlocs) row.BlocType = 8;
    Level.BehaviourInstances.SetCount(kMaxBehaviourInstances);
}

struct BenchWorld : leveltest::LevelTestWorld {
    BenchWorld() {
        folder.Write("frame.msh", FrameMesh());
        folder.Write("def.ini", DefinitionText());
        FillLevel();
        WriteLevelState(folder.Path("big.lvl"), Level);
    }
};

BenchWorld& World() {
    static BenchWorld world;
    return world;
}

// A level change between levels that share their definition.
void BM_ReadLevelStateSameDefinition(benchmark::State& state) {
    BenchWorld& world = World();
    const std::string path = world.folder.Path("big.lvl");
    ReadLevelState(path, "High", Level, *world.window, DStuff);
    for (auto _ : state) {
        ReadLevelState(path, "High", Level, *world.window, DStuff);
        benchmark::DoNotOptimize(Level.CellTypes.get());
    }
}
BENCHMARK(BM_ReadLevelStateSameDefinition)->Unit(benchmark::kMillisecond);

// A level change that loads the definition too (meshes, behaviours, clips).
void BM_ReadLevelStateNewDefinition(benchmark::State& state) {
    BenchWorld& world = World();
    const std::string path = world.folder.Path("big.lvl");
    for (auto _ : state) {
        Level.LoadedDefinitionFile.clear();
        ReadLevelState(path, "High", Level, *world.window, DStuff);
        benchmark::DoNotOptimize(Level.Blocs[4].Meshes[0]);
    }
}
BENCHMARK(BM_ReadLevelStateNewDefinition)->Unit(benchmark::kMillisecond);

// The definition load alone.
void BM_LoadLevelDefinition(benchmark::State& state) {
    BenchWorld& world = World();
    for (auto _ : state) {
        Level.LoadedDefinitionFile.clear();
        LoadLevelDefinition("def.ini", "High", Level, *world.window, DStuff);
        benchmark::DoNotOptimize(Level.Blocs[4].Meshes[0]);
    }
}
BENCHMARK(BM_LoadLevelDefinition)->Unit(benchmark::kMillisecond);

// Writing the level left.
void BM_WriteLevelState(benchmark::State& state) {
    BenchWorld& world = World();
    const std::string path = world.folder.Path("out.lvl");
    for (auto _ : state) benchmark::DoNotOptimize(WriteLevelState(path, Level));
}
BENCHMARK(BM_WriteLevelState)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
