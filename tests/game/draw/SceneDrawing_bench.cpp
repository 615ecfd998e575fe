// Benchmark of the scene frame: the demo game's first level, read from a
// scratch copy of the demo folder, drawn with the backend it is linked with
// (OpenGL, or the software device when built with PLAYER_SOFTWARE_SURFACE) for 600
// frames at 640 × 480 along a fixed camera path (a circle of four cells'
// radius around the level's centre, looking across it, once round), at view
// depth 14. Each frame runs the scene drawing (world animation and scene
// build), the flush (depth sort and drawing) and the present. The engine's
// calls into the backend are timed on their own (the linker wraps them, see
// tests/game/CMakeLists.txt), so that the CPU time outside the backend, the
// simulation, scene build and sort, is told apart from the backend's.
// Run under an X server: SceneDrawing_bench [demo folder].
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/G3DEngine.h"
#include "engine/G3DRender.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/draw/SceneDrawing.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"
#include "game/level/SaveGames.h"
#include "game/world/BlocShapes.h"
#include "platform/fs/PathResolver.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "tests/common/ScratchFolder.h"

namespace {

constexpr int32_t kFrames = 600;
constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int32_t kViewDepth = 14;
constexpr int32_t kFrameMs = 16;  // game time per frame
constexpr double kPathRadius = 2048;
constexpr double kTwoPi = 6.283185307179586;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Time spent inside the backend since the last Take.
double backendMs = 0;
double TakeBackendMs() {
    const double ms = backendMs;
    backendMs = 0;
    return ms;
}

class BackendTimer {
  public:
    BackendTimer() : start_(Clock::now()) {}
    ~BackendTimer() { backendMs += Ms(Clock::now() - start_); }
    BackendTimer(const BackendTimer&) = delete;
    BackendTimer& operator=(const BackendTimer&) = delete;

  private:
    Clock::time_point start_;
};

}  // namespace

// The backend entry points the engine and the scene drawing call during a
// frame, wrapped by the linker (-Wl,--wrap=<mangled name>).
extern "C" {
void __real__Z14G3DClearScreenhR7TDStuff(uint8_t index, TDStuff& state);
void __real__Z19G3DBackendSetCameraR7TDStuff(TDStuff& state);
void __real__Z18G3DBackendDrawListR7TDStuffi(TDStuff& state, int32_t count);

void __wrap__Z14G3DClearScreenhR7TDStuff(uint8_t index, TDStuff& state) {
    const BackendTimer timer;
    __real__Z14G3DClearScreenhR7TDStuff(index, state);
}
void __wrap__Z19G3DBackendSetCameraR7TDStuff(TDStuff& state) {
    const BackendTimer timer;
    __real__Z19G3DBackendSetCameraR7TDStuff(state);
}
void __wrap__Z18G3DBackendDrawListR7TDStuffi(TDStuff& state, int32_t count) {
    const BackendTimer timer;
    __real__Z18G3DBackendDrawListR7TDStuffi(state, count);
}
}

namespace {

struct Totals {
    double scene = 0;    // DrawScene outside the backend
    double sceneGL = 0;  // the clears and the camera's projection inside DrawScene
    double sort = 0;     // G3DFlush outside the backend
    double draw = 0;     // the backend's drawing of the sorted list
    double present = 0;
    double wall = 0;
    int64_t triangles = 0;
};

void Frame(int32_t frame, platform::Window& window, Totals& totals) {
    FrameTime += kFrameMs;
    GameTime = static_cast<float>(FrameTime);
    FrameStep = kFrameMs;
    const double turn = static_cast<double>(frame) / kFrames;
    const double x = Level.SizeX * 256.0 + kPathRadius * std::sin(turn * kTwoPi);
    const double z = Level.SizeZ * 256.0 + kPathRadius * std::cos(turn * kTwoPi);
    const float y = CellCentre(Level.StartY) + 100;
    // Looking across the level's centre.
    const float yaw = static_cast<float>(turn * 32768.0 + 16384.0);
    const float light = static_cast<float>((kViewDepth + 1) * 512);
    TakeBackendMs();
    const Clock::time_point t0 = Clock::now();
    DrawScene(-1, -1, -1, static_cast<float>(x), y, static_cast<float>(z), yaw, 0, 0, light, Level,
              DStuff, window);
    const Clock::time_point t1 = Clock::now();
    const double sceneGL = TakeBackendMs();
    totals.triangles += DStuff.TriangleCount;
    G3DFlush(DStuff);
    const Clock::time_point t2 = Clock::now();
    const double draw = TakeBackendMs();
    G3DPresent(window, 0, 0, kWidth, kHeight, DStuff);
    const Clock::time_point t3 = Clock::now();
    totals.scene += Ms(t1 - t0) - sceneGL;
    totals.sceneGL += sceneGL;
    totals.sort += Ms(t2 - t1) - draw;
    totals.draw += draw;
    totals.present += Ms(t3 - t2);
}

void Report(const Totals& t) {
    const double n = kFrames;
    std::printf("%d frames at %d x %d, view depth %d, %.0f triangles a frame\n", kFrames, kWidth,
                kHeight, kViewDepth, static_cast<double>(t.triangles) / n);
    std::printf("frames per second: %.1f\n", n * 1000.0 / t.wall);
    std::printf("CPU outside the backend per frame: %.3f ms\n", (t.scene + t.sort) / n);
    std::printf("  simulation and scene build: %.3f ms\n", t.scene / n);
    std::printf("  depth sort: %.3f ms\n", t.sort / n);
    std::printf("backend per frame: %.3f ms\n", (t.sceneGL + t.draw + t.present) / n);
    std::printf("  clears and projection: %.3f ms\n", t.sceneGL / n);
    std::printf("  drawing the list: %.3f ms\n", t.draw / n);
    std::printf("  present: %.3f ms\n", t.present / n);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string demo = argc > 1 ? argv[1] : PLAYER_DEMO_FOLDER;
    platform::Application::Instance().Initialise();
    const testutil::ScratchFolder scratch;
    if (!CopyGameFolder(demo, scratch.Root())) {
        std::fprintf(stderr, "cannot copy the demo game from %s\n", demo.c_str());
        return 1;
    }
    platform::fs::SetCurrentFolder(scratch.Root());
    InitGameGlobals(argv[0]);
    ReadGameSection();
    platform::WindowSettings settings;
    settings.title = "SceneDrawing_bench";
    settings.width = kWidth, settings.height = kHeight;
#ifdef PLAYER_SOFTWARE_SURFACE
    settings.surface = platform::Surface::Software;
#else
    settings.surface = platform::Surface::OpenGL;
#endif
    platform::Window window(settings);
    G3DInit(kWidth, kHeight, DStuff, window);
    BuildCubeFaces();
    ReadLevelState("LEVEL\\" + StartLevel, "High", Level, window, DStuff);
    DepthOfView = VerticalDepthOfView = kViewDepth;
    Totals totals;
    const Clock::time_point start = Clock::now();
    for (int32_t f = 0; f < kFrames; ++f) Frame(f, window, totals);
    totals.wall = Ms(Clock::now() - start);
    Report(totals);
    return 0;
}
