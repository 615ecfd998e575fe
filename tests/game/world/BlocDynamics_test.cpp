#include "game/world/BlocDynamics.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <limits>
#include <memory>
#include <vector>

#include "game/level/CellGrid.h"
#include "game/GameClock.h"
#include "game/level/LevelStuff.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "support/Snd.h"

namespace {

// Bloc types of the synthetic level.
constexpr int32_t kLever = 10, kLeverAnim = 11, kLeverOpen = 12;
constexpr int32_t kDoor = 20, kDoorAnim = 21, kDoorOpen = 22;
constexpr int32_t kDig = 30, kDigAnim = 31, kRecoverAnim = 32;
constexpr int32_t kPush = 40, kStone = 41;
constexpr int32_t kSensor = 50, kKey = 51;
constexpr int32_t kBullet = 70, kBoom = 71;

class BlocDynamicsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(4, 4, 4, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
        Level.TileAnimations.Clear();
        Level.DugCells.Clear();
        Level.MovingBlocs.Clear();
        Level.BehaviourInstances.Clear();
        GameTime = 1234.0f;
        for (int32_t t :
             {kLever, kLeverOpen, kDoor, kDoorOpen, kDig, kPush, kStone, kSensor, kKey, kBullet}) {
            Level.Blocs[t].Undefined = 0;
        }
        BlocStuff& lever = Level.Blocs[kLever];
        lever.Lever = 1, lever.LeverAnim = kLeverAnim, lever.LeverOpen = kLeverOpen;
        lever.LeverDoor = kDoor;
        BlocStuff& door = Level.Blocs[kDoor];
        door.Door = 1, door.AnimDoor = kDoorAnim, door.DoorOpen = kDoorOpen;
        BlocStuff& dig = Level.Blocs[kDig];
        dig.Dig = dig.Recover = 1, dig.DigAnim = kDigAnim, dig.RecoverAnim = kRecoverAnim;
        Level.Blocs[kPush].CanPush = 1;
        Level.Blocs[kSensor].BlockSensorDoor = kDoor;
        Level.Blocs[kKey].BlockKey = 1, Level.Blocs[kKey].BlockKeySensor = kSensor;
        Level.Blocs[kBullet].BulletExplosion = kBoom;
    }
    void TearDown() override {
        Level.TileAnimations.Clear();
        for (BlocStuff& bloc : Level.Blocs) bloc.FreeMeshes();
        AllocLevelGrid(0, 0, 0, Level);
    }
    static int32_t Count(int32_t type) { return Level.Blocs[type].InstanceCount; }
    // Ends every tile animation, oldest first, as the world animation does.
    static void FinishAnimations() {
        while (!Level.TileAnimations.Empty()) RemoveTileAnimation(0);
    }
    static void ExpectAnimation(int32_t row, int32_t x, int32_t y, int32_t z, int32_t anim,
                                int32_t final) {
        const TileAnimationStuff& a = Level.TileAnimations[row];
        EXPECT_EQ(a.AnimType, anim) << "row " << row;
        EXPECT_EQ(a.FinalType, final) << "row " << row;
        EXPECT_EQ((std::array{a.X, a.Y, a.Z}),
                  (std::array{x * 512 + 256.0f, y * 512 + 256.0f, z * 512 + 256.0f}));
        EXPECT_EQ(GetCellType(x, y, z), 0);
    }
};

TEST_F(BlocDynamicsTest, LeverSwitchesEveryLeverInScanOrderThenOpensDoors) {
    for (auto [x, y, z] :
         std::vector<std::array<int32_t, 3>>{{2, 0, 1}, {0, 1, 0}, {1, 3, 0}, {0, 0, 3}}) {
        SetCellType(x, y, z, kLever);
    }
    SetCellType(3, 2, 2, kDoor);
    G3DAllocMesh(Level.Blocs[kDoorAnim].CurrentMesh, 3, 1);
    Level.Blocs[kDoorAnim].MeshCount = 1;
    OperateLever(3, 2, 2);  // a door is no lever
    EXPECT_TRUE(Level.TileAnimations.Empty());
    OperateLever(1, 3, 0);
    ASSERT_EQ(Level.TileAnimationHigh(), 4);
    ExpectAnimation(0, 0, 0, 3, kLeverAnim, kLeverOpen);
    ExpectAnimation(1, 0, 1, 0, kLeverAnim, kLeverOpen);
    ExpectAnimation(2, 1, 3, 0, kLeverAnim, kLeverOpen);
    ExpectAnimation(3, 2, 0, 1, kLeverAnim, kLeverOpen);
    ExpectAnimation(4, 3, 2, 2, kDoorAnim, kDoorOpen);
    EXPECT_EQ(Level.TileAnimations[0].StartTime, 1234);
    EXPECT_EQ(Level.TileAnimations[0].FramePosition, 0.0f);
    EXPECT_EQ(Count(kLeverAnim), 4);
    // The door's row owns a copy of the door animation's pose.
    const TileAnimationStuff& door = Level.TileAnimations[4];
    ASSERT_NE(door.AnimMesh, nullptr);
    EXPECT_NE(door.AnimMesh, Level.Blocs[kDoorAnim].CurrentMesh);
    EXPECT_EQ(door.FramePosition, 1.0f);
    FinishAnimations();
    EXPECT_EQ(GetCellType(0, 0, 3), kLeverOpen);
    EXPECT_EQ(GetCellType(3, 2, 2), kDoorOpen);
    EXPECT_EQ(Count(kLeverAnim), 0);
    EXPECT_EQ(Count(kLeverOpen), 4);
    EXPECT_EQ(Count(kDoorOpen), 1);
    for (int32_t notADoor : {kLever, -1, 300}) OpenDoors(notADoor);
    EXPECT_TRUE(Level.TileAnimations.Empty());
}

