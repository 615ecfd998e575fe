#include "game/level/LevelFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <limits>

#include "engine/G3DState.h"
#include "game/level/CellGrid.h"
#include "game/GameClock.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "support/Random.h"
#include "tests/engine/TestFiles.h"
#include "tests/game/LevelTestWorld.h"

namespace {

class LevelFileTest : public ::testing::Test, protected leveltest::LevelTestWorld {
  protected:
    void SetUp() override { ClearLists(); }
    static void ClearLists() {
        Level.Golems.Clear();
        Level.MovingBlocs.Clear();
        Level.BehaviourInstances.Clear();
        Level.TileAnimations.Clear();
        Level.DugCells.Clear();
    }
    void Read(const std::string& name) {
        ReadLevelState(folder.Path(name), "High", Level, *window, DStuff);
    }
    std::string FileBytes(const std::string& name) {
        std::string bytes;
        platform::fs::ReadWholeFile(folder.Path(name), bytes);
        return bytes;
    }

    // A 3 × 2 × 2 level of undefined types, with every table and list used in
    // a state that reading leaves as it is.
    void MakeRichLevel() {
        ASSERT_TRUE(AllocLevelGrid(3, 2, 2, Level));
        for (int32_t i = 0; i < Level.CellCount; ++i) {
            Level.CellTypes[i] = static_cast<uint16_t>(200 + i);
            Level.LightLayer[i] = static_cast<uint8_t>(i);
            Level.CornerYLayer[i] = static_cast<uint8_t>(255 - i);
            Level.TurnLayer[i] = static_cast<uint8_t>(3 * i);
        }
        Level.DefinitionFile = "missing.ini";
        Level.StartX = 2, Level.StartAngle = -8192;
        Level.ClipZones[255] = {1, 2, 3, 35};
        Level.CameraPoints[3] = {4, 5, 6};
        Level.Banner1 = "Level one";
        Level.CurrentSky = 9, Level.RandSeed = -123456, Level.BackGreen = 200, Level.LightDepth = 6;
        Level.LevelExits[42] = {"LEVEL2.LVL", 7, 8, 9};
        GameTime = 5000.75f;
        TileAnimationStuff& tile = *Level.TileAnimations.Add();
        tile.X = 256, tile.AnimType = 201, tile.FinalType = 3, tile.StartTime2 = 11;
        Level.DugCells.Add()->Duration = 400;
        GolemStuff& golem = *Level.Golems.Add();
        golem.GolemBloc = 50, golem.X = 700, golem.Y = 256, golem.Z = 1300, golem.Heading = 512;
        golem.WantedHeading = 512, golem.TargetX = 700, golem.TargetY = 256, golem.TargetZ = 1300;
        golem.CellX = 1, golem.CellZ = 2, golem.ResetMark = 40, golem.OutOfSight = 1;
        golem.LastSoundTime = 7000, golem.Speed = 3.5f, golem.AnimPhase = 1.25f;
        MovingBlocStuff& moving = *Level.MovingBlocs.Add();
        moving.BlocType = 60, moving.Kind = kMovingOwned, moving.VelocityY = -20, moving.Spare = 5;
        BehaviourStuff& instance = *Level.BehaviourInstances.Add();
        instance.BehaviourType = 4, instance.CellY = 1, instance.PcTime = 99;
        instance.MovingBlocRow = 0, instance.InstanceHealth = 12.5f;
    }
};

TEST_F(LevelFileTest, WriteReadWriteGivesTheSameFile) {
    MakeRichLevel();
    ASSERT_TRUE(WriteLevelState(folder.Path("a.lvl"), Level));
    ASSERT_TRUE(AllocLevelGrid(1, 1, 1, Level));
    Level.Golems.Clear();
    GameTime = 0;
    GameWon = 1;

    Read("a.lvl");
    EXPECT_EQ(Level.SizeX, 3);
    EXPECT_EQ(Level.CellTypes[11], 211);
    EXPECT_EQ(Level.LevelExits[42].ExitLevel, "LEVEL2.LVL");
    EXPECT_EQ(GameTime, 5000.75f);
    EXPECT_EQ(RandSeed, static_cast<uint32_t>(-123456));
    EXPECT_EQ(Heroes[0].LightRange, 6 * 512.0f);
    EXPECT_EQ(GameWon, 0);
    EXPECT_EQ(Level.Blocs[50].InstanceCount, 1);    // the golem
    EXPECT_EQ(Level.Blocs[60].InstanceCount, 1);    // the moving bloc
    EXPECT_EQ(Level.Golems[1].GolemMesh, nullptr);  // its type has no mesh

    ASSERT_TRUE(WriteLevelState(folder.Path("b.lvl"), Level));
    EXPECT_EQ(FileBytes("a.lvl"), FileBytes("b.lvl"));

    // A smaller level replaces the longer file whole.
    ASSERT_TRUE(AllocLevelGrid(1, 1, 1, Level));
    ClearLists();
    ASSERT_TRUE(WriteLevelState(folder.Path("a.lvl"), Level));
    EXPECT_EQ(FileBytes("a.lvl").size(), 76883u);
    Read("a.lvl");
    EXPECT_EQ(Level.CellCount, 1);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(LevelFileTest, TimesKeptOnlyInMemoryFollowTheClockBack) {
    MakeRichLevel();  // its clock reads 5000.75
    ASSERT_TRUE(WriteLevelState(folder.Path("t.lvl"), Level));
    GameTime = 90000;
    Level.LastTextureTick = 89990;
    Heroes[0].BlendStart = 89900, Heroes[0].PainSoundTime = 4000;
    Heroes[1].BlendStart = 88000, Heroes[1].PainSoundTime = 89000;

    Read("t.lvl");
    EXPECT_EQ(Level.LastTextureTick, 5000);
    EXPECT_EQ(Heroes[0].BlendStart, 5000);
    EXPECT_EQ(Heroes[0].PainSoundTime, 4000);  // already past: kept
    EXPECT_EQ(Heroes[1].BlendStart, 5000);
    EXPECT_EQ(Heroes[1].PainSoundTime, 5000);
    // Times the file holds are its own; golems stay quiet 2000 ms from now.
    EXPECT_EQ(Level.TileAnimations[0].StartTime2, 11);
    EXPECT_EQ(Level.BehaviourInstances[1].PcTime, 99);
    EXPECT_EQ(Level.Golems[1].LastSoundTime, 7000);
    for (HeroStuff& hero : Heroes) hero.BlendStart = hero.PainSoundTime = 0;
}

TEST_F(LevelFileTest, ALinkedLevelFileIsReadAndWrittenThroughTheLink) {
    MakeRichLevel();
    ASSERT_TRUE(WriteLevelState(folder.Path("real.lvl"), Level));
    ASSERT_EQ(symlink("real.lvl", folder.Path("linked.lvl").c_str()), 0);
    ASSERT_TRUE(AllocLevelGrid(1, 1, 1, Level));
    Read("linked.lvl");
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(Level.SizeX, 3);
    ASSERT_TRUE(AllocLevelGrid(1, 1, 1, Level));
    ClearLists();
    ASSERT_TRUE(WriteLevelState(folder.Path("linked.lvl"), Level));
    EXPECT_EQ(FileBytes("real.lvl").size(), 76883u);
    struct stat info;
    ASSERT_EQ(lstat(folder.Path("linked.lvl").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(LevelFileTest, AFailedWriteIsReported) {
    MakeRichLevel();
    EXPECT_FALSE(WriteLevelState(folder.Path("no/such/folder/a.lvl"), Level));
}

TEST_F(LevelFileTest, AMissingOrInvalidFileEndsTheProgramAndChangesNothing) {
    MakeRichLevel();
    ASSERT_TRUE(WriteLevelState(folder.Path("good.lvl"), Level));
    Read("good.lvl");
    std::string bad = FileBytes("good.lvl");
    bad.resize(bad.size() - 1);
    folder.Write("short.lvl", bad);

    for (const std::string name : {"absent.lvl", "short.lvl"}) {
        messages.texts.clear();
        EXPECT_THROW(Read(name), platform::HaltRequested);
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0], "The file " + folder.Path(name) + " is missing or invalid.");
        EXPECT_EQ(Level.SizeX, 3);
        EXPECT_EQ(Level.CellTypes[11], 211);
        EXPECT_EQ(Level.Blocs[50].InstanceCount, 1);
    }
}

TEST_F(LevelFileTest, GridCellsStartBehavioursAndGolems) {
    TG3DMesh walk;
    walk.LastVertex = 0, walk.LastFace = -1;
    walk.X = walk.Y = walk.Z = {5};
    folder.Write("walk.msh", enginetest::MeshFileBytes(walk));
    folder.Write("def.ini",
                 "[Object 1]\nCube=TRUE\nGolem=TRUE\nMeshWalk1=walk.msh\n"
                 "[Object 2]\nCube=TRUE\nGolem=TRUE\nDefaultBehaviour=3\nHealth=40\n"
                 "[Object 3]\nCube=TRUE\n");
    ASSERT_TRUE(AllocLevelGrid(2, 1, 2, Level));
    const uint16_t cells[] = {1, 2, 3, 1};  // (0,0,0) (1,0,0) (0,0,1) (1,0,1)
    std::copy(std::begin(cells), std::end(cells), Level.CellTypes.get());
    Level.TurnLayer[3] = 64;
    Level.DefinitionFile = "def.ini";
    GameTime = 1000;
    ASSERT_TRUE(WriteLevelState(folder.Path("g.lvl"), Level));

    Read("g.lvl");
    ASSERT_EQ(Level.BehaviourCount(), 1);
    EXPECT_EQ(Level.BehaviourInstances[1].BehaviourType, 3);
    EXPECT_EQ(Level.BehaviourInstances[1].InstanceHealth, 40.0f);
    ASSERT_EQ(Level.GolemCount(), 2);
    const GolemStuff& second = Level.Golems[2];
    EXPECT_EQ(second.GolemBloc, 1);
    EXPECT_EQ(second.X, 768.0f);
    EXPECT_EQ(second.Heading, 64 * 128 + 16384.0f);
    EXPECT_EQ(second.OutOfSight, 1);
    EXPECT_EQ(second.LastSoundTime, 3000);
    ASSERT_NE(second.GolemMesh, nullptr);
    EXPECT_NE(second.GolemMesh, Level.Blocs[1].GolemType.MeshWalk1);
    EXPECT_EQ(second.GolemMesh->X[0], 5);
    for (int32_t i : {0, 1, 3}) EXPECT_EQ(Level.CellTypes[i], 0) << i;
    EXPECT_EQ(Level.Blocs[0].InstanceCount, 3);
    EXPECT_EQ(Level.Blocs[1].InstanceCount, 2);
}

// A grid with a side of 0 has no cell: the rebuild does not walk the other
// sides, however long the file says they are.
TEST_F(LevelFileTest, AGridWithoutCellsIsReadAtOnce) {
    constexpr int32_t kLong = std::numeric_limits<int32_t>::max();
    ASSERT_TRUE(AllocLevelGrid(kLong, 0, kLong, Level));
    Level.DefinitionFile = "missing.ini";
    ASSERT_TRUE(WriteLevelState(folder.Path("empty.lvl"), Level));
    ASSERT_TRUE(AllocLevelGrid(1, 1, 1, Level));

    const auto start = std::chrono::steady_clock::now();
    Read("empty.lvl");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(Level.SizeX, kLong);
    EXPECT_EQ(Level.SizeZ, kLong);
    EXPECT_EQ(Level.CellCount, 0);
}

}  // namespace
