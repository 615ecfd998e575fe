#include "game/world/Collision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"

namespace {

// Bloc types of the test level.
constexpr int32_t kFloor = 1;     // cube
constexpr int32_t kWall = 2;      // full cell
constexpr int32_t kStep = 3;      // full footprint, top set by the test
constexpr int32_t kThin = 4;      // 50 units thick across X
constexpr int32_t kSlab = 5;      // full footprint, 100 high
constexpr int32_t kPlatform = 6;  // moving bloc, 100 high
constexpr int32_t kBelt = 7;      // cube floor moving bodies along X
constexpr int32_t kWind = 8;      // walk-through, pushes along -X
constexpr int32_t kAnim = 9;      // colliding tile animation, full cell
constexpr int32_t kMist = 10;     // walk-through tile animation, full cell
constexpr int32_t kCrate = 11;    // moving bloc, 100 wide and high, centred in its cell

// The body: 100 wide, 200 high, climbing 80.
constexpr int32_t kWidth = 100, kHeight = 200, kStepUp = 80;
// Y of a body standing on the floor (row 0): its bottom 1 unit above 512.
constexpr float kOnFloor = 613;
// Centre of cell c.
constexpr float Mid(int32_t c) { return static_cast<float>(c * 512 + 256); }

class CollisionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(8, 4, 8, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
        Level.Blocs[0].Collision = 0;
        Level.TileAnimations.Clear();
        Level.MovingBlocs.Clear();
        Level.Blocs[kFloor].Cube = Level.Blocs[kBelt].Cube = 1;
        for (int32_t t : {kWall, kStep, kSlab, kPlatform, kWind, kAnim, kMist}) Box(t, 0, 512, 512);
        Box(kThin, 231, 281, 512);
        Box(kSlab, 0, 512, 100);
        Box(kPlatform, 0, 512, 100);
        Level.Blocs[kBelt].SpeedX = 90;
        Level.Blocs[kWind].SpeedX = -120;
        Level.Blocs[kWind].Collision = Level.Blocs[kMist].Collision = 0;
        BlocStuff& crate = Level.Blocs[kCrate];
        crate.Xmin = crate.Ymin = crate.Zmin = 206;
        crate.Xmax = crate.Zmax = crate.Ymax1 = crate.Ymax2 = crate.Ymax3 = crate.Ymax4 = 306;
        for (int32_t t = 1; t <= kCrate; ++t) Level.Blocs[t].Undefined = 0;
        for (int32_t x = 0; x < 8; ++x) {
            for (int32_t z = 0; z < 8; ++z) Put(x, 0, z, kFloor);
        }
        BuildCubeFaces();
        FrameStep = 90;
    }
    void TearDown() override {
        Level.TileAnimations.Clear();
        Level.MovingBlocs.Clear();
        AllocLevelGrid(0, 0, 0, Level);
    }

    // Bounds of a mesh type: x0..x1 across X, the whole cell on Z, 0..top on Y.
    static void Box(int32_t type, int32_t x0, int32_t x1, int32_t top) {
        BlocStuff& b = Level.Blocs[type];
        b.Xmin = x0, b.Xmax = x1, b.Zmin = 0, b.Zmax = 512, b.Ymin = 0;
        b.Ymax1 = b.Ymax2 = b.Ymax3 = b.Ymax4 = top;
    }
    static void Put(int32_t x, int32_t y, int32_t z, int32_t type) {
        Level.CellTypes[CellIndex(x, y, z, Level)] = static_cast<uint16_t>(type);
    }
    static MovingBlocStuff& AddMoving(int32_t type, float x, float y, float z) {
        MovingBlocStuff& row = *Level.MovingBlocs.Add();
        row.BlocType = static_cast<uint16_t>(type);
        row.X = x, row.Y = y, row.Z = z;
        return row;
    }
    static void AddAnimation(int32_t type, float x, float y, float z) {
        TileAnimationStuff& row = *Level.TileAnimations.Add();
        row.AnimType = type;
        row.X = x, row.Y = y, row.Z = z;
    }