TEST_F(BlocDynamicsTest, DigEmptiesTheCellAndRecoverBringsItBackUnlessFilled) {
    SetCellType(1, 1, 1, kDig);
    SetCellType(1, 2, 1, kStone);
    DigCell(1, 1, 1, 500);  // something stands on it
    EXPECT_EQ(GetCellType(1, 1, 1), kDig);
    SetCellType(1, 2, 1, 0);
    DigCell(1, 1, 1, 500);
    ASSERT_EQ(Level.DugCellHigh(), 0);
    EXPECT_EQ(Level.DugCells[0].BlocType, kDig);
    ExpectAnimation(0, 1, 1, 1, kDigAnim, 0);
    FinishAnimations();
    RecoverDugCell(0);
    EXPECT_TRUE(Level.DugCells.Empty());
    ExpectAnimation(0, 1, 1, 1, kRecoverAnim, kDig);
    FinishAnimations();
    EXPECT_EQ(GetCellType(1, 1, 1), kDig);
    EXPECT_EQ(Count(kDig), 1);

    DigCell(1, 1, 1, 500);
    FinishAnimations();
    SetCellType(1, 1, 1, kStone);  // filled meanwhile
    RecoverDugCell(0);
    EXPECT_TRUE(Level.TileAnimations.Empty());
    EXPECT_EQ(GetCellType(1, 1, 1), kStone);

    Level.Blocs[kDig].Recover = 0;
    SetCellType(2, 0, 0, kDig);
    DigCell(2, 0, 0, 500);
    EXPECT_TRUE(Level.DugCells.Empty());
    FinishAnimations();
    EXPECT_EQ(GetCellType(2, 0, 0), 0);
}

TEST_F(BlocDynamicsTest, PushLaunchesAlongTheNearestAxis) {
    // heading, expected velocity x and z
    for (auto [heading, vx, vz] : std::vector<std::array<float, 3>>{
             {0, 0, 95}, {8192, 95, 0}, {16384, 0, -95}, {-8192, -95, 0}, {3000, 0, 95}}) {
        Level.MovingBlocs.Clear();
        Level.Blocs[kPush].InstanceCount = 0;
        SetCellType(1, 0, 2, kPush);
        SetCellTurn(1, 0, 2, 3);
        PushBloc(1, 0, 2, static_cast<int32_t>(heading));
        ASSERT_EQ(Level.MovingBlocHigh(), 0) << heading;
        const MovingBlocStuff& m = Level.MovingBlocs[0];
        EXPECT_EQ((std::array{m.VelocityX, m.VelocityY, m.VelocityZ}), (std::array{vx, 0.0f, vz}));
        EXPECT_EQ(m.Angle, 384.0f);
        EXPECT_EQ(GetCellType(1, 0, 2), 0);
        EXPECT_EQ(Count(kPush), 1);
    }
    Level.MovingBlocs.Clear();
    SetCellType(0, 0, 0, kPush);
    SetCellType(0, 1, 0, kPush);
    PushBloc(0, 0, 0, 0);  // another pushable bloc on it
    SetCellType(3, 0, 0, kStone);
    PushBloc(3, 0, 0, 0);  // not pushable
    EXPECT_TRUE(Level.MovingBlocs.Empty());
    EXPECT_EQ(LiftBloc(2, 2, 2), -1);  // an empty cell
}

