#include "game/world/HeroInteraction.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/G3DMesh.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "support/Snd.h"

namespace {

TEST(DirectionAnglesTest, AnglesOfEveryQuarter) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float dx, dy, dz;
        float yaw, pitch;
    };
    const std::vector<Case> cases =
        {
            {0, 0, 0, 8192, 8192},  // to itself
            {0, 0, 5, 0, 0},        {3, 0, 0, 8192, 0},   {-3, 0, 0, 24576, 0},
            {0, 0, -5, 16384, 0},   {1, 0, -1, 12288, 0}, {-1, 0, 1, 28672, 0},
            {0, -4, 0, 8192, 8192},  // straight down: a quarter turn up
            {0, 1, 1, 0, 4096},     {0, -1, 1, 0, 28672}, {nan, 0, 1, 8192, 8192},
        };
    for (const Case& c : cases) {
        float yaw = -1, pitch = -1;
        DirectionAngles(yaw, pitch, 100, 200, 300, 100 + c.dx, 200 + c.dy, 300 + c.dz);
        // 16384 / 3.14159 per radian: a quarter turn is 8192 exactly, an
        // eighth 4096.0014.
        EXPECT_NEAR(yaw, c.yaw, 0.01) << c.dx << "," << c.dy << "," << c.dz;
        EXPECT_NEAR(pitch, c.pitch, 0.01) << c.dx << "," << c.dy << "," << c.dz;
    }
}

class BlendHeroPosesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int32_t a = 0; a < 2; ++a) {
            G3DAllocMesh(hero().AnimMeshes[a], 0, 0);
            hero().AnimMeshes[a]->X[0] = 100 * a;
        }
        hero().CurrentAnim = hero().TargetAnim = hero().PreviousTargetAnim = 0;
        LastHero = 0;
    }
    void TearDown() override {
        for (TG3DMesh*& mesh : hero().AnimMeshes) G3DFreeMesh(mesh);
        G3DFreeMesh(hero().HeroMesh);
    }
    static HeroStuff& hero() { return Heroes[0]; }
    static int32_t PoseX() { return hero().HeroMesh ? hero().HeroMesh->X[0] : -1; }
};

TEST_F(BlendHeroPosesTest, ANewTargetBlendsInOverItsDuration) {
    hero().TargetAnim = 1;
    hero().BlendDuration = 100;
    // frame time, pose, current animation after the frame
    const std::vector<std::array<int32_t, 3>> frames = {
        {1000, 0, 0}, {1050, 50, 0}, {1100, 100, 1}, {1200, 100, 1}};
    for (const auto& [time, x, current] : frames) {
        FrameTime = time;
        BlendHeroPoses();
        EXPECT_EQ(PoseX(), x) << time;
        EXPECT_EQ(hero().CurrentAnim, current) << time;
    }
}

TEST_F(BlendHeroPosesTest, OddDurationsAndClocksKeepThePoseBetweenItsKeys) {
    struct Case {
        const char* what;
        int32_t duration;
        int32_t blendStart;
        int32_t x;
    };
    const std::vector<Case> cases = {
        {"no duration: at the target at once", 0, 1000, 100},
        {"a blend start after the frame: at the start pose", 100, 5000, 0},
        {"long past: beyond the target (not limited to 1)", 100, 850, 150},
    };
    for (const Case& c : cases) {
        hero().CurrentAnim = 0;
        hero().TargetAnim = hero().PreviousTargetAnim = 1;
        hero().BlendDuration = c.duration;
        hero().BlendStart = c.blendStart;
        FrameTime = 1000;
        BlendHeroPoses();
        EXPECT_EQ(PoseX(), c.x) << c.what;
    }
}

TEST_F(BlendHeroPosesTest, AnimationNumbersOutsideTheSlotsBlendNothing) {
    BlendHeroPoses();
    ASSERT_EQ(PoseX(), 0);
    hero().TargetAnim = 40;
    hero().CurrentAnim = -3;
    FrameTime = 1000;
    BlendHeroPoses();
    EXPECT_EQ(PoseX(), 0);
}

