#include "game/LevelDefinition.h"

#include <gtest/gtest.h>

#include <array>

#include "engine/G3DState.h"
#include "game/HeroStuff.h"
#include "game/LevelStuff.h"
#include "platform/fs/PathResolver.h"
#include "tests/engine/TestFiles.h"
#include "tests/game/LevelTestWorld.h"

namespace {

// A mesh of the given vertices and no face.
TG3DMesh Vertices(std::initializer_list<std::array<int32_t, 3>> points) {
    TG3DMesh mesh;
    mesh.LastVertex = static_cast<int32_t>(points.size()) - 1;
    mesh.LastFace = -1;
    for (const auto& p : points) {
        mesh.X.push_back(p[0]);
        mesh.Y.push_back(p[1]);
        mesh.Z.push_back(p[2]);
    }
    return mesh;
}

std::array<int32_t, 9> Bounds(const TG3DMesh* mesh) {
    std::array<int32_t, 9> b{};
    MeshBounds(mesh, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8]);
    return b;
}

TEST(MeshBoundsTest, QuadrantsAroundTheMiddle) {
    // x from -200 to 100 (middle -50), z from -100 to 100 (middle 0).
    const TG3DMesh mesh =
        Vertices({{-200, -30, -100}, {100, 40, -100}, {100, 50, 100}, {-50, 60, 0}, {-60, 70, 99}});
    EXPECT_EQ(Bounds(&mesh), (std::array<int32_t, 9>{56, 356, 226, 226, 296, 316, 326, 156, 356}));
    // Xmax and Zmax never go below 0 nor the minima above 512 before the bias;
    // a quadrant without a vertex keeps -512.
    const TG3DMesh corner = Vertices({{-100, 700, -100}});
    EXPECT_EQ(Bounds(&corner),
              (std::array<int32_t, 9>{156, 256, 768, 956, -256, -256, -256, 156, 256}));
    EXPECT_EQ(Bounds(nullptr),
              (std::array<int32_t, 9>{768, 256, 768, -256, -256, -256, -256, 768, 256}));
}

class LevelDefinitionTest : public ::testing::Test, protected leveltest::LevelTestWorld {
  protected:
    void SetUp() override {
        const TG3DMesh a = Vertices({{-256, -256, -256}, {255, 0, 255}});
        const TG3DMesh b = Vertices({{-100, -256, -100}, {100, 100, 100}});
        folder.Write("data/a.msh", enginetest::MeshFileBytes(a));
        folder.Write("data/b.msh", enginetest::MeshFileBytes(b));
    }
    void Load(const std::string& name, const std::string& quality = "High") {
        LoadLevelDefinition(name, quality, Level, *window, DStuff);
    }
};

TEST_F(LevelDefinitionTest, DefaultsFlagsAndKeysReadOnlyUnderTheirFlag) {
    folder.Write("def.ini",
                 "[General]\nHeroWidth=300\n"
                 "[Object 1]\nCube=true\nDoor=TRUE\nLever=FALSE\nLeverAnim=5\n"
                 "Collision=yes\nTransparency=300\n"
                 "StepSound=step.wav\n"
                 "[Object 5]\nG=7\nSpeedX=3\nDefaultBehaviour=2\nName=ghost\n"
                 "[Object 6]\nCube=FALSE\n");
    Level.Blocs[5].InstanceCount = 4;
    Load("def.ini");
    EXPECT_EQ(Heroes[0].HeroWidth, 300);

    const BlocStuff& cube = Level.Blocs[1];
    EXPECT_EQ(cube.Cube, 1);
    EXPECT_EQ(cube.AnimDoor, 1);   // the type's own number
    EXPECT_EQ(cube.LeverAnim, 0);  // Lever is false: not read
    EXPECT_EQ(cube.Collision, 0);  // only "TRUE" is true
    EXPECT_EQ(cube.Transparency, 300 % 256);
    EXPECT_EQ(cube.StepSoundFile, "STEP.WAV");
    EXPECT_EQ(cube.ExtentY, 511);

    const BlocStuff& ghost = Level.Blocs[5];
    EXPECT_EQ(ghost.Undefined, 1);
    EXPECT_EQ(ghost.G, 7);
    EXPECT_EQ(ghost.DefaultBehaviour, -1);
    EXPECT_EQ(ghost.Collision, 0);
    EXPECT_EQ(ghost.InstanceCount, 4);

    const BlocStuff& shapeless = Level.Blocs[6];
    EXPECT_EQ(shapeless.Xmin, 768);
    EXPECT_EQ(Level.LoadedQuality, "HIGH");
    ASSERT_NE(LetterboxMesh, nullptr);
    EXPECT_EQ(LetterboxMesh->Faces[1].Kind, kG3DFaceFlat);
}

