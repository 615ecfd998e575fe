#include "shell/GameScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/G3DCamera.h"
#include "engine/G3DRender.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "game/world/HeroInteraction.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "shell/ComStuff.h"
#include "support/Snd.h"
#include "tests/common/RecordingBackend.h"
#include "tests/game/LevelTestWorld.h"
#include "tests/support/WaveBuilder.h"

namespace {

constexpr int32_t kHurt = 1, kDigHurt = 2, kSpike = 3, kGolemBody = 4, kFloor = 5, kLowFloor = 6;
constexpr int32_t kPlate = 7;
constexpr int32_t kFar = -100000;  // a cell no camera point or zone of a test is in

// One double-sided flat triangle with its first corner at the origin.
TG3DMesh* Triangle() {
    TG3DMesh* mesh = nullptr;
    G3DAllocMesh(mesh, 2, 0);
    mesh->X = {0, 10, 0}, mesh->Y = {0, 0, 0}, mesh->Z = {0, 0, 10};
    mesh->Faces[0] = {0, 1, 2, 7, 0, 1, kG3DFaceFlat, 0};
    return mesh;
}

// Gives a type the bounds 0..512 across with a flat top at `top`.
void MakeBloc(int32_t type, int32_t top) {
    BlocStuff& b = Level.Blocs[type];
    b.Undefined = 0;
    b.Xmin = b.Ymin = b.Zmin = 0;
    b.Xmax = b.Zmax = 512;
    b.Ymax1 = b.Ymax2 = b.Ymax3 = b.Ymax4 = top;
}

class GameSceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(8, 4, 16, Level));
        for (BlocStuff& bloc : Level.Blocs) {
            bloc.FreeMeshes();
            bloc = BlocStuff{};
        }
        Level.MovingBlocs.Clear();
        Level.Golems.Clear();
        Level.TileAnimations.Clear();
        for (ClipZoneStuff& zone : Level.ClipZones) zone = {kFar, kFar, kFar, -1};
        for (CameraPointStuff& point : Level.CameraPoints) point = {kFar, kFar, kFar};
        Level.Banner1 = Level.Banner2 = "";
        Level.Skies[Level.CurrentSky].SkyMesh = nullptr;
        for (int32_t t : {kHurt, kDigHurt, kSpike, kFloor}) MakeBloc(t, 512);
        Level.Blocs[kHurt].HurtValue = -10;
        Level.Blocs[kDigHurt].HurtValue = -5;
        Level.Blocs[kDigHurt].Dig = 1;
        Level.Blocs[kSpike].HurtValue = -3;
        MakeBloc(kGolemBody, 412);
        Level.Blocs[kFloor].Ymax1 = Level.Blocs[kFloor].Ymax2 = Level.Blocs[kFloor].Ymax3 =
            Level.Blocs[kFloor].Ymax4 = 400;
        MakeBloc(kLowFloor, 100);
        MakeBloc(kPlate, 300);
        BuildCubeFaces();
        G3DSetViewport(DStuff, 160, 120, 64, 64, 32, 1, 4, 10000);
        DepthOfView = VerticalDepthOfView = 14;
        GameTime = 10000, FrameTime = 10000, FrameStep = 90;
        GameWon = 0;
        GameMode = ModePlay;
        CurrentHero = LastHero = 0;
        HeroStuff& h = Hero();
        h = HeroStuff{};
        h.X = 1280, h.Y = 700, h.Z = 1280, h.Life = 50;
        h.LightRange = 100000;
        h.PainSoundTime = -100000;
        HeroCarryOverlap = 0;
        LevelBanner = {};
        testutil::ClearBackendRecord();
    }
    void TearDown() override {
        G3DFreeMesh(Hero().HeroMesh);
        G3DFreeMesh(Hero().ShadowMesh);
        Level.MovingBlocs.Clear();
        Level.Golems.Clear();
        for (BlocStuff& bloc : Level.Blocs) bloc.FreeMeshes();
        AllocLevelGrid(0, 0, 0, Level);
        DepthOfView = VerticalDepthOfView = 14;
        GameMode = ModeNone;
    }
    static HeroStuff& Hero() { return Heroes[0]; }
    static void AddMovingBloc(int32_t type, float x, float y, float z) {
        MovingBlocStuff* row = Level.MovingBlocs.Add();
        row->BlocType = static_cast<uint16_t>(type);
        row->X = x, row->Y = y, row->Z = z;
    }
    // Triangles of the frame's last flush (the scene after the sky).
    static size_t LastFlushSize() {
        const auto& flushes = testutil::Backend().flushes;
        return flushes.empty() ? 0 : flushes.back().size();
    }

    leveltest::LevelTestWorld world_;
};

