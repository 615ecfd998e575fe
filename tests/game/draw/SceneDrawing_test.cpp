#include "game/draw/SceneDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/G3DCamera.h"
#include "engine/G3DRender.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "support/Snd.h"
#include "tests/common/RecordingBackend.h"
#include "tests/game/LevelTestWorld.h"
#include "tests/support/WaveBuilder.h"

namespace {

constexpr int32_t kCube = 1, kOtherCube = 2, kMesh = 3, kHiddenCube = 4, kGlassCube = 5;
constexpr int32_t kStaleCube = 6, kLoud = 7, kHiddenLoud = 8;

// Centre of cell c on one axis.
float Centre(int32_t c) { return static_cast<float>(c * 512 + 256); }

class SceneDrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(16, 4, 16, Level));
        for (BlocStuff& bloc : Level.Blocs) {
            bloc.FreeMeshes();
            bloc = BlocStuff{};
        }
        Level.TileAnimations.Clear();
        Level.MovingBlocs.Clear();
        Level.Golems.Clear();
        Level.Skies[Level.CurrentSky].SkyMesh = nullptr;
        for (int32_t t : {kCube, kOtherCube, kHiddenCube, kGlassCube}) Define(t, 1);
        Level.Blocs[kHiddenCube].HideInGame = 1;
        Level.Blocs[kGlassCube].Transparency = 90;
        Level.Blocs[kStaleCube].Cube = 1;  // left undefined
        for (int32_t t : {kMesh, kLoud, kHiddenLoud}) {
            Define(t, 0);
            // One double-sided triangle 100 units across, around the cell centre.
            G3DAllocMesh(Level.Blocs[t].Meshes[0], 2, 0);
            TG3DMesh& m = *Level.Blocs[t].Meshes[0];
            m.X = {-50, 50, 0}, m.Y = {-100, -100, -100}, m.Z = {0, 0, 50};
            m.Faces[0] = {0, 1, 2, 7, 0, 1, kG3DFaceFlat, 0};
            Level.Blocs[t].MeshCount = 1;
        }
        Level.Blocs[kHiddenLoud].HideInGame = 1;
        BuildCubeFaces();
        G3DSetViewport(DStuff, 160, 120, 64, 64, 32, 1, 4, 10000);
        DepthOfView = VerticalDepthOfView = 14;
        GameTime = 10000, FrameTime = 10000, FrameStep = 90;
        HighTextures = 0;
        testutil::ClearBackendRecord();
    }
    void TearDown() override {
        Level.TileAnimations.Clear();
        for (BlocStuff& bloc : Level.Blocs) bloc.FreeMeshes();
        AllocLevelGrid(0, 0, 0, Level);
        DepthOfView = VerticalDepthOfView = 14;
    }
    static void Define(int32_t type, uint8_t cube) {
        Level.Blocs[type].Undefined = 0;
        Level.Blocs[type].Cube = cube;
    }
    // Draws the level from (x, y, z) looking along +Z.
    void Draw(float x, float y, float z, float lightRange = 100000, int32_t tx = -1,
              int32_t ty = -1, int32_t tz = -1) {
        DrawScene(tx, ty, tz, x, y, z, 0, 0, 0, lightRange, Level, DStuff, *world_.window);
    }
    static std::vector<TG3DTriangle> Drawn() {
        return {DStuff.RenderList.begin(), DStuff.RenderList.begin() + DStuff.TriangleCount};
    }
    // Triangles lying in the plane x = offset (camera-relative).
    static int32_t InPlaneX(float offset) {
        const std::vector<TG3DTriangle> list = Drawn();
        return static_cast<int32_t>(std::count_if(list.begin(), list.end(), [&](const auto& t) {
            return t.X0 == offset && t.X1 == offset && t.X2 == offset;
        }));
    }

    leveltest::LevelTestWorld world_;
};

TEST_F(SceneDrawingTest, SharedCubeFacesAreHiddenByEveryDefinedCube) {
    struct Case {
        const char* what;
        int32_t neighbour;
        int32_t faces;  // triangles of the shared face
    };
    const std::vector<Case> cases = {
        {"empty neighbour", 0, 2},
        {"cube neighbour", kOtherCube, 0},
        {"hidden cube neighbour", kHiddenCube, 0},
        {"transparent cube neighbour", kGlassCube, 0},
        {"mesh neighbour", kMesh, 2},
        {"undefined type with a cube flag", kStaleCube, 2},
        {"type beyond the table", 300, 2},
    };
    // Seen from inside the neighbour cell, only the shared face of the cube
    // faces the camera.
    for (const Case& c : cases) {
        SetCellType(2, 1, 2, kCube);
        Level.CellTypes[CellIndex(3, 1, 2, Level)] = static_cast<uint16_t>(c.neighbour);
        Draw(Centre(3), Centre(1), Centre(2));
        EXPECT_EQ(InPlaneX(-256), c.faces) << c.what;
    }
}

TEST_F(SceneDrawingTest, CubesAtTheGridEdgeDrawTheirOuterFaces) {
    struct Case {
        int32_t cell;  // on x
        float cameraX;
        float plane;  // the outer face, camera-relative
    };
    for (const Case& c : std::vector<Case>{{15, Centre(16), -256}, {0, -256, 256}}) {
        SetCellType(c.cell, 1, 2, kCube);
        Draw(c.cameraX, Centre(1), Centre(2));
        EXPECT_EQ(InPlaneX(c.plane), 2) << c.cell;
        SetCellType(c.cell, 1, 2, 0);
    }
}