    struct Moved {
        float x, y, z;
        bool contact;
    };
    static Moved Move(float x, float y, float z, float vx, float vy, float vz) {
        Moved m{x, y, z, false};
        m.contact = MoveWithCollision(m.x, m.y, m.z, vx, vy, vz, kWidth, kHeight, kStepUp);
        return m;
    }
};

TEST(BoxesOverlapTest, EdgesAndLengths) {
    // On X; Y and Z overlap by 10 and 10.
    struct Case {
        float a, sa, b, sb;
        bool overlap;
        float volume;
    } const cases[] = {
        {0, 10, 10, 5, false, 0},      // B starts where A ends
        {10, 5, 0, 10, true, 0},       // A starts where B ends: overlaps, length 0
        {0, 10, 5, 10, true, 500},     // 5 on X
        {0, 100, 10, 10, true, 9000},  // B inside A counts from B's start to A's end: 90
        {0, 10, -20, 5, false, 0},
    };
    for (const Case& c : cases) {
        OverlapVolume = -1;
        EXPECT_EQ(BoxesOverlap(c.a, 0, 0, c.sa, 10, 10, c.b, 0, 0, c.sb, 10, 10), c.overlap)
            << c.a << " " << c.sa << " " << c.b << " " << c.sb;
        EXPECT_EQ(OverlapVolume, c.volume);
    }
}

TEST_F(CollisionTest, LandsOneUnitAboveTheFloorTop) {
    Put(3, 1, 3, kSlab);  // top at 612
    struct Case {
        float y, vy, endY;
        bool contact;
    } const cases[] = {
        {712, 0, 713, true},     {713, 0, 713, false},    {713, -30, 713, true},
        {1000, -300, 713, true}, {1000, -50, 950, false},
    };
    for (const Case& c : cases) {
        const Moved m = Move(Mid(3), c.y, Mid(3), 0, c.vy, 0);
        EXPECT_EQ(m.y, c.endY) << "from " << c.y << " by " << c.vy;
        EXPECT_EQ(m.contact, c.contact) << "from " << c.y << " by " << c.vy;
    }
}

TEST_F(CollisionTest, WallsStopOneAxisAndLowStepsAreClimbed) {
    // The body's face is 10 units short of column 4, moving 30 on X and 40 on Z.
    struct Case {
        int32_t type, top;
        float endX, endY;
        bool contact;
    } const cases[] = {
        {kWall, 512, 1988, kOnFloor, false},
        {kStep, 120, 1988, kOnFloor, false},      // higher than the step: a wall
        {kStep, 60, 2018, 512 + 60 + 101, true},  // climbed: 1 unit above its top
    };
    for (const Case& c : cases) {
        SetUp();
        Box(kStep, 0, 512, c.top);
        for (int32_t z = 0; z < 8; ++z) Put(4, 1, z, c.type);
        const Moved m = Move(1988, kOnFloor, Mid(3), 30, 0, 40);
        EXPECT_EQ(m.x, c.endX) << c.top;
        EXPECT_EQ(m.z, Mid(3) + 40) << c.top;  // the free axis still moves
        EXPECT_EQ(m.y, c.endY) << c.top;
        EXPECT_EQ(m.contact, c.contact) << c.top;
    }
}

TEST_F(CollisionTest, AFastBodyDoesNotPassAThinBloc) {
    const Moved free = Move(1300, kOnFloor, Mid(3), 1000, 0, 0);
    EXPECT_EQ(free.x, 1300 + 510);  // 1000 is held to 510
    Put(3, 1, 3, kThin);            // from 1767 to 1817, wholly inside the span swept
    // The step is shortened to end on the near face, which is inside the
    // bloc: the move is refused and the body stays short of the face.
    const Moved m = Move(1300, kOnFloor, Mid(3), 1000, 0, 0);
    EXPECT_EQ(m.x, 1300);
    EXPECT_LE(m.x + kWidth / 2, 1536 + 231);
}

