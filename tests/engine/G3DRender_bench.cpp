// Benchmark of the engine's hot path: a frame's render list built from a scene
// of cube meshes (100,000 triangles kept after back-face removal) with point
// lights, then sorted by depth.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/G3DCamera.h"
#include "engine/G3DRender.h"

namespace {

// A 512-unit cube around its centre: 8 vertices, 12 single-sided faces
// wound so that the outside faces are kept.
TG3DMesh* MakeCube() {
    TG3DMesh* cube = nullptr;
    G3DAllocMesh(cube, 7, 11);
    for (int i = 0; i < 8; ++i) {
        cube->X[i] = (i & 1) ? 256 : -256;
        cube->Y[i] = (i & 2) ? 256 : -256;
        cube->Z[i] = (i & 4) ? 256 : -256;
    }
    // Quads as (a, b, c, d) seen from outside, split (a, b, c) and (c, d, a).
    const uint16_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                  {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (int q = 0; q < 6; ++q) {
        const uint16_t* v = quads[q];
        cube->Faces[2 * q] = {v[0], v[1], v[2], 1, 0, 0, 0, 0};
        cube->Faces[2 * q + 1] = {v[2], v[3], v[0], 1, 1, 0, 0, 0};
    }
    return cube;
}

struct Scene {
    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
    TG3DMesh* cube = MakeCube();
    std::vector<std::array<int32_t, 3>> positions;
    Scene() {
        G3DSetViewport(*state, 320, 240, 256, 256, 64, 1, 4, 100000);
        for (int x = -13; x < 13; ++x) {
            for (int y = -13; y < 13; ++y) {
                for (int z = -13; z < 13; ++z) {
                    if (x == 0 && y == 0 && z == 0) continue;
                    positions.push_back({x * 700 + 350, y * 700 + 350, z * 700 + 350});
                }
            }
        }
    }
    ~Scene() { G3DFreeMesh(cube); }
    // One frame: camera, lights, meshes until the list holds 100,000 triangles.
    void Build(int lights) {
        G3DSetCamera(0, 0, 0, 1000, 300, 0, *state);
        for (int i = 0; i < lights; ++i) {
            G3DAddLight((i % 4) * 256 * 4, (i / 4) * 256 * 3, 256 * 5, 3000, *state);
        }
        for (const auto& p : positions) {
            if (state->TriangleCount >= 100000) break;
            G3DDrawMesh(cube, p[0], p[1], p[2], 0, 0, 0, 64, 0, -1, *state);
        }
    }
};

void BuildAndSort(benchmark::State& bench) {
    Scene scene;
    const int lights = static_cast<int>(bench.range(0));
    for (auto _ : bench) {
        scene.Build(lights);
        benchmark::DoNotOptimize(scene.state->TriangleCount);
        G3DFlush(*scene.state);  // sort; the null backend draws nothing
    }
    scene.Build(lights);
    bench.counters["triangles"] = scene.state->TriangleCount;
}
BENCHMARK(BuildAndSort)->Arg(0)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

void SortOnly(benchmark::State& bench) {
    Scene scene;
    scene.Build(8);
    const int32_t count = scene.state->TriangleCount;
    for (auto _ : bench) {
        for (int32_t i = 0; i < count; ++i) {
            scene.state->SortBuffer[i] = {i, scene.state->RenderList[i].Key};
        }
        G3DSortTriangles(0, count - 1, *scene.state);
        benchmark::DoNotOptimize(scene.state->SortBuffer.data());
    }
}
BENCHMARK(SortOnly)->Unit(benchmark::kMillisecond);

// Keys already in order, as a scene walked in grid order nearly gives them.
void SortPresorted(benchmark::State& bench) {
    Scene scene;
    const int32_t count = static_cast<int32_t>(bench.range(0));
    scene.state->SortBuffer.resize(std::max<size_t>(scene.state->SortBuffer.size(), count));
    const bool descending = bench.range(1) != 0;
    for (auto _ : bench) {
        for (int32_t i = 0; i < count; ++i) {
            scene.state->SortBuffer[i] = {i, descending ? count - i : i};
        }
        G3DSortTriangles(0, count - 1, *scene.state);
        benchmark::DoNotOptimize(scene.state->SortBuffer.data());
    }
}
BENCHMARK(SortPresorted)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
