#include "game/world/WorldAnimation.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "engine/G3DMesh.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocDynamics.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "support/Snd.h"

namespace {

// Bloc types of the synthetic level: a floor (and wall) bloc, a stone to
// launch, an animated type, a projectile, its explosion, the bloc a behaviour
// owns, a dug type with its two animations, a golem body.
constexpr int32_t kFloor = 1, kStone = 2, kAnimated = 3, kBullet = 4, kBoom = 5;
constexpr int32_t kOwned = 6, kDig = 7, kDigAnim = 8, kRecoverAnim = 9, kGolem = 10;
constexpr int32_t kHitBehaviour = 5, kDeathBehaviour = 6;

// Gives a defined, colliding, full-cell mesh type the bounds lo..hi on every axis.
void MakeBox(BlocStuff& bloc, int32_t lo, int32_t hi) {
    bloc.Undefined = 0;
    bloc.Xmin = bloc.Ymin = bloc.Zmin = lo;
    bloc.Xmax = bloc.Zmax = bloc.Ymax1 = bloc.Ymax2 = bloc.Ymax3 = bloc.Ymax4 = hi;
}

// Gives a type `count` key meshes of one vertex at x = 10 × frame (and as many
// faces, texture = frame), with the bound tables Xmax = 100 × (frame + 1).
void MakeKeyFrames(BlocStuff& bloc, int32_t count) {
    for (int32_t f = 0; f < count; ++f) {
        G3DAllocMesh(bloc.Meshes[f], 0, 0);
        bloc.Meshes[f]->X[0] = 10 * f;
        bloc.Meshes[f]->Faces[0].Texture = static_cast<uint16_t>(f);
        bloc.FrameXmax[f] = 100 * (f + 1);
    }
    bloc.MeshCount = count;
}

class WorldAnimationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AllocLevelGrid(8, 6, 8, Level));
        for (BlocStuff& bloc : Level.Blocs) {
            bloc.FreeMeshes();
            bloc = BlocStuff{};
            bloc.Collision = 0;
        }
        Level.TileAnimations.Clear();
        Level.DugCells.Clear();
        Level.MovingBlocs.Clear();
        Level.BehaviourInstances.Clear();
        Level.Golems.Clear();
        for (int32_t t : {kFloor, kStone, kOwned, kDig}) {
            MakeBox(Level.Blocs[t], 0, 512);
            Level.Blocs[t].Collision = 1;
        }
        MakeBox(Level.Blocs[kBullet], 192, 320);
        // Lower than wide: its box centre lies below its position.
        Level.Blocs[kBullet].Ymax1 = 300;
        Level.Blocs[kBullet].BulletExplosion = kBoom;
        Level.Blocs[kBullet].HurtValue = -10;
        MakeBox(Level.Blocs[kGolem], 100, 412);
        Level.Blocs[kDig].Dig = Level.Blocs[kDig].Recover = 1;
        Level.Blocs[kDig].DigAnim = kDigAnim;
        Level.Blocs[kDig].RecoverAnim = kRecoverAnim;
        for (int32_t t : {kDigAnim, kRecoverAnim}) MakeKeyFrames(Level.Blocs[t], 1);
        for (int32_t x = 0; x < 8; ++x) {
            for (int32_t z = 0; z < 8; ++z) SetCellType(x, 0, z, kFloor);
        }
        HeroStuff& hero = Heroes[CurrentHero];
        hero.X = hero.Z = 100000, hero.Y = 256, hero.Life = 50;
        GameTime = 10000;
        FrameTime = 10000;
        FrameStep = 90;
        Level.LastTextureTick = FrameTime;
    }
    void TearDown() override {
        Level.TileAnimations.Clear();
        Level.MovingBlocs.Clear();
        Level.Golems.Clear();
        for (BlocStuff& bloc : Level.Blocs) bloc.FreeMeshes();
        AllocLevelGrid(0, 0, 0, Level);
    }
    // One frame of 90 ms.
    static void Frame() {
        FrameTime += 90;
        GameTime = static_cast<float>(FrameTime);
        FrameStep = 90;
        AnimateWorld(Level);
    }
    static MovingBlocStuff& Moving(int32_t row) { return Level.MovingBlocs[row]; }
};

