#include "game/world/BlocShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"

namespace {

constexpr int32_t kCube = 1;   // deformable cube, solid
constexpr int32_t kRamp = 2;   // mesh bloc rising along X
constexpr int32_t kGhost = 3;  // mesh bloc filling the cell, walk-through
constexpr int32_t kEmpty = 4;  // undefined type

class BlocShapesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(4, 4, 4, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
        BlocStuff& cube = Level.Blocs[kCube];
        cube.Undefined = 0, cube.Cube = 1;
        cube.Xmax = cube.Zmax = cube.Ymax1 = cube.Ymax2 = cube.Ymax3 = cube.Ymax4 = 511;
        BlocStuff& ramp = Level.Blocs[kRamp];
        ramp.Undefined = 0, ramp.Xmax = ramp.Zmax = 511;
        ramp.Ymax1 = 0, ramp.Ymax2 = 512, ramp.Ymax3 = 512, ramp.Ymax4 = 0;
        BlocStuff& ghost = Level.Blocs[kGhost];
        ghost.Undefined = 0, ghost.Collision = 0, ghost.Xmax = ghost.Zmax = 512;
        ghost.Ymax1 = ghost.Ymax2 = ghost.Ymax3 = ghost.Ymax4 = 512;
        Level.Blocs[0].Collision = Level.Blocs[kEmpty].Collision = 0;  // as loaded
        BuildCubeFaces();
        HighTextures = 0;
    }
    void TearDown() override { AllocLevelGrid(0, 0, 0, Level); }

    static void Put(int32_t x, int32_t y, int32_t z, int32_t type) {
        Level.CellTypes[CellIndex(x, y, z, Level)] = static_cast<uint16_t>(type);
    }
    static void Corners(int32_t x, int32_t y, int32_t z, uint8_t px, uint8_t py, uint8_t pz) {
        const int32_t i = CellIndex(x, y, z, Level);
        Level.CornerXLayer[i] = px, Level.CornerYLayer[i] = py, Level.CornerZLayer[i] = pz;
    }
    // Xmin, Xmax, Ymin, Zmin, Zmax, Ymax1..Ymax4 of a type.
    static std::vector<int32_t> Bounds(int32_t type) {
        const BlocStuff& b = Level.Blocs[type];
        return {b.Xmin, b.Xmax, b.Ymin, b.Zmin, b.Zmax, b.Ymax1, b.Ymax2, b.Ymax3, b.Ymax4};
    }
};

TEST_F(BlocShapesTest, CubeFacesStartAsTheFlatUnitCube) {
    // Face A..F: the axis it lies across and the side.
    const int32_t axis[6] = {2, 0, 2, 0, 1, 1};
    const int32_t side[6] = {-256, 256, 256, -256, 256, -256};
    for (int32_t f = 0; f < 6; ++f) {
        const TG3DMesh* mesh = CubeFaces[f];
        ASSERT_NE(mesh, nullptr);
        ASSERT_EQ(mesh->LastVertex, 3);
        ASSERT_EQ(mesh->LastFace, 1);
        for (int32_t v = 0; v < 4; ++v) {
            const int32_t c[3] = {mesh->X[v], mesh->Y[v], mesh->Z[v]};
            EXPECT_EQ(c[axis[f]], side[f]) << "face " << f << " vertex " << v;
            for (int32_t a = 0; a < 3; ++a) EXPECT_EQ(std::abs(c[a]), 256);
        }
        for (const TG3DFace& t : mesh->Faces) {
            EXPECT_EQ(t.Texture, 66);
            EXPECT_EQ(t.Kind, kG3DFaceFlat);
            EXPECT_EQ(t.DoubleSided, 0);
        }
    }
    const TG3DMesh* kept = CubeFaces[0];
    BuildCubeFaces();
    EXPECT_EQ(CubeFaces[0], kept);
}

