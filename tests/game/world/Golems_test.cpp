#include "game/world/Golems.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/G3DAngles.h"
#include "engine/G3DMesh.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/HeroInteraction.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "support/Snd.h"

namespace {

// Bloc types of the synthetic level.
constexpr int32_t kFloor = 1, kWall = 2, kExit = 3, kGolem = 4, kBig = 5, kUndefinedExit = 6;
// Where a golem of type kGolem (100 units of size Y: a box 200 high) rests on the floor.
constexpr float kRestY = 613;
constexpr float kHeroY = 753;

using Cell = std::array<int32_t, 3>;

// A 16 × 4 × 16 level with a floor at y = 0 and the hero standing in cell
// (8, 1, 8); every sound the golems make is recorded by name.
class GolemsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(16, 4, 16, Level));
        for (BlocStuff& bloc : Level.Blocs) bloc = BlocStuff{};
        Level.Golems.Clear();
        Level.MovingBlocs.Clear();
        Level.TileAnimations.Clear();
        for (int32_t t : {kFloor, kWall}) {
            Level.Blocs[t].Undefined = 0, Level.Blocs[t].Cube = 1;
        }
        for (int32_t x = 0; x < 16; ++x) {
            for (int32_t z = 0; z < 16; ++z) SetCellType(x, 0, z, kFloor);
        }
        for (int32_t t : {kExit, kUndefinedExit}) {
            Level.Blocs[t].Exit = 1, Level.Blocs[t].Collision = 0;
        }
        Level.Blocs[kExit].Undefined = 0;
        Shape(kGolem, 120, 100);
        Shape(kBig, 300, 200);
        DepthOfView = 14;
        FrameStep = 90;  // per-90-ms amounts are this frame's amounts
        FrameTime = 100000;
        CurrentHero = LastHero = 0;
        Heroes[0] = HeroStuff{};
        PlaceHero({8, 1, 8});
        Sounds();
    }
    void TearDown() override {
        for (BlocStuff& bloc : Level.Blocs) {
            bloc.GolemType.SeenSound = bloc.GolemType.LostSound = nullptr;
            bloc.GolemType.WalkSound = bloc.GolemType.BlockSound = nullptr;
            bloc.FreeMeshes();
        }
        Heroes[0].GolemCoucoucheSound = nullptr;
        sounds.clear();
        ShutDownSound();
        Level.Golems.Clear();
        AllocLevelGrid(0, 0, 0, Level);
    }

    // A golem type of `width` on X and Z and `half` units of size Y, its
    // bounds centred in the cell.
    static void Shape(int32_t type, int32_t width, int32_t half) {
        BlocStuff& b = Level.Blocs[type];
        b.Undefined = 0, b.Golem = 1, b.Collision = 0;
        b.Xmin = b.Zmin = 256 - width / 2, b.Xmax = b.Zmax = 256 + width / 2;
        b.Ymin = 256 - half, b.Ymax1 = b.Ymax2 = b.Ymax3 = b.Ymax4 = 256;
        b.ExtentX = b.ExtentZ = width, b.ExtentY = half;
    }
    static void PlaceHero(Cell c) {
        HeroStuff& h = Heroes[0];
        h.X = CellCentre(c[0]), h.Y = kHeroY, h.Z = CellCentre(c[2]);
    }
    // A golem standing on the floor at the centre of cell (cx, 1, cz), as a
    // level read leaves it.
    static GolemStuff& AddGolem(int32_t cx, int32_t cz, float heading = 0, int32_t type = kGolem) {
        GolemStuff& g = *Level.Golems.Add();
        g.GolemBloc = static_cast<uint16_t>(type);
        g.X = CellCentre(cx), g.Y = 512 + Level.Blocs[type].ExtentY + 1, g.Z = CellCentre(cz);
        g.CellX = cx, g.CellY = 1, g.CellZ = cz;
        g.Heading = g.WantedHeading = heading;
        g.TargetX = g.X, g.TargetY = g.Y, g.TargetZ = g.Z;
        g.OutOfSight = 1;
        return g;
    }
    static void Frame() {
        ThinkGolems(Level);
        MoveGolems(Level);
    }

    void Sounds() {
        auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
        log = device->Log();
        platform::audio::RecordingAudioDevice* raw = device.get();
        InitSound(std::move(device));
        GolemTypeStuff& t = Level.Blocs[kGolem].GolemType;
        const std::vector<std::pair<std::string, TSoundBuffer**>> named = {
            {"seen", &t.SeenSound},
            {"lost", &t.LostSound},
            {"walk", &t.WalkSound},
            {"block", &t.BlockSound},
            {"lie down", &Heroes[0].GolemCoucoucheSound}};
        const uint8_t samples[4] = {};
        for (const auto& [name, slot] : named) {
            sounds.push_back(std::make_unique<TSoundBuffer>(raw, ""));
            sounds.back()->Buffer = raw->CreateSoundBuffer({1, 22050, 8, 1}, samples);
            names[static_cast<int32_t>(sounds.size())] = name;
            *slot = sounds.back().get();
        }
        log->Calls.clear();
    }
    // The sounds played since the last call, by name, and the channel of the last.
    std::vector<std::string> Played() {
        std::vector<std::string> played;
        for (const std::string& call : log->Calls) {
            if (call.rfind("duplicate ", 0) != 0) continue;
            played.push_back(names[std::stoi(call.substr(10))]);
            lastChannel = std::stoi(call.substr(call.rfind(' ') + 1));
        }
        log->Calls.clear();
        return played;
    }

    std::shared_ptr<platform::audio::RecordingLog> log;
    std::vector<std::unique_ptr<TSoundBuffer>> sounds;
    std::map<int32_t, std::string> names;
    int32_t lastChannel = -1;
};