TEST_F(SceneDrawingTest, ObjectsFadeWithDistanceWithinTheLightRange) {
    struct Case {
        float lightRange;
        uint8_t transparency;
        float alpha;
    };
    const std::vector<Case> cases = {
        {0, 0, 0},                       // behaves as 0.01
        {-5, 0, 0},                      // the same
        {3000, 0, 1},                    // nearer than two thirds of the range
        {1200, 0, 0.5f},                 // (1000 - 800) * 300 / 1200 = 50
        {1200, 30, 0.2f}, {1000, 0, 0},  // at the range itself
    };
    SetCellType(2, 1, 4, kMesh);
    for (const Case& c : cases) {
        Level.Blocs[kMesh].Transparency = c.transparency;
        Draw(Centre(2), Centre(1), Centre(4) - 1000, c.lightRange);
        ASSERT_EQ(DStuff.TriangleCount, 1) << c.lightRange;
        EXPECT_NEAR(DStuff.RenderList[0].Alpha, c.alpha, 1e-6) << c.lightRange;
    }
}

TEST_F(SceneDrawingTest, TheSceneLightReachesTheEngineForAnyViewDepth) {
    struct Case {
        int32_t depth;
        int32_t stored;  // radius + 1
    };
    for (const Case& c : std::vector<Case>{{14, 100353}, {0, 1}, {100000, INT32_MAX}}) {
        DepthOfView = c.depth;
        Draw(Centre(2), Centre(1), Centre(2));
        ASSERT_EQ(DStuff.LastLight, 0) << c.depth;
        EXPECT_EQ(DStuff.Lights[0].Radius, c.stored) << c.depth;
    }
}

TEST_F(SceneDrawingTest, OnlyADiggableTargetCellIsDarkened) {
    struct Case {
        uint8_t dig;
        int32_t targetZ;
        int32_t brightness;
    };
    SetCellType(2, 1, 4, kMesh);
    SetCellLight(2, 1, 4, 200);
    for (const Case& c : std::vector<Case>{{1, 4, -80}, {0, 4, 72}, {1, 5, 72}}) {
        Level.Blocs[kMesh].Dig = c.dig;
        Draw(Centre(2), Centre(1), Centre(2), 100000, 2, 1, c.targetZ);
        ASSERT_EQ(DStuff.TriangleCount, 1);
        const TG3DTriangle& t = DStuff.RenderList[0];
        EXPECT_FLOAT_EQ(t.Dark0, 1 - G3DLightAt(c.brightness, DStuff, t.X0, t.Y0, t.Z0))
            << int(c.dig) << " " << c.targetZ;
    }
}

TEST_F(SceneDrawingTest, LoopSoundsPlayForEveryShownCellOfTheViewBox) {
    auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
    const auto log = device->Log();
    InitSound(std::move(device));
    TSoundBuffer* sound = nullptr;
    LoadSound(world_.folder.Write("loop.wav", wavetest::PcmWave(1, 22050, 8, std::string(64, 'x'))),
              sound);
    for (int32_t t : {kLoud, kHiddenLoud}) {
        Level.Blocs[t].LoopSoundBuffer = sound;
        Level.Blocs[t].LoopDuration = 1000;
        Level.Blocs[t].LoopSoundTime = 0;
    }
    DepthOfView = VerticalDepthOfView = 3;
    SetCellType(8, 1, 10, kLoud);       // ahead of the camera
    SetCellType(8, 1, 5, kLoud);        // behind it, out of sight
    SetCellType(8, 1, 12, kLoud);       // beyond the view box
    SetCellType(9, 1, 9, kHiddenLoud);  // never shown
    TileAnimationStuff* near = Level.TileAnimations.Add();
    near->X = Centre(9), near->Y = Centre(1), near->Z = Centre(10), near->AnimType = kLoud;
    G3DCopyMesh(Level.Blocs[kLoud].Meshes[0], near->AnimMesh);
    TileAnimationStuff* far = Level.TileAnimations.Add();
    far->X = 2.0e9f, far->Y = -2.0e9f, far->Z = 2.0e9f, far->AnimType = kLoud;
    G3DCopyMesh(Level.Blocs[kLoud].Meshes[0], far->AnimMesh);
    log->Calls.clear();

    Draw(Centre(8), Centre(1), Centre(8));

    const int32_t plays = static_cast<int32_t>(
        std::count_if(log->Calls.begin(), log->Calls.end(),
                      [](const std::string& c) { return c.rfind("duplicate", 0) == 0; }));
    EXPECT_EQ(plays, 3);  // the near tile animation, then the two cells of the box
    std::vector<std::array<int32_t, 3>> heard;
    for (int i = 0; i < 3; ++i) {
        heard.push_back({SoundChannels[i].X, SoundChannels[i].Y, SoundChannels[i].Z});
    }
    EXPECT_EQ(heard, (std::vector<std::array<int32_t, 3>>{
                         {4864, 768, 5376}, {4352, 768, 2816}, {4352, 768, 5376}}));
    EXPECT_EQ(DStuff.TriangleCount, 2);  // the near tile animation and the cell ahead
    for (int32_t t : {kLoud, kHiddenLoud}) Level.Blocs[t].LoopSoundBuffer = nullptr;
    FreeSound(sound);
    ShutDownSound();
}

}  // namespace