// ---- HeroDamage ----

class HeroDamageTest : public GameSceneTest {
  protected:
    void SetUp() override {
        GameSceneTest::SetUp();
        auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
        log_ = device->Log();
        InitSound(std::move(device));
        const std::string wave = wavetest::PcmWave(1, 22050, 8, std::string(64, 'x'));
        LoadSound(world_.folder.Write("hurt.wav", wave), Hero().HurtSound);        // buffer 1
        LoadSound(world_.folder.Write("golem.wav", wave), Hero().GolemHurtSound);  // buffer 2
        HudSettings.TimerHealth = -7;
        log_->Calls.clear();
    }
    void TearDown() override {
        FreeSound(Hero().HurtSound);
        FreeSound(Hero().GolemHurtSound);
        ShutDownSound();
        HudSettings.TimerHealth = HudSettingsStuff{}.TimerHealth;
        GameSceneTest::TearDown();
    }
    // "hurt", "golem" or "" for the sound of the last call.
    std::string SoundPlayed() const {
        for (const std::string& c : log_->Calls) {
            if (c.rfind("duplicate 1 ", 0) == 0) return "hurt";
            if (c.rfind("duplicate 2 ", 0) == 0) return "golem";
        }
        return "";
    }
    std::shared_ptr<platform::audio::RecordingLog> log_;
};

TEST_F(HeroDamageTest, EachSourceOfHarmChangesHealthOnce) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        float life;
        const char* sound;
    };
    const std::vector<Case> cases = {
        {"nothing", [] {}, 50, ""},
        {"a harmful cell", [] { SetCellType(2, 1, 2, kHurt); }, 40, "hurt"},
        {"inside a diggable harmful bloc", [] { SetCellType(2, 1, 2, kDigHurt); }, 25, "hurt"},
        {"crushed", [] { HeroCarryOverlap = 260.0f * 480 * 0.99f * 260 + 100; }, 30, "hurt"},
        {"a harmful moving bloc on the hero", [] { AddMovingBloc(kSpike, 1280, 700, 1280); }, 47,
         "hurt"},
        {"a harmful moving bloc beside", [] { AddMovingBloc(kSpike, 3280, 700, 1280); }, 50, ""},
        {"a golem in a harmful cell",
         [] {
             SetCellType(5, 1, 5, kHurt);
             GolemStuff* g = Level.Golems.Add();
             g->GolemBloc = kGolemBody;
             g->X = CellCentre(5), g->Y = CellCentre(1), g->Z = CellCentre(5);
         },
         40, "golem"},
        {"a golem of no bloc type",
         [] {
             GolemStuff* g = Level.Golems.Add();
             g->GolemBloc = 999;
             g->X = CellCentre(5), g->Y = CellCentre(1), g->Z = CellCentre(5);
         },
         50, ""},
    };
    for (const Case& c : cases) {
        SetCellType(2, 1, 2, 0);
        SetCellType(5, 1, 5, 0);
        Level.MovingBlocs.Clear();
        Level.Golems.Clear();
        HeroCarryOverlap = 0;
        Hero().Life = 50;
        Hero().PainSoundTime = -100000;
        log_->Calls.clear();
        c.arrange();
        EXPECT_FALSE(HeroDamage()) << c.what;
        EXPECT_FLOAT_EQ(Hero().Life, c.life) << c.what;
        EXPECT_EQ(SoundPlayed(), c.sound) << c.what;
    }
}