double DistanceToHero(const GolemStuff& g) {
    const HeroStuff& h = Heroes[0];
    return std::hypot(double{h.X} - g.X, double{h.Y} - g.Y, double{h.Z} - g.Z);
}

// Golems face along -heading: heading 0 looks along +z, -8192 along +x.
TEST_F(GolemsTest, SightIsTheOwnCellOrAVisibleCellWithinASixthOfATurn) {
    struct Case {
        const char* what;
        float heading;
        Cell cell;
        bool seen;
        int32_t depth = 14;
    };
    const std::vector<Case> cases = {
        {"its own cell, looking away", 16384, {8, 1, 8}, true},
        {"straight ahead", 0, {8, 1, 11}, true},
        {"straight behind", 0, {8, 1, 5}, false},
        {"56 degrees to the right", 0, {11, 1, 10}, true},
        {"63 degrees to the right", 0, {12, 1, 10}, false},
        {"56 degrees to the left", 0, {5, 1, 10}, true},
        {"63 degrees to the left", 0, {4, 1, 10}, false},
        {"facing +x", -8192, {12, 1, 8}, true},
        {"facing +x, the cell ahead on z", -8192, {8, 1, 12}, false},
        {"heading a whole turn on", 32768 * 3, {8, 1, 11}, true},
        {"beyond the view distance", 0, {8, 1, 14}, true, 3},
        {"through a wall two cubes thick", 0, {8, 1, 13}, false},
    };
    for (int32_t x = 7; x <= 9; ++x) {
        SetCellType(x, 1, 10, kWall);
        SetCellType(x, 1, 11, kWall);
    }
    AddGolem(8, 8);
    for (const Case& c : cases) {
        Level.Golems[1].Heading = c.heading;
        DepthOfView = c.depth;
        EXPECT_EQ(GolemSeesCell(1, c.cell[0], c.cell[1], c.cell[2]), c.seen) << c.what;
    }
    EXPECT_FALSE(GolemSeesCell(0, 8, 1, 8)) << "entry 0 is no golem";
    EXPECT_FALSE(GolemSeesCell(2, 8, 1, 8)) << "past the count";
}

TEST_F(GolemsTest, AGolemFollowsTheHeroItSeesAndStopsFacingItWithinTheFollowingDistance) {
    PlaceHero({8, 1, 11});
    GolemStuff& g = AddGolem(8, 8);
    Frame();
    EXPECT_EQ(g.State, kGolemFollow);
    EXPECT_FLOAT_EQ(g.TargetZ, Heroes[0].Z);
    EXPECT_FLOAT_EQ(g.X, CellCentre(8)) << "straight at the hero";
    // A fifth of the 1536 units to go, at 20 units per 90 ms.
    EXPECT_NEAR(g.Z, CellCentre(8) + 20 * 307.2 / 308.2, 1e-3);
    for (int32_t frame = 0; frame < 200 && g.State == kGolemFollow; ++frame) Frame();
    EXPECT_EQ(g.State, kGolemTurn);
    EXPECT_LT(DistanceToHero(g), 512);
    EXPECT_GT(DistanceToHero(g), 512 - 21);
    // Seen from too near, it only turns to face the hero, frame after frame.
    const float z = g.Z;
    for (int32_t frame = 0; frame < 5; ++frame) Frame();
    ThinkGolems(Level);
    EXPECT_FLOAT_EQ(g.Z, z);
    EXPECT_EQ(g.State, kGolemTurn);
    EXPECT_FLOAT_EQ(g.Heading, 0) << "facing the hero straight ahead";
    EXPECT_FLOAT_EQ(g.WantedHeading, 0) << "lost and turning only from the next frame on";
}