// Bloc types of the synthetic level.
constexpr int32_t kTouched = 10, kBullet = 11, kKey = 12, kDoor = 13, kDoorAnim = 14;
constexpr int32_t kCrate = 15, kEarth = 16, kLever = 17, kGolem = 18;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// A 4 × 4 × 4 level with the hero in cell (1, 1, 1) facing +z, every action
// sound recorded.
class HeroWorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(4, 4, 4, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
        Level.TileAnimations.Clear();
        Level.DugCells.Clear();
        Level.MovingBlocs.Clear();
        Level.Golems.Clear();
        for (int32_t t : {kTouched, kBullet, kKey, kDoor, kCrate, kEarth, kLever, kGolem}) {
            Level.Blocs[t].Undefined = 0;
        }
        GameWon = 0;
        FrameStep = 90;  // per-90-ms amounts are this frame's amounts
        CurrentHero = 0;
        hero() = HeroStuff{};
        hero().X = 769.5f, hero().Y = 752, hero().Z = 768;
        hero().TargetCellX = 1, hero().TargetCellY = 0, hero().TargetCellZ = 2;
        hero().Life = 50;
        auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
        log = device->Log();
        platform::audio::RecordingAudioDevice* raw = device.get();
        InitSound(std::move(device));
        sound = std::make_unique<TSoundBuffer>(raw, "");
        const uint8_t samples[4] = {};
        sound->Buffer = raw->CreateSoundBuffer({1, 22050, 8, 1}, samples);
        Level.Blocs[kTouched].ActionSoundBuffer = sound.get();
        Level.Blocs[kTouched].ActionVolume = 200;
    }
    void TearDown() override {
        for (BlocStuff& bloc : Level.Blocs) bloc.ActionSoundBuffer = nullptr;
        Level.Blocs[kGolem].GolemType.BlockSound = nullptr;
        hero().GolemStopSound = nullptr;
        sound.reset();
        ShutDownSound();
        Level.TileAnimations.Clear();
        Level.Golems.Clear();
        for (BlocStuff& bloc : Level.Blocs) bloc.FreeMeshes();
        AllocLevelGrid(0, 0, 0, Level);
    }
    static HeroStuff& hero() { return Heroes[0]; }
    int32_t Plays() const {
        int32_t plays = 0;
        for (const std::string& call : log->Calls) plays += call.rfind("duplicate", 0) == 0;
        return plays;
    }
    static GolemStuff& AddGolem(int32_t cx, int32_t cy, int32_t cz, int32_t state) {
        GolemStuff& g = *Level.Golems.Add();
        g.GolemBloc = kGolem;
        g.X = CellCentre(cx), g.Y = CellCentre(cy), g.Z = CellCentre(cz);
        g.Heading = 1000;
        g.State = state;
        return g;
    }

    std::shared_ptr<platform::audio::RecordingLog> log;
    std::unique_ptr<TSoundBuffer> sound;
};