TEST_F(HeroDamageTest, TimerExpiryCostsTimerHealthOnce) {
    Hero().TimerOn = 1;
    Hero().TimerValue = -40;
    EXPECT_FALSE(HeroDamage());
    EXPECT_EQ(Hero().TimerValue, 0);
    EXPECT_FLOAT_EQ(Hero().Life, 43);
    EXPECT_FALSE(HeroDamage());
    EXPECT_FLOAT_EQ(Hero().Life, 43);
}

TEST_F(HeroDamageTest, HealthBelowZeroIsDeathAndTheHurtSoundKeepsItsPace) {
    SetCellType(2, 1, 2, kHurt);
    Hero().Life = 5;
    Hero().HurtSoundDuration = 1000;
    EXPECT_TRUE(HeroDamage());
    EXPECT_EQ(SoundPlayed(), "hurt");
    log_->Calls.clear();
    FrameTime += 500;
    HeroDamage();
    EXPECT_EQ(SoundPlayed(), "");
}

// ---- DrawOnFloor ----

TEST_F(GameSceneTest, ShadowsLieOnTheHighestFloorBelow) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        float y;        // of the point
        int32_t drawn;  // height of the shadow; -1 none
    };
    const std::vector<Case> cases = {
        {"grid floor two rows down", [] { SetCellType(2, 0, 2, kFloor); }, 1300, 405},
        {"a moving bloc replaces the grid floor of its row",
         [] {
             SetCellType(2, 1, 2, kLowFloor);
             AddMovingBloc(kPlate, 1280, 768, 1280);
         },
         1300, 817},
        {"a moving bloc away from the point",
         [] {
             SetCellType(2, 1, 2, kLowFloor);
             AddMovingBloc(kPlate, 1880, 768, 1280);
         },
         1300, 617},
        {"a bottomless column", [] {}, 1300, -1},
        {"the point inside a bloc", [] { SetCellType(2, 2, 2, kFloor); }, 1300, -1},
        {"a floor above the point", [] { AddMovingBloc(kFloor, 1280, 1000, 1280); }, 1100, -1},
        {"far above the grid", [] { SetCellType(2, 0, 2, kFloor); }, 1e15f, 405},
    };
    G3DFreeMesh(Hero().ShadowMesh);
    Hero().ShadowMesh = Triangle();
    for (const Case& c : cases) {
        for (int32_t y = 0; y < 4; ++y) SetCellType(2, y, 2, 0);
        Level.MovingBlocs.Clear();
        c.arrange();
        G3DSetCamera(0, 0, 0, 0, 0, 0, DStuff);
        DrawOnFloor(0, 0, 1280, c.y, 1280, 0);
        if (c.drawn < 0) {
            EXPECT_EQ(DStuff.TriangleCount, 0) << c.what;
        } else {
            ASSERT_EQ(DStuff.TriangleCount, 1) << c.what;
            EXPECT_EQ(DStuff.RenderList[0].Y0, c.drawn) << c.what;
        }
    }
}

// ---- RenderGameFrame ----

