// The controls on a small synthetic level: flags from the key bindings and the
// mouse, the keys that act outside the hero, and the hero control of play mode
// (walks, jump, camera distance, items, weapons, shots).
#include "shell/Controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/StartUp.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "support/WinFunc.h"
#include "tests/game/LevelTestWorld.h"

namespace {

constexpr int32_t kPlain = 5, kBullet = 7, kMedikit = 22, kFarPlain = 200, kLastBullet = 256;

class ControlsTest : public ::testing::Test, protected leveltest::LevelTestWorld {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(8, 4, 8, Level));
        Level.MovingBlocs.SetHigh(-1);
        Level.Golems.SetCount(0);
        for (BlocStuff& b : Level.Blocs) b.Bullet = b.Medikit = 0;
        Level.Blocs[kBullet].Bullet = Level.Blocs[kLastBullet].Bullet = 1;
        Level.Blocs[kMedikit].Medikit = 1;
        Level.Blocs[kMedikit].MedikitHealth = 25;
        Level.Blocs[0].G = 0;  // weightless air: the vertical speed is the controls' alone
        MouseMode = false;
        FrameStep = 90;  // per-90-ms amounts are this frame's amounts
        FrameTime = 1000;
        HeroFloorType = -1;
        HeroStuff& h = hero();
        h.X = h.Z = 3 * 512 + 256;
        h.Y = 512;
        h.Yaw = h.Pitch = h.Tilt = h.PitchTarget = h.TiltTarget = 0;
        h.SpeedX = h.SpeedY = h.SpeedZ = h.YawSpeed = h.VerticalSpeed = 0;
        h.Speed = 50;
        h.JumpG = 183;
        h.MeshSpeed = 0.8f;
        h.WalkPhase = 0.9f;
        h.OnGround = 1;
        h.TargetAnim = 0;
        h.CameraDistance = 0;
        h.Life = 50;
        h.Inventory.fill(0);
        h.SelectedObject = h.Weapon = 0;
        h.LastShotTime = 0;
        h.ControlFlags.fill(0);
        h.PreviousControlFlags.fill(0);
        std::fill(std::begin(KeyDown), std::end(KeyDown), uint8_t{0});
    }

    static HeroStuff& hero() { return Heroes[0]; }
    // One frame of the hero control with control `c` held (-1: none), the
    // previous frame's flags kept as ReadControls keeps them.
    void Frame(std::initializer_list<int32_t> held) {
        HeroStuff& h = hero();
        for (int32_t c = 10; c < kControlCount; ++c) h.PreviousControlFlags[c] = h.ControlFlags[c];
        h.ControlFlags.fill(0);
        for (int32_t c : held) h.ControlFlags[c] = 1;
        ControlHero(*window);
    }
};

TEST_F(ControlsTest, EveryFlagFollowsItsBindingAndClicksCountInMouseMode) {
    for (int32_t c = 0; c < kControlCount; ++c) KeyBindings[c] = static_cast<uint8_t>(65 + c);
    for (int32_t c = 0; c < kControlCount; ++c) {
        KeyDown[65 + c] = 1;
        ReadControls(*window);
        for (int32_t other = 0; other < kControlCount; ++other) {
            EXPECT_EQ(hero().ControlFlags[other], other == c ? 1 : 0) << c << " " << other;
        }
        KeyDown[65 + c] = 0;
    }
    KeyDown[65 + 10] = 1;
    ReadControls(*window);
    ReadControls(*window);
    EXPECT_EQ(hero().PreviousControlFlags[10], 1);

    KeyDown[65 + 10] = 0;
    MouseLeftDown = MouseRightDown = 1;
    ReadControls(*window);
    EXPECT_EQ(hero().ControlFlags[11] + hero().ControlFlags[8], 0) << "clicks count in mouse mode";
    MouseMode = true;
    ReadControls(*window);
    EXPECT_EQ(hero().ControlFlags[11], 1);
    EXPECT_EQ(hero().ControlFlags[8], 1);
    MouseLeftDown = MouseRightDown = 0;
}

