// Benchmark of the world's frame: one AnimateWorld on a level whose lists are
// full (4096 moving blocs, 4096 tile animations) and whose 257 bloc types all
// play key frames, with 0, 256 or all of the moving blocs in flight (the rest
// owned by behaviours, which the animation leaves alone); and the same frame
// after 2048 bodies were moved with MoveWithCollision, as golems, behaviours
// and the hero are. The level is in a steady state: nothing ends, so every
// iteration does the same work.
#include <benchmark/benchmark.h>

#include "engine/G3DMesh.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/world/Collision.h"
#include "game/world/WorldAnimation.h"

namespace {

constexpr int32_t kSide = 64, kHeight = 8;
constexpr int32_t kFloor = 1, kStone = 2, kBullet = 3;
constexpr int32_t kMeshVertices = 32, kMeshFaces = 24;
constexpr int32_t kRows = 4096;
constexpr int32_t kBodies = 2048;

// Four key meshes per type, every type blended and with animated bounds.
void MakeTypes() {
    for (int32_t t = 0; t < kBlocTypeCount; ++t) {
        BlocStuff& bloc = Level.Blocs[t];
        bloc.FreeMeshes();
        bloc = BlocStuff{};
        bloc.Undefined = t == 0 ? 1 : 0;
        bloc.Collision = t == kFloor || t == kStone ? 1 : 0;
        bloc.Xmin = bloc.Ymin = bloc.Zmin = 128;
        bloc.Xmax = bloc.Zmax = bloc.Ymax1 = bloc.Ymax2 = bloc.Ymax3 = bloc.Ymax4 = 384;
        for (int32_t f = 0; f < 4; ++f) {
            G3DAllocMesh(bloc.Meshes[f], kMeshVertices - 1, kMeshFaces - 1);
            for (int32_t v = 0; v < kMeshVertices; ++v) {
                bloc.Meshes[f]->X[v] = v * 7 + f * 31;
                bloc.Meshes[f]->Y[v] = v * 3 - f * 17;
                bloc.Meshes[f]->Z[v] = v * 5 + f * 11;
            }
            bloc.FrameXmin[f] = bloc.FrameYmin[f] = bloc.FrameZmin[f] = 128 - f;
            bloc.FrameXmax[f] = bloc.FrameZmax[f] = bloc.FrameYmax1[f] = 384 + f;
            bloc.FrameYmax2[f] = bloc.FrameYmax3[f] = bloc.FrameYmax4[f] = 384 + f;
        }
        bloc.MeshCount = 4;
        bloc.Morph = t % 2 == 0;  // half blended, half copied
        bloc.AnimateCollision = 1;
        // Tile animations use types 128 and up: they hold their frame.
        bloc.Speed = t >= 128 ? 0.0f : 0.3f;
        bloc.FramePosition = 1.5f;
    }
    Level.Blocs[kFloor].Xmin = Level.Blocs[kFloor].Ymin = Level.Blocs[kFloor].Zmin = 0;
    Level.Blocs[kFloor].Xmax = Level.Blocs[kFloor].Zmax = Level.Blocs[kFloor].Ymax1 = 512;
    Level.Blocs[kFloor].AnimateCollision = 0;
    Level.Blocs[kBullet].BulletDuration = -1;
}

// Cell centre of the n-th of the cells of row y.
float CentreX(int32_t n) { return CellCentre(n % kSide); }
float CentreZ(int32_t n) { return CellCentre(n / kSide % kSide); }

// Fills the level: a floor, 4096 tile animations and 4096 moving blocs of
// which `flying` are launched blocs resting on the floor and projectiles at
// rest in the air (each costs one MoveWithCollision), every one in a cell of
// its own.
void MakeLevel(int32_t flying) {
    AllocLevelGrid(kSide, kHeight, kSide, Level);
    MakeTypes();
    for (int32_t x = 0; x < kSide; ++x) {
        for (int32_t z = 0; z < kSide; ++z) SetCellType(x, 0, z, kFloor);
    }
    Level.TileAnimations.Clear();
    Level.MovingBlocs.Clear();
    for (int32_t i = 0; i < kRows; ++i) {
        TileAnimationStuff& tile = *Level.TileAnimations.Add();
        tile.X = CentreX(i), tile.Y = CellCentre(5), tile.Z = CentreZ(i);
        tile.AnimType = 128 + i % 129;
        tile.FramePosition = 1.5f;
        G3DCopyMesh(Level.Blocs[tile.AnimType].Meshes[0], tile.AnimMesh);
    }
    for (int32_t i = 0; i < kRows; ++i) {
        MovingBlocStuff& row = *Level.MovingBlocs.Add();
        row.X = CentreX(i), row.Z = CentreZ(i);
        row.StartTime = FrameTime;
        if (i >= flying) {
            row.Kind = kMovingOwned, row.BlocType = kStone, row.Y = CellCentre(3);
        } else if (i % 2 == 0) {
            row.Kind = kMovingLaunched, row.BlocType = kStone, row.Y = 767;
        } else {
            row.Kind = kMovingProjectile, row.BlocType = kBullet, row.Y = CellCentre(2);
        }
        row.StartX = row.X, row.StartY = row.Y, row.StartZ = row.Z;
    }
    FrameTime = 100000;
    GameTime = 100000;
    FrameStep = 90;
    AnimateWorld(Level);  // into the steady state
}

void AnimateFullLevel(benchmark::State& state) {
    MakeLevel(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        FrameStep = 90;
        AnimateWorld(Level);
        benchmark::DoNotOptimize(Level.TileAnimations[kRows - 1].AnimMesh->X[0]);
    }
    if (Level.TileAnimationHigh() != kRows - 1 || Level.MovingBlocHigh() != kRows - 1) {
        state.SkipWithError("the level did not stay in its steady state");
    }
}

BENCHMARK(AnimateFullLevel)->Arg(0)->Arg(256)->Arg(kRows)->Unit(benchmark::kMicrosecond);

// 2048 bodies of golem size walking over the floor, each moved once from the
// same place, then one frame of the world.
void MoveBodiesAndAnimate(benchmark::State& state) {
    MakeLevel(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        for (int32_t b = 0; b < kBodies; ++b) {
            float x = CentreX(b) + 100, y = 512 + 71, z = CentreZ(b) + 100;
            MoveWithCollision(x, y, z, 12, -20, 7, 130, 140, 51);
            benchmark::DoNotOptimize(x);
        }
        FrameStep = 90;
        AnimateWorld(Level);
    }
}

BENCHMARK(MoveBodiesAndAnimate)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