TEST_F(LevelDefinitionTest, MeshFramesStopAtTheFirstGapAndBoundsTakeOverrides) {
    folder.Write("def.ini",
                 "[General]\nRoot=data\n"
                 "[Object 2]\nCube=FALSE\nMesh1=a.msh\nMesh2=b.msh\nMesh3=a.msh\nMesh5=b.msh\n"
                 "Xmin=0\nYmax=300\nYmax2=310\nZmax=999999\n");
    Level.Blocs[2].FramePosition = 2.5f;
    Load("def.ini");
    EXPECT_EQ(platform::fs::CurrentFolder(), folder.Root());
    const BlocStuff& bloc = Level.Blocs[2];
    ASSERT_EQ(bloc.MeshCount, 3);
    EXPECT_EQ(bloc.MeshFiles[4], "");
    ASSERT_NE(bloc.CurrentMesh, nullptr);
    EXPECT_NE(bloc.CurrentMesh, bloc.Meshes[0]);
    EXPECT_EQ(bloc.FramePosition, 2.5f);  // within the frames: kept
    // Xmin 0 is an override, on the current bounds and frames 0..MeshCount.
    EXPECT_EQ(bloc.Xmin, 0);
    for (int32_t f = 0; f <= 3; ++f) EXPECT_EQ(bloc.FrameXmin[f], 0) << f;
    EXPECT_EQ(bloc.Ymax1, 300);
    EXPECT_EQ(bloc.Ymax2, 310);
    // Zmax 999999 means absent: each frame keeps its mesh's bound.
    EXPECT_EQ(bloc.Zmax, 511);
    EXPECT_EQ(bloc.FrameZmax[1], 356);
    EXPECT_EQ(bloc.ExtentY, (300 + 310 + 300 + 300) / 4);
}

TEST_F(LevelDefinitionTest, TheSameDefinitionAndQualityIsNotLoadedAgain) {
    folder.Write("def.ini", "[General]\nRoot=data\n[Object 1]\nCube=FALSE\nMesh1=a.msh\n");
    Load("def.ini", "high");
    const TG3DMesh* mesh = Level.Blocs[1].Meshes[0];
    ASSERT_NE(mesh, nullptr);
    Level.Blocs[1].G = 99;
    const TG3DMesh* letterbox = LetterboxMesh;

    Load("DEF.INI", "High");
    EXPECT_EQ(Level.Blocs[1].G, 99);
    EXPECT_EQ(Level.Blocs[1].Meshes[0], mesh);
    EXPECT_EQ(LetterboxMesh, letterbox);

    Load("def.ini", "Low");
    EXPECT_EQ(Level.Blocs[1].G, 24);
    EXPECT_EQ(Level.LoadedQuality, "LOW");
}

TEST_F(LevelDefinitionTest, EveryLoadStartsTheTypesFromTheirDefaults) {
    folder.Write("one.ini",
                 "[General]\nRoot=data\n"
                 "[Object 1]\nCube=FALSE\nMesh1=a.msh\nGolem=TRUE\nMeshWalk1=b.msh\n"
                 "Lever=TRUE\nLeverAnim=5\nDefaultBehaviour=1\n");
    folder.Write("two.ini", "[Object 1]\nCube=TRUE\n");
    Load("one.ini");
    ASSERT_NE(Level.Blocs[1].GolemType.MeshWalk1, nullptr);
    Level.Blocs[1].InstanceCount = 3;

    Load("two.ini");
    const BlocStuff& bloc = Level.Blocs[1];
    EXPECT_EQ(bloc.GolemType.MeshWalk1, nullptr);
    EXPECT_EQ(bloc.LeverAnim, 0);
    EXPECT_EQ(bloc.DefaultBehaviour, -1);
    EXPECT_EQ(bloc.MeshCount, 0);
    EXPECT_EQ(bloc.Meshes[0], nullptr);
    EXPECT_EQ(bloc.InstanceCount, 3);
    EXPECT_EQ(bloc.Xmax, 511);
}

}  // namespace
