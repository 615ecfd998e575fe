// Benchmark of the behaviour interpreter: one play frame of RunBehaviours with
// 2048 live instances, each owning a bloc, on a 64 × 16 × 64 level. The mix:
// waits (for the hero, on a delay), timed glides up and down, and box walks
// that change light and orientation bytes of 27 cells. The argument is the
// number of those instances that push their blocs under collision instead:
// each push tests every moving bloc of the level (2048 here), so that they,
// not the interpreter, set the cost of a frame that has many of them.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/script/BehaviourInterpreter.h"
#include "game/script/Behaviours.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"

namespace {

constexpr int32_t kFloor = 1, kMover = 2;

void Script(int32_t number, const std::vector<std::string>& lines) {
    BehaviourTypeStuff& b = Level.Behaviours[number];
    b.BehaviourName = "bench";
    for (CommandStuff& c : b.Commands) c = CommandStuff{};
    for (size_t i = 0; i < lines.size(); ++i) {
        CompileCommandLine(lines[i], b.Commands[static_cast<int32_t>(i)]);
    }
}

// The level, its behaviours and 2048 instances, `pushers` of them (spread over
// the list) running the push behaviour.
void BuildLevel(int32_t pushers) {
    Level.MovingBlocs.Clear();
    Level.BehaviourInstances.Clear();
    Level.TileAnimations.Clear();
    AllocLevelGrid(64, 16, 64, Level);
    for (BlocStuff& bloc : Level.Blocs) {
        bloc = BlocStuff{};
        bloc.Collision = 0;
    }
    for (int32_t t : {kFloor, kMover}) {
        BlocStuff& b = Level.Blocs[t];
        b.Undefined = 0;
        b.Collision = 1;
        b.Xmin = b.Ymin = b.Zmin = 16;
        b.Xmax = b.Zmax = b.Ymax1 = b.Ymax2 = b.Ymax3 = b.Ymax4 = 496;
    }
    for (int32_t x = 0; x < 64; ++x) {
        for (int32_t z = 0; z < 64; ++z) SetCellType(x, 0, z, kFloor);
    }
    Script(0, {"WAITFORPLAYER (-1,0,-1),(1,1,1)", "GOTO 0"});
    Script(1, {"DELAY 700", "GOTO 0"});
    Script(2, {"MOVETO (0,2,0),0,1000", "MOVETO (0,-2,0),0,1000", "GOTO 0"});
    Script(3, {"ADDLIGHT 1,(-1,0,-1),(1,2,1)", "ADDROTATION 1,(-1,-1,-1),(1,1,1)", "GOTO 0"});
    Script(4, {"MOVEUNTILBLOCKED (30,0,0)", "MOVEUNTILBLOCKED (-30,0,0)", "GOTO 0"});
    for (int32_t i = 0; i < kMaxBehaviourInstances; ++i) {
        const int32_t x = i % 64, z = i / 64 * 2, y = 1 + i % 3 * 4;
        SetCellType(x, y, z, kMover);
        const bool pushes = pushers > 0 && i % (kMaxBehaviourInstances / pushers) == 0;
        const int32_t behaviour = pushes ? 4 : i % 4;
        AddBehaviour(behaviour, x, y, z, 100, Level);
    }
    HeroStuff& h = Heroes[CurrentHero];
    h.X = h.Z = -100000, h.Y = 768;  // never in reach of the waits
}

void RunBehavioursFrame(benchmark::State& state) {
    const auto pushers = static_cast<int32_t>(state.range(0));
    platform::Application::Instance().Initialise();
    platform::WindowSettings settings;
    settings.visible = false;
    platform::Window window(settings);
    BuildLevel(pushers);
    FrameTime = 10000;
    for (auto _ : state) {
        FrameTime += 16;
        GameTime = static_cast<float>(FrameTime);
        FrameStep = 16;
        RunBehaviours(Level, window);
    }
    benchmark::DoNotOptimize(Level.MovingBlocs[0].Y);
    state.SetItemsProcessed(state.iterations() * Level.BehaviourCount());
    Level.MovingBlocs.Clear();
    Level.BehaviourInstances.Clear();
    AllocLevelGrid(0, 0, 0, Level);
}

BENCHMARK(RunBehavioursFrame)->Arg(0)->Arg(16)->Arg(256)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
