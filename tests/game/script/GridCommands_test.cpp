// The commands that change cells, on the synthetic level: which cells each
// box walk reaches, in which order, what the byte layers keep, and boxes
// reaching far outside the grid.
#include "game/script/GridCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/game/script/ScriptTestWorld.h"

namespace {

using scripttest::kBoom;
using scripttest::kDoor;
using scripttest::kSolid;
using scripttest::ScriptTest;

class GridCommandsTest : public ScriptTest {};

constexpr int32_t kPut = 7;

struct GridCase {
    const char* line;
    std::function<void()> setup;
    std::function<void()> check;
};

// The X of moving blocs 0..high, in list order.
std::vector<int32_t> MovingCellsX() {
    std::vector<int32_t> xs;
    for (const MovingBlocStuff& row : Level.MovingBlocs) xs.push_back(CellOfCoordinate(row.X));
    return xs;
}

TEST_F(GridCommandsTest, BoxWalksChangeTheCellsOfTheirBox) {
    const auto none = [] {};
    const auto light = [](int32_t x, int32_t y, int32_t z, int32_t v) {
        return [=] { SetCellLight(x, y, z, v); };
    };
    const auto turn = [](int32_t x, int32_t y, int32_t z, int32_t v) {
        return [=] { SetCellTurn(x, y, z, v); };
    };
    const auto solids = [](std::vector<int32_t> xs) {
        return [=] {
            for (int32_t x : xs) SetCellType(x, 1, 5, kSolid);
        };
    };
    // The instance stands in cell (5, 1, 5).
    const std::vector<GridCase> cases = {
        {"PUTOBJECT 7,(0,1,0),(0,3,0)", none,
         [] {
             for (int32_t y = 2; y <= 4; ++y) EXPECT_EQ(GetCellType(5, y, 5), kPut) << y;
             EXPECT_EQ(GetCellType(5, 5, 5), 0);
             EXPECT_EQ(Level.Blocs[kPut].InstanceCount, 3);
         }},
        {"PUTOBJECTABSOLUTE 7,(2,1,1),(1,1,1)", none,
         [] {
             EXPECT_EQ(GetCellType(1, 1, 1), kPut);
             EXPECT_EQ(GetCellType(2, 1, 1), kPut);
             EXPECT_EQ(Level.Blocs[kPut].InstanceCount, 2);
         }},
        {"PUTOBJECT 300,(0,0,0),(0,0,0)", none, [] { EXPECT_EQ(GetCellType(5, 1, 5), 0); }},
        {"PUTOBJECTABSOLUTE 7,(-2147483648,1,0),(2147483647,1,0)", none,
         [] { EXPECT_EQ(Level.Blocs[kPut].InstanceCount, scripttest::kSizeX); }},
        {"PUTLIGHT 100,(0,0,0),(0,0,0)", light(5, 1, 5, 77),
         [] { EXPECT_EQ(GetCellLight(5, 1, 5), 0); }},
        {"ADDLIGHT 10,(0,0,0),(0,0,0)", light(5, 1, 5, 240),
         [] { EXPECT_EQ(GetCellLight(5, 1, 5), 9); }},
        {"ADDLIGHTABSOLUTE -10,(3,3,3),(3,3,3)", light(3, 3, 3, 10),
         [] { EXPECT_EQ(GetCellLight(3, 3, 3), 241); }},
        {"PUTLIGHTABSOLUTE 50,(3,3,3),(3,3,4)", none,
         [] {
             EXPECT_EQ(GetCellLight(3, 3, 3), 128);
             EXPECT_EQ(GetCellLight(3, 3, 4), 128);
             EXPECT_EQ(GetCellLight(3, 3, 5), 0);
         }},
        {"PUTLIGHT 50,(-10,0,0),(0,0,0)", none,
         [] {
             for (int32_t x = 0; x <= 5; ++x) EXPECT_EQ(GetCellLight(x, 1, 5), 128) << x;
             EXPECT_EQ(GetCellLight(6, 1, 5), 0);
         }},
        {"PUTROTATION 50,(0,0,0),(0,0,0)", none, [] { EXPECT_EQ(GetCellTurn(5, 1, 5), 128); }},
        {"ADDROTATION 50,(0,0,0),(0,0,0)", turn(5, 1, 5, 200),
         [] { EXPECT_EQ(GetCellTurn(5, 1, 5), 72); }},
        {"PUTROTATIONABSOLUTE 25,(0,1,0),(0,1,0)", none,
         [] { EXPECT_EQ(GetCellTurn(0, 1, 0), 64); }},
        {"ADDROTATIONABSOLUTE -25,(0,1,0),(0,1,0)", turn(0, 1, 0, 10),
         [] { EXPECT_EQ(GetCellTurn(0, 1, 0), 202); }},
        {"OPENDOOR 3,(0,0,0),(-3,0,0)", [] { SetCellType(4, 1, 5, kDoor); },
         [] {
             EXPECT_EQ(GetCellType(4, 1, 5), kDoor);
             EXPECT_EQ(Level.TileAnimationHigh(), -1);
         }},
        {"OPENDOOR 3,(-3,0,0),(0,0,0)",
         [] {
             for (int32_t x = 1; x <= 6; ++x) SetCellType(x, 1, 5, kDoor);
         },
         [] {
             EXPECT_EQ(Level.TileAnimationHigh(), 3);  // cells 2..5
             EXPECT_EQ(GetCellType(1, 1, 5), kDoor);
             EXPECT_EQ(GetCellType(2, 1, 5), 0);
             EXPECT_EQ(GetCellType(6, 1, 5), kDoor);
         }},
        {"OPENDOOR 3,(-2147483648,0,0),(2147483647,0,0)", [] { SetCellType(15, 1, 5, kDoor); },
         [] { EXPECT_EQ(Level.TileAnimationHigh(), 0); }},
        {"MAKEFALL (2,0,0),(0,0,0)", solids({5, 6, 7}),
         [] {
             EXPECT_EQ(MovingCellsX(), (std::vector<int32_t>{7, 6, 5}));
             EXPECT_EQ(Level.MovingBlocs[0].VelocityY, -20.0f);
             EXPECT_EQ(GetCellType(6, 1, 5), 0);
         }},
        {"MAKEFALL (10,0,0),(-2147483648,0,0)", solids({3, 9}),
         [] {
             EXPECT_EQ(MovingCellsX(), (std::vector<int32_t>{9, 3}));
         }},
        {"PLAYTILEANIMATION (0,1,0),6", none,
         [] {
             ASSERT_EQ(Level.TileAnimationHigh(), 0);
             const TileAnimationStuff& row = Level.TileAnimations[0];
             EXPECT_EQ(row.AnimType, kBoom);
             EXPECT_EQ(row.X, CellCentre(5));
             EXPECT_EQ(row.Y, CellCentre(2));
             EXPECT_EQ(row.FinalType, -1);
         }},
        {"PLAYTILEANIMATION (0,1,0),999", none, [] { EXPECT_EQ(Level.TileAnimationHigh(), -1); }},
    };
    for (const GridCase& c : cases) {
        SetUp();
        Script(1, {{0, c.line}, {1, "GOTO 1"}});
        const BehaviourStuff& b = Start(1, 5, 1, 5);
        c.setup();
        Frame();
        SCOPED_TRACE(c.line);
        EXPECT_EQ(b.Pc, 1);
        c.check();
        TearDown();
    }
}

}  // namespace