TEST_F(GolemsTest, AGolemStaysWhereItIsForAHeroOutOfReach) {
    struct Case {
        const char* what;
        Cell hero;
        int32_t targetHero;
    };
    const std::vector<Case> cases = {
        {"beyond the following distance", {12, 1, 15}, 0},
        {"a followed hero that is no hero", {8, 1, 11}, 5},
        {"a negative hero number", {8, 1, 11}, -1},
    };
    for (const Case& c : cases) {
        Level.Golems.Clear();
        PlaceHero(c.hero);
        GolemStuff& g = AddGolem(8, 8);
        g.TargetHero = c.targetHero;
        Frame();
        EXPECT_EQ(g.State, kGolemTurn) << c.what;
        EXPECT_FLOAT_EQ(g.X, CellCentre(8)) << c.what;
        EXPECT_FLOAT_EQ(g.Z, CellCentre(8)) << c.what;
    }
    // The far hero at 7 cells right and 4 ahead: the golem turned to face it.
    Level.Golems.Clear();
    PlaceHero({12, 1, 15});
    GolemStuff& g = AddGolem(8, 8);
    ThinkGolems(Level);
    float yaw = 0, pitch = 0;
    DirectionAngles(yaw, pitch, g.X, g.Y, g.Z, Heroes[0].X, Heroes[0].Y, Heroes[0].Z);
    EXPECT_FLOAT_EQ(g.Heading, -yaw);
    EXPECT_FLOAT_EQ(g.Pitch, pitch);
}

TEST_F(GolemsTest, SightSoundsKeepASecondApartAndAlternate) {
    struct Step {
        int32_t time;
        bool visible;
        std::vector<std::string> sounds;
    };
    const std::vector<Step> steps = {
        {100000, false, {}},  // out of sight from the start: no lost sound
        {100100, true, {"seen"}},  {100600, false, {}},  // within the second: refused
        {100700, true, {}},                             // no seen sound until a lost one was played
        {102000, false, {"lost"}}, {102500, true, {}},  // within the second
        {102600, false, {}},                            // lost already
        {103001, true, {"seen"}},  {103001, true, {}},  // while followed, no sound
    };
    GolemStuff& g = AddGolem(8, 8);
    for (const Step& s : steps) {
        FrameTime = s.time;
        PlaceHero(s.visible ? Cell{8, 1, 11} : Cell{8, 1, 5});
        ThinkGolems(Level);
        EXPECT_EQ(Played(), s.sounds) << s.time;
        EXPECT_EQ(g.State, s.visible ? kGolemFollow : kGolemTurn) << s.time;
    }
    EXPECT_EQ(g.LastSoundTime, 103001);
    EXPECT_EQ(SoundChannels[lastChannel].Level, 255);
    EXPECT_EQ(SoundChannels[lastChannel].X, G3DTrunc32(g.X));
}

TEST_F(GolemsTest, AStoppedGolemStandsOutItsTimeWhateverItSees) {
    HeroStuff& h = Heroes[0];
    h.TargetCellX = 8, h.TargetCellY = 0, h.TargetCellZ = 9;  // the cell in front, one lower
    GolemStuff& g = AddGolem(8, 9);
    Level.Blocs[kGolem].GolemType.BlockedDuration = 1000;
    ASSERT_TRUE(HeroAction(8, 0, 9, 0));
    ASSERT_EQ(g.State, kGolemBlocked);
    const float z = g.Z;
    PlaceHero({8, 1, 12});  // in sight, at following distance
    for (int32_t frame = 1; frame <= 11; ++frame) {
        Frame();
        EXPECT_EQ(g.State, kGolemBlocked) << frame;
    }
    EXPECT_FLOAT_EQ(g.Z, z);
    Frame();  // 12 × 90 ms > 1000 ms
    EXPECT_EQ(g.State, kGolemFollow);
    EXPECT_FLOAT_EQ(g.Z, z);
    Frame();
    EXPECT_GT(g.Z, z) << "following again";
}