TEST_F(GameSceneTest, CameraInFirstAndThirdPerson) {
    struct Case {
        const char* what;
        float distance;
        float startZ;   // of the camera
        float x, y, z;  // camera afterwards
        size_t heroTriangles;
    };
    const std::vector<Case> cases = {
        {"first person: at the eye, hero not drawn", 0, 0, 1280, 650, 7000, 0},
        {"third person: follows", 1000, 6000, 1280, 700, 6000, 1},
        // 200 towards the wanted point, 510 (the fastest move) along its view, then the jump.
        {"third person, far behind: jumps 512 along its view", 1000, 4000, 1280, 900, 5222, 1},
        {"third person, too close to draw the hero", 50, 6950, 1280, 605, 6950, 0},
    };
    for (const Case& c : cases) {
        HeroStuff& h = Hero();
        h.X = 1280, h.Y = 600, h.Z = 7000;
        // The third-person figures assume a level view.
        h.Yaw = 0, h.Pitch = c.distance == 0 ? 200.0f : 0.0f, h.Tilt = 33.7f;
        h.CameraX = 1280, h.CameraY = 600, h.CameraZ = c.startZ;
        h.CameraYaw = h.CameraPitch = 0;
        h.CameraDistance = c.distance;
        G3DFreeMesh(h.HeroMesh);
        h.HeroMesh = Triangle();
        testutil::ClearBackendRecord();
        RenderGameFrame(*world_.window);
        EXPECT_NEAR(h.CameraX, c.x, 0.5) << c.what;
        EXPECT_NEAR(h.CameraY, c.y, 0.5) << c.what;
        EXPECT_NEAR(h.CameraZ, c.z, 0.5) << c.what;
        EXPECT_EQ(LastFlushSize(), c.heroTriangles) << c.what;
        if (c.distance > 0) {
            float yaw = 0, pitch = 0;
            DirectionAngles(yaw, pitch, h.CameraX, h.CameraY, h.CameraZ, h.X, h.Y, h.Z);
            EXPECT_EQ(h.CameraYaw, yaw) << c.what;
            EXPECT_EQ(h.CameraPitch, pitch) << c.what;
            EXPECT_EQ(h.CameraRoll, 0) << c.what;
        } else {
            EXPECT_EQ(h.CameraYaw, h.Yaw) << c.what;
            EXPECT_EQ(h.CameraPitch, h.Pitch) << c.what;
            EXPECT_EQ(h.CameraRoll, 33) << c.what;
            EXPECT_EQ(DStuff.CamY, 650) << c.what;
        }
    }
}

TEST_F(GameSceneTest, TheTargetCellLiesInFrontOneRowDown) {
    struct Case {
        const char* what;
        float yaw, x, y, z;
        int32_t width;
        int32_t above;  // type of the cell above the target
        std::array<int32_t, 3> target;
    };
    const std::vector<Case> cases = {
        {"ahead along +Z", 0, 1280, 600, 1280, 260, 0, {2, 0, 3}},
        {"ahead along +X", 8192, 1280, 600, 1280, 260, 0, {3, 0, 2}},
        {"a wide hero reaches farther out of its own cell", 0, 1280, 600, 1200, 800, 0, {2, 0, 3}},
        {"a bloc in front at the hero's height", 0, 1280, 600, 1280, 260, kFloor, {2, 1, 3}},
        {"a diggable bloc there stays below", 0, 1280, 600, 1280, 260, kDigHurt, {2, 0, 3}},
        {"far above the grid", 0, 1280, 1e13f, 1280, 260, 0, {2, INT32_MAX, 3}},
    };
    for (const Case& c : cases) {
        SetCellType(2, 1, 3, c.above);
        HeroStuff& h = Hero();
        h.Yaw = c.yaw, h.X = c.x, h.Y = c.y, h.Z = c.z, h.HeroWidth = c.width;
        RenderGameFrame(*world_.window);
        EXPECT_EQ((std::array<int32_t, 3>{h.TargetCellX, h.TargetCellY, h.TargetCellZ}), c.target)
            << c.what;
    }
}

TEST_F(GameSceneTest, AVisibleCameraPointHoldsTheThirdPersonCamera) {
    Level.CameraPoints[7] = {2, 1, 12};
    for (float distance : {1000.0f, 0.0f}) {
        HeroStuff& h = Hero();
        h.X = 1280, h.Y = 600, h.Z = 7000;
        h.CameraX = 1280, h.CameraY = 600, h.CameraZ = 6000;
        h.CameraDistance = distance;
        RenderGameFrame(*world_.window);
        const bool held = h.CameraX == 1280 && h.CameraY == 768 && h.CameraZ == 6400;
        EXPECT_EQ(held, distance > 0) << distance;
    }
}

TEST_F(GameSceneTest, TheViewEndsWithTheHerosLightForOneFrame) {
    Level.Blocs[kFloor].Meshes[0] = Triangle();
    Level.Blocs[kFloor].MeshCount = 1;
    SetCellType(2, 1, 7, kFloor);  // five cells ahead
    for (auto [light, drawn] : std::vector<std::pair<float, size_t>>{{2048, 0}, {100000, 1}}) {
        Hero().LightRange = light;
        RenderGameFrame(*world_.window);
        EXPECT_EQ(LastFlushSize(), drawn) << light;
        EXPECT_EQ(DepthOfView, 14) << light;
    }
}