struct KeyFrameCase {
    const char* what;
    float speed;
    uint8_t morph;
    float start;
    float previous;
    std::vector<int32_t> x;     // mesh x after each frame
    std::vector<int32_t> xmax;  // current Xmax after each frame
};

TEST_F(WorldAnimationTest, KeyFramesCycleAndBoundsFollow) {
    const std::vector<KeyFrameCase> cases = {
        {"one mesh per frame", 1, 0, 0, 0, {10, 20, 30, 0, 10}, {200, 300, 400, 100, 200}},
        {"backwards wraps to the last mesh",
         -1,
         0,
         0,
         0,
         {30, 20, 10, 0, 30},
         {400, 300, 200, 100, 400}},
        // Blends from the frame last left toward the current one.
        {"blended at half speed",
         0.5f,
         1,
         0,
         0,
         {0, 0, 5, 10, 15, 20},
         {100, 100, 150, 200, 250, 300}},
        {"a restored position past the last mesh", 1, 1, 7.5f, 31, {30, 0}, {400, 100}},
    };
    for (const KeyFrameCase& c : cases) {
        BlocStuff& bloc = Level.Blocs[kAnimated];
        bloc.FreeMeshes();
        MakeKeyFrames(bloc, 4);
        bloc.Speed = c.speed, bloc.Morph = c.morph, bloc.AnimateCollision = 1;
        bloc.FramePosition = c.start, bloc.PreviousFrame = c.previous;
        Frame();
        const TG3DMesh* kept = bloc.CurrentMesh;
        ASSERT_NE(kept, nullptr) << c.what;
        for (size_t i = 0; i < c.x.size(); ++i) {
            if (i > 0) Frame();
            EXPECT_EQ(bloc.CurrentMesh->X[0], c.x[i]) << c.what << " frame " << i;
            EXPECT_EQ(bloc.Xmax, c.xmax[i]) << c.what << " frame " << i;
            EXPECT_GE(bloc.FramePosition, 0.0f);
            EXPECT_LT(bloc.FramePosition, 4.0f);
            // Without Morph every face word of the key mesh comes along.
            if (!c.morph) {
                EXPECT_EQ(bloc.CurrentMesh->Faces[0].Texture, c.x[i] / 10);
            }
        }
        EXPECT_EQ(bloc.CurrentMesh, kept) << c.what << ": the pose is kept, not made anew";
    }
    // Key frames of different sizes blend without reading past the smaller.
    BlocStuff& bloc = Level.Blocs[kAnimated];
    G3DAllocMesh(bloc.Meshes[1], 5, 3);
    bloc.Speed = 0.5f, bloc.Morph = 1, bloc.FramePosition = 0, bloc.PreviousFrame = 0;
    for (int32_t i = 0; i < 8; ++i) Frame();
    bloc.Morph = 0;
    for (int32_t i = 0; i < 8; ++i) Frame();
}

TEST_F(WorldAnimationTest, TexturesAndLoopSoundsKeepTheirPace) {
    DStuff.HighestAnimTexture = 0;
    DStuff.AnimTextures[0] = {0, 99, 0};
    // frame times and the picture shown after each
    for (auto [time, current] : std::vector<std::array<int32_t, 2>>{
             {10050, 0}, {10067, 1}, {10100, 1}, {10134, 2}, {90000, 3}, {90001, 3}, {90067, 4}}) {
        FrameTime = time;
        FrameStep = 90;
        AnimateWorld(Level);
        EXPECT_EQ(DStuff.AnimTextures[0].Current, current) << time;
    }

    auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
    auto sound = std::make_unique<TSoundBuffer>(device.get(), "");
    BlocStuff& bloc = Level.Blocs[kAnimated];
    bloc.LoopSoundBuffer = sound.get();
    bloc.LoopDuration = 1000;
    bloc.LoopSoundTime = 9000;
    // game times and whether the loop sound is due
    for (auto [time, due] : std::vector<std::array<int32_t, 2>>{
             {10000, 0}, {10001, 1}, {10500, 0}, {11001, 0}, {11002, 1}}) {
        GameTime = static_cast<float>(time);
        AnimateWorld(Level);
        EXPECT_EQ(bloc.LoopSoundDue, due) << time;
    }
    EXPECT_EQ(bloc.LoopSoundTime, 11002);
    EXPECT_EQ(Level.Blocs[kStone].LoopSoundDue, 0);  // no sound, never due
    bloc.LoopSoundBuffer = nullptr;
}

