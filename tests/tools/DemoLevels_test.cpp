#include "tools/demogame/DemoLevels.h"

#include <gtest/gtest.h>

#include <array>
#include <queue>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoLayout.h"

namespace {

using demo::LevelPlan;

// A cell the hero can stand in: empty (or a non-solid marker) over a floor.
bool Standable(const LevelPlan& p, int x, int y, int z) {
    const int here = p.Type(x, y, z);
    const bool free = here == demo::kBlocEmpty || here == demo::kBlocExit;
    return p.Inside(x, y, z) && free && p.Type(x, y - 1, z) != demo::kBlocEmpty;
}

// Golems of `type` in the grid and in the golem list.
int Holds(const LevelPlan& p, int type) {
    int n = p.Count(type);
    for (const demo::PlannedGolem& g : p.Golems) n += g.Type == type ? 1 : 0;
    return n;
}

// Whether an exit cell can be reached from (x, y, z) by walking over the floor
// (no jumps, no steps, no door or mechanism used).
bool ExitWithinWalk(const LevelPlan& p, int x, int y, int z) {
    std::vector<bool> seen(p.Types.size(), false);
    std::queue<std::array<int, 2>> open;
    open.push({x, z});
    seen[p.Index(x, y, z)] = true;
    while (!open.empty()) {
        const auto [cx, cz] = open.front();
        open.pop();
        if (p.Type(cx, y, cz) == demo::kBlocExit) return true;
        for (const auto& [dx, dz] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = cx + dx, nz = cz + dz;
            if (!Standable(p, nx, y, nz) || seen[p.Index(nx, y, nz)]) continue;
            seen[p.Index(nx, y, nz)] = true;
            open.push({nx, nz});
        }
    }
    return false;
}

TEST(LevelPlanTest, FillClipsToTheGrid) {
    LevelPlan p(3, 2, 2);
    p.Fill(-4, -4, -4, 10, 0, 10, 5);
    EXPECT_EQ(p.Count(5), 6);
    EXPECT_EQ(p.Type(2, 0, 1), 5);
    EXPECT_EQ(p.Type(2, 1, 1), 0);
    EXPECT_EQ(p.Type(3, 0, 0), 0);  // outside
    EXPECT_EQ(p.Index(1, 1, 1), 1 + 3 + 6);
}

TEST(DemoLevelsTest, HeroStartsOnTheFloor) {
    for (const LevelPlan& p : {demo::Level1Plan(), demo::Level2Plan()}) {
        EXPECT_TRUE(Standable(p, p.StartX, p.StartY, p.StartZ));
    }
}

TEST(DemoLevelsTest, ExitsLeadToFreeCellsOfTheOtherLevel) {
    const LevelPlan one = demo::Level1Plan(), two = demo::Level2Plan();
    ASSERT_EQ(one.Exits.size(), 1u);
    ASSERT_EQ(two.Exits.size(), 1u);
    EXPECT_EQ(one.Exits[0].Level, demo::LevelName(2));
    EXPECT_EQ(two.Exits[0].Level, demo::LevelName(1));
    EXPECT_TRUE(Standable(two, one.Exits[0].X, one.Exits[0].Y, one.Exits[0].Z));
    EXPECT_TRUE(Standable(one, two.Exits[0].X, two.Exits[0].Y, two.Exits[0].Z));
    EXPECT_GT(two.Count(one.Exits[0].Type), 0);
    EXPECT_GT(one.Count(two.Exits[0].Type), 0);
    // The arrival cell is not itself an exit, or the hero would bounce back.
    EXPECT_NE(two.Type(one.Exits[0].X, one.Exits[0].Y, one.Exits[0].Z), demo::kBlocExit);
    EXPECT_NE(one.Type(two.Exits[0].X, two.Exits[0].Y, two.Exits[0].Z), demo::kBlocExit);
}

TEST(DemoLevelsTest, EveryGolemHasAnExitCellBesideTheHeros) {
    for (const LevelPlan& p : {demo::Level1Plan(), demo::Level2Plan()}) {
        EXPECT_GE(p.Count(demo::kBlocExit), Holds(p, demo::kBlocGolem) + 1);
        // An exit is taken only with every golem on an exit: the golems that
        // wait in the list stand on one.
        for (const demo::PlannedGolem& g : p.Golems) {
            EXPECT_EQ(p.Type(g.X, g.Y, g.Z), demo::kBlocExit);
        }
    }
}

// The game can be played through both levels and back without a door opened:
// from level 1's start to an exit, and from each arrival to an exit again.
TEST(DemoLevelsTest, AnExitIsWithinWalkFromEveryArrival) {
    const LevelPlan one = demo::Level1Plan(), two = demo::Level2Plan();
    EXPECT_TRUE(ExitWithinWalk(one, one.StartX, one.StartY, one.StartZ));
    EXPECT_TRUE(ExitWithinWalk(two, one.Exits[0].X, one.Exits[0].Y, one.Exits[0].Z));
    EXPECT_TRUE(ExitWithinWalk(one, two.Exits[0].X, two.Exits[0].Y, two.Exits[0].Z));
    EXPECT_EQ(Holds(one, demo::kBlocGolem), static_cast<int>(one.Golems.size()))
        << "a golem made from the grid stands in an empty cell, never on an exit";
}

// Pushed along +Z the crate slides until something stops it: it must come to
// rest right above the sensor, in front of the door that the sensor opens.
TEST(DemoLevelsTest, PushedCrateLandsOnTheSensor) {
    const LevelPlan p = demo::Level1Plan();
    int cx = -1, cy = -1, cz = -1;
    for (int z = 0; z < p.SizeZ; ++z) {
        for (int y = 0; y < p.SizeY; ++y) {
            for (int x = 0; x < p.SizeX; ++x) {
                if (p.Type(x, y, z) == demo::kBlocCrate) cx = x, cy = y, cz = z;
            }
        }
    }
    ASSERT_GE(cx, 0);
    EXPECT_EQ(p.Type(cx, cy, cz - 1), demo::kBlocEmpty);  // room for the hero to push
    int z = cz;
    while (p.Type(cx, cy, z + 1) == demo::kBlocEmpty) ++z;
    EXPECT_EQ(p.Type(cx, cy - 1, z), demo::kBlocSensor);
    EXPECT_EQ(p.Type(cx, cy, z + 1), demo::kBlocSensorDoor);
    EXPECT_EQ(p.Count(demo::kBlocSensor), 1);
}

TEST(DemoLevelsTest, FirstLevelHoldsEveryMechanism) {
    const LevelPlan p = demo::Level1Plan();
    for (int type : {demo::kBlocLever, demo::kBlocGate, demo::kBlocKey, demo::kBlocKeyDoor,
                     demo::kBlocEarth, demo::kBlocConveyor, demo::kBlocPlatform, demo::kBlocGem,
                     demo::kBlocGolem, demo::kBlocHint, demo::kBlocGemWatcher, demo::kBlocTimer}) {
        EXPECT_GT(Holds(p, type), 0) << "type " << type;
    }
    EXPECT_GT(demo::Level2Plan().Count(demo::kBlocTrophy), 0);
}

TEST(DemoLevelsTest, ScriptHoldersSitAboveTheHerosHead) {
    for (const LevelPlan& p : {demo::Level1Plan(), demo::Level2Plan()}) {
        for (int z = 0; z < p.SizeZ; ++z) {
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < p.SizeX; ++x) {
                    const int t = p.Type(x, y, z);
                    EXPECT_TRUE(t != demo::kBlocHint && t != demo::kBlocGemWatcher &&
                                t != demo::kBlocLamp);
                }
            }
        }
    }
}

TEST(DemoLevelsTest, GridUsesOnlyDefinedTypes) {
    const std::string definition = demo::DefinitionText();
    for (const LevelPlan& p : {demo::Level1Plan(), demo::Level2Plan()}) {
        for (uint16_t t : std::set<uint16_t>(p.Types.begin(), p.Types.end())) {
            const std::string section = "[Object " + std::to_string(t) + "]";
            EXPECT_TRUE(t == demo::kBlocEmpty || definition.find(section) != std::string::npos)
                << "type " << t;
        }
        EXPECT_EQ(p.Definition, demo::kDefinitionRef);
    }
}

}  // namespace
