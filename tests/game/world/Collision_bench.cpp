// Benchmark of the collision move: 2048 bodies (the most golems a level holds)
// moved once each through a 64 × 16 × 64 level of cube floor and walls, with
// slopes, conveyors, a few moving blocs and tile animations; and the same with
// one world animation, as one frame of play runs them.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "game/world/Collision.h"
#include "game/world/WorldAnimation.h"
#include "support/Random.h"

namespace {

constexpr int32_t kSizeX = 64, kSizeY = 16, kSizeZ = 64;
constexpr int32_t kBodies = 2048;
constexpr int32_t kFloor = 1, kWall = 2, kBelt = 3, kCrate = 4, kSpark = 5;

struct Bodies {
    std::vector<float> x, y, z, vx, vy, vz;
};

void Put(int32_t x, int32_t y, int32_t z, int32_t type) {
    Level.CellTypes[CellIndex(x, y, z, Level)] = static_cast<uint16_t>(type);
}

void BuildLevel() {
    AllocLevelGrid(kSizeX, kSizeY, kSizeZ, Level);
    for (BlocStuff& bloc : Level.Blocs) {
        bloc.FreeMeshes();
        bloc = BlocStuff{};
        bloc.Collision = 0;  // undefined types, as loaded
    }
    for (int32_t t : {kFloor, kWall, kBelt}) {
        BlocStuff& cube = Level.Blocs[t];
        cube.Undefined = 0, cube.Cube = 1, cube.Collision = 1;
    }
    Level.Blocs[kBelt].SpeedX = 40;
    // Two key frames (without meshes) and no speed: the sparks never end.
    Level.Blocs[kSpark].MeshCount = 2;
    for (int32_t t : {kCrate, kSpark}) {
        BlocStuff& box = Level.Blocs[t];
        box.Undefined = 0, box.Collision = 1;
        box.Xmax = box.Zmax = box.Ymax1 = box.Ymax2 = box.Ymax3 = box.Ymax4 = 512;
    }
    for (int32_t x = 0; x < kSizeX; ++x) {
        for (int32_t z = 0; z < kSizeZ; ++z) {
            Put(x, 0, z, (x + z) % 13 == 0 ? kBelt : kFloor);
            // Walls two cells high every eighth column, with doorways.
            if (x % 8 == 4 && z % 16 < 12) {
                Put(x, 1, z, kWall);
                Put(x, 2, z, kWall);
            }
            // Gentle slopes: the floor's top vertices dip by 10 %.
            if ((x * 7 + z * 3) % 5 == 0) {
                Level.CornerYLayer[CellIndex(x, 0, z, Level)] = 10;
            }
        }
    }
    Level.MovingBlocs.Clear();
    Level.TileAnimations.Clear();
    for (int32_t i = 0; i < 8; ++i) {
        MovingBlocStuff& row = *Level.MovingBlocs.Add();
        row.BlocType = kCrate;
        row.Kind = kMovingOwned;  // moved by behaviours, not by the world animation
        row.X = CellCentre(6 + 7 * i), row.Y = CellCentre(1), row.Z = CellCentre(10 + 5 * i);
        row.VelocityX = 10;
        TileAnimationStuff& anim = *Level.TileAnimations.Add();
        anim.AnimType = kSpark;
        anim.X = CellCentre(9 + 6 * i), anim.Y = CellCentre(1), anim.Z = CellCentre(40 - 4 * i);
    }
    BuildCubeFaces();
    FrameStep = 90;
}

Bodies MakeBodies() {
    Bodies b;
    RandSeed = 12345;
    for (int32_t i = 0; i < kBodies; ++i) {
        b.x.push_back(300.0f + static_cast<float>(Random(kSizeX * 512 - 600)));
        b.z.push_back(300.0f + static_cast<float>(Random(kSizeZ * 512 - 600)));
        // Most stand on the floor; some fall from higher up.
        b.y.push_back(i % 4 == 0 ? 600.0f + static_cast<float>(Random(2000)) : 583.0f);
        b.vx.push_back(static_cast<float>(Random(61)) - 30.0f);
        b.vz.push_back(static_cast<float>(Random(61)) - 30.0f);
        b.vy.push_back(-24.0f);
    }
    return b;
}

void MoveAll(const Bodies& start, Bodies& now) {
    now.x = start.x, now.y = start.y, now.z = start.z;
    for (int32_t i = 0; i < kBodies; ++i) {
        MoveWithCollision(now.x[i], now.y[i], now.z[i], start.vx[i], start.vy[i], start.vz[i], 130,
                          140, 80);
    }
}

void MoveBodies(benchmark::State& state) {
    BuildLevel();
    const Bodies start = MakeBodies();
    Bodies now = start;
    for (auto _ : state) {
        MoveAll(start, now);
        benchmark::DoNotOptimize(now.y.data());
    }
    state.SetItemsProcessed(state.iterations() * kBodies);
}

BENCHMARK(MoveBodies)->Unit(benchmark::kMicrosecond);

void MoveBodiesAndAnimateWorld(benchmark::State& state) {
    BuildLevel();
    const Bodies start = MakeBodies();
    Bodies now = start;
    for (auto _ : state) {
        MoveAll(start, now);
        AnimateWorld(Level);
        benchmark::DoNotOptimize(now.y.data());
    }
}

BENCHMARK(MoveBodiesAndAnimateWorld)->Unit(benchmark::kMicrosecond);

void AnimateWorldAlone(benchmark::State& state) {
    BuildLevel();
    for (auto _ : state) AnimateWorld(Level);
}

BENCHMARK(AnimateWorldAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