TEST_F(WorldAnimationTest, LaunchedBlocsFlyFallAndReturnToTheGrid) {
    // A bloc lower than its cell: its box centre lies below its position.
    Level.Blocs[kStone].Ymax1 = 400;
    // Launched high up: falls and returns to the grid as soon as it rests,
    // being far from its start.
    SetCellType(2, 3, 2, kStone);
    LaunchBloc(2, 3, 2, 95, 0, 0);
    Frame();
    ASSERT_EQ(Level.MovingBlocHigh(), 0);
    // It moves through its own place: nothing holds it back in open air.
    EXPECT_EQ(Moving(0).X, 2 * 512 + 256 + 95.0f);
    EXPECT_EQ(Moving(0).VelocityY, -28.0f);
    for (int32_t i = 0; i < 40 && !Level.MovingBlocs.Empty(); ++i) Frame();
    EXPECT_TRUE(Level.MovingBlocs.Empty());
    EXPECT_EQ(GetCellType(2, 1, 2), 0);
    EXPECT_EQ(GetCellType(3, 1, 2), kStone);
    EXPECT_EQ(Level.Blocs[kStone].InstanceCount, 1);

    // Launched where it stands: rests at once but near its start, so it
    // returns only after 1500 ms.
    SetCellType(5, 1, 5, kStone);
    LaunchBloc(5, 1, 5, 0, 0, 0);
    const int32_t start = FrameTime;
    while (!Level.MovingBlocs.Empty() && FrameTime - start < 3000) Frame();
    EXPECT_GT(FrameTime - start, 1500);
    EXPECT_LE(FrameTime - start, 1590);
    EXPECT_EQ(GetCellType(5, 1, 5), kStone);
}

TEST_F(WorldAnimationTest, ABlocLaunchedIntoAWallStopsOnThatAxisAndKeepsFalling) {
    for (int32_t y = 1; y < 6; ++y) SetCellType(4, y, 2, kFloor);
    SetCellType(1, 4, 2, kStone);
    LaunchBloc(1, 4, 2, 300, 0, 0);
    int32_t frames = 0;
    while (Moving(0).VelocityX != 0 && frames < 20) {
        Frame();
        ++frames;
    }
    ASSERT_LT(frames, 20);
    const MovingBlocStuff stopped = Moving(0);
    EXPECT_EQ(stopped.VelocityX, 0.0f);  // no bounce
    EXPECT_LE(stopped.X + 128, 4 * 512.0f);
    EXPECT_LT(stopped.Y, 4 * 512 + 256.0f);
    EXPECT_LT(stopped.VelocityY, 0.0f);
    Frame();
    EXPECT_EQ(Moving(0).X, stopped.X);
    EXPECT_LT(Moving(0).Y, stopped.Y);
}

struct ProjectileCase {
    const char* what;
    int32_t duration;  // BulletDuration
    int32_t mass;      // BulletMass
    bool golem;        // a golem on the way
    bool hero;         // the hero on the way
    int32_t frames;    // frames it flies
    bool gone;
    int32_t explosion;  // type of the tile animation left; -1 none
    float life;         // hero's life afterwards
};