TEST_F(HeroWorldTest, TouchEffectsOfTheHerosCellOneByOne) {
    struct Case {
        const char* what;
        std::function<void(BlocStuff&, HeroStuff&)> set;
        std::function<void(const HeroStuff&)> check;
        int32_t plays;
        bool removed;
    };
    const std::vector<Case> cases = {
        {"no gravity", [](BlocStuff& b, HeroStuff&) { b.G = 0; },
         [](const HeroStuff& h) { EXPECT_FLOAT_EQ(h.VerticalSpeed, 10); }, 0, false},
        {"negative gravity lifts", [](BlocStuff& b, HeroStuff&) { b.G = -30; },
         [](const HeroStuff& h) { EXPECT_FLOAT_EQ(h.VerticalSpeed, 40); }, 0, false},
        {"game end", [](BlocStuff& b, HeroStuff&) { b.GameEnd = 1; },
         [](const HeroStuff& h) {
             EXPECT_EQ(GameWon, 1);
             EXPECT_FLOAT_EQ(h.VerticalSpeed, -14);
         },
         0, false},
        {"saves up to the unlimited count",
         [](BlocStuff& b, HeroStuff& h) { b.SaveReload = 10, h.SavesLeft = 995; },
         [](const HeroStuff& h) { EXPECT_EQ(h.SavesLeft, 1000); }, 1, true},
        {"saves never below 0",
         [](BlocStuff& b, HeroStuff& h) { b.SaveReload = -50, h.SavesLeft = 20; },
         [](const HeroStuff& h) { EXPECT_EQ(h.SavesLeft, 0); }, 1, true},
        {"saves from a huge reload",
         [](BlocStuff& b, HeroStuff& h) { b.SaveReload = kMax, h.SavesLeft = 5; },
         [](const HeroStuff& h) { EXPECT_EQ(h.SavesLeft, 1000); }, 1, true},
        {"timer restarts an expired one",
         [](BlocStuff& b, HeroStuff& h) {
             b.Timer = 1, b.TimerDuration = 5000, h.TimerValue = -40, h.TimerExpired = 1;
         },
         [](const HeroStuff& h) {
             EXPECT_EQ(h.TimerOn, 1);
             EXPECT_EQ(h.TimerValue, 4960);
             EXPECT_EQ(h.TimerExpired, 0);
         },
         1, true},
        {"timer without wrapping",
         [](BlocStuff& b, HeroStuff& h) {
             b.Timer = 1, b.TimerDuration = kMax, h.TimerValue = 1000;
         },
         [](const HeroStuff& h) { EXPECT_EQ(h.TimerValue, kMax); }, 1, true},
        {"spring after gravity", [](BlocStuff& b, HeroStuff&) { b.Spring = 1; },
         [](const HeroStuff& h) { EXPECT_FLOAT_EQ(h.VerticalSpeed, 435.2f); }, 1, false},
        {"medikit beyond 100",
         [](BlocStuff& b, HeroStuff&) { b.Medikit = 1, b.MedikitHealth = 60; },
         [](const HeroStuff& h) { EXPECT_FLOAT_EQ(h.Life, 110); }, 1, true},
        {"medikit to take is a pick-up only",
         [](BlocStuff& b, HeroStuff&) { b.Medikit = b.CanGet = 1, b.Quantity = 2; },
         [](const HeroStuff& h) {
             EXPECT_FLOAT_EQ(h.Life, 50);
             EXPECT_EQ(h.Inventory[kTouched], 2);
             EXPECT_EQ(h.SelectedObject, kTouched);
         },
         1, true},
        {"pick-up without wrapping",
         [](BlocStuff& b, HeroStuff& h) {
             b.CanGet = 1, b.Quantity = kMax, h.Inventory[kTouched] = 5;
         },
         [](const HeroStuff& h) { EXPECT_EQ(h.Inventory[kTouched], kMax); }, 1, true},
        {"ammunition",
         [](BlocStuff& b, HeroStuff&) {
             b.CanGet = b.Ammo = 1, b.AmmoBullet = kBullet, b.Quantity = 5;
         },
         [](const HeroStuff& h) {
             EXPECT_EQ(h.Weapon, kBullet);
             EXPECT_EQ(h.Inventory[kBullet], 5);
             EXPECT_EQ(h.Inventory[kTouched], 0);
             EXPECT_EQ(h.SelectedObject, 0);
         },
         1, true},
        {"ammunition for no bloc type",
         [](BlocStuff& b, HeroStuff& h) { b.CanGet = b.Ammo = 1, h.Weapon = kBullet; },
         [](const HeroStuff& h) {
             EXPECT_EQ(h.Weapon, kBullet);
             EXPECT_EQ(h.Inventory[kTouched], 0);
         },
         1, true},
        {"ammunition beyond the types",
         [](BlocStuff& b, HeroStuff&) { b.CanGet = b.Ammo = 1, b.AmmoBullet = kBlocTypeCount; },
         [](const HeroStuff& h) { EXPECT_EQ(h.Weapon, 0); }, 1, true},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        SetCellType(1, 1, 1, kTouched);
        hero().VerticalSpeed = 10;
        c.set(Level.Blocs[kTouched], hero());
        HeroTouchEffects(0);
        c.check(hero());
        EXPECT_EQ(Plays(), c.plays) << c.what;
        EXPECT_EQ(GetCellType(1, 1, 1), c.removed ? 0 : kTouched) << c.what;
    }
}

TEST_F(HeroWorldTest, TouchSoundsAtTheRoundedHeroPositionAndItsVolume) {
    SetCellType(1, 1, 1, kTouched);
    Level.Blocs[kTouched].Spring = 1;
    HeroTouchEffects(0);
    ASSERT_EQ(Plays(), 1);
    const SoundChannel& channel = SoundChannels[0];
    EXPECT_EQ((std::array{channel.X, channel.Y, channel.Z}), (std::array{770, 752, 768}));
    EXPECT_EQ(channel.Level, 200);
    HeroTouchEffects(-1);
    HeroTouchEffects(kHeroCount);
    EXPECT_EQ(Plays(), 1) << "no hero out of range";
}

TEST_F(HeroWorldTest, OverlappingMovingBlocsTouchAndAreTakenAsTypeZero) {
    BlocStuff& b = Level.Blocs[kTouched];
    b.CanGet = 1, b.G = 30;
    b.Xmin = b.Ymin = b.Zmin = 100, b.Xmax = b.Ymax1 = b.Zmax = 400;
    b.InstanceCount = 2;
    // One bloc overlapping the hero's box, one two cells away.
    for (float x : {900.0f, 2000.0f}) {
        MovingBlocStuff& row = *Level.MovingBlocs.Add();
        row.X = x, row.Y = 752, row.Z = 768;
        row.BlocType = kTouched;
    }
    const int32_t empties = Level.Blocs[0].InstanceCount;
    HeroTouchEffects(0);
    EXPECT_EQ(Level.MovingBlocs[0].BlocType, 0);
    EXPECT_EQ(Level.MovingBlocs[1].BlocType, kTouched);
    EXPECT_EQ(hero().Inventory[kTouched], 1);
    EXPECT_EQ(b.InstanceCount, 1);
    EXPECT_EQ(Level.Blocs[0].InstanceCount, empties + 1);
    // The bloc's gravity, then the empty cell's.
    EXPECT_FLOAT_EQ(hero().VerticalSpeed, -30 - 24);
    EXPECT_EQ(Plays(), 1);
}

