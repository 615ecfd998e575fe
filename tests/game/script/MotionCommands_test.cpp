// The commands that move an instance's own bloc, on the synthetic level:
// glides that land on their targets in their time, runs toward the hero drawn
// from the game's random stream, pushes that stop at walls and floors, shots
// that reach the hero, type changes with their counts, and instances without
// a bloc.
#include "game/script/MotionCommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "game/world/WorldAnimation.h"
#include "tests/game/script/ScriptTestWorld.h"

namespace {

using scripttest::kMover;
using scripttest::kShot;
using scripttest::kSolid;
using scripttest::ScriptTest;

class MotionCommandsTest : public ScriptTest {
  protected:
    // An instance running `line` then GOTO 1, on a mover bloc at cell (x, y, z).
    BehaviourStuff& Mover(const std::string& line, int32_t x = 4, int32_t y = 1, int32_t z = 4) {
        Script(1, {{0, line}, {1, "GOTO 1"}});
        return Start(1, x, y, z, kMover);
    }
    // Frames of `ms` until the instance moves on from command 0 (at most `limit`).
    int32_t FramesUntilDone(const BehaviourStuff& b, int32_t ms, int32_t limit = 1000) {
        int32_t n = 0;
        while (b.Pc == 0 && n < limit) {
            Frame(ms);
            ++n;
        }
        return n;
    }
};

struct GlideCase {
    const char* line;
    float startAngle;
    int32_t frameMs;
    int32_t frames;  // frames until it moves on, the start frame included
    float x, y, z, angle;
};

TEST_F(MotionCommandsTest, GlidesLandExactlyOnTheirTargetsInTheirTime) {
    const std::vector<GlideCase> cases = {
        {"MOVETO (0,0,0),0,1000", 0, 40, 26, CellCentre(4), CellCentre(1), CellCentre(4), 0},
        {"MOVETO (0,1,0),180,2000", 0, 40, 51, CellCentre(4), CellCentre(2), CellCentre(4), 16384},
        {"MOVETO (2,0,-1),90,500", 100, 40, 14, CellCentre(6), CellCentre(1), CellCentre(3), 8292},
        {"MOVETOABSOLUTE (9,1,2),0,2000", 5000, 90, 24, CellCentre(9), CellCentre(1), CellCentre(2),
         0},
        {"MOVETO (1,0,0),0,0", 0, 40, 2, CellCentre(5), CellCentre(1), CellCentre(4), 0},
        {"MOVETO (1,0,0),0,-5", 0, 40, 2, CellCentre(5), CellCentre(1), CellCentre(4), 0},
    };
    for (const GlideCase& c : cases) {
        SetUp();
        BehaviourStuff& b = Mover(c.line);
        BlocOf(b).Angle = c.startAngle;
        EXPECT_EQ(FramesUntilDone(b, c.frameMs), c.frames) << c.line;
        const MovingBlocStuff& mb = BlocOf(b);
        EXPECT_EQ(mb.X, c.x) << c.line;
        EXPECT_EQ(mb.Y, c.y) << c.line;
        EXPECT_EQ(mb.Z, c.z) << c.line;
        EXPECT_EQ(mb.Angle, c.angle) << c.line;
        EXPECT_EQ(mb.VelocityY, 0) << c.line;
        EXPECT_EQ(b.Phase, 0) << c.line;
        TearDown();
    }
}

TEST_F(MotionCommandsTest, AGlideIsLinearInTime) {
    BehaviourStuff& b = Mover("MOVETO (0,1,0),180,2000");
    Frame();  // the start: nothing moves yet
    const MovingBlocStuff& mb = BlocOf(b);
    EXPECT_EQ(b.Phase, 1);
    EXPECT_EQ(mb.Y, CellCentre(1));
    Frame(0);  // no time passed: still at the start
    EXPECT_EQ(mb.Y, CellCentre(1));
    Frames(25);  // half the time
    EXPECT_FLOAT_EQ(mb.Y, CellCentre(1) + 256);
    EXPECT_FLOAT_EQ(mb.Angle, 8192);
    EXPECT_NEAR(mb.VelocityY, 512 * 40 / 2000.0f, 1e-3);  // this frame's displacement
    // A pause (a cut-scene) longer than the rest of the move ends it at once.
    Frame(5000);
    EXPECT_EQ(b.Pc, 1);
    EXPECT_EQ(mb.Y, CellCentre(2));
}

TEST_F(MotionCommandsTest, ARunGoesTowardTheHeroAtItsSpeed) {
    // Speed 90 compiles to 64 units per 90 ms; the hero stands level with the
    // low corner of the bloc's cell, 2000 units along x from it.
    BehaviourStuff& b = Mover("MOVENEARPLAYER (0,0,0),(0,0,0),90,0");
    Hero().X = 4 * 512 + 2000, Hero().Y = 512, Hero().Z = 4 * 512;
    Frame();
    const MovingBlocStuff& mb = BlocOf(b);
    EXPECT_EQ(b.Phase, 1);
    EXPECT_EQ(b.MoveDuration, 2001 * 100 / 65);
    EXPECT_FLOAT_EQ(mb.VelocityX, 2000.0f * 64 / 2001);
    EXPECT_EQ(mb.VelocityZ, 0);
    float yaw = 0, pitch = 0;
    DirectionAngles(yaw, pitch, CellCentre(4), CellCentre(1), CellCentre(4), Hero().X, Hero().Y,
                    Hero().Z);
    EXPECT_FLOAT_EQ(mb.Angle, 16384 - yaw);

    const float startX = mb.X;
    const int32_t frames = FramesUntilDone(b, 90);
    EXPECT_EQ(frames, (b.MoveDuration + 89) / 90);
    EXPECT_NEAR(mb.X, startX + 2000.0f * 64 / 2001 * frames, 1.0f);
    EXPECT_NEAR(mb.Y, CellCentre(1), 1.5f);  // on the floor all the way
    EXPECT_EQ(b.Phase, 0);
    EXPECT_EQ(mb.VelocityX, 0);
}

// The seed after `n` draws of the game's generator from `seed`.
uint32_t SeedAfter(uint32_t seed, int32_t n) {
    for (int32_t i = 0; i < n; ++i) seed = seed * 1664525u + 1013904223u;
    return seed;
}

TEST_F(MotionCommandsTest, ARunDrawsItsDestinationFromTheGameStream) {
    // Extents (4,0,4): candidates two cells below to one above the hero on x
    // and z. All but one of those cells are walls.
    Hero().X = CellCentre(9), Hero().Y = CellCentre(1), Hero().Z = CellCentre(9);
    for (int32_t x = 7; x <= 10; ++x) {
        for (int32_t z = 7; z <= 10; ++z) {
            if (x != 10 || z != 7) SetCellType(x, 1, z, kSolid);
        }
    }
    BehaviourStuff& b = Mover("MOVENEARPLAYER (0,0,0),(4,0,4),360,0");
    RandSeed = 99;
    Frame();
    // The free cell (10, 1, 7) was found: the bloc runs toward that point
    // from the low corner of its own cell.
    const double dx = CellCentre(10) - 4 * 512.0, dy = CellCentre(1) - 512.0,
                 dz = CellCentre(7) - 4 * 512.0;
    const auto d = static_cast<int64_t>(std::sqrt(dx * dx + dy * dy + dz * dz)) + 1;
    const MovingBlocStuff& mb = BlocOf(b);
    EXPECT_FLOAT_EQ(mb.VelocityX, static_cast<float>(dx * 256 / d));
    EXPECT_FLOAT_EQ(mb.VelocityZ, static_cast<float>(dz * 256 / d));
    EXPECT_EQ(b.MoveDuration, d * 100 / 257);

    // With every candidate refused, the 101st (three draws each) is taken.
    SetUp();
    for (int32_t x = 0; x < scripttest::kSizeX; ++x) {
        for (int32_t z = 0; z < scripttest::kSizeZ; ++z) SetCellType(x, 1, z, kSolid);
    }
    BehaviourStuff& blocked = Mover("MOVENEARPLAYER (0,0,0),(4,0,4),360,0", 4, 2, 4);
    RandSeed = 99;
    Frame();
    EXPECT_EQ(blocked.Phase, 1);
    EXPECT_EQ(RandSeed, SeedAfter(99, 303));
}

TEST_F(MotionCommandsTest, SlowAndBackwardRunsKeepToNumbers) {
    // Speed 1 compiles to 0: the bloc stays for d × 100 ms, falling when told.
    BehaviourStuff& b = Mover("MOVENEARPLAYER (0,0,0),(0,0,0),1,1", 4, 4, 4);
    Frame();
    EXPECT_EQ(BlocOf(b).VelocityX, 0);
    const float y = BlocOf(b).Y;
    Frames(10);
    EXPECT_EQ(BlocOf(b).X, CellCentre(4));
    EXPECT_LT(BlocOf(b).Y, y);
    EXPECT_EQ(b.Pc, 0);

    // Speed -1 has no duration: the run ends in its first running step.
    SetUp();
    BehaviourStuff& back = Mover("MOVENEARPLAYER (0,0,0),(0,0,0),-2,0");
    Frame();
    EXPECT_EQ(back.MoveDuration, 0);
    Frame();
    EXPECT_EQ(back.Pc, 1);

    // A hero position that is no number leaves the bloc where it was.
    SetUp();
    BehaviourStuff& lost = Mover("MOVENEARPLAYER (0,0,0),(0,0,0),90,1");
    Hero().X = std::numeric_limits<float>::quiet_NaN();
    Hero().Z = std::numeric_limits<float>::infinity();
    Frames(5);
    EXPECT_TRUE(std::isfinite(BlocOf(lost).X));
    EXPECT_TRUE(std::isfinite(BlocOf(lost).Z));
    EXPECT_TRUE(std::isfinite(BlocOf(lost).Angle));
}

TEST_F(MotionCommandsTest, PushesStopAtWallsAndFloors) {
    SetCellType(8, 1, 4, kSolid);
    BehaviourStuff& b = Mover("MOVEUNTILBLOCKED (60,0,0)");
    FramesUntilDone(b, 40, 200);
    EXPECT_EQ(b.Pc, 1);
    // Its face stopped within one step of the wall.
    EXPECT_LE(BlocOf(b).X, 8 * 512 - 256);
    EXPECT_GT(BlocOf(b).X, 8 * 512 - 256 - 60 * 40 / 90.0f);
    EXPECT_EQ(BlocOf(b).VelocityX, 0);

    // Falling onto the floor: it moves on in the step the floor stops it.
    SetUp();
    BehaviourStuff& fall = Mover("MOVEUNTILBLOCKED (0,-20,0)", 4, 2, 4);
    const int32_t frames = FramesUntilDone(fall, 40, 200);
    EXPECT_EQ(fall.Pc, 1);
    EXPECT_NEAR(BlocOf(fall).Y, CellCentre(1), 1.5f);
    EXPECT_NEAR(frames, 512 / (20 * 40 / 90.0), 2);

    // Without a velocity it is never blocked.
    SetUp();
    BehaviourStuff& still = Mover("MOVEUNTILBLOCKED (0,0,0)");
    Frames(20);
    EXPECT_EQ(still.Pc, 0);
}

TEST_F(MotionCommandsTest, AShotStartsClearOfTheShooterAndHitsTheHero) {
    BehaviourStuff& b = Mover("SHOOTPLAYER 5");
    Hero().X = CellCentre(10), Hero().Y = CellCentre(1), Hero().Z = CellCentre(4);
    Frame();
    EXPECT_EQ(b.Pc, 1);
    EXPECT_FLOAT_EQ(BlocOf(b).Angle, 8192);  // facing +x
    ASSERT_EQ(Level.MovingBlocHigh(), 1);
    const MovingBlocStuff& shot = Level.MovingBlocs[1];
    EXPECT_EQ(shot.Kind, kMovingProjectile);
    EXPECT_EQ(shot.BlocType, kShot);
    // (512 + (112 + 112 + 112) / 3) × 1.1 beyond the shooter's position.
    EXPECT_NEAR(shot.X, CellCentre(4) + 686.4f, 0.01f);
    EXPECT_NEAR(shot.Y, CellCentre(1), 0.01f);
    EXPECT_NEAR(shot.Z, CellCentre(4), 0.05f);  // cos of a quarter turn, as the engine has it

    const float life = Hero().Life;
    for (int32_t i = 0; i < 200 && Level.MovingBlocHigh() == 1; ++i) {
        FrameTime += 40, FrameStep = 40;
        AnimateWorld(Level);
    }
    EXPECT_EQ(Level.MovingBlocHigh(), 0);  // the shot ended on the hero
    EXPECT_EQ(Hero().Life, life - 10);
}

TEST_F(MotionCommandsTest, TransformToMovesTheInstanceCounts) {
    const struct {
        const char* line;
        int32_t type, mover, other;
    } cases[] = {
        {"TRANSFORMTO 7", 7, 0, 1},
        {"TRANSFORMTO 2", kMover, 1, 0},  // its own type
        {"TRANSFORMTO 300", kMover, 1, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        BehaviourStuff& b = Mover(c.line);
        ASSERT_EQ(Level.Blocs[kMover].InstanceCount, 1);
        Frame();
        EXPECT_EQ(b.Pc, 1) << c.line;
        EXPECT_EQ(BlocOf(b).BlocType, c.type) << c.line;
        EXPECT_EQ(Level.Blocs[kMover].InstanceCount, c.mover) << c.line;
        EXPECT_EQ(Level.Blocs[7].InstanceCount, c.other) << c.line;
        TearDown();
    }
}

TEST_F(MotionCommandsTest, AnInstanceWithoutABlocPassesOverMotion) {
    for (const char* line : {"MOVETO (1,0,0),0,1000", "MOVETOABSOLUTE (1,1,1),0,1000",
                             "MOVENEARPLAYER (0,0,0),(2,0,2),90,1", "MOVEUNTILBLOCKED (10,0,0)",
                             "SHOOTPLAYER 5", "TRANSFORMTO 7"}) {
        SetUp();
        Script(1, {{0, line}, {1, "GOTO 1"}});
        const BehaviourStuff& b = Start(1, 6, 2, 6);  // an empty cell: nothing lifted
        ASSERT_EQ(b.MovingBlocRow, -1);
        Frame();
        EXPECT_EQ(b.Pc, 1) << line;
        EXPECT_EQ(b.Phase, 0) << line;
        EXPECT_EQ(b.CellX, 6) << line;
        EXPECT_EQ(Level.MovingBlocHigh(), -1) << line;
        TearDown();
    }
}

}  // namespace
