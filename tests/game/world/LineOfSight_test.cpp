#include "game/world/LineOfSight.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <vector>

#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"

namespace {

// Bloc types: a colliding cube, a cube bodies walk through, an undefined type
// that says it collides, a colliding mesh.
constexpr int32_t kSolid = 1, kGhost = 2, kUndefined = 3, kMesh = 4;

using Cell = std::array<int32_t, 3>;

class LineOfSightTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(32, 4, 32, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
        for (int32_t t : {kSolid, kGhost, kMesh}) Level.Blocs[t].Undefined = 0;
        Level.Blocs[kSolid].Cube = Level.Blocs[kGhost].Cube = 1;
        Level.Blocs[kGhost].Collision = 0;
        DepthOfView = 14;
    }
    void TearDown() override {
        AllocLevelGrid(0, 0, 0, Level);
        DepthOfView = 14;
    }
    static void Put(const std::vector<Cell>& cells, int32_t type) {
        for (const Cell& c : cells) SetCellType(c[0], c[1], c[2], type);
    }
    // Fills the box of cells lo..hi (inclusive) with `type`.
    static void Fill(Cell lo, Cell hi, int32_t type) {
        for (int32_t x = lo[0]; x <= hi[0]; ++x) {
            for (int32_t y = lo[1]; y <= hi[1]; ++y) {
                for (int32_t z = lo[2]; z <= hi[2]; ++z) SetCellType(x, y, z, type);
            }
        }
    }
    // World point of the centre of a cell.
    static Cell Centre(Cell c) { return {c[0] * 512 + 256, c[1] * 512 + 256, c[2] * 512 + 256}; }
};

struct GridCase {
    const char* what;
    Cell from, to;
    std::vector<Cell> solids;
    int32_t type;
    bool seen;
};

TEST_F(LineOfSightTest, GridWalkIsStoppedOnlyByDefinedCollidingBlocsWithinTheViewDistance) {
    const std::vector<GridCase> cases = {
        {"same cell", {1, 1, 1}, {1, 1, 1}, {{1, 1, 1}}, kSolid, true},
        {"diagonal neighbours, both solid",
         {1, 1, 1},
         {2, 2, 2},
         {{1, 1, 1}, {2, 2, 2}},
         kSolid,
         true},
        {"13 cells of empty space", {0, 1, 1}, {13, 1, 1}, {}, kSolid, true},
        {"14 cells: at the view distance", {0, 1, 1}, {14, 1, 1}, {}, kSolid, false},
        {"20 cells down the other way", {25, 1, 1}, {5, 1, 1}, {}, kSolid, false},
        {"the target holds a colliding bloc", {0, 1, 1}, {5, 1, 1}, {{5, 1, 1}}, kSolid, false},
        {"a colliding bloc between", {0, 1, 1}, {5, 1, 1}, {{3, 1, 1}}, kSolid, false},
        {"a walk-through bloc between", {0, 1, 1}, {5, 1, 1}, {{3, 1, 1}}, kGhost, true},
        {"an undefined type between", {0, 1, 1}, {5, 1, 1}, {{3, 1, 1}}, kUndefined, true},
        {"a colliding mesh between", {0, 1, 1}, {5, 1, 1}, {{3, 1, 1}}, kMesh, false},
        // From (0,0,0) to (4,1,0) step 2 lands on y = Round(0.5) = 0: halves go
        // to even, so (2,0,0) is on the walk and (2,1,0) is not.
        {"half rounds to even: off the walk", {0, 0, 0}, {4, 1, 0}, {{2, 1, 0}}, kSolid, true},
        {"half rounds to even: on the walk", {0, 0, 0}, {4, 1, 0}, {{2, 0, 0}}, kSolid, false},
        {"negative half rounds to even", {0, 1, 0}, {4, 0, 0}, {{2, 1, 0}}, kSolid, false},
        {"cells beyond 32 bits", {INT_MAX, 0, 0}, {INT_MAX - 5, 0, 0}, {}, kSolid, true},
        {"a walk across the whole range", {INT_MIN, 0, 0}, {INT_MAX, 0, 0}, {}, kSolid, false},
    };
    for (const GridCase& c : cases) {
        Fill({0, 0, 0}, {31, 3, 31}, 0);
        Put(c.solids, c.type);
        EXPECT_EQ(GridLineOfSight(c.from[0], c.from[1], c.from[2], c.to[0], c.to[1], c.to[2]),
                  c.seen)
            << c.what;
    }
    DepthOfView = 0;  // nothing beyond touching cells is seen
    EXPECT_FALSE(GridLineOfSight(0, 1, 1, 2, 1, 1));
    EXPECT_TRUE(GridLineOfSight(0, 1, 1, 1, 1, 1));
}