TEST_F(CollisionTest, ABodyOnAMovingBlocRidesIt) {
    MovingBlocStuff& platform = AddMoving(kPlatform, Mid(2), Mid(1), Mid(2));  // top at 612
    platform.VelocityX = 20, platform.VelocityY = 5, platform.VelocityZ = -10;
    // Bottom 10 above the top, falling 20 this frame.
    const Moved m = Move(Mid(2), 722, Mid(2), 0, -20, 0);
    EXPECT_TRUE(m.contact);
    EXPECT_EQ(m.x, Mid(2) + 20);
    EXPECT_EQ(m.z, Mid(2) - 10);
    EXPECT_EQ(m.y, 612 + 100 + 5);  // put on top, then moved by its vy
    // 306 on X and Z (from the platform's start to the body's end), 10 on Y.
    EXPECT_EQ(CarryOverlap, 306.0f * 10 * 306);
    EXPECT_EQ(FirstTouchedType, kPlatform);
    EXPECT_EQ(LastTouchedMovingBloc, 0);
}

TEST_F(CollisionTest, AMovingBlocSkipsTheRowAtItsOwnPosition) {
    struct Case {
        float offset;
        int32_t touched, row;
    } const cases[] = {{0, -1, -1}, {0.5f, kWall, 1}};
    for (const Case& c : cases) {
        SetUp();
        AddMoving(kMist, 0, 0, 0);
        AddMoving(kWall, Mid(2) + c.offset, Mid(1), Mid(2));
        float x = Mid(2), y = Mid(1), z = Mid(2);
        MoveWithCollision(x, y, z, 0, 0, 0, kWidth, kHeight, kStepUp);
        EXPECT_EQ(FirstTouchedType, c.touched) << c.offset;
        EXPECT_EQ(LastTouchedMovingBloc, c.row) << c.offset;
        EXPECT_EQ(CarryOverlap > 0, c.touched >= 0) << c.offset;
    }
}

TEST_F(CollisionTest, AMovingBlocPutOnAnEarlierRowStillSkipsItsOwn) {
    MovingBlocStuff& platform = AddMoving(kPlatform, Mid(2), Mid(1), Mid(2));  // top at 612
    platform.VelocityX = 20, platform.VelocityY = 5;
    // The body is row 1, its bottom 10 above the platform's top; its own
    // velocity per 90 ms must not carry it.
    MovingBlocStuff& crate = AddMoving(kCrate, Mid(2), 672, Mid(2));
    crate.VelocityX = 90;
    EXPECT_TRUE(MoveWithCollision(crate.X, crate.Y, crate.Z, 0, -20, 0, 100, 100, kStepUp));
    EXPECT_EQ(LastTouchedMovingBloc, 0);
    EXPECT_EQ(crate.X, Mid(2) + 20);
    EXPECT_EQ(crate.Y, 612 + 50 + 5);
}

TEST_F(CollisionTest, TileAnimationsHoldBodiesThatMeetThem) {
    struct Case {
        int32_t type;
        float x, y;
        float endX, endY;
        bool contact;
    } const cases[] = {
        {kAnim, Mid(2), 1000, Mid(2) + 30, 1000, true},  // inside: does not fall
        {kAnim, 975, Mid(1), 975, Mid(1), true},         // beside: cannot walk in
        {kMist, Mid(2), 1000, Mid(2) + 30, 950, false},  // walk-through
    };
    for (const Case& c : cases) {
        SetUp();
        AddAnimation(c.type, Mid(2), Mid(1), Mid(2));
        const Moved m = Move(c.x, c.y, Mid(2), 30, -50, 0);
        EXPECT_EQ(m.x, c.endX) << c.type << " at " << c.x;
        EXPECT_EQ(m.y, c.endY) << c.type << " at " << c.x;
        EXPECT_EQ(m.contact, c.contact) << c.type << " at " << c.x;
        EXPECT_EQ(FirstTouchedType, c.type);
    }
}