TEST_F(HeroWorldTest, DoorOpensOnlyWithTheSelectedKeyAndTakesItsAmount) {
    BlocStuff& door = Level.Blocs[kDoor];
    door.Door = 1, door.AnimDoor = kDoorAnim, door.DoorOpen = 0, door.DoorKeyRemoveAmount = 2;
    struct Case {
        const char* what;
        int32_t doorKey, selected, held;
        bool opens;
        int32_t left;
    };
    const std::vector<Case> cases = {
        {"selected and enough", kKey, kKey, 3, true, 1},
        {"exactly enough", kKey, kKey, 2, true, 0},
        {"not enough", kKey, kKey, 1, false, 1},
        {"another item selected", kKey, kBullet, 3, false, 3},
        {"no key type", -1, -1, 3, false, 3},
        {"a key type beyond the types", kBlocTypeCount, kBlocTypeCount, 3, false, 3},
    };
    for (const Case& c : cases) {
        SetCellType(1, 0, 2, kDoor);
        door.DoorKey = c.doorKey;
        hero().SelectedObject = c.selected;
        hero().Inventory[kKey] = c.held;
        hero().ActionLock = 0;
        EXPECT_EQ(HeroAction(1, 0, 2, 0), c.opens) << c.what;
        EXPECT_EQ(Level.TileAnimations.Empty(), !c.opens) << c.what;
        EXPECT_EQ(hero().Inventory[kKey], c.left) << c.what;
        EXPECT_EQ(hero().ActionLock, c.opens ? 300 : 0) << c.what;
        EXPECT_EQ(PlayerActivation.Flag, 1);
        EXPECT_EQ((std::array{PlayerActivation.X, PlayerActivation.Y, PlayerActivation.Z}),
                  (std::array{1, 0, 2}));
        Level.TileAnimations.Clear();
    }
}

TEST_F(HeroWorldTest, PushMovesTheBlocOnlyWhenTheHeroAimsAtIt) {
    struct Case {
        const char* what;
        float x, y, z;
        bool acts, moves;
    };
    // The crate's cell (1, 1, 2) has its centre at (768, 1280); the hero faces +z.
    const std::vector<Case> cases = {
        {"behind it", 768, 752, 768, true, true},
        {"in front of it, facing away", 768, 752, 1792, true, true},
        {"beside it", 256, 752, 1280, true, false},
        {"ahead but off to the side", 256, 752, 1024, true, false},
        {"a body's height above it", 768, 1000, 768, false, false},
    };
    for (const Case& c : cases) {
        Level.MovingBlocs.Clear();
        SetCellType(1, 1, 2, kCrate);
        Level.Blocs[kCrate].CanPush = 1;
        hero().X = c.x, hero().Y = c.y, hero().Z = c.z;
        hero().SpeedX = hero().SpeedZ = 5;
        hero().ActionLock = 0;
        EXPECT_EQ(HeroAction(1, 1, 2, 0), c.acts) << c.what;
        EXPECT_EQ(Level.MovingBlocs.Empty(), !c.moves) << c.what;
        EXPECT_FLOAT_EQ(hero().SpeedZ, c.moves ? 0.0f : 5.0f) << c.what;
        EXPECT_EQ(hero().ActionLock, c.moves ? 500 : 0) << c.what;
    }
}

TEST_F(HeroWorldTest, DigLeverAndNothingOnTheCellInFront) {
    BlocStuff& earth = Level.Blocs[kEarth];
    earth.Dig = earth.Recover = 1, earth.DigAnim = kDoorAnim;
    Level.Blocs[kLever].Lever = 1, Level.Blocs[kLever].LeverAnim = kDoorAnim;
    SetCellType(1, 0, 2, kEarth);
    SetCellType(2, 0, 2, kLever);
    struct Case {
        int32_t x;
        bool acts;
        int32_t blend, lock;
    } cases[] = {{1, true, 250, 500}, {2, true, 100, 300}, {0, false, 0, 0}};
    for (const Case& c : cases) {
        hero().TargetAnim = hero().BlendDuration = hero().ActionLock = 0;
        EXPECT_EQ(HeroAction(c.x, 0, 2, 0), c.acts) << c.x;
        EXPECT_EQ(hero().TargetAnim, c.acts ? 10 : 0) << c.x;
        EXPECT_EQ(hero().BlendDuration, c.blend) << c.x;
        EXPECT_EQ(hero().ActionLock, c.lock) << c.x;
    }
    EXPECT_EQ(Level.DugCellHigh(), 0);
    EXPECT_EQ(GetCellType(1, 0, 2), 0);
    EXPECT_EQ(GetCellType(2, 0, 2), 0) << "the lever plays its animation";
    EXPECT_FALSE(HeroAction(1, 1, 1, kHeroCount));
}

