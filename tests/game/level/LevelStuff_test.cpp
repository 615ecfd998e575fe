#include "game/level/LevelStuff.h"

#include <gtest/gtest.h>

#include "game/level/HeroStuff.h"
#include "platform/fs/PathResolver.h"

namespace {

TEST(LevelStuffTest, InitGameGlobalsSetsFolderNameDepthsAndLoopSounds) {
    DepthOfView = 3;
    VerticalDepthOfView = 4;
    Level.Blocs[17].LoopSoundDue = 0;
    Level.Blocs[17].LoopSoundTime = 900;
    InitGameGlobals("C:\\Games\\Ostra\\PlayerGL.exe");
    EXPECT_EQ(GameFolder, platform::fs::CurrentFolder());
    EXPECT_EQ(ProgramBaseName, "PlayerGL");
    EXPECT_EQ(DepthOfView, 14);
    EXPECT_EQ(VerticalDepthOfView, 14);
    EXPECT_EQ(Level.Blocs[17].LoopSoundDue, 1);
    EXPECT_EQ(Level.Blocs[17].LoopSoundTime, 0);
    InitGameGlobals("/usr/games/PlayerD3D");
    EXPECT_EQ(ProgramBaseName, "PlayerD3D");
}

// Fields whose "none" is -1: a default of 0 would name a real behaviour,
// bloc type, key, clip or moving bloc.
TEST(LevelStuffTest, NoneValuesAreMinusOne) {
    const BlocStuff bloc;
    EXPECT_EQ(bloc.DefaultBehaviour, -1);
    EXPECT_EQ(bloc.BulletHitBehaviour, -1);
    EXPECT_EQ(bloc.DeathBehaviour, -1);
    EXPECT_EQ(bloc.DoorKey, -1);
    EXPECT_EQ(bloc.AmmoBullet, -1);
    EXPECT_EQ(bloc.BulletDuration, -1);
    EXPECT_EQ(bloc.Undefined, 1);
    EXPECT_EQ(TileAnimationStuff{}.FinalType, -1);
    EXPECT_EQ(BehaviourStuff{}.MovingBlocRow, -1);
    EXPECT_EQ(Level.DugCellHigh(), -1);
    EXPECT_EQ(Level.MovingBlocHigh(), -1);
    EXPECT_EQ(Level.TileAnimationHigh(), -1);
    EXPECT_EQ(Level.GolemCount(), 0);
    EXPECT_EQ(Level.BehaviourCount(), 0);
    EXPECT_EQ(Level.LoadedQuality, "High");
}

}  // namespace
