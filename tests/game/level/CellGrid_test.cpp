#include "game/level/CellGrid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CellGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(4, 3, 2, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc.InstanceCount = 0;
    }
    void TearDown() override { AllocLevelGrid(0, 0, 0, Level); }

    // Every layer of every cell of the grid is 0.
    static bool AllZero(const LevelStuff& level) {
        for (int32_t i = 0; i < level.CellCount; ++i) {
            if (level.CellTypes[i] || level.LightLayer[i] || level.CornerXLayer[i] ||
                level.CornerYLayer[i] || level.CornerZLayer[i] || level.TurnLayer[i]) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(CellGridTest, CellsAreIndexedXThenYThenZ) {
    EXPECT_EQ(CellIndex(0, 0, 0, Level), 0);
    EXPECT_EQ(CellIndex(3, 0, 0, Level), 3);
    EXPECT_EQ(CellIndex(0, 1, 0, Level), 4);
    EXPECT_EQ(CellIndex(1, 2, 1, Level), 1 + 2 * 4 + 1 * 12);
    Level.CornerXLayer[CellIndex(1, 2, 1, Level)] = 7;
    Level.CornerYLayer[CellIndex(1, 2, 1, Level)] = 8;
    Level.CornerZLayer[CellIndex(1, 2, 1, Level)] = 9;
    EXPECT_EQ(GetCorner1(1, 2, 1), 7);
    EXPECT_EQ(GetCorner2(1, 2, 1), 8);
    EXPECT_EQ(GetCorner3(1, 2, 1), 9);
    EXPECT_EQ(GetLevelCorner1(1, 2, 1, Level), 7);
}

TEST(CellOfCoordinate, TruncatesTowardZeroAndKeepsNonsenseOutOfTheGrid) {
    const struct {
        double w;
        int32_t cell;
    } cases[] = {{0, 0},      {511.9, 0},           {512, 1},           {-1, 0},
                 {-511.9, 0}, {-512, -1},           {1e300, INT32_MAX}, {-1e300, INT32_MIN},
                 {NAN, -1},   {INFINITY, INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(CellOfCoordinate(c.w), c.cell) << c.w;
}

TEST_F(CellGridTest, ReadsOutsideTheGridGiveZeroAndWritesDoNothing) {
    for (int32_t i = 0; i < Level.CellCount; ++i) {
        Level.CellTypes[i] = 5;
        Level.LightLayer[i] = Level.CornerXLayer[i] = Level.CornerYLayer[i] = 9;
        Level.CornerZLayer[i] = Level.TurnLayer[i] = 9;
    }
    const int32_t outside[][3] = {{-1, 0, 0}, {4, 0, 0}, {0, -1, 0},        {0, 3, 0},
                                  {0, 0, -1}, {0, 0, 2}, {INT32_MIN, 0, 0}, {0, 0, INT32_MAX}};
    for (const auto& c : outside) {
        EXPECT_EQ(GetCellType(c[0], c[1], c[2]), 0);
        EXPECT_EQ(GetCellLight(c[0], c[1], c[2]), 0);
        EXPECT_EQ(GetCorner1(c[0], c[1], c[2]), 0);
        EXPECT_EQ(GetCorner2(c[0], c[1], c[2]), 0);
        EXPECT_EQ(GetCorner3(c[0], c[1], c[2]), 0);
        EXPECT_EQ(GetCellTurn(c[0], c[1], c[2]), 0);
        SetCellType(c[0], c[1], c[2], 6);
        SetCellLight(c[0], c[1], c[2], 1);
        SetCellTurn(c[0], c[1], c[2], 1);
    }
    for (int32_t i = 0; i < Level.CellCount; ++i) {
        EXPECT_EQ(Level.CellTypes[i], 5);
        EXPECT_EQ(Level.LightLayer[i], 9);
        EXPECT_EQ(Level.TurnLayer[i], 9);
    }
    EXPECT_EQ(Level.Blocs[5].InstanceCount, 0);
    EXPECT_EQ(Level.Blocs[6].InstanceCount, 0);
}

TEST_F(CellGridTest, SetCellTypeKeepsInstanceCountsExact) {
    SetCellType(1, 1, 1, 7);
    SetCellType(2, 1, 1, 7);
    EXPECT_EQ(GetCellType(1, 1, 1), 7);
    EXPECT_EQ(Level.Blocs[7].InstanceCount, 2);
    EXPECT_EQ(Level.Blocs[0].InstanceCount, -2);  // the empty cells were never counted here

    SetCellType(1, 1, 1, 7);  // its own type: no change
    EXPECT_EQ(Level.Blocs[7].InstanceCount, 2);
    EXPECT_EQ(Level.Blocs[0].InstanceCount, -2);

    SetCellType(1, 1, 1, 256);
    EXPECT_EQ(Level.Blocs[7].InstanceCount, 1);
    EXPECT_EQ(Level.Blocs[256].InstanceCount, 1);
    SetCellType(2, 1, 1, 0);
    EXPECT_EQ(Level.Blocs[7].InstanceCount, 0);
    EXPECT_EQ(Level.Blocs[0].InstanceCount, -1);
}

TEST_F(CellGridTest, TypesThatAreNotBlocTypesNeverIndexTheBlocTable) {
    SetCellType(0, 0, 0, 3);
    SetCellType(0, 0, 0, 257);
    SetCellType(0, 0, 0, -1);
    SetCellType(0, 0, 0, 65535);
    EXPECT_EQ(GetCellType(0, 0, 0), 3);
    EXPECT_EQ(Level.Blocs[3].InstanceCount, 1);

    // A damaged level may hold such a type; replacing it counts only the new one.
    Level.CellTypes[CellIndex(1, 0, 0, Level)] = 4000;
    EXPECT_EQ(GetCellType(1, 0, 0), 4000);
    EXPECT_FALSE(IsBlocType(GetCellType(1, 0, 0)));
    SetCellType(1, 0, 0, 9);
    EXPECT_EQ(GetCellType(1, 0, 0), 9);
    EXPECT_EQ(Level.Blocs[9].InstanceCount, 1);
}

TEST_F(CellGridTest, LayerSettersKeepTheLowByteAndChangeNoCount) {
    SetCellLight(3, 2, 1, 300);
    SetCellTurn(3, 2, 1, -1);
    EXPECT_EQ(GetCellLight(3, 2, 1), 44);
    EXPECT_EQ(GetCellTurn(3, 2, 1), 255);
    EXPECT_EQ(GetLevelCellLight(3, 2, 1, Level), 44);
    EXPECT_EQ(GetLevelCellTurn(3, 2, 1, Level), 255);
    EXPECT_EQ(GetCellType(3, 2, 1), 0);
    for (const BlocStuff& bloc : Level.Blocs) EXPECT_EQ(bloc.InstanceCount, 0);
}

TEST_F(CellGridTest, ReallocationGivesAZeroGridOfTheNewSize) {
    SetCellType(3, 2, 1, 5);
    SetCellLight(0, 0, 0, 1);
    ASSERT_TRUE(AllocLevelGrid(5, 1, 7, Level));
    EXPECT_EQ(Level.SizeX, 5);
    EXPECT_EQ(Level.SizeY, 1);
    EXPECT_EQ(Level.SizeZ, 7);
    EXPECT_EQ(Level.CellCount, 35);
    EXPECT_TRUE(AllZero(Level));
    EXPECT_EQ(GetCellType(3, 2, 1), 0);  // outside the new grid
    SetCellType(4, 0, 6, 2);
    EXPECT_EQ(GetCellType(4, 0, 6), 2);
}

TEST_F(CellGridTest, SizesThatOverflowOrAreNegativeAreRefused) {
    const int32_t refused[][3] = {{-1, 1, 1},
                                  {1, 1, -5},
                                  {65536, 65536, 1},
                                  {2048, 2048, 256},
                                  {INT32_MAX, 2, 1},
                                  {1024, 1024, 1024},
                                  {INT32_MAX, INT32_MAX, INT32_MAX}};
    for (const auto& s : refused) {
        ASSERT_TRUE(AllocLevelGrid(2, 2, 2, Level));
        EXPECT_FALSE(AllocLevelGrid(s[0], s[1], s[2], Level)) << s[0] << " " << s[1] << " " << s[2];
        EXPECT_EQ(Level.SizeX, 0);
        EXPECT_EQ(Level.CellCount, 0);
        EXPECT_EQ(Level.CellTypes, nullptr);
        EXPECT_EQ(Level.TurnLayer, nullptr);
        EXPECT_EQ(GetCellType(0, 0, 0), 0);
        SetCellType(0, 0, 0, 1);  // no grid: nothing happens
        SetCellLight(0, 0, 0, 1);
        EXPECT_EQ(Level.Blocs[1].InstanceCount, 0);
    }
}

TEST_F(CellGridTest, EmptyAndSingleCellGrids) {
    ASSERT_TRUE(AllocLevelGrid(0, 5, 5, Level));
    EXPECT_EQ(Level.CellCount, 0);
    EXPECT_EQ(GetCellType(0, 0, 0), 0);
    ASSERT_TRUE(AllocLevelGrid(1, 1, 1, Level));
    SetCellType(0, 0, 0, 256);
    EXPECT_EQ(GetCellType(0, 0, 0), 256);
    EXPECT_EQ(GetCellType(1, 0, 0), 0);
}

}  // namespace