TEST_F(BlocShapesTest, CubeCellsShapeFromTheCornersOfTheirNeighbours) {
    struct Case {
        const char* what;
        int32_t cx, cy, cz;  // corner cell written; cx -1: every cell
        uint8_t px, py, pz;
        int32_t sx, sy, sz;  // cell shaped
        std::vector<int32_t> bounds;
    };
    const Case cases[] = {
        {"all corners 0", 1, 1, 1, 0, 0, 0, 1, 1, 1, {0, 512, 0, 0, 512, 512, 512, 512, 512}},
        {"high corner dropped half a cell",
         1,
         1,
         1,
         0,
         50,
         0,
         1,
         1,
         1,
         {0, 512, 0, 0, 512, 512, 512, 256, 512}},
        {"the same vertex raises the bottom of the cell above",
         1,
         1,
         1,
         0,
         50,
         0,
         2,
         2,
         2,
         // Ymin = (0 - 256 × 3) / 4 + 256
         {0, 512, 64, 0, 512, 512, 512, 512, 512}},
        {"33 % is 168 units, truncated",
         1,
         1,
         1,
         33,
         33,
         33,
         1,
         1,
         1,
         {0, 512, 0, 0, 512, 512, 512, 344, 512}},
        {"every corner in by 33 %",
         -1,
         0,
         0,
         33,
         33,
         33,
         1,
         1,
         1,
         {168, 344, 168, 168, 344, 344, 344, 344, 344}},
        {"bottom mean truncates toward zero",
         0,
         0,
         0,
         0,
         1,
         0,
         1,
         1,
         1,
         // (5 - 256 - 256 - 256 - 256) / 4 = -254.75 → -254
         {0, 512, 2, 0, 512, 512, 512, 512, 512}},
        {"past the centre is not clamped",
         1,
         1,
         1,
         0,
         199,
         0,
         1,
         1,
         1,
         {0, 512, 0, 0, 512, 512, 512, -506, 512}},
        {"a cell at index 0 reads nothing below the grid",
         -1,
         0,
         0,
         10,
         10,
         10,
         0,
         0,
         0,
         {0, 512, 0, 0, 512, 512, 512, 461, 512}},
    };
    for (const Case& c : cases) {
        SetUp();
        Put(c.sx, c.sy, c.sz, kCube);
        if (c.cx < 0) {  // every cell of the grid
            for (int32_t i = 0; i < Level.CellCount; ++i) {
                Level.CornerXLayer[i] = c.px, Level.CornerYLayer[i] = c.py;
                Level.CornerZLayer[i] = c.pz;
            }
        } else {
            Corners(c.cx, c.cy, c.cz, c.px, c.py, c.pz);
        }
        ShapeCellBounds(c.sx, c.sy, c.sz);
        EXPECT_EQ(Bounds(kCube), c.bounds) << c.what;
    }
}

TEST_F(BlocShapesTest, ShapingPoursTheCornersIntoTheFacesAndResetUndoesIt) {
    Put(2, 2, 2, kCube);
    Corners(1, 1, 1, 0, 50, 0);  // bottom corner (0,0,0) of cell (2,2,2) up 256
    Corners(2, 2, 2, 10, 0, 0);  // top corner (1,1,1) in by 51 on X
    ShapeBlocCube(2, 2, 2, Level);
    // Face A's vertex 2 and face F's vertex 1 are corner (0,0,0).
    EXPECT_EQ(CubeFaces[0]->Y[2], 0);
    EXPECT_EQ(CubeFaces[5]->Y[1], 0);
    EXPECT_EQ(CubeFaces[5]->X[1], -256);
    // Face B's vertex 1 and face E's vertex 0 are corner (1,1,1).
    EXPECT_EQ(CubeFaces[1]->X[1], 205);
    EXPECT_EQ(CubeFaces[4]->X[0], 205);
    ResetBlocCube();
    EXPECT_EQ(CubeFaces[0]->Y[2], -256);
    EXPECT_EQ(CubeFaces[4]->X[0], 256);
    EXPECT_EQ(Level.Blocs[kCube].Ymin, 64);  // bounds stay as shaped
}

