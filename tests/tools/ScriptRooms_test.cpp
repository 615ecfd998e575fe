// The demo game's scripted rooms played through the play frame: the lift
// carries the hero, the switches open the vault, the turret shoots at the
// hero and falls to his blaster, the drone chases him, the ram slides from
// wall to wall, the spikes end the game, and the last coin wins it.
#include "tools/demogame/ScriptRooms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "shell/ComStuff.h"
#include "shell/PlayFrame.h"
#include "tests/shell/FlowTestWorld.h"
#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoLayout.h"

namespace {

constexpr int32_t kFire = 11, kAct = 10;  // control flags

class ScriptRoomsTest : public ::testing::Test, protected flowtest::FlowTestWorld {
  protected:
    void SetUp() override {
        NewGame();
        ASSERT_EQ(GameMode, ModePlay);
        Hero().Life = 100;
    }
    static HeroStuff& Hero() { return Heroes[0]; }

    void EnterSecondLevel() {
        GoToLevel(demo::LevelName(2), 2, 1, 2, *window);
        ASSERT_EQ(Level.SizeZ, 20);
        // Off the arrival cell, whose clip zone starts a cut-scene, and away
        // from the conveyor.
        Place(3, 1, 3, 0);
    }
    static void Place(int32_t x, int32_t y, int32_t z, float yaw) {
        HeroStuff& h = Hero();
        // Standing on the floor of row y.
        h.X = CellCentre(x), h.Y = static_cast<float>(y * 512) + 241, h.Z = CellCentre(z);
        h.Yaw = yaw;
        h.SpeedX = h.SpeedY = h.SpeedZ = h.VerticalSpeed = 0;
    }
    // One play frame of `ms` milliseconds, as the frame loop runs it.
    void Frame(int32_t ms = 40) {
        FrameTime += ms;
        GameTime = static_cast<float>(FrameTime);
        FrameStep = ms;
        PlayFrame(*window);
    }
    void Frames(int32_t n) {
        for (int32_t i = 0; i < n; ++i) Frame();
    }
    // Frames until `done` holds, at most `limit`; the number run.
    template <typename Done>
    int32_t FramesUntil(Done done, int32_t limit) {
        int32_t n = 0;
        while (!done() && n < limit) {
            Frame();
            ++n;
        }
        return n;
    }
    // One press of control `c`, held for one frame.
    void Press(int32_t c) {
        Hero().ControlFlags[c] = 1;
        Hero().PreviousControlFlags[c] = 0;
        Frame();
        Hero().ControlFlags[c] = 0;
        Hero().PreviousControlFlags[c] = 1;
        Frame();
        Hero().PreviousControlFlags[c] = 0;
    }
    // The moving bloc of the first instance running `behaviour`.
    static MovingBlocStuff* BlocRunning(int32_t behaviour) {
        for (const BehaviourStuff& b : Level.BehaviourInstances) {
            if (b.BehaviourType == behaviour && Level.MovingBlocs.Valid(b.MovingBlocRow)) {
                return &Level.MovingBlocs[b.MovingBlocRow];
            }
        }
        return nullptr;
    }
    static int32_t CountRunning(int32_t behaviour) {
        return static_cast<int32_t>(
            std::count_if(Level.BehaviourInstances.begin(), Level.BehaviourInstances.end(),
                          [&](const BehaviourStuff& b) { return b.BehaviourType == behaviour; }));
    }
};

TEST_F(ScriptRoomsTest, TheLiftCarriesTheHeroUpTwoCells) {
    const MovingBlocStuff* lift = BlocRunning(demo::kLift);
    ASSERT_NE(lift, nullptr);
    const int32_t liftX = CellOfCoordinate(lift->X), liftZ = CellOfCoordinate(lift->Z);
    Place(liftX, 1, liftZ, 0);
    Hero().Y = lift->Y - 256 + 80 + 241;  // on the platform
    const float start = Hero().Y;
    float highest = start;
    for (int32_t i = 0; i < 160; ++i) {
        Frame();
        highest = std::max(highest, Hero().Y);
    }
    EXPECT_GT(highest, start + 1000) << "carried up to the platform's top two cells higher";
    EXPECT_EQ(CellOfCoordinate(Hero().X), liftX);
    EXPECT_EQ(CellOfCoordinate(Hero().Z), liftZ);
}

TEST_F(ScriptRoomsTest, LightingEverySwitchOpensTheVault) {
    EnterSecondLevel();
    ASSERT_EQ(Level.Blocs[demo::kBlocSwitchOff].InstanceCount, 2);
    ASSERT_EQ(GetCellType(5, 1, 11), demo::kBlocVaultDoor);
    Place(4, 1, 2, 16384);  // facing the switch at (4, 1, 1)
    Frame();
    Press(kAct);
    FramesUntil([] { return Level.Blocs[demo::kBlocSwitchOff].InstanceCount == 1; }, 20);
    EXPECT_EQ(Level.Blocs[demo::kBlocSwitchOn].InstanceCount, 2);
    Frames(15);
    EXPECT_EQ(GetCellType(5, 1, 11), demo::kBlocVaultDoor);

    Place(3, 1, 9, 0);  // facing the switch at (3, 1, 10), near the vault door
    Frame();
    Press(kAct);
    FramesUntil([] { return GetCellType(5, 1, 11) != demo::kBlocVaultDoor; }, 40);
    EXPECT_EQ(GetCellType(5, 1, 11), 0) << "the door plays its opening";
    FramesUntil([] { return CountRunning(demo::kSwitchLockedScript) == 3; }, 20);
    EXPECT_EQ(CountRunning(demo::kSwitchLockedScript), 3) << "the switches lock";
    EXPECT_EQ(GetCellLight(5, 2, 15), 192) << "the vault is lit";
    EXPECT_EQ(GetCellType(8, 3, 14), 0) << "the crate over the vault falls";
    EXPECT_EQ(Level.CurrentSky, demo::kSkyClouds) << "the sky clears";
    EXPECT_NE(Level.Skies[demo::kSkyClouds].SkyMesh, nullptr);
}

TEST_F(ScriptRoomsTest, TheTurretShootsAtTheHeroAndFallsToHisBolts) {
    EnterSecondLevel();
    Place(5, 1, 15, 0);  // in the vault, facing the turret at (5, 1, 17)
    const float life = Hero().Life;
    FramesUntil([&] { return Hero().Life < life; }, 100);
    EXPECT_LT(Hero().Life, life) << "a fireball hit him";

    Hero().Weapon = demo::kBlocBolt;
    Hero().Inventory[demo::kBlocBolt] = 10;
    for (int32_t shot = 0; shot < 6 && CountRunning(demo::kTurretScript) > 0; ++shot) {
        Press(kFire);
        Frames(8);  // past the reload time
    }
    EXPECT_EQ(CountRunning(demo::kTurretScript), 0);
    FramesUntil([] { return GetCellType(5, 1, 16) == demo::kBlocCoin; }, 20);
    EXPECT_EQ(GetCellType(5, 1, 16), demo::kBlocCoin) << "it leaves a coin";
    const MovingBlocStuff* wreck = BlocRunning(demo::kTurretDownScript);
    ASSERT_NE(wreck, nullptr);
    EXPECT_EQ(wreck->BlocType, demo::kBlocTurretWreck);
    EXPECT_LE(Hero().Inventory[demo::kBlocBolt], 7);
    EXPECT_EQ(Hero().TimerOn, 1) << "entering the vault started the countdown";
    EXPECT_GT(Hero().TimerValue, 120000) << "and the turret gave 15 seconds more";
    EXPECT_EQ(Hero().SavesLeft, 3) << "two saves in the vault, and one more for the turret";
}

TEST_F(ScriptRoomsTest, TheDroneChasesTheHero) {
    EnterSecondLevel();
    Place(8, 1, 15, 0);
    const MovingBlocStuff* drone = BlocRunning(demo::kDroneScript);
    ASSERT_NE(drone, nullptr);
    const auto distance = [&] { return std::hypot(drone->X - Hero().X, drone->Z - Hero().Z); };
    const double start = distance();
    Frames(150);
    EXPECT_LT(distance(), start - 1024) << "two cells nearer";
    EXPECT_NEAR(drone->Y, CellCentre(1), 8) << "on the floor";
}

TEST_F(ScriptRoomsTest, TheRamSlidesFromWallToWall) {
    EnterSecondLevel();
    const MovingBlocStuff* ram = BlocRunning(demo::kRamScript);
    ASSERT_NE(ram, nullptr);
    const auto instance = [] {
        for (const BehaviourStuff& b : Level.BehaviourInstances) {
            if (b.BehaviourType == demo::kRamScript) return &b;
        }
        return static_cast<const BehaviourStuff*>(nullptr);
    }();
    FramesUntil([&] { return instance->Pc == 1; }, 400);
    EXPECT_EQ(CellOfCoordinate(ram->X), 10) << "stopped by the east wall";
    EXPECT_EQ(CellOfCoordinate(ram->Z), 13);
    FramesUntil([&] { return instance->Pc == 3; }, 400);
    EXPECT_EQ(CellOfCoordinate(ram->X), 1) << "and back at the west wall";
}

TEST_F(ScriptRoomsTest, TheSpikesEndTheGame) {
    EnterSecondLevel();
    Place(1, 1, 18, 0);
    FramesUntil([] { return Hero().SpeedY > 0; }, 10);
    EXPECT_GT(Hero().SpeedY, 0) << "thrown up";
    // The message that the game is lost stays until the game ends.
    const int32_t frames = FramesUntil([] { return GameMode != ModePlay; }, 150);
    EXPECT_GE(frames * 40, 2500);
    EXPECT_EQ(GameMode, ModeTitle);
}

TEST_F(ScriptRoomsTest, TheLastCoinWinsTheGame) {
    EnterSecondLevel();
    Hero().Inventory[demo::kBlocCoin] = demo::kCoinsToWin - 1;
    Place(9, 1, 3, 0);  // on the trophy room's coin
    Frame();
    EXPECT_EQ(Hero().Inventory[demo::kBlocCoin], demo::kCoinsToWin);
    FramesUntil([] { return GameMode != ModePlay; }, 120);
    EXPECT_EQ(GameMode, ModeEnd);
}

}  // namespace