TEST_F(GolemsTest, LyingDownPicksTheNearestExitCellInItsReach) {
    struct Case {
        const char* what;
        std::vector<std::pair<Cell, int32_t>> exits;
        int32_t reach;  // FollowingDistanceMax
        Cell golem;     // x, z and 0, or x, z and 1 for a golem against the grid's high x edge
        int32_t state;
        Cell target;
    };
    const std::vector<Case> cases = {
        {"the nearer of two",
         {{{11, 1, 8}, kExit}, {{5, 1, 8}, kExit}},
         2048,
         {8, 8, 0},
         kGolemGoToExit,
         {11, 1, 8}},
        // Cell corners (4096, 4608) and (4608, 4096) lie as far from the golem at
        // (4352, 4352): x varies slowest, so x = 8 comes first.
        {"equal distances: the first in x order",
         {{{9, 1, 8}, kExit}, {{8, 1, 9}, kExit}},
         2048,
         {8, 8, 0},
         kGolemGoToExit,
         {8, 1, 9}},
        {"measured to the low corner",
         {{{9, 1, 8}, kExit}, {{7, 1, 8}, kExit}},
         2048,
         {8, 8, 0},
         kGolemGoToExit,
         {9, 1, 8}},
        {"an undefined exit type is no exit",
         {{{9, 1, 8}, kUndefinedExit}, {{12, 1, 8}, kExit}},
         2048,
         {8, 8, 0},
         kGolemGoToExit,
         {12, 1, 8}},
        {"beyond Trunc(reach / 256) cells", {{{13, 1, 8}, kExit}}, 1279, {8, 8, 0}, kGolemTurn, {}},
        {"just within", {{{13, 1, 8}, kExit}}, 1280, {8, 8, 0}, kGolemGoToExit, {13, 1, 8}},
        {"no reach at all", {{{8, 1, 8}, kExit}}, -512, {8, 8, 0}, kGolemTurn, {}},
        {"the largest reach: the whole grid, without overflow",
         {{{15, 3, 0}, kExit}},
         INT_MAX,
         {8, 8, 0},
         kGolemGoToExit,
         {15, 3, 0}},
        // Type 0 made an exit: the cell past the edge is nearer, but not in the grid.
        {"only cells of the grid", {{{0, 0, 0}, -1}}, 2048, {15, 8, 1}, kGolemGoToExit, {15, 1, 8}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Level.Blocs[kGolem].GolemType.FollowingDistanceMax = c.reach;
        for (const auto& [cell, type] : c.exits) {
            if (type < 0) {
                Level.Blocs[0].Undefined = 0, Level.Blocs[0].Exit = 1;
            } else {
                SetCellType(cell[0], cell[1], cell[2], type);
            }
        }
        PlaceHero({2, 1, 2});
        Heroes[0].X = 1000.7f;
        GolemStuff& g = AddGolem(c.golem[0], c.golem[1], 16384);
        if (c.golem[2] == 1) g.X = 16 * 512 - 10;
        g.State = kGolemLieDown;
        ThinkGolems(Level);
        ASSERT_EQ(g.State, c.state) << c.what;
        if (c.state != kGolemGoToExit) {
            EXPECT_EQ(Played(), std::vector<std::string>{}) << c.what;
            continue;
        }
        EXPECT_EQ(
            (std::array{g.TargetX, g.TargetY, g.TargetZ}),
            (std::array{CellCentre(c.target[0]), CellCentre(c.target[1]), CellCentre(c.target[2])}))
            << c.what;
        float yaw = 0, pitch = 0;
        DirectionAngles(yaw, pitch, g.X, g.Y, g.Z, g.TargetX, g.TargetY, g.TargetZ);
        EXPECT_FLOAT_EQ(g.Heading, -yaw) << c.what;
        EXPECT_FLOAT_EQ(g.WantedPitch, pitch) << c.what;
        EXPECT_EQ(Played(), std::vector<std::string>{"lie down"}) << c.what;
        EXPECT_EQ(SoundChannels[lastChannel].X, 1000) << "at the hero, truncated: " << c.what;
        EXPECT_EQ(SoundChannels[lastChannel].Level, 254) << c.what;
    }
}

TEST_F(GolemsTest, ASentGolemWalksToItsExitAndRestsThereInSightOfTheHero) {
    SetCellType(12, 1, 8, kExit);
    PlaceHero({8, 1, 11});
    GolemStuff& g = AddGolem(8, 8);
    g.State = kGolemLieDown;
    int32_t frames = 0;
    for (; frames < 300 && g.State != kGolemRest; ++frames) Frame();
    ASSERT_EQ(g.State, kGolemRest);
    EXPECT_EQ((Cell{g.CellX, g.CellY, g.CellZ}), (Cell{12, 1, 8}));
    const float x = g.X, z = g.Z;
    PlaceHero({12, 1, 11});  // straight in view, at following distance
    for (int32_t frame = 0; frame < 20; ++frame) Frame();
    EXPECT_EQ(g.State, kGolemRest);
    EXPECT_FLOAT_EQ(g.X, x);
    EXPECT_FLOAT_EQ(g.Z, z);
}

TEST_F(GolemsTest, TheLaterOfTwoOverlappingGolemsNeitherMovesNorFalls) {
    GolemStuff& first = AddGolem(8, 8);
    GolemStuff& second = AddGolem(8, 8);
    first.Y = second.Y = 900;
    first.TargetX = second.TargetX = CellCentre(12);  // both walk along +x
    second.State = kGolemRest;
    MoveGolems(Level);
    EXPECT_EQ(first.State, 0);
    EXPECT_LT(first.Y, 900.0f);
    EXPECT_GT(first.X, CellCentre(8));
    EXPECT_EQ(second.State, kGolemLost);
    EXPECT_FLOAT_EQ(second.Y, 900);
    EXPECT_FLOAT_EQ(second.X, CellCentre(8));
    EXPECT_FLOAT_EQ(second.VerticalSpeed, -14) << "its fall speed still grows";
}

// Many golems of two sizes at rest: exactly those that overlap a golem earlier
// in the list are put back to the lost state.
TEST_F(GolemsTest, OverlapsAreFoundAmongManyGolemsAsByTestingEveryPair) {
    uint32_t seed = 12345;
    const auto next = [&seed](int32_t n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(n));
    };
    for (int32_t i = 0; i < 600; ++i) {
        GolemStuff& g = AddGolem(0, 0, 0, next(3) == 0 ? kBig : kGolem);
        g.X = 200.0f + static_cast<float>(next(7800)) + 0.25f;
        g.Z = 200.0f + static_cast<float>(next(7800));
        g.TargetX = g.X, g.TargetZ = g.Z;
        g.State = kGolemRest;
    }
    std::vector<int32_t> expected;
    for (int32_t i = 1; i <= Level.GolemCount(); ++i) {
        const GolemStuff& a = Level.Golems[i];
        const BlocStuff& ta = Level.Blocs[a.GolemBloc];
        for (int32_t j = 1; j < i; ++j) {
            const GolemStuff& b = Level.Golems[j];
            const BlocStuff& tb = Level.Blocs[b.GolemBloc];
            if (std::fabs(a.X - b.X) < (ta.ExtentX + tb.ExtentX) / 2.0 &&
                std::fabs(a.Y - b.Y) < (ta.ExtentY + tb.ExtentY) / 2.0 &&
                std::fabs(a.Z - b.Z) < (ta.ExtentZ + tb.ExtentZ) / 2.0) {
                expected.push_back(i);
                break;
            }
        }
    }
    MoveGolems(Level);
    std::vector<int32_t> stopped;
    for (int32_t i = 1; i <= Level.GolemCount(); ++i) {
        if (Level.Golems[i].State == kGolemLost) stopped.push_back(i);
    }
    EXPECT_GT(expected.size(), 20u);
    EXPECT_EQ(stopped, expected);
}