TEST_F(CollisionTest, ConveyorsMoveBodiesPerNinetyMs) {
    Put(3, 0, 3, kBelt);
    EXPECT_EQ(Move(Mid(3), kOnFloor, Mid(3), 0, 0, 0).x, Mid(3) + 90);
    Put(3, 1, 3, kWind);  // the stronger speed of the cells around wins
    EXPECT_EQ(Move(Mid(3), kOnFloor, Mid(3), 0, 0, 0).x, Mid(3) - 120);
    FrameStep = 45;
    EXPECT_EQ(Move(Mid(3), kOnFloor, Mid(3), 0, 0, 0).x, Mid(3) - 60);
}

TEST_F(CollisionTest, BodiesStayInsideTheGrid) {
    Put(0, 0, 0, 0);  // a hole in the floor
    struct Case {
        float x, y, z, vx, vy, vz;
        float endX, endY, endZ;
        bool contact;
    } const cases[] = {
        {20, kOnFloor, Mid(3), -100, 0, 0, 0, kOnFloor, Mid(3), false},
        {Mid(3), kOnFloor, 4086, 0, 0, 100, Mid(3), kOnFloor, 4096, false},
        {256, 300, 256, 0, -200, 0, 256, 256, 256, true},               // held at 256
        {Mid(3), 2038, Mid(3), 0, 100, 0, Mid(3), 2048, Mid(3), true},  // held at the top
        {1e30f, kOnFloor, Mid(3), 0, 0, 0, 4096, kOnFloor, Mid(3), false},
        {-1e30f, kOnFloor, Mid(3), 0, 0, 0, 0, kOnFloor, Mid(3), false},
    };
    for (const Case& c : cases) {
        const Moved m = Move(c.x, c.y, c.z, c.vx, c.vy, c.vz);
        EXPECT_EQ(m.x, c.endX) << c.x << " " << c.y << " " << c.z;
        EXPECT_EQ(m.y, c.endY) << c.x << " " << c.y << " " << c.z;
        EXPECT_EQ(m.z, c.endZ) << c.x << " " << c.y << " " << c.z;
        EXPECT_EQ(m.contact, c.contact) << c.x << " " << c.y << " " << c.z;
    }
}

TEST_F(CollisionTest, ANaNBodyReadsNothingOfTheGrid) {
    const Moved m = Move(std::numeric_limits<float>::quiet_NaN(), kOnFloor, Mid(3), 0, -50, 0);
    EXPECT_TRUE(std::isnan(m.x));
    EXPECT_EQ(m.y, kOnFloor - 50);  // no floor found under it
    EXPECT_FALSE(m.contact);
}

TEST_F(CollisionTest, TypesOutsideTheBlocTableAreNothing) {
    Level.CellTypes[CellIndex(3, 0, 3, Level)] = 300;
    AddMoving(kPlatform, 0, 0, 0).BlocType = 300;
    AddAnimation(9999, Mid(3), kOnFloor, Mid(3));
    AddAnimation(-2, Mid(3), kOnFloor, Mid(3));
    const Moved m = Move(Mid(3), kOnFloor, Mid(3), 0, -50, 0);
    EXPECT_EQ(m.y, kOnFloor - 50);  // falls into the cell as into an empty one
    EXPECT_FALSE(m.contact);
    EXPECT_EQ(FirstTouchedType, -1);
}

TEST(CollisionFarGrid, TheGridEdgeIsFoundWithoutWrapping) {
    // 512 × the grid's length passes 32 bits.
    ASSERT_TRUE(AllocLevelGrid(5000000, 1, 1, Level));
    for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
    Level.Blocs[0].Collision = 0;
    Level.TileAnimations.Clear();
    Level.MovingBlocs.Clear();
    float x = 1e12f, y = 400, z = 100;
    MoveWithCollision(x, y, z, 0, 0, 0, kWidth, kHeight, kStepUp);
    EXPECT_EQ(x, 5000000.0f * 512);
    AllocLevelGrid(0, 0, 0, Level);
}

}  // namespace