TEST_F(BlocDynamicsTest, KeyOnTheLastSensorSoundsItAndOpensTheDoors) {
    auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
    const auto log = device->Log();
    platform::audio::RecordingAudioDevice* raw = device.get();
    InitSound(std::move(device));
    auto sound = std::make_unique<TSoundBuffer>(raw, "");
    const uint8_t samples[4] = {};
    sound->Buffer = raw->CreateSoundBuffer({1, 22050, 8, 1}, samples);
    Level.Blocs[kSensor].ActionSoundBuffer = sound.get();

    SetCellType(0, 0, 0, kSensor);
    SetCellType(2, 0, 0, kSensor);
    SetCellType(3, 3, 3, kDoor);
    SetCellType(1, 3, 1, kKey);
    SetCellType(2, 3, 2, kKey);
    EXPECT_FALSE(ReceptaclesFilled(kSensor));
    EXPECT_TRUE(ReceptaclesFilled(kStone));  // no such cells
    auto dropKey = [](int32_t row, int32_t x) {
        Level.MovingBlocs[row].X = x * 512 + 256.0f;
        Level.MovingBlocs[row].Y = 1 * 512 + 100.0f;
        Level.MovingBlocs[row].Z = 256.0f;
        RemoveMovingBloc(row);
    };
    ASSERT_EQ(LiftBloc(1, 3, 1), 0);
    ASSERT_EQ(LiftBloc(2, 3, 2), 1);
    dropKey(0, 2);
    EXPECT_EQ(GetCellType(2, 1, 0), kKey);
    EXPECT_TRUE(Level.TileAnimations.Empty());
    dropKey(0, 0);
    EXPECT_TRUE(ReceptaclesFilled(kSensor));
    ASSERT_EQ(Level.TileAnimationHigh(), 0);
    ExpectAnimation(0, 3, 3, 3, kDoorAnim, kDoorOpen);
    EXPECT_EQ(Count(kKey), 2);
    int32_t sensorPlays = 0;
    for (const std::string& call : log->Calls) sensorPlays += call.rfind("duplicate", 0) == 0;
    EXPECT_EQ(sensorPlays, 2);

    Level.Blocs[kSensor].ActionSoundBuffer = nullptr;
    sound.reset();
    ShutDownSound();
}

TEST_F(BlocDynamicsTest, ProjectileFliesAtBulletSpeedAndLeavesAnExplosion) {
    FireProjectile(kBullet, 1000.5f, 700, 300, 0, 0);
    ASSERT_EQ(Level.MovingBlocHigh(), 0);
    EXPECT_FLOAT_EQ(Level.MovingBlocs[0].VelocityX, 0);
    EXPECT_FLOAT_EQ(Level.MovingBlocs[0].VelocityZ, 512);
    FireProjectile(kBullet, 0, 0, 0, 8192, 0);
    EXPECT_NEAR(Level.MovingBlocs[1].VelocityX, 512, 0.01);
    EXPECT_EQ(Level.MovingBlocs[1].Angle, -8192.0f);
    FireProjectile(300, 0, 0, 0, 0, 0);  // no such type
    EXPECT_EQ(Level.MovingBlocHigh(), 1);

    RemoveMovingBloc(0);
    ASSERT_EQ(Level.TileAnimationHigh(), 0);
    const TileAnimationStuff& boom = Level.TileAnimations[0];
    EXPECT_EQ(boom.AnimType, kBoom);
    EXPECT_EQ(boom.X, 1000.0f);
    // An explosion counts nothing, so its end takes nothing away.
    RemoveTileAnimation(0);
    EXPECT_EQ(Count(kBoom), 0);
    EXPECT_EQ(GetCellType(1, 1, 0), 0);
}

TEST_F(BlocDynamicsTest, FullListsRefuseAddsButSwitchesStillHappen) {
    for (int32_t i = 0; i < kListRows; ++i) AddTileAnimationAt(i, 0, 0, kBoom);
    ASSERT_EQ(Level.TileAnimationHigh(), 4096);
    AddTileAnimationAt(0, 0, 0, kBoom);
    EXPECT_EQ(Level.TileAnimationHigh(), 4096);
    SetCellType(1, 1, 1, kDoor);
    OpenDoors(kDoor);
    EXPECT_EQ(GetCellType(1, 1, 1), kDoorOpen);
    EXPECT_EQ(Count(kDoorAnim), 0);

    Level.MovingBlocs.SetHigh(4096);
    SetCellType(2, 2, 2, kPush);
    EXPECT_EQ(LiftBloc(2, 2, 2), -1);
    LaunchBloc(2, 2, 2, 1, 2, 3);
    FireProjectile(kBullet, 0, 0, 0, 0, 0);
    EXPECT_EQ(GetCellType(2, 2, 2), kPush);
    EXPECT_EQ(Level.MovingBlocHigh(), 4096);

    Level.DugCells.SetHigh(4096);
    SetCellType(3, 0, 3, kDig);
    DigCell(3, 0, 3, 100);
    EXPECT_EQ(GetCellType(3, 0, 3), kDig);
}

