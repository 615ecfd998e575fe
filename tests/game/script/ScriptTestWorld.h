// A synthetic level in memory for the behaviour tests: a 16 × 8 × 16 grid
// with a floor at y = 0, a few bloc types (a solid cube, a mover that a
// behaviour owns, a door and its opening, a projectile), the hero far away,
// the clock at 10000 ms, and helpers that compile lines into a behaviour,
// start instances and run frames. Every list and flag the interpreter reads
// starts empty.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "game/GameClock.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/script/BehaviourInterpreter.h"
#include "game/script/Behaviours.h"
#include "game/world/HeroInteraction.h"
#include "support/Random.h"
#include "tests/game/LevelTestWorld.h"

namespace scripttest {

// Bloc types of the level.
constexpr int32_t kSolid = 1, kMover = 2, kDoor = 3, kDoorAnim = 4, kShot = 5, kBoom = 6;
constexpr int32_t kSizeX = 16, kSizeY = 8, kSizeZ = 16;

class ScriptTest : public ::testing::Test, protected leveltest::LevelTestWorld {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(kSizeX, kSizeY, kSizeZ, Level));
        ClearLists();
        for (BlocStuff& bloc : Level.Blocs) {
            bloc.FreeMeshes();
            bloc = BlocStuff{};
            bloc.Collision = 0;  // as the loader leaves an undefined type
        }
        for (BehaviourTypeStuff& b : Level.Behaviours) {
            b.BehaviourName.clear();
            for (CommandStuff& c : b.Commands) c = CommandStuff{};
        }
        Box(Level.Blocs[kSolid], 0, 512);
        Box(Level.Blocs[kMover], 0, 512);
        Box(Level.Blocs[kDoor], 0, 512);
        Level.Blocs[kDoor].Door = 1;
        Level.Blocs[kDoor].AnimDoor = kDoorAnim;
        Level.Blocs[kDoor].DoorOpen = 0;
        Box(Level.Blocs[kDoorAnim], 0, 512);
        Box(Level.Blocs[kShot], 200, 312);
        Level.Blocs[kShot].BulletSpeed = 90;
        Level.Blocs[kShot].BulletExplosion = kBoom;
        Level.Blocs[kShot].HurtValue = -10;
        Box(Level.Blocs[kBoom], 0, 512);
        Level.Blocs[kBoom].Collision = 0;
        for (int32_t x = 0; x < kSizeX; ++x) {
            for (int32_t z = 0; z < kSizeZ; ++z) SetCellType(x, 0, z, kSolid);
        }
        HeroStuff& h = Hero();
        h = HeroStuff{};
        h.X = CellCentre(14), h.Y = 512 + 240, h.Z = CellCentre(14);
        h.Life = 50;
        h.LightRange = 2048;
        CurrentHero = 0;
        PlayerActivation = {};
        GameWon = 0;
        MessageClip = -1;
        RandSeed = 1;
        GameTime = 10000;
        FrameTime = 10000;
        FrameStep = 40;
    }
    void TearDown() override {
        ClearLists();
        for (BlocStuff& bloc : Level.Blocs) bloc.FreeMeshes();
        AllocLevelGrid(0, 0, 0, Level);
    }

    static void ClearLists() {
        Level.TileAnimations.Clear();
        Level.DugCells.Clear();
        Level.MovingBlocs.Clear();
        Level.BehaviourInstances.Clear();
        Level.Golems.Clear();
    }
    // A defined, colliding mesh type whose bounds are lo..hi on every axis.
    static void Box(BlocStuff& bloc, int32_t lo, int32_t hi) {
        bloc.Undefined = 0;
        bloc.Collision = 1;
        bloc.Xmin = bloc.Ymin = bloc.Zmin = lo;
        bloc.Xmax = bloc.Zmax = bloc.Ymax1 = bloc.Ymax2 = bloc.Ymax3 = bloc.Ymax4 = hi;
    }
    static HeroStuff& Hero() { return Heroes[0]; }

    // Behaviour `number` made of `lines`, by command number.
    static void Script(int32_t number, const std::map<int32_t, std::string>& lines) {
        BehaviourTypeStuff& b = Level.Behaviours[number];
        b.BehaviourName = "test";
        for (CommandStuff& c : b.Commands) c = CommandStuff{};
        for (const auto& [key, line] : lines) CompileCommandLine(line, b.Commands[key]);
    }
    // An instance of behaviour `number` on cell (x, y, z), owning the bloc of
    // type `bloc` put there first (0: none, the instance has no bloc).
    static BehaviourStuff& Start(int32_t number, int32_t x, int32_t y, int32_t z,
                                 int32_t bloc = 0) {
        if (bloc != 0) SetCellType(x, y, z, bloc);
        EXPECT_TRUE(AddBehaviour(number, x, y, z, 100, Level));
        return Level.BehaviourInstances[Level.BehaviourCount()];
    }
    static MovingBlocStuff& BlocOf(const BehaviourStuff& instance) {
        return Level.MovingBlocs[instance.MovingBlocRow];
    }
    // One play frame of `ms` milliseconds: the clock moves on, then the step.
    void Frame(int32_t ms = 40) {
        FrameTime += ms;
        GameTime = static_cast<float>(FrameTime);
        FrameStep = ms;
        RunBehaviours(Level, *window);
    }
    void Frames(int32_t n, int32_t ms = 40) {
        for (int32_t i = 0; i < n; ++i) Frame(ms);
    }
};

}  // namespace scripttest
