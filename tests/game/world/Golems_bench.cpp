// Benchmark of the golems' frame: ThinkGolems and MoveGolems with the most
// golems a level holds (2048) on a 64 × 16 × 64 level of cube floor and
// walls, the hero in the middle. The golems reach across the whole level, so
// every one that has the hero in its view walks to it (with its sight walk,
// collision move, walk animation and overlap test); the others turn until
// they see it. Every 50 frames the golems are put back where they started,
// outside the timing, so that the crowd around the hero never settles.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/G3DMesh.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "game/world/Golems.h"

namespace {

constexpr int32_t kSizeX = 64, kSizeY = 16, kSizeZ = 64;
constexpr int32_t kFloor = 1, kWall = 2, kGolem = 3;
constexpr int32_t kMeshVertices = 32, kMeshFaces = 24;
constexpr int32_t kFramesPerRun = 50;

bool IsWall(int32_t x, int32_t z) { return x % 8 == 4 && z % 16 < 12; }

void Put(int32_t x, int32_t y, int32_t z, int32_t type) {
    Level.CellTypes[CellIndex(x, y, z, Level)] = static_cast<uint16_t>(type);
}

void MakeMesh(TG3DMesh*& mesh, int32_t key) {
    G3DAllocMesh(mesh, kMeshVertices - 1, kMeshFaces - 1);
    for (int32_t v = 0; v < kMeshVertices; ++v) {
        mesh->X[v] = v * 7 + key * 31;
        mesh->Y[v] = v * 3 - key * 17;
        mesh->Z[v] = v * 5 + key * 11;
    }
}

void MakeGolemType() {
    BlocStuff& b = Level.Blocs[kGolem];
    b.Undefined = 0, b.Golem = 1, b.Collision = 0;
    b.Xmin = b.Zmin = 116, b.Xmax = b.Zmax = 396;
    b.Ymin = 106, b.Ymax1 = b.Ymax2 = b.Ymax3 = b.Ymax4 = 256;
    b.ExtentX = b.ExtentZ = 280, b.ExtentY = 150;
    GolemTypeStuff& t = b.GolemType;
    MakeMesh(t.MeshStand, 0);
    for (int32_t f = 1; f <= 4; ++f) {
        MakeMesh(*t.WalkMesh(f), f);
        MakeMesh(*t.BlockMesh(f), 4 + f);
    }
    t.FollowingDistanceMax = kSizeX * 512;
}

void BuildLevel() {
    AllocLevelGrid(kSizeX, kSizeY, kSizeZ, Level);
    for (BlocStuff& bloc : Level.Blocs) {
        bloc.FreeMeshes();
        bloc = BlocStuff{};
    }
    for (int32_t t : {kFloor, kWall}) {
        BlocStuff& cube = Level.Blocs[t];
        cube.Undefined = 0, cube.Cube = 1, cube.Collision = 1;
    }
    MakeGolemType();
    for (int32_t x = 0; x < kSizeX; ++x) {
        for (int32_t z = 0; z < kSizeZ; ++z) {
            Put(x, 0, z, kFloor);
            // Walls two cells high every eighth column, with doorways.
            if (IsWall(x, z)) {
                Put(x, 1, z, kWall);
                Put(x, 2, z, kWall);
            }
        }
    }
    Level.MovingBlocs.Clear();
    Level.TileAnimations.Clear();
    BuildCubeFaces();
    DepthOfView = 14;
    CurrentHero = LastHero = 0;
    Heroes[0].X = CellCentre(kSizeX / 2), Heroes[0].Y = 753, Heroes[0].Z = CellCentre(kSizeZ / 2);
}

// A golem on every other free cell of the floor (then on the cells between,
// up to the list's capacity), facing every way.
std::vector<GolemStuff> StartingGolems() {
    std::vector<GolemStuff> golems;
    for (int32_t parity = 0; parity < 2; ++parity) {
        for (int32_t z = 0; z < kSizeZ; ++z) {
            for (int32_t x = 0; x < kSizeX; ++x) {
                if ((x + z) % 2 != parity || IsWall(x, z) || golems.size() >= kMaxGolems) continue;
                GolemStuff g;
                g.GolemBloc = kGolem;
                g.X = CellCentre(x), g.Y = 663, g.Z = CellCentre(z);
                g.CellX = x, g.CellY = 1, g.CellZ = z;
                g.Heading = g.WantedHeading = static_cast<float>((x * 7 + z * 13) % 32 * 1024);
                g.TargetX = g.X, g.TargetY = g.Y, g.TargetZ = g.Z;
                g.OutOfSight = 1;
                golems.push_back(g);
            }
        }
    }
    return golems;
}

void PutGolems(const std::vector<GolemStuff>& start) {
    Level.Golems.Clear();
    for (const GolemStuff& g : start) {
        if (GolemStuff* added = Level.Golems.Add()) *added = g;
    }
}

template <typename Frame>
void RunFrames(benchmark::State& state, Frame frame) {
    BuildLevel();
    const std::vector<GolemStuff> start = StartingGolems();
    PutGolems(start);
    FrameStep = 20;
    FrameTime = 100000;
    int32_t frames = 0;
    for (auto _ : state) {
        if (++frames % kFramesPerRun == 0) {
            state.PauseTiming();
            PutGolems(start);
            state.ResumeTiming();
        }
        FrameTime += 20;
        frame();
    }
    state.counters["golems"] = static_cast<double>(Level.GolemCount());
    Level.Golems.Clear();
}

void ThinkAndMoveGolems(benchmark::State& state) {
    RunFrames(state, [] {
        ThinkGolems(Level);
        MoveGolems(Level);
    });
}
BENCHMARK(ThinkAndMoveGolems)->Unit(benchmark::kMicrosecond);

void ThinkGolemsAlone(benchmark::State& state) {
    RunFrames(state, [] { ThinkGolems(Level); });
}
BENCHMARK(ThinkGolemsAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