// A golem list read from a file may name a bloc type the tables do not hold:
// such a golem neither thinks nor moves, and the hero can still stop it.
TEST_F(GolemsTest, AGolemOfNoBlocTypeIsLeftWhereItIs) {
    PlaceHero({8, 1, 11});
    GolemStuff& g = AddGolem(8, 8);
    g.GolemBloc = 60000;
    GolemStuff& typed = AddGolem(8, 8);  // overlaps it, but nothing of no type is in the way
    for (int32_t frame = 0; frame < 3; ++frame) Frame();
    EXPECT_EQ(g.State, kGolemFollow);
    EXPECT_FLOAT_EQ(g.Z, CellCentre(8));
    EXPECT_GT(typed.Z, CellCentre(8));
    HeroStuff& h = Heroes[0];
    h.TargetCellX = 8, h.TargetCellY = 0, h.TargetCellZ = 8;
    typed.State = kGolemBlocked;  // not chosen
    Played();
    ASSERT_TRUE(HeroAction(8, 0, 8, 0));
    EXPECT_EQ(g.State, kGolemBlocked);
    EXPECT_EQ(g.BlockedTime, GolemTypeStuff{}.BlockedDuration);
    EXPECT_EQ(Played(), std::vector<std::string>{}) << "no type, no block sound";
}