TEST_F(ControlsTest, WalksAddTheirSpeedsAndStepTheAnimationOncePerFrame) {
    const struct {
        std::initializer_list<int32_t> flags;
        float yaw;
        float speedX, speedZ, tilt;
        int32_t anim;
    } rows[] = {
        {{}, 0, 0, 0, 0, 0},         {{2}, 0, 0, 50, 0, 1},  // forward
        {{3}, 0, 0, -50, 0, 1},                              // back
        {{7}, 0, 50, 0, 500, 1},                             // strafe right
        {{6}, 0, -50, 0, -500, 1},                           // strafe left
        {{2}, 8192, 50, 0, 0, 1},                            // forward, a quarter turn round
        {{2, 7}, 0, 50, 50, 500, 1},  // forward and strafe: one step of the walk
    };
    for (const auto& row : rows) {
        SetUp();
        hero().Yaw = row.yaw;
        Frame(row.flags);
        EXPECT_NEAR(hero().SpeedX, row.speedX, 0.01) << row.yaw;
        EXPECT_NEAR(hero().SpeedZ, row.speedZ, 0.01) << row.yaw;
        EXPECT_FLOAT_EQ(hero().TiltTarget, row.tilt);
        EXPECT_EQ(hero().TargetAnim, row.anim);
    }
    EXPECT_NEAR(hero().WalkPhase, 0.8f, 1e-5) << "the second walk of the frame steps no further";
}

TEST_F(ControlsTest, JumpsOnlyFromTheGroundAndWhenNotRising) {
    const struct {
        uint8_t onGround;
        float speed, after;
    } rows[] = {{1, 0, 183}, {1, -51, 183}, {1, 60, 60}, {0, 0, 0}};
    for (const auto& row : rows) {
        SetUp();
        hero().OnGround = row.onGround;
        hero().VerticalSpeed = row.speed;
        Frame({8});
        EXPECT_FLOAT_EQ(hero().VerticalSpeed, row.after) << row.speed;
    }
}

TEST_F(ControlsTest, ThePitchFollowsOnlyAVerticalSpeedBeyond256Thirds) {
    const float third = 256.0f / 3.0f;  // the float nearest 256/3, a little above it
    const struct {
        float speed;
        bool follows;
    } rows[] = {{std::nextafter(third, 0.0f), false}, {third, true}, {-third, true}};
    for (const auto& row : rows) {
        SetUp();
        hero().FallRotateFactor = 1;
        hero().VerticalSpeed = row.speed;
        Frame({});
        EXPECT_EQ(hero().PitchTarget, row.follows ? row.speed * 40 : 0) << row.speed;
    }
}

TEST_F(ControlsTest, CameraDistanceStepsEveryFrameTheKeyIsHeld) {
    CameraMinDistance = 600;
    CameraMaxDistance = 2400;
    const struct {
        int32_t step;
        float start;
        uint8_t key;
        float after;  // after three frames
    } rows[] = {{200, 1000, 107, 600},
                {200, 2000, 109, 2200},
                {200, 2250, 109, 2250},
                {0, 1000, 107, 1000}};
    for (const auto& row : rows) {
        CameraStep = row.step;
        hero().CameraDistance = row.start;
        KeyDown[row.key] = 1;
        for (int i = 0; i < 3; ++i) Frame({});
        KeyDown[row.key] = 0;
        EXPECT_FLOAT_EQ(hero().CameraDistance, row.after) << row.start;
    }
}

TEST_F(ControlsTest, ItemKeysPickTheNextHeldTypeOncePerPress) {
    HeroStuff& h = hero();
    for (int32_t t : {kPlain, kBullet, kFarPlain, kLastBullet}) h.Inventory[t] = 1;
    h.SelectedObject = kPlain;
    Frame({12});
    EXPECT_EQ(h.SelectedObject, kFarPlain);
    Frame({12});  // held
    EXPECT_EQ(h.SelectedObject, kFarPlain);
    Frame({});
    Frame({12});  // past 256 back to 0, over the bullets
    EXPECT_EQ(h.SelectedObject, kPlain);

    for (int32_t expected : {kBullet, kLastBullet, kBullet}) {
        Frame({13});
        EXPECT_EQ(h.Weapon, expected);
        Frame({});
    }

    // The only item held stays chosen; a choice outside the types is kept
    // until a press replaces it.
    h.Inventory.fill(0);
    h.Inventory[kPlain] = 1;
    Frame({12});
    EXPECT_EQ(h.SelectedObject, kPlain);
    Frame({});
    h.SelectedObject = 999;
    h.Weapon = -3;
    Frame({10});  // the action uses no item of type 999
    Frame({11});  // nor shoots one of type -3
    EXPECT_EQ(h.SelectedObject, 999);
    EXPECT_EQ(h.Weapon, -3);
    Frame({});
    Frame({12});
    EXPECT_EQ(h.SelectedObject, kPlain);
}

