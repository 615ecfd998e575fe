// The step of the interpreter, its flow commands and its waits, on the
// synthetic level; and a behaviour that resumes where it was after its level
// state is written and read again.
#include "game/script/BehaviourInterpreter.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/level/LevelFile.h"
#include "game/level/LevelFileFormat.h"
#include "engine/G3DState.h"
#include "tests/game/script/ScriptTestWorld.h"

namespace {

using scripttest::ScriptTest;

class BehaviourInterpreterTest : public ScriptTest {};

struct FlowCase {
    const char* what;
    std::map<int32_t, std::map<int32_t, std::string>> behaviours;  // behaviour 1 runs
    int32_t frameMs;
    std::vector<int32_t> pcs;  // Pc after each frame
    int32_t lastPcTime;        // PcTime after the last frame (-1: FrameTime then)
};

TEST_F(BehaviourInterpreterTest, FlowMovesTheProgramCounterAsItShould) {
    const std::vector<FlowCase> cases = {
        {"a lone DELAY at key 5 repeats for ever",
         {{1, {{5, "DELAY 1000"}}}},
         500,
         {5, 5, 6, 5, 5, 6},
         -1},
        {"GOTO its own command keeps the first PcTime", {{1, {{0, "GOTO 0"}}}}, 40, {0, 0, 0}, 0},
        {"a command at 256 that moves on leaves the instance idle",
         {{1, {{256, "SETSKY 3"}}}},
         40,
         {256, 257, 257, 257},
         10080},
        {"an empty command 256 wraps to 0", {{1, {{0, "SETSKY 1"}}}}, 40, {1, 0, 1}, -1},
        {"SETBEHAVIOUR at command 0 keeps PcTime 0: the new DELAY passes at once",
         {{1, {{0, "SETBEHAVIOUR 2"}}}, {2, {{0, "DELAY 5000"}, {1, "GOTO 1"}}}},
         40,
         {0, 1},
         -1},
        {"SETBEHAVIOUR elsewhere starts the new DELAY now",
         {{1, {{0, "SETSKY 1"}, {1, "SETBEHAVIOUR 2"}}}, {2, {{0, "DELAY 5000"}}}},
         40,
         {1, 0, 0, 0},
         10080},
        {"GOTO out of the command range idles", {{1, {{0, "GOTO 300"}}}}, 40, {300, 300}, 10040},
        {"GOTO backwards", {{1, {{0, "SETSKY 2"}, {1, "GOTO 0"}}}}, 40, {1, 0, 1, 0}, -1},
    };
    for (const FlowCase& c : cases) {
        SetUp();
        for (const auto& [number, lines] : c.behaviours) Script(number, lines);
        const BehaviourStuff& b = Start(1, 5, 1, 5);
        for (size_t f = 0; f < c.pcs.size(); ++f) {
            Frame(c.frameMs);
            EXPECT_EQ(b.Pc, c.pcs[f]) << c.what << ", frame " << f + 1;
        }
        EXPECT_EQ(b.PcTime, c.lastPcTime < 0 ? FrameTime : c.lastPcTime) << c.what;
        TearDown();
    }
}

TEST_F(BehaviourInterpreterTest, TransformBehaviourReachesLaterInstancesInTheSameFrame) {
    Script(3, {{0, "TRANSFORMBEHAVIOUR 3,4"}});
    Script(4, {{0, "ADDHEALTH 1"}});
    BehaviourStuff& first = Start(3, 1, 1, 1);
    BehaviourStuff& second = Start(3, 2, 1, 1);
    Frame();
    // The transformer was command 0: its PcTime stays 0 and it runs behaviour
    // 4 from the next frame; the instance after it already ran command 0.
    EXPECT_EQ(first.BehaviourType, 4);
    EXPECT_EQ(first.Pc, 0);
    EXPECT_EQ(first.PcTime, 0);
    EXPECT_EQ(first.InstanceHealth, 100);
    EXPECT_EQ(second.BehaviourType, 4);
    EXPECT_EQ(second.Pc, 1);
    EXPECT_EQ(second.InstanceHealth, 101);

    // A transformer of another behaviour stays on its command and catches
    // every instance that becomes behaviour 3 later.
    SetUp();
    Script(5, {{0, "TRANSFORMBEHAVIOUR 3,4"}});
    Script(4, {{0, "ADDHEALTH 1"}});
    Script(6, {{0, "SETSKY 1"}, {1, "SETBEHAVIOUR 3"}});
    BehaviourStuff& transformer = Start(5, 1, 1, 1);
    BehaviourStuff& later = Start(6, 2, 1, 1);
    Frames(2);
    EXPECT_EQ(later.BehaviourType, 3);
    Frame();
    EXPECT_EQ(transformer.Pc, 0);
    EXPECT_EQ(later.BehaviourType, 4);
    EXPECT_EQ(later.Pc, 1);  // ran behaviour 4 in the frame it was transformed
}

struct WaitCase {
    const char* line;
    std::function<void()> setup;
    bool passes;
};

TEST_F(BehaviourInterpreterTest, WaitsPassExactlyWhenTheirConditionHolds) {
    // The instance stands in cell (5, 1, 5).
    const auto heroIn = [](int32_t x, int32_t y, int32_t z) {
        return
            [=] { Hero().X = CellCentre(x), Hero().Y = CellCentre(y), Hero().Z = CellCentre(z); };
    };
    const auto actedOn = [](int32_t x, int32_t y, int32_t z, int32_t selected) {
        return [=] {
            PlayerActivation = {1, x, y, z};
            Hero().SelectedObject = selected;
        };
    };
    const auto typeCells = [](int32_t n) {
        return [=] {
            for (int32_t i = 0; i < n; ++i) SetCellType(i, 3, 0, 7);
        };
    };
    const auto holding = [](int32_t count) { return [=] { Hero().Inventory[7] = count; }; };
    const std::vector<WaitCase> cases = {
        {"WAITFORPLAYER (0,0,0),(0,0,0)", heroIn(5, 1, 5), true},
        {"WAITFORPLAYER (0,0,0),(0,0,0)", heroIn(5, 2, 5), false},
        {"WAITFORPLAYER (2,0,0),(-2,0,0)", heroIn(3, 1, 5), true},
        {"WAITFORPLAYER (2,0,0),(-2,0,0)", heroIn(7, 1, 5), true},
        {"WAITFORPLAYER (2,0,0),(-2,0,0)", heroIn(8, 1, 5), false},
        {"WAITFORBLOCNUMBERINLEVEL 7,0", typeCells(0), true},
        {"WAITFORBLOCNUMBERINLEVEL 7,0", typeCells(1), false},
        {"WAITFORBLOCNUMBERINLEVEL 7,2", typeCells(2), true},
        {"WAITFORBLOCNUMBERINLEVEL 300,0", typeCells(0), true},  // no such type: none
        {"WAITFORPLAYERHAVEOBJECT 7,2", holding(2), true},
        {"WAITFORPLAYERHAVEOBJECT 7,2", holding(3), false},
        {"WAITFORPLAYERHAVEOBJECT -5,0", holding(3), true},
        {"WAITFORPLAYERACTIVATION (0,0,-1),(0,0,1)", actedOn(5, 1, 4, 0), true},
        {"WAITFORPLAYERACTIVATION (0,0,-1),(0,0,1)", actedOn(5, 1, 7, 0), false},
        {"WAITFORPLAYERACTIVATION (0,0,-1),(0,0,1)",
         [] {
             PlayerActivation = {0, 5, 1, 5};
         },
         false},
        {"WAITFORPLAYERACTIVATIONWITHOBJECT 7,(0,0,0),(0,0,0)", actedOn(5, 1, 5, 7), true},
        {"WAITFORPLAYERACTIVATIONWITHOBJECT 7,(0,0,0),(0,0,0)", actedOn(5, 1, 5, 8), false},
        {"WAITFORPLAYERACTIVATIONABSOLUTE (1,1,1),(0,0,0)", actedOn(1, 1, 1, 0), true},
        {"WAITFORPLAYERACTIVATIONABSOLUTE (1,1,1),(0,0,0)", actedOn(5, 1, 5, 0), false},
        {"WAITFORPLAYERACTIVATIONWITHOBJECTABSOLUTE 7,(1,1,1),(2,2,2)", actedOn(2, 2, 2, 7), true},
        {"WAITFORPLAYERACTIVATIONWITHOBJECTABSOLUTE 7,(1,1,1),(2,2,2)", actedOn(2, 2, 2, 6), false},
    };
    for (const WaitCase& c : cases) {
        SetUp();
        Script(1, {{0, c.line}, {1, "GOTO 1"}});
        const BehaviourStuff& b = Start(1, 5, 1, 5);
        c.setup();
        Frame();
        EXPECT_EQ(b.Pc, c.passes ? 1 : 0) << c.line;
        TearDown();
    }
}

TEST_F(BehaviourInterpreterTest, OutOfRangeBehavioursIdleUntilTransformedBack) {
    Script(1, {{0, "ADDHEALTH 1"}});
    Script(2, {{0, "SETSKY 1"}, {1, "DELAY 200"}, {2, "TRANSFORMBEHAVIOUR 300,1"}});
    BehaviourStuff& lost = Start(1, 1, 1, 1);
    lost.BehaviourType = 300;  // as a SETBEHAVIOUR 300 would leave it
    Start(2, 2, 1, 1);
    Frames(3);
    EXPECT_EQ(lost.Pc, 0);
    EXPECT_EQ(lost.InstanceHealth, 100);
    Frames(5);
    EXPECT_EQ(lost.BehaviourType, 1);
    EXPECT_GT(lost.InstanceHealth, 100);
}

TEST_F(BehaviourInterpreterTest, TheCellFollowsTheOwnedBloc) {
    Script(1, {{0, "WAITFORPLAYER (0,0,0),(0,0,0)"}});
    BehaviourStuff& b = Start(1, 3, 1, 3, scripttest::kMover);
    ASSERT_EQ(b.MovingBlocRow, 0);
    BlocOf(b).X = CellCentre(9) + 200;
    Hero().X = CellCentre(9), Hero().Y = CellCentre(1), Hero().Z = CellCentre(3);
    Frame();
    EXPECT_EQ(b.CellX, 9);
    EXPECT_EQ(b.Pc, 1);
}

TEST_F(BehaviourInterpreterTest, ASavedBehaviourResumesAtItsCommandAfterAReload) {
    // The definition counts as loaded, so reading the level keeps the
    // instances' program counters as saved.
    Level.DefinitionFile = Level.LoadedDefinitionFile = "quest.def";
    Level.LoadedQuality = "HIGH";
    Script(1, {{0, "MOVETO (0,2,0),0,1000"}, {1, "DELAY 500"}, {2, "SETSKY 9"}, {3, "GOTO 3"}});
    Start(1, 4, 1, 4, scripttest::kMover);
    Frames(26, 40);  // the move takes 1000 ms after its start frame
    ASSERT_EQ(Level.BehaviourInstances[1].Pc, 1);
    const int32_t delayStart = Level.BehaviourInstances[1].PcTime;
    Frame(100);
    ASSERT_TRUE(WriteLevelState(folder.Path("saved.lvl"), Level));
    Frames(20, 100);  // what happens after the save is lost by the reload
    ASSERT_EQ(Level.CurrentSky, 9);
    Level.CurrentSky = 0;

    ReadLevelState(folder.Path("saved.lvl"), "High", Level, *window, DStuff);
    ASSERT_EQ(Level.BehaviourCount(), 1);  // its cell was empty: no second instance
    const BehaviourStuff& b = Level.BehaviourInstances[1];
    EXPECT_EQ(b.Pc, 1);
    EXPECT_EQ(b.PcTime, delayStart);
    EXPECT_EQ(BlocOf(b).Y, CellCentre(3));
    ASSERT_EQ(FrameTime, 11140);  // the clock of the save
    while (int64_t{FrameTime} + 40 - delayStart < 500) {
        Frame(40);
        EXPECT_EQ(b.Pc, 1);
    }
    Frame(40);  // 500 ms after the delay began
    EXPECT_EQ(b.Pc, 2);
    Frame();
    EXPECT_EQ(Level.CurrentSky, 9);
}

TEST_F(BehaviourInterpreterTest, IdleInstancesAreSavedAndStayIdleAfterAReload) {
    struct IdleCase {
        const char* what;
        std::map<int32_t, std::string> lines;
        int32_t pc, behaviour;
    };
    const std::vector<IdleCase> cases = {
        {"past command 256", {{256, "SETSKY 3"}}, 257, 1},
        {"sent out of the command range", {{0, "GOTO 300"}}, 300, 1},
        {"sent to a behaviour that cannot be", {{0, "SETBEHAVIOUR 300"}}, 0, 300},
    };
    for (const IdleCase& c : cases) {
        SetUp();
        Level.DefinitionFile = Level.LoadedDefinitionFile = "quest.def";
        Level.LoadedQuality = "HIGH";
        Script(1, c.lines);
        Start(1, 4, 1, 4, scripttest::kMover);
        Frames(3);
        Level.CurrentSky = 0;
        LevelFileImage image;
        ASSERT_TRUE(ParseLevelFile(BuildLevelFile(Level, GameTime), image)) << c.what;
        ASSERT_TRUE(WriteLevelState(folder.Path("idle.lvl"), Level));
        ReadLevelState(folder.Path("idle.lvl"), "High", Level, *window, DStuff);
        ASSERT_EQ(Level.BehaviourCount(), 1) << c.what;
        const BehaviourStuff& b = Level.BehaviourInstances[1];
        Frames(3);
        EXPECT_EQ(b.Pc, c.pc) << c.what;
        EXPECT_EQ(b.BehaviourType, c.behaviour) << c.what;
        EXPECT_EQ(Level.CurrentSky, 0) << c.what;
        TearDown();
    }
}

}  // namespace