TEST_F(BlocShapesTest, CubeBoundsDescribeTheCellShapedLastAndOtherTypesAreLeftAlone) {
    Put(1, 1, 1, kCube);
    Put(2, 1, 1, kCube);
    Put(3, 1, 1, kRamp);
    Corners(1, 1, 1, 0, 50, 0);
    ShapeCellBounds(1, 1, 1);
    EXPECT_EQ(Level.Blocs[kCube].Ymax3, 256);
    ShapeCellBounds(2, 1, 1);
    EXPECT_EQ(Level.Blocs[kCube].Ymax3, 512);
    EXPECT_EQ(Level.Blocs[kCube].Ymax4, 256);  // the same vertex is its corner (0,1,1)
    const std::vector<int32_t> ramp = Bounds(kRamp);
    ShapeCellBounds(3, 1, 1);
    ShapeCellBounds(-1, 0, 0);
    EXPECT_EQ(Bounds(kRamp), ramp);
}

TEST_F(BlocShapesTest, AQueryRunEndsAsIfEveryCellWereShapedAlone) {
    Put(1, 1, 1, kCube);
    Put(2, 1, 1, kCube);
    Corners(1, 1, 1, 0, 50, 0);  // corner (1,1,1) of cell (1,1,1), (0,1,1) of (2,1,1)
    {
        const ShapeQueryRun run;
        ShapeCellBounds(1, 1, 1);
        EXPECT_EQ(Level.Blocs[kCube].Ymax3, 256);
        ShapeCellBounds(2, 1, 1);
        EXPECT_EQ(Level.Blocs[kCube].Ymax3, 512);
        ShapeCellBounds(1, 1, 1);
        EXPECT_EQ(Level.Blocs[kCube].Ymax4, 512);
        EXPECT_EQ(CubeFaces[4]->Y[0], 256);  // the faces are written when the run ends
    }
    EXPECT_EQ(Level.Blocs[kCube].Ymax3, 256);
    EXPECT_EQ(CubeFaces[4]->Y[0], 0);  // face E, corner (1,1,1) of cell (1,1,1)
    EXPECT_EQ(CubeFaces[4]->Y[3], 256);
    {
        const ShapeQueryRun run;
        ShapeCellBounds(2, 1, 1);
        ResetBlocCube();  // not undone when the run ends
    }
    EXPECT_EQ(CubeFaces[4]->Y[3], 256);
    EXPECT_EQ(Level.Blocs[kCube].Ymax4, 256);
}

TEST_F(BlocShapesTest, FaceTextureOrColourFollowsTheTextureSetting) {
    BlocStuff& cube = Level.Blocs[kCube];
    *cube.FaceColor(2) = 17;
    *cube.FaceTexture(2) = 70000;  // stored in 16 bits
    SetBlocFaceTexture(2, kCube, Level);
    EXPECT_EQ(CubeFaces[2]->Faces[0].Texture, 17);
    EXPECT_EQ(CubeFaces[2]->Faces[1].Kind, kG3DFaceFlat);
    HighTextures = 1;
    SetBlocFaceTexture(2, kCube, Level);
    EXPECT_EQ(CubeFaces[2]->Faces[1].Texture, 70000 & 0xFFFF);
    EXPECT_EQ(CubeFaces[2]->Faces[0].Kind, kG3DFaceTextured);
    EXPECT_EQ(CubeFaces[1]->Faces[0].Texture, 66);
    SetBlocFaceTexture(6, kCube, Level);
    SetBlocFaceTexture(-1, kCube, Level);
    SetBlocFaceTexture(0, 300, Level);
    EXPECT_EQ(CubeFaces[0]->Faces[0].Texture, 66);
}

TEST_F(BlocShapesTest, TopHeightIsTheBilinearSurfaceTruncatedTowardZero) {
    struct Case {
        int32_t type;
        float lx, lz;
        int32_t top;
    } const cases[] = {
        {kRamp, 256, 0, 256},    {kRamp, 0, 300, 0},
        {kRamp, 511, 511, 511},  {kRamp, -1, 0, -1},
        {kRamp, 600, 0, 601},    {kEmpty, 100, 100, 512},
        {kEmpty, -5000, 0, 512}, {300, 0, 0, 512},
        {-1, 0, 0, 512},         {kRamp, std::numeric_limits<float>::quiet_NaN(), 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlocTypeTopHeight(c.type, c.lx, c.lz), c.top)
            << c.type << " at " << c.lx << ", " << c.lz;
    }
    // A bloc without width divides by 0.01, not by zero.
    Level.Blocs[kRamp].Xmin = Level.Blocs[kRamp].Xmax = 100;
    EXPECT_EQ(BlocTypeTopHeight(kRamp, 100, 0), 0);
}