TEST_F(ControlsTest, TheActionUsesAMedikitOncePerPress) {
    HeroStuff& h = hero();
    h.SelectedObject = kMedikit;
    h.Inventory[kMedikit] = 2;
    Frame({10});
    Frame({10});
    EXPECT_FLOAT_EQ(h.Life, 75);
    EXPECT_EQ(h.Inventory[kMedikit], 1);
    Frame({});
    Frame({10});
    Frame({});
    Frame({10});
    EXPECT_FLOAT_EQ(h.Life, 100) << "none left for the third press";
    EXPECT_EQ(h.Inventory[kMedikit], 0);
}

TEST_F(ControlsTest, ShotsComeStrictlyAfterTheReloadTimeAndFlyLevelInThirdPerson) {
    HeroStuff& h = hero();
    BlocStuff& w = Level.Blocs[kBullet];
    w.ReloadTime = 500;
    w.Xmin = w.Zmin = 100, w.Xmax = w.Zmax = 400, w.Ymin = 0, w.Ymax1 = 300;
    h.Weapon = kBullet;
    h.Inventory[kBullet] = 3;
    h.Pitch = 2000;
    h.CameraDistance = 600;
    const struct {
        int32_t time;
        bool shot;
    } rows[] = {{1000, true}, {1500, false}, {1501, true}};
    int32_t shots = 0;
    for (const auto& row : rows) {
        FrameTime = row.time;
        Frame({});
        Frame({11});
        shots += row.shot ? 1 : 0;
        EXPECT_EQ(Level.MovingBlocHigh(), shots - 1) << row.time;
        EXPECT_EQ(h.Inventory[kBullet], 3 - shots);
    }
    EXPECT_EQ(h.LastShotTime, 1501);
    EXPECT_EQ(h.TargetAnim, 11);
    // max(480 / 2, 260) + 900 / 3, and a tenth more, straight ahead (+z).
    const MovingBlocStuff& shot = Level.MovingBlocs[0];
    EXPECT_FLOAT_EQ(shot.Z, h.Z + 616);
    EXPECT_FLOAT_EQ(shot.Y, h.Y);
    EXPECT_FLOAT_EQ(shot.Pitch, 0);
}

TEST_F(ControlsTest, F12TogglesOncePerPressAndButtonsSkipTheCutScene) {
    DebugDisplay = 0;
    KeyDown[123] = 1;
    for (int i = 0; i < 3; ++i) GlobalKeys(*window);
    EXPECT_EQ(DebugDisplay, 1);
    KeyDown[123] = 0;
    GlobalKeys(*window);
    KeyDown[123] = 1;
    GlobalKeys(*window);
    EXPECT_EQ(DebugDisplay, 0);
    KeyDown[123] = 0;

    KeyFramesRunning = 1;
    NextClip = -1;
    GlobalKeys(*window);
    EXPECT_EQ(KeyFramesRunning, 1);
    hero().ControlFlags[9] = 1;
    GlobalKeys(*window);
    EXPECT_EQ(KeyFramesRunning, 0);
}

TEST(KeepYawInTurns, OnlyHugeYawsLoseWholeTurns) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float yaw, kept;
    } rows[] = {{1000.5f, 1000.5f},
                {-30000, -30000},
                {16777216, 16777216},
                {33554432 + 16384, 16384},
                {-33554432 - 16384, -16384},
                {1e30f, std::fmod(1e30f, 32768.0f)},
                {inf, 0},
                {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& row : rows) {
        float yaw = row.yaw;
        KeepYawInTurns(yaw);
        EXPECT_FLOAT_EQ(yaw, row.kept) << row.yaw;
    }
}

}  // namespace
