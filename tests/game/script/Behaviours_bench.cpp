// Benchmark of the behaviour compiler: a level definition whose 256 behaviours
// each fill all 257 command lines, compiled by LoadBehaviours (file read
// included), as every level change with a new definition does. The two parts
// are also timed alone: reading the file into TIniFile32, and compiling from
// the file once it is read.
#include <benchmark/benchmark.h>

#include <string>

#include "game/script/Behaviours.h"
#include "game/level/LevelStuff.h"
#include "support/IniFiles32.h"
#include "tests/common/ScratchFolder.h"

namespace {

// A mix of the argument forms, so that every reader is exercised.
const char* const kLines[] = {
    "WAITFORPLAYER (-1,0,-1),(1,1,1)",
    "PUTOBJECT 12,(0,1,0),(0,3,0)",
    "DELAY 500",
    "MOVETO (0,2,0),90,1500",
    "MOVENEARPLAYER (0,0,0),(6,0,6),200,1",
    "GIVEOBJECTTOPLAYER 7,1",
    "PLAYTILEANIMATION (0,1,0),25",
    "WAITFORPLAYERACTIVATIONWITHOBJECTABSOLUTE 5,(2,0,2),(3,1,3)",
    "PUTLIGHT 50,(-2,0,-2),(2,2,2)",
    "TIMERON",
    "GOTO 0",
};

std::string DefinitionText() {
    std::string text;
    size_t next = 0;
    for (int32_t b = 0; b < kBehaviourCount; ++b) {
        text +=
            "[Behaviour " + std::to_string(b) + "]\r\nName=Behaviour" + std::to_string(b) + "\r\n";
        for (int32_t c = 0; c < kCommandCount; ++c) {
            text += std::to_string(c) + "=" + kLines[next] + "\r\n";
            next = (next + 1) % std::size(kLines);
        }
    }
    return text;
}

void CompileFullDefinition(benchmark::State& state) {
    testutil::ScratchFolder folder;
    const std::string path = folder.Write("def.ini", DefinitionText());
    for (auto _ : state) {
        LoadBehaviours(path, Level);
        benchmark::DoNotOptimize(Level.Behaviours[255].Commands[256].Opcode);
    }
    state.SetItemsProcessed(state.iterations() * kBehaviourCount * kCommandCount);
}

BENCHMARK(CompileFullDefinition)->Unit(benchmark::kMillisecond);

void ReadDefinitionFile(benchmark::State& state) {
    testutil::ScratchFolder folder;
    const std::string path = folder.Write("def.ini", DefinitionText());
    for (auto _ : state) {
        const TIniFile32 ini(path);
        benchmark::DoNotOptimize(ini.Lines().size());
    }
}

BENCHMARK(ReadDefinitionFile)->Unit(benchmark::kMillisecond);

void CompileFromReadFile(benchmark::State& state) {
    testutil::ScratchFolder folder;
    const TIniFile32 ini(folder.Write("def.ini", DefinitionText()));
    for (auto _ : state) {
        LoadBehaviours(ini, Level);
        benchmark::DoNotOptimize(Level.Behaviours[255].Commands[256].Opcode);
    }
}

BENCHMARK(CompileFromReadFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
