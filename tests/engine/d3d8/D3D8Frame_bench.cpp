// Frames per second of the engine over the software device at 640 × 480 in a
// hidden window (run under an X server): a textured floor of 40 × 40 cells,
// rows of textured cubes in front of the camera, half of them see-through,
// ten HUD overlays, and the present into the window.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/G3D3DFile.h"
#include "engine/G3DCamera.h"
#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"
#include "engine/G3DRender.h"
#include "engine/d3d8/D3D8Device.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "tests/engine/TestFiles.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

// A 128 × 128 picture of stripes.
std::string Stripes() {
    std::string data;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) data.push_back(static_cast<char>(1 + (x / 16 + y / 16) % 4));
    }
    std::string palette(1, 12);
    for (int i = 0; i < 256; ++i) {
        for (int c : {i * 37 % 256, i * 91 % 256, i * 53 % 256})
            palette.push_back(static_cast<char>(c));
    }
    return enginetest::MakePcx(128, 128, enginetest::PlainRuns({data.begin(), data.end()}),
                               palette);
}

TG3DMesh* Cube(uint16_t transparency) {
    TG3DMesh* cube = nullptr;
    G3DAllocMesh(cube, 7, 11);
    for (int i = 0; i < 8; ++i) {
        cube->X[i] = (i & 1) ? 200 : -200;
        cube->Y[i] = (i & 2) ? 200 : -200;
        cube->Z[i] = (i & 4) ? 200 : -200;
    }
    const uint16_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                  {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (int q = 0; q < 6; ++q) {
        const uint16_t* v = quads[q];
        cube->Faces[2 * q] = {v[0], v[1], v[2], 1, 0, 1, 0, transparency};
        cube->Faces[2 * q + 1] = {v[2], v[3], v[0], 1, 1, 1, 0, transparency};
    }
    return cube;
}

TG3DMesh* Floor() {
    constexpr int kCells = 40, kCell = 512;
    TG3DMesh* floor = nullptr;
    G3DAllocMesh(floor, (kCells + 1) * (kCells + 1) - 1, kCells * kCells * 2 - 1);
    for (int z = 0; z <= kCells; ++z) {
        for (int x = 0; x <= kCells; ++x) {
            const int i = z * (kCells + 1) + x;
            floor->X[i] = (x - kCells / 2) * kCell;
            floor->Y[i] = -300;
            floor->Z[i] = (z - 2) * kCell;
        }
    }
    for (int z = 0; z < kCells; ++z) {
        for (int x = 0; x < kCells; ++x) {
            const uint16_t a = static_cast<uint16_t>(z * (kCells + 1) + x);
            const uint16_t b = a + 1, c = a + kCells + 2, d = a + kCells + 1;
            floor->Faces[2 * (z * kCells + x)] = {a, b, c, 1, 0, 1, 0, 0};
            floor->Faces[2 * (z * kCells + x) + 1] = {c, d, a, 1, 1, 1, 0, 0};
        }
    }
    return floor;
}

void BM_Frame(benchmark::State& state) {
    if (!platform::Application::Instance().Initialise()) {
        state.SkipWithError("no display");
        return;
    }
    platform::WindowSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.visible = false;
    settings.surface = platform::Surface::Software;
    auto window = std::make_unique<platform::Window>(settings);
    auto engine = std::make_unique<TDStuff>();
    G3DInit(kWidth, kHeight, *engine, *window);
    enginetest::ScratchFolder folder;
    const std::string picture = folder.Write("stripes.pcx", Stripes());
    G3DLoad3DFile(folder.Write("bench.3d", "#IMAGES\n1=" + picture + "\n#TEXTURES\n1=1-1\n"),
                  *engine);
    G3DLoadImage(3, picture, *engine);
    TG3DMesh *floor = Floor(), *solid = Cube(0), *glass = Cube(50);
    for (auto _ : state) {
        G3DClearScreen(0, *engine);
        G3DSetCamera(0, 200, 0, 700, -900, 0, *engine);
        G3DAddLight(0, 0, 256 * 2000, 3000, *engine);
        G3DDrawMesh(floor, 0, 0, 0, 0, 0, 0, 128, 0, -1, *engine);
        for (int row = 0; row < 6; ++row) {
            for (int column = -6; column <= 6; ++column) {
                G3DDrawMesh(column % 2 == 0 ? solid : glass, column * 700, 0, 1500 + row * 1200,
                            row * 900, 0, 0, 200, 0, -1, *engine);
            }
        }
        G3DFlush(*engine);
        for (int i = 0; i < 10; ++i) {
            G3DDrawImage(3, true, 0, 0.02f + i * 0.09f, 0.88f, 0.08f, 0.1f, *engine);
        }
        G3DPresent(*window, 0, 0, kWidth, kHeight, *engine);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bands"] = G3DD3D8Device() ? G3DD3D8Device()->RasterBands() : 0;
    for (TG3DMesh* m : {floor, solid, glass}) G3DFreeMesh(m);
    G3DD3D8Release();
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