TEST_F(GameSceneTest, ClipZonesStartTheirClipsAndSingleOnesOnce) {
    for (int32_t clip : {3, 4}) {
        Level.Clips[clip] = ClipStuff{};
        Level.Clips[clip].DisplayedMessage = "zone";
        Level.Clips[clip].PlayedSingle = clip == 3;
    }
    const int32_t clips[] = {40, -1, 3, 4};
    for (int32_t i = 0; i < 4; ++i) Level.ClipZones[i] = {2, 1, 2, clips[i]};
    CurrentClip = -1;
    MessageClip = -1;
    RenderGameFrame(*world_.window);
    EXPECT_EQ(MessageClip, 4);
    const std::vector<int32_t> zoneX = {Level.ClipZones[0].ZoneX, Level.ClipZones[1].ZoneX,
                                        Level.ClipZones[2].ZoneX, Level.ClipZones[3].ZoneX};
    EXPECT_EQ(zoneX, (std::vector<int32_t>{2, 2, kUsedClipZone, 2}));
    Level.Clips[3] = ClipStuff{};
    Level.Clips[4] = ClipStuff{};
}

TEST_F(GameSceneTest, TheBannerGlidesInRestsGlidesOutAndEnds) {
    Level.Banner1 = "LEVEL";
    struct Case {
        int32_t age;
        float y;
        uint8_t on;
        float after;
    };
    const std::vector<Case> cases = {
        {0, 0.7f, 1, 0.56f}, {4000, 0.1f, 1, 0.1f}, {6000, 0.1f, 1, 0.1202f}, {10001, 0.1f, 0, 0}};
    for (const Case& c : cases) {
        LevelBanner = {c.y, FrameTime - c.age, 1};
        FrameStep = 90;
        RenderGameFrame(*world_.window);
        EXPECT_EQ(LevelBanner.on, c.on) << c.age;
        if (c.on) {
            EXPECT_NEAR(LevelBanner.y, c.after, 1e-6) << c.age;
        }
    }
}

TEST_F(GameSceneTest, DeathAndVictoryChangeTheModeAfterTheFrame) {
    struct Case {
        float life;
        uint8_t won;
        int32_t mode;
    };
    for (const Case& c :
         std::vector<Case>{{50, 0, ModePlay}, {-1, 0, ModeTitle}, {50, 1, ModeEnd}}) {
        GameMode = ModePlay;
        Hero().Life = c.life;
        GameWon = c.won;
        RenderGameFrame(*world_.window);
        EXPECT_EQ(GameMode, c.mode) << c.life << " " << int(c.won);
    }
    GameWon = 0;
}

// ---- PresentFrame ----

TEST_F(GameSceneTest, TheFrameIsPresentedCentredInTheClientArea) {
    struct Case {
        int client[2];
        int32_t frame[2];
        int32_t left, top;
    };
    const std::vector<Case> cases = {
        {{640, 480}, {320, 240}, 160, 120},
        {{321, 241}, {320, 240}, 0, 0},
        {{301, 200}, {320, 240}, -9, -20},  // halves truncate toward zero
    };
    for (const Case& c : cases) {
        world_.window->SetClientSize(c.client[0], c.client[1]);
        int w = 0, h = 0;
        world_.window->ClientSize(w, h);
        ASSERT_EQ(w, c.client[0]);
        ASSERT_EQ(h, c.client[1]);
        DStuff.Frame.Width = c.frame[0], DStuff.Frame.Height = c.frame[1];
        testutil::ClearBackendRecord();
        PresentFrame(*world_.window);
        ASSERT_EQ(testutil::Backend().presents.size(), 1u);
        const testutil::RecordedPresent& p = testutil::Backend().presents[0];
        EXPECT_EQ(p.x, c.left);
        EXPECT_EQ(p.y, c.top);
        EXPECT_EQ(p.w, c.frame[0]);
        EXPECT_EQ(p.h, c.frame[1]);
    }
}

}  // namespace