TEST_F(GolemsTest, GolemsFallEaseTheirHeadingAndStandBlocked) {
    GolemStuff& g = AddGolem(8, 8);
    g.Y = 900;
    g.WantedHeading = 1000;
    MoveGolems(Level);
    EXPECT_FLOAT_EQ(g.Heading, 200);
    EXPECT_FLOAT_EQ(g.VerticalSpeed, -14);
    EXPECT_FLOAT_EQ(g.Y, 886);
    EXPECT_EQ(g.Blocked, 0) << "it moved 14 units";
    for (int32_t frame = 0; frame < 20; ++frame) MoveGolems(Level);
    EXPECT_FLOAT_EQ(g.Y, kRestY);
    EXPECT_FLOAT_EQ(g.VerticalSpeed, 0);
    EXPECT_FLOAT_EQ(g.Speed, 1);
    EXPECT_EQ(g.Blocked, 1) << "standing still";
}

TEST_F(GolemsTest, WalkAndBlockPosesMorphAndFootstepsFallOnFrames1And3) {
    GolemTypeStuff& t = Level.Blocs[kGolem].GolemType;
    const auto key = [](TG3DMesh*& mesh, int32_t x) {
        G3DAllocMesh(mesh, 0, 0);
        mesh->X[0] = x;
    };
    key(t.MeshStand, 5000);
    for (int32_t f = 1; f <= 4; ++f) {
        key(*t.WalkMesh(f), 100 * (f - 1));
        key(*t.BlockMesh(f), 1000 + 100 * (f - 1));
    }
    struct Case {
        const char* what;
        int32_t state;
        float phase;
        int32_t speed;  // 100 is one frame per 90 ms
        float newPhase;
        bool footstep;
        int32_t x;
    };
    const std::vector<Case> cases = {
        {"onto frame 1", kGolemFollow, 0.5f, 100, 1.5f, true, 150},
        {"onto frame 2", kGolemFollow, 1.5f, 100, 2.5f, false, 250},
        {"onto frame 3, towards frame 0", kGolemGoToExit, 2.5f, 100, 3.5f, true, 150},
        {"from 0 straight to 2", kGolemFollow, 0.5f, 200, 2.5f, false, 250},
        {"round past 4", kGolemFollow, 3.5f, 100, 0.5f, false, 50},
        {"several turns in a frame", kGolemFollow, 0.5f, 1300, 1.5f, true, 150},
        {"backwards", kGolemFollow, 0.5f, -100, 3.5f, true, 150},
        {"far backwards", kGolemFollow, 0.5f, -1300, 3.5f, true, 150},
        {"a phase beyond 4 from a file", kGolemFollow, 6.25f, 0, 2.25f, false, 225},
        {"blocked: no footsteps", kGolemBlocked, 0.5f, 100, 1.5f, false, 1150},
        {"standing", kGolemTurn, 0.5f, 100, 0.5f, false, 5000},
    };
    AddGolem(8, 8);
    for (const Case& c : cases) {
        GolemStuff& g = Level.Golems[1];
        g.State = c.state;
        g.AnimPhase = c.phase;
        t.WalkAnimSpeed = t.BlockAnimSpeed = c.speed;
        MoveGolems(Level);
        EXPECT_FLOAT_EQ(g.AnimPhase, c.newPhase) << c.what;
        EXPECT_EQ(Played(),
                  c.footstep ? std::vector<std::string>{"walk"} : std::vector<std::string>{})
            << c.what;
        ASSERT_NE(g.GolemMesh, nullptr);
        EXPECT_EQ(g.GolemMesh->X[0], c.x) << c.what;
    }
    for (int32_t speed : {INT_MAX, INT_MIN}) {
        GolemStuff& g = Level.Golems[1];
        g.State = kGolemFollow;
        t.WalkAnimSpeed = speed;
        MoveGolems(Level);
        EXPECT_GE(g.AnimPhase, 0) << speed;
        EXPECT_LT(g.AnimPhase, 4) << speed;
    }
}

}  // namespace