TEST_F(WorldAnimationTest, ProjectilesFlyHitAndExpire) {
    // Explosions that stay, to be seen: two frames, not advancing.
    for (int32_t t : {0, kBoom}) MakeKeyFrames(Level.Blocs[t], 2);
    const std::vector<ProjectileCase> cases = {
        {"flies straight without mass", -1, 0, false, false, 6, false, -1, 50},
        {"expires after its duration", 250, 0, false, false, 3, true, 0, 50},
        {"hits a golem", -1, 0, true, false, 6, true, kBoom, 40},
        {"hits the hero", -1, 0, false, true, 6, true, kBoom, 40},
    };
    for (const ProjectileCase& c : cases) {
        Level.MovingBlocs.Clear();
        Level.TileAnimations.Clear();
        Level.Golems.Clear();
        HeroStuff& hero = Heroes[CurrentHero];
        hero.Life = 50;
        hero.X = c.hero ? 1280 : 100000, hero.Z = 2560, hero.Y = 1000;
        if (c.golem) {
            GolemStuff& golem = *Level.Golems.Add();
            golem.GolemBloc = kGolem, golem.X = 1280, golem.Y = 1000, golem.Z = 2560;
        }
        Level.Blocs[kBullet].BulletDuration = c.duration;
        Level.Blocs[kBullet].BulletMass = c.mass;
        FireProjectile(kBullet, 1280, 1000, 1000, 0, 0);
        Moving(0).VelocityZ = 300;
        for (int32_t i = 0; i < c.frames; ++i) Frame();
        EXPECT_EQ(Level.MovingBlocs.Empty(), c.gone) << c.what;
        if (!c.gone) {
            EXPECT_EQ(Moving(0).Y, 1000.0f) << c.what;
            EXPECT_EQ(Moving(0).VelocityY, 0.0f) << c.what;
            EXPECT_EQ(Moving(0).Z, 1000 + 6 * 300.0f) << c.what;
        }
        if (c.explosion < 0) {
            EXPECT_TRUE(Level.TileAnimations.Empty()) << c.what;
        } else {
            ASSERT_EQ(Level.TileAnimationHigh(), 0) << c.what;
            EXPECT_EQ(Level.TileAnimations[0].AnimType, c.explosion) << c.what;
        }
        EXPECT_EQ(hero.Life, c.life) << c.what;
    }
    // With mass it falls 0.2 faster per frame and per unit.
    Level.MovingBlocs.Clear();
    Level.Blocs[kBullet].BulletMass = 5;
    FireProjectile(kBullet, 1280, 2000, 1000, 0, 0);
    Frame();
    Frame();
    EXPECT_FLOAT_EQ(Moving(0).VelocityY, -2.0f);
    EXPECT_FLOAT_EQ(Moving(0).Y, 1999.0f);
}

struct OwnerHitCase {
    const char* what;
    bool projectileFirst;  // the projectile lies in a row before the owned bloc
    float health, hurt;
    float healthAfter;
    int32_t behaviourAfter;
};

TEST_F(WorldAnimationTest, AProjectileHitsTheBehaviourOwningTheBlocItMeets) {
    Level.Blocs[kOwned].BulletHitBehaviour = kHitBehaviour;
    Level.Blocs[kOwned].DeathBehaviour = kDeathBehaviour;
    const std::vector<OwnerHitCase> cases = {
        {"healed, capped at 100", false, 95, 10, 100, kHitBehaviour},
        {"healed, the projectile in the row before", true, 95, 10, 100, kHitBehaviour},
        {"killed", true, 5, -10, -5, kDeathBehaviour},
        {"killed, the projectile after", false, 5, -10, -5, kDeathBehaviour},
    };
    for (const OwnerHitCase& c : cases) {
        Level.MovingBlocs.Clear();
        Level.BehaviourInstances.Clear();
        Level.Blocs[kBullet].HurtValue = c.hurt;
        auto fire = [] {
            FireProjectile(kBullet, 3 * 512 + 256, 2 * 512 + 256, 256, 0, 0);
            Moving(Level.MovingBlocHigh()).VelocityZ = 400;
        };
        SetCellType(0, 3, 0, kStone);  // another owned bloc, in row 0
        ASSERT_EQ(LiftBloc(0, 3, 0), 0);
        if (c.projectileFirst) fire();
        SetCellType(3, 2, 3, kOwned);
        const int32_t owned = LiftBloc(3, 2, 3);
        if (!c.projectileFirst) fire();
        BehaviourStuff& target = *Level.BehaviourInstances.Add();
        target.BehaviourType = 2, target.Pc = 7, target.PcTime = 500, target.Phase = 1;
        target.MovingBlocRow = owned, target.InstanceHealth = c.health;
        BehaviourStuff& other = *Level.BehaviourInstances.Add();
        other.BehaviourType = 2, other.MovingBlocRow = 0, other.InstanceHealth = c.health;
        for (int32_t i = 0; i < 10 && Level.MovingBlocHigh() == 2; ++i) Frame();
        ASSERT_EQ(Level.MovingBlocHigh(), 1) << c.what;
        EXPECT_EQ(Level.MovingBlocs[target.MovingBlocRow].BlocType, kOwned) << c.what;
        EXPECT_EQ(target.InstanceHealth, c.healthAfter) << c.what;
        EXPECT_EQ(target.BehaviourType, c.behaviourAfter) << c.what;
        EXPECT_EQ((std::array{target.Pc, target.PcTime, int32_t{target.Phase}}),
                  (std::array{0, 0, 0}))
            << c.what;
        EXPECT_EQ(other.InstanceHealth, c.health) << c.what;
        EXPECT_EQ(other.BehaviourType, 2) << c.what;
    }
}