TEST_F(BlocShapesTest, CellTopHeightShapesACubeFirst) {
    Put(1, 1, 1, kCube);
    Put(2, 1, 1, kRamp);
    Put(3, 1, 1, kEmpty);
    Corners(1, 1, 1, 0, 50, 0);
    EXPECT_EQ(BlockTopHeight(1, 1, 1, 0, 0), 512);  // loaded as 511, shaped to 512
    EXPECT_EQ(BlockTopHeight(1, 1, 1, 512, 512), 256);
    EXPECT_EQ(BlockTopHeightLess(2, 1, 1, 256, 0, 6), 250);
    EXPECT_EQ(BlockTopHeight(3, 1, 1, 0, 0), 512);
    EXPECT_EQ(BlockTopHeightLess(0, 0, 0, 0, 0, INT32_MIN), INT32_MAX);  // held, not wrapped
    Corners(0, 0, 0, 0, 20, 0);
    EXPECT_EQ(BlockBottomLess(1, 1, 1, 0), 26);  // (-154 - 3 × 256) / 4 = -230.5 → -230
    EXPECT_EQ(BlockBottomLess(2, 1, 1, 10), -10);
}

TEST_F(BlocShapesTest, PointTests) {
    Put(0, 0, 0, kCube);
    Put(1, 1, 1, kRamp);
    Put(2, 1, 1, kGhost);
    Put(3, 1, 1, 300);  // a damaged grid
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float x, y, z;
        bool colliding, any;
    } const cases[] = {
        {"inside a cube", 100, 100, 100, true, true},
        {"on the cube's low faces", 0, 0, 0, true, true},
        {"negative coordinate: cell 0, below Xmin", -1, 100, 100, false, false},
        {"under the ramp's surface", 512 + 300, 512 + 299, 512 + 10, true, true},
        {"over the ramp's surface", 512 + 300, 512 + 302, 512 + 10, false, false},
        {"walk-through bloc", 1024 + 10, 512 + 10, 512 + 10, false, true},
        {"type outside the bloc table", 1536 + 10, 512 + 10, 512 + 10, false, false},
        {"beyond the grid", 2048 + 10, 10, 10, false, false},
        {"NaN", nan, 100, 100, false, false},
        {"infinite", 100, -inf, 100, false, false},
        {"huge", 100, 100, 1e30f, false, false},
        {"huge negative", -1e12f, 100, 100, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointInCollidingBlock(c.x, c.y, c.z), c.colliding) << c.what;
        EXPECT_EQ(PointInCollidingBlockMargin(0, c.x, c.y, c.z), c.colliding) << c.what;
        EXPECT_EQ(PointInBlock(c.x, c.y, c.z), c.any) << c.what;
    }
    // The margin lowers the vertical range: the top is 300 at this point.
    EXPECT_TRUE(PointInCollidingBlockMargin(50, 512 + 300, 512 + 250, 512 + 10));
    EXPECT_FALSE(PointInCollidingBlockMargin(50, 512 + 300, 512 + 251, 512 + 10));
}

TEST(BlocShapesFarGrid, FarCellsAreFoundWithoutWrapping) {
    // 512 × the last cell's index passes 32 bits.
    constexpr int32_t kLong = 5000000;
    ASSERT_TRUE(AllocLevelGrid(kLong, 1, 1, Level));
    for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
    BlocStuff& solid = Level.Blocs[1];
    solid = BlocStuff{};
    solid.Undefined = 0, solid.Xmax = solid.Zmax = 512;
    solid.Ymax1 = solid.Ymax2 = solid.Ymax3 = solid.Ymax4 = 512;
    Level.CellTypes[kLong - 1] = 1;
    const float x = static_cast<float>(int64_t{kLong - 1} * 512 + 256);
    EXPECT_TRUE(PointInCollidingBlock(x, 100, 100));
    EXPECT_EQ(BlockTopHeight(kLong - 1, 0, 0, 0, 0), 512);
    EXPECT_FALSE(PointInCollidingBlock(x - 512, 100, 100));
    AllocLevelGrid(0, 0, 0, Level);
}

}  // namespace
