#include "game/level/LevelDefinition.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/G3DState.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/DefinitionSection.h"
#include "game/media/Music.h"
#include "game/level/HeroStuff.h"
#include "game/StartUp.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/PathResolver.h"
#include "platform/process/Halt.h"
#include "support/IniFiles32.h"
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

TEST(NumberedSectionsTest, FindWhatFindSectionFinds) {
    const TIniFile32 ini("def.ini",
                         "[object 1]\n[OBJECT 2]\n[Object 03]\n[Object  4]\n[Object 5 ]\n"
                         "[Object 6]\n[object 6]\n[Object -7]\n[Object 8x]\n[Object 0]\n"
                         "[Objects 9]\n[Object 10]\n[Object 11]\nk=v\n[Object 99999999999]\n");
    const std::vector<int> lines = NumberedSections(ini, "Object ", 12);
    for (int32_t n = 0; n < 12; ++n) {
        EXPECT_EQ(lines[static_cast<size_t>(n)], ini.FindSection("Object " + std::to_string(n)))
            << n;
    }
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
    LoopMusic = 1;
    Load("def.ini");
    EXPECT_EQ(LoopMusic, 0) << "the music playing does not loop into the new level";
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

TEST_F(LevelDefinitionTest, AFileHoldingNoDefinitionEndsTheGameAsAMissingLevelFileDoes) {
    for (const char* bytes : {"", "\x89PNG\r\n\x1a\n junk", "[Genera]\nHero=a.msh\n"}) {
        folder.Write("bad.ini", bytes);
        messages.texts.clear();
        try {
            Load("bad.ini");
            ADD_FAILURE() << "loaded: " << bytes;
        } catch (const platform::HaltRequested& halt) {
            EXPECT_EQ(halt.exitCode, kDataErrorStatus);
        }
        EXPECT_EQ(messages.texts,
                  std::vector<std::string>{"The file bad.ini is missing or invalid."});
    }
    // A missing file loads as an empty one; a behaviour or a clip alone is a
    // definition.
    messages.texts.clear();
    Load("none.ini");
    folder.Write("clip.ini", "[Clip 3]\n");
    Load("clip.ini");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(LevelDefinitionTest, EveryKeyLandsInItsOwnField) {
    folder.Write("def.ini",
                 "[General]\nLongJumpGValue=201\nLongJumpHealthValue=202\nHurtSoundDuration=203\n"
                 "GolemHurtSoundDuration=204\nHeroHeight=205\nHeroStep=206\nSpeed=207\n"
                 "AngleSpeed=208\nJumpG=209\nSolidHurt=210\nMeshSpeed=0.5\n"
                 "FallRotateFactor=2.5\nSky_3_Description=dusk\n"
                 "[Object 3]\nCube=TRUE\nHideInGame=TRUE\nName=crate\nGolem=TRUE\nExit=TRUE\n"
                 "GameEnd=TRUE\nWalkAnimSpeed=11\nBlockAnimSpeed=12\nFollowingDistance=13\n"
                 "FollowingDistanceMax=14\nWidth=15\nHeight=16\nGolemSpeed=17\n"
                 "GolemRotationSpeed=18\nBlockedDuration=19\nDefaultBehaviour=20\n"
                 "BulletHitBehaviour=21\nDeathBehaviour=22\nTransparency=23\nLever=TRUE\n"
                 "LeverAnim=24\nLeverOpen=25\nLeverDoor=26\nSpring=TRUE\nMedikit=TRUE\n"
                 "MedikitHealth=27\nTimer=TRUE\nTimerDuration=28\nDig=TRUE\nRecover=TRUE\n"
                 "DigAnim=29\nRecoverAnim=30\nBlockKey=TRUE\nBlockKeySensor=31\n"
                 "BlockSensor=TRUE\nBlockSensorDoor=32\nDoor=TRUE\nAnimDoor=33\nDoorOpen=34\n"
                 "DoorKey=35\nDoorKeyRemoveAmount=36\nAmmo=TRUE\nAmmoBullet=37\nBullet=TRUE\n"
                 "BulletSpeed=38\nBulletMass=39\nBulletDuration=40\nBulletExplosion=41\n"
                 "ReloadTime=42\nCanGet=TRUE\nQuantity=43\nShowLevelCount=TRUE\n"
                 "ShowLevelCountLeft=0.1\nShowLevelCountTop=0.2\nShowLevelCountIconLeft=0.3\n"
                 "ShowLevelCountTopIcon=0.4\nSaveReload=44\nHealth=45\nHurtValue=-1.5\n"
                 "Collision=FALSE\nCanPush=TRUE\nMorph=TRUE\nAnimateCollision=TRUE\n"
                 "ActionVolume=46\nLoopDuration=47\nLoopVolume=48\nInventoryIcon=inv.pcx\n"
                 "InventoryIconWidth=0.5\nInventoryIconHeight=0.6\nInventoryCountInvert=TRUE\n"
                 "WeaponIcon=gun.pcx\nWeaponFireIcon=fire.pcx\nFaceBColor=49\nFaceETexture=50\n");
    Load("def.ini");
    const HeroStuff& hero = Heroes[0];
    EXPECT_EQ(hero.LongJumpGValue, 201);
    EXPECT_EQ(hero.LongJumpHealthValue, 202);
    EXPECT_EQ(hero.HurtSoundDuration, 203);
    EXPECT_EQ(hero.GolemHurtSoundDuration, 204);
    EXPECT_EQ(hero.HeroWidth, 260);
    EXPECT_EQ(hero.HeroHeight, 205);
    EXPECT_EQ(hero.HeroStep, 206);
    EXPECT_EQ(hero.Speed, 207);
    EXPECT_EQ(hero.AngleSpeed, 208);
    EXPECT_EQ(hero.JumpG, 209);
    EXPECT_EQ(hero.SolidHurt, 210);
    EXPECT_EQ(hero.MeshSpeed, 0.5f);
    EXPECT_EQ(hero.FallRotateFactor, 2.5f);
    EXPECT_EQ(Level.Skies[3].SkyDescription, "dusk");

    const BlocStuff& b = Level.Blocs[3];
    const GolemTypeStuff& g = b.GolemType;
    EXPECT_TRUE(b.HideInGame && b.Golem && b.Exit && b.GameEnd && b.Lever && b.Spring &&
                b.Medikit && b.Timer && b.Dig && b.Recover && b.BlockKey && b.BlockSensor &&
                b.Door && b.Ammo && b.Bullet && b.CanGet && b.ShowLevelCount && b.CanPush &&
                b.Morph && b.AnimateCollision && b.InventoryCountInvert);
    EXPECT_EQ(b.Collision, 0);
    EXPECT_EQ(b.Name, "crate");
    EXPECT_EQ((std::array<int32_t, 9>{g.WalkAnimSpeed, g.BlockAnimSpeed, g.FollowingDistance,
                                      g.FollowingDistanceMax, g.Width, g.Height, g.GolemSpeed,
                                      g.GolemRotationSpeed, g.BlockedDuration}),
              (std::array<int32_t, 9>{11, 12, 13, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ((std::array<int32_t, 29>{b.DefaultBehaviour,
                                       b.BulletHitBehaviour,
                                       b.DeathBehaviour,
                                       b.Transparency,
                                       b.LeverAnim,
                                       b.LeverOpen,
                                       b.LeverDoor,
                                       b.MedikitHealth,
                                       b.TimerDuration,
                                       b.DigAnim,
                                       b.RecoverAnim,
                                       b.BlockKeySensor,
                                       b.BlockSensorDoor,
                                       b.AnimDoor,
                                       b.DoorOpen,
                                       b.DoorKey,
                                       b.DoorKeyRemoveAmount,
                                       b.AmmoBullet,
                                       b.BulletSpeed,
                                       b.BulletMass,
                                       b.BulletDuration,
                                       b.BulletExplosion,
                                       b.ReloadTime,
                                       b.Quantity,
                                       b.SaveReload,
                                       b.Health,
                                       b.ActionVolume,
                                       b.LoopDuration,
                                       b.LoopVolume}),
              (std::array<int32_t, 29>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,
                                       35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48}));
    EXPECT_EQ((std::array<float, 7>{b.ShowLevelCountLeft, b.ShowLevelCountTop,
                                    b.ShowLevelCountIconLeft, b.ShowLevelCountTopIcon, b.HurtValue,
                                    b.InventoryIconWidth, b.InventoryIconHeight}),
              (std::array<float, 7>{0.1f, 0.2f, 0.3f, 0.4f, -1.5f, 0.5f, 0.6f}));
    EXPECT_EQ(b.InventoryIcon, "inv.pcx");
    EXPECT_EQ(b.WeaponIcon, "gun.pcx");
    EXPECT_EQ(b.WeaponFireIcon, "fire.pcx");
    EXPECT_EQ(b.FaceAColor, 66);
    EXPECT_EQ(b.FaceBColor, 49);
    EXPECT_EQ(b.FaceETexture, 50);
    EXPECT_EQ(b.FaceFTexture, 0);
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
                 "[General]\nRoot=data\nSky_2_Object=a.msh\nSky_2_Description=dawn\n"
                 "[Object 1]\nCube=FALSE\nMesh1=a.msh\nGolem=TRUE\nMeshWalk1=b.msh\n"
                 "Lever=TRUE\nLeverAnim=5\nDefaultBehaviour=1\n");
    folder.Write("two.ini", "[General]\nSky_20_Object=\n[Object 1]\nCube=TRUE\n");
    Load("one.ini");
    ASSERT_NE(Level.Blocs[1].GolemType.MeshWalk1, nullptr);
    ASSERT_NE(Level.Skies[2].SkyMesh, nullptr);
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
    EXPECT_EQ(Level.Skies[2].SkyMesh, nullptr);
    EXPECT_EQ(Level.Skies[2].SkyFile, "");
    EXPECT_EQ(Level.Skies[2].SkyDescription, "");
}

}  // namespace