TEST_F(HeroWorldTest, ActionStopsTheLastGolemInFrontElseTheFirstInTheHerosCell) {
    Level.Blocs[kGolem].GolemType.BlockedDuration = 3000;
    Level.Blocs[kGolem].GolemType.BlockSound = sound.get();
    hero().GolemStopSound = sound.get();
    AddGolem(1, 1, 1, 0);                  // 1: in the hero's cell
    AddGolem(1, 1, 2, 0);                  // 2: in front
    AddGolem(1, 1, 2, 7);                  // 3: in front, resting
    AddGolem(1, 1, 2, 4).BlockedTime = 5;  // 4: in front, stopped already
    AddGolem(1, 1, 1, 0);                  // 5: in the hero's cell
    ASSERT_TRUE(HeroAction(1, 0, 2, 0));
    const GolemStuff& stopped = Level.Golems[3];
    EXPECT_EQ(stopped.State, 4);
    EXPECT_EQ(stopped.BlockedTime, 3000);
    EXPECT_FLOAT_EQ(stopped.WantedHeading, 1000);
    EXPECT_EQ((std::array{stopped.TargetX, stopped.TargetY, stopped.TargetZ}),
              (std::array{stopped.X, stopped.Y, stopped.Z}));
    EXPECT_EQ(Level.Golems[1].State, 0);
    EXPECT_EQ(Level.Golems[2].State, 0);
    EXPECT_EQ(Level.Golems[4].BlockedTime, 5);
    EXPECT_EQ(Level.Golems[5].State, 0);
    EXPECT_EQ(hero().TargetAnim, 12);
    EXPECT_EQ(hero().ActionLock, 200);
    // The golem's block sound where it stands, then the hero's stop sound.
    ASSERT_EQ(Plays(), 2);
    EXPECT_EQ((std::array{SoundChannels[0].X, SoundChannels[0].Z, SoundChannels[1].X}),
              (std::array{768, 1280, 769}));
    EXPECT_EQ(SoundChannels[0].Level, 254);
    // Nothing in front now but stopped golems: the one in the hero's cell.
    Level.Golems[2].State = 4;
    ASSERT_TRUE(HeroAction(1, 0, 2, 0));
    EXPECT_EQ(Level.Golems[1].State, 4);
    EXPECT_EQ(Level.Golems[5].State, 0);
}

TEST_F(HeroWorldTest, LieDownSparesGolemsAlreadyLyingInTheHerosCellButNotInFront) {
    AddGolem(1, 1, 1, 6);  // on its way to an exit, in the hero's cell
    HeroMakeGolemLieDown(0);
    EXPECT_EQ(Level.Golems[1].State, 6);
    EXPECT_EQ(hero().TargetAnim, 0);
    AddGolem(1, 1, 1, 0);
    AddGolem(1, 1, 2, 7);  // resting, in front
    HeroMakeGolemLieDown(0);
    EXPECT_EQ(Level.Golems[2].State, 0);
    EXPECT_EQ(Level.Golems[3].State, 5) << "the one in front wins";
    EXPECT_EQ(hero().TargetAnim, 13);
    EXPECT_EQ(hero().BlendDuration, 100);
    EXPECT_EQ(hero().ActionLock, 200);
    HeroMakeGolemLieDown(0);
    EXPECT_EQ(Level.Golems[3].State, 5) << "sent again while in front";
    Level.Golems[3].State = 4;
    HeroMakeGolemLieDown(0);
    EXPECT_EQ(Level.Golems[2].State, 5);
}

TEST(FloatSignTest, SignOfEveryKindOfNumber) {
    const std::vector<std::pair<double, int32_t>> cases = {
        {-0.25, -1}, {0.0, 0},     {-0.0, 0},
        {3.0, 1},    {-1e300, -1}, {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& [x, sign] : cases) EXPECT_EQ(FloatSign(x), sign) << x;
}

}  // namespace