struct PointCase {
    const char* what;
    Cell point;  // world point
    Cell target;
    Cell wallLo, wallHi;  // cubes; lo beyond hi for none
    bool seen;
};

TEST_F(LineOfSightTest, PointViewIsClosedOnlyBehindFiveOpaqueCubes) {
    constexpr Cell kNone = {1, 1, 1}, kNoneHi = {0, 0, 0};
    const std::vector<PointCase> cases = {
        {"from inside the target cell", Centre({3, 1, 3}), {3, 1, 3}, {0, 0, 0}, {31, 3, 31}, true},
        {"from the next cell", Centre({4, 1, 3}), {3, 1, 3}, {0, 0, 0}, {31, 3, 31}, true},
        {"30 cells of empty space", Centre({31, 1, 3}), {1, 1, 3}, kNone, kNoneHi, true},
        {"a wall two cubes thick along X",
         Centre({10, 1, 3}),
         {2, 1, 3},
         {5, 0, 0},
         {6, 3, 31},
         false},
        {"a wall one cube thick along X",
         Centre({10, 1, 3}),
         {2, 1, 3},
         {5, 0, 0},
         {5, 3, 31},
         true},
        // Seen from above, a slab many cubes thick on X and Z but one high
        // leaves the row above the samples free.
        {"from above over a slab one high",
         Centre({9, 3, 9}),
         {1, 0, 1},
         {3, 0, 3},
         {7, 0, 7},
         true},
        {"from above over a block three high",
         Centre({9, 3, 9}),
         {1, 0, 1},
         {3, 0, 3},
         {7, 2, 7},
         false},
        {"points beyond the grid and 32 bits",
         {INT_MIN, INT_MIN, INT_MIN},
         {INT_MAX, INT_MAX, 0},
         kNone,
         kNoneHi,
         true},
    };
    for (const PointCase& c : cases) {
        Fill({0, 0, 0}, {31, 3, 31}, 0);
        Fill(c.wallLo, c.wallHi, kSolid);
        EXPECT_EQ(CellVisibleFrom(c.point[0], c.point[1], c.point[2], c.target[0], c.target[1],
                                  c.target[2]),
                  c.seen)
            << c.what;
    }
    // Opaque is a defined Cube whose layer C is 0, whether it collides or not:
    // not a deformed cube, a mesh or an undefined type.
    for (auto [type, corner, seen] :
         std::vector<std::tuple<int32_t, uint8_t, bool>>{{kSolid, 0, false},
                                                         {kSolid, 9, true},
                                                         {kMesh, 0, true},
                                                         {kGhost, 0, false},
                                                         {kUndefined, 0, true}}) {
        Fill({0, 0, 0}, {31, 3, 31}, 0);
        Fill({5, 0, 0}, {6, 3, 31}, type);
        Level.CornerYLayer[CellIndex(5, 1, 3, Level)] = corner;
        Level.CornerYLayer[CellIndex(6, 1, 3, Level)] = corner;
        if (type == kUndefined) Level.Blocs[kUndefined].Cube = 1;
        const Cell p = Centre({10, 1, 3});
        EXPECT_EQ(CellVisibleFrom(p[0], p[1], p[2], 2, 1, 3), seen) << type << " " << int{corner};
    }
}

}  // namespace