TEST_F(WorldAnimationTest, ADugCellRecoversAfterItsDuration) {
    SetCellType(3, 1, 3, kDig);
    DigCell(3, 1, 3, 500);
    const int32_t start = FrameTime;
    Frame();  // the dig animation has one mesh: it ends at once
    EXPECT_TRUE(Level.TileAnimations.Empty());
    EXPECT_EQ(GetCellType(3, 1, 3), 0);
    while (FrameTime - start < 450) Frame();
    EXPECT_EQ(Level.DugCellHigh(), 0);
    Frame();  // 540 ms: recovered, and its one-mesh animation ends in the same frame
    EXPECT_TRUE(Level.DugCells.Empty());
    EXPECT_TRUE(Level.TileAnimations.Empty());
    EXPECT_EQ(GetCellType(3, 1, 3), kDig);
}

struct TileCase {
    const char* what;
    int32_t meshes;
    float speed;
    float start, previous;   // frame position and previous frame of the row
    int32_t framesToEnd;     // 0: still playing after 10 frames
    std::vector<int32_t> x;  // pose after each frame while it plays
};

TEST_F(WorldAnimationTest, TileAnimationsPlayOnceAndEndInTheirFinalType) {
    const std::vector<TileCase> cases = {
        {"one mesh ends at the first pass", 1, 1, 1, 0, 1, {}},
        {"three meshes, blended", 3, 0.5f, 1, 0, 4, {5, 10, 15}},
        {"never advancing never ends", 3, 0, 1, 0, 0, {0, 0}},
        {"played backwards holds a pose", 3, -1, 1, 0, 0, {10, 0, 0, 0}},
        // A previous frame restored beyond the type's meshes is read as its last.
        {"restored frames beyond the type's meshes", 3, 0.5f, 1.2f, 30, 4, {13, 12, 17}},
    };
    for (const TileCase& c : cases) {
        Level.TileAnimations.Clear();
        BlocStuff& anim = Level.Blocs[kAnimated];
        anim.FreeMeshes();
        MakeKeyFrames(anim, c.meshes);
        anim.Speed = c.speed;
        AddTileAnimation(2, 2, 2, kAnimated, kStone);
        ASSERT_EQ(Level.TileAnimationHigh(), 0);
        Level.TileAnimations[0].FramePosition = c.start;
        Level.TileAnimations[0].PreviousFrame = static_cast<int32_t>(c.previous);
        int32_t frames = 0;
        while (!Level.TileAnimations.Empty() && frames < 10) {
            Frame();
            if (!Level.TileAnimations.Empty() && static_cast<size_t>(frames) < c.x.size()) {
                EXPECT_EQ(Level.TileAnimations[0].AnimMesh->X[0], c.x[frames])
                    << c.what << " frame " << frames;
            }
            ++frames;
        }
        if (c.framesToEnd == 0) {
            EXPECT_EQ(Level.TileAnimationHigh(), 0) << c.what;
            EXPECT_EQ(GetCellType(2, 2, 2), 0) << c.what;
        } else {
            EXPECT_EQ(frames, c.framesToEnd) << c.what;
            EXPECT_EQ(GetCellType(2, 2, 2), kStone) << c.what;
        }
    }
    // Rows that end in one pass let the rows behind them move up, and each of
    // those is still played once in that pass.
    Level.TileAnimations.Clear();
    Level.Blocs[kAnimated].Speed = 1;
    for (float start : {3.0f, 3.0f, 0.0f, 3.0f}) {
        AddTileAnimationAt(256, 256, 256, kAnimated);
        Level.TileAnimations[Level.TileAnimationHigh()].FramePosition = start;
    }
    Frame();
    ASSERT_EQ(Level.TileAnimationHigh(), 0);
    EXPECT_EQ(Level.TileAnimations[0].FramePosition, 1.0f);
}

}  // namespace