TEST_F(BlocDynamicsTest, RemovalsTakeAwayOnlyWhatWasAddedAndCheckTheirRow) {
    SetCellType(1, 1, 1, kDoor);
    OpenDoors(kDoor);
    AddTileAnimationAt(10, 10, 10, kDoorAnim);
    EXPECT_EQ(Count(kDoorAnim), 1);
    for (int32_t bad : {-1, 2, 4096}) RemoveTileAnimation(bad);
    EXPECT_EQ(Level.TileAnimationHigh(), 1);
    FinishAnimations();
    EXPECT_EQ(Count(kDoorAnim), 0);
    // A row read from a level file counted nothing either.
    Level.TileAnimations.SetHigh(0);
    Level.TileAnimations[0].AnimType = kDoorAnim;
    RemoveTileAnimation(0);
    EXPECT_EQ(Count(kDoorAnim), 0);
    // Out-of-range types and rows of a damaged file touch no table.
    Level.MovingBlocs.SetHigh(0);
    Level.MovingBlocs[0].BlocType = 300;
    RemoveMovingBloc(0);
    Level.DugCells.SetHigh(0);
    Level.DugCells[0].BlocType = 999;
    RecoverDugCell(0);
    EXPECT_TRUE(Level.DugCells.Empty() && Level.MovingBlocs.Empty());
}

TEST_F(BlocDynamicsTest, InstancesFollowTheirBlocsWhenRowsBelowAreRemoved) {
    // Stale values in an unused row must not leak into a new one.
    Level.MovingBlocs[0].VelocityX = 77;
    Level.MovingBlocs[0].TargetY = 5;
    for (int32_t x = 0; x < 3; ++x) SetCellType(x, 0, 0, kStone);
    LaunchBloc(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Level.MovingBlocs[0].TargetY, 0.0f);
    ASSERT_EQ(LiftBloc(1, 0, 0), 1);
    ASSERT_EQ(LiftBloc(2, 0, 0), 2);
    EXPECT_EQ(Level.MovingBlocs[1].VelocityX, 0.0f);
    for (int32_t row : {1, 2, -1}) Level.BehaviourInstances.Add()->MovingBlocRow = row;
    RemoveMovingBloc(0);
    auto rows = [] {
        std::vector<int32_t> r;
        for (const BehaviourStuff& b : Level.BehaviourInstances) r.push_back(b.MovingBlocRow);
        return r;
    };
    EXPECT_EQ(rows(), (std::vector<int32_t>{0, 1, -1}));
    RemoveMovingBloc(0);
    EXPECT_EQ(rows(), (std::vector<int32_t>{-1, 0, -1}));
}

TEST_F(BlocDynamicsTest, ALandingBlocTakesItsCellUnlessSomethingSolidIsThere) {
    constexpr int32_t kGrass = 42;
    Level.Blocs[kGrass].Undefined = 0;
    Level.Blocs[kGrass].Collision = 0;
    // Lands the bloc lifted from (3, 3, 3) at height y of column (1, 1).
    auto land = [](float y) {
        SetCellType(3, 3, 3, kPush);
        ASSERT_EQ(LiftBloc(3, 3, 3), 0);
        Level.MovingBlocs[0].X = Level.MovingBlocs[0].Z = 1 * 512 + 256.0f;
        Level.MovingBlocs[0].Y = y;
        RemoveMovingBloc(0);
    };
    // A walk-through bloc gives its cell up.
    SetCellType(1, 0, 1, kGrass);
    land(10);
    EXPECT_EQ(GetCellType(1, 0, 1), kPush);
    EXPECT_EQ(Count(kGrass), 0);
    // A colliding bloc stays; the lander goes to the first cell above without
    // one, grass included.
    SetCellType(1, 0, 1, kStone);
    SetCellType(1, 1, 1, kStone);
    SetCellType(1, 2, 1, kGrass);
    land(10);
    EXPECT_EQ(GetCellType(1, 1, 1), kStone);
    EXPECT_EQ(GetCellType(1, 2, 1), kPush);
    EXPECT_EQ(Count(kStone), 2);
    EXPECT_EQ(Count(kPush), 1);
    // A full column has no room: the bloc leaves the level and its count.
    SetCellType(1, 2, 1, kStone);
    SetCellType(1, 3, 1, kStone);
    land(10);
    EXPECT_EQ(Count(kPush), 0);
    EXPECT_EQ(Count(kStone), 4);
}

TEST_F(BlocDynamicsTest, AGridWithAnEmptySideIsScannedAtOnce) {
    constexpr int32_t kLong = std::numeric_limits<int32_t>::max();
    ASSERT_TRUE(AllocLevelGrid(kLong, 0, kLong, Level));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ReceptaclesFilled(0));
    OpenDoors(kDoor);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(Level.TileAnimations.Empty());
}

}  // namespace
