// Bloc types and golem types: the records that describe what a cell of the
// level can hold (a deformable cube or an animated mesh, with the flags that
// make it a door, lever, pick-up, weapon, golem or exit). The level record
// holds 257 of them; the level definition loader fills them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/G3DMesh.h"

class TSoundBuffer;

// Number of bloc types of a level: types 0..256, type 0 the empty cell.
constexpr int32_t kBlocTypeCount = 257;
// Mesh slots of a bloc type: Mesh1..Mesh32 in entries 0..31, entry 32 unused.
constexpr int32_t kBlocMeshSlots = 33;
// Frames a bloc type loads at most.
constexpr int32_t kBlocMaxMeshes = 32;
// Value of a bound key that is absent from the definition.
constexpr int32_t kAbsentBound = 999999;

// True when `type` may index the bloc tables (0..256). Every use of a type
// taken from the grid, a list or a file as an index goes through this test.
constexpr bool IsBlocType(int32_t type) { return type >= 0 && type < kBlocTypeCount; }

// The creature data of a bloc type whose `Golem` flag is set. Meshes and
// sounds are owned: freed by whoever replaces them.
struct GolemTypeStuff {
    TG3DMesh* MeshStand = nullptr;
    std::string MeshStandFile;
    TG3DMesh* MeshWalk1 = nullptr;
    TG3DMesh* MeshWalk2 = nullptr;
    TG3DMesh* MeshWalk3 = nullptr;
    TG3DMesh* MeshWalk4 = nullptr;
    std::string MeshWalk1File, MeshWalk2File, MeshWalk3File, MeshWalk4File;
    TG3DMesh* MeshBlock1 = nullptr;
    TG3DMesh* MeshBlock2 = nullptr;
    TG3DMesh* MeshBlock3 = nullptr;
    TG3DMesh* MeshBlock4 = nullptr;
    std::string MeshBlock1File, MeshBlock2File, MeshBlock3File, MeshBlock4File;
    std::string SeenSoundFile, LostSoundFile, WalkSoundFile, BlockSoundFile;
    TSoundBuffer* SeenSound = nullptr;
    TSoundBuffer* LostSound = nullptr;
    TSoundBuffer* WalkSound = nullptr;
    TSoundBuffer* BlockSound = nullptr;
    int32_t Width = 130;
    int32_t Height = 140;
    int32_t GolemSpeed = 20;
    int32_t GolemRotationSpeed = 200;
    int32_t WalkAnimSpeed = 512;
    int32_t BlockAnimSpeed = 512;
    int32_t FollowingDistance = 512;
    int32_t FollowingDistanceMax = 2048;
    int32_t BlockedDuration = 1000;  // ms

    // MeshWalk1..MeshWalk4 by number 1..4; nullptr for any other number.
    TG3DMesh** WalkMesh(int32_t number);
    // MeshBlock1..MeshBlock4 by number 1..4; nullptr for any other number.
    TG3DMesh** BlockMesh(int32_t number);
    // Frees every mesh; file names and sounds are left alone.
    void FreeMeshes();
};

// What the definition loader gives a bloc type it defines: names, key frames
// with their bounds, meshes and sounds (owned). Nothing else gives a type any
// of it (the play poses CurrentMesh from the key frames only), so a type left
// undefined holds these defaults.
struct BlocMedia {
    std::string InventoryIcon;
    std::string WeaponIcon, WeaponFireIcon;
    std::string Name;

    // Key frames: entries 0..MeshCount-1 are loaded, each with its bounds.
    std::array<TG3DMesh*, kBlocMeshSlots> Meshes{};
    std::array<std::string, kBlocMeshSlots> MeshFiles;
    std::array<int32_t, kBlocMeshSlots> FrameXmin{}, FrameXmax{}, FrameYmin{}, FrameZmin{},
        FrameZmax{}, FrameYmax1{}, FrameYmax2{}, FrameYmax3{}, FrameYmax4{};
    TG3DMesh* CurrentMesh = nullptr;  // the pose drawn now

    GolemTypeStuff GolemType;

    std::string LoopSoundFile, ActionSoundFile;  // upper-cased
    TSoundBuffer* LoopSoundBuffer = nullptr;
    TSoundBuffer* ActionSoundBuffer = nullptr;
    std::string StepSoundFile;  // upper-cased
    TSoundBuffer* StepSoundBuffer = nullptr;
};

// The plain values of a bloc type: flags, numbers, bounds and the frame shown.
struct BlocValues {
    uint8_t Undefined = 1;  // no `Cube` key in its section
    float InventoryIconWidth = 0, InventoryIconHeight = 0;
    uint8_t InventoryCountInvert = 0;

    float FramePosition = 0;  // fractional frame index, 0..MeshCount
    float PreviousFrame = 0;
    float Speed = 0;  // frames per 90 ms
    int32_t MeshCount = 0;

    uint8_t Cube = 0;
    uint8_t Collision = 1;
    uint8_t HideInGame = 0;
    int32_t G = 24;                              // gravity in the cell
    int32_t SpeedX = 0, SpeedY = 0, SpeedZ = 0;  // conveyor velocity

    uint8_t Ammo = 0;
    int32_t AmmoBullet = -1;
    uint8_t Bullet = 0;
    int32_t BulletSpeed = 512;
    int32_t BulletMass = 0;
    int32_t BulletDuration = -1;  // ms, -1 unlimited
    int32_t BulletExplosion = 0;  // tile animation type left where it stops
    int32_t ReloadTime = 0;       // ms between shots
    int32_t Health = 999999999;
    float HurtValue = 0;
    uint8_t CanPush = 0;
    uint8_t ShowLevelCount = 0;
    float ShowLevelCountLeft = 0, ShowLevelCountTop = 0;
    float ShowLevelCountIconLeft = 0, ShowLevelCountTopIcon = 0;
    int32_t SaveReload = 0;
    uint8_t CanGet = 0;
    int32_t Quantity = 1;
    uint8_t Morph = 0;
    uint8_t AnimateCollision = 0;

    uint8_t Golem = 0;
    uint8_t GameEnd = 0;
    uint8_t Exit = 0;
    int32_t DefaultBehaviour = -1;
    int32_t BulletHitBehaviour = -1;
    int32_t DeathBehaviour = -1;
    uint8_t Transparency = 0;  // percent

    uint8_t Lever = 0;
    int32_t LeverAnim = 0, LeverOpen = 0, LeverDoor = 0;
    uint8_t Spring = 0;
    uint8_t Medikit = 0;
    int32_t MedikitHealth = 10;
    uint8_t Timer = 0;
    int32_t TimerDuration = 10000;  // ms
    int32_t InstanceCount = 0;      // cells, golems and moving blocs of this type

    uint8_t Door = 0;
    // Default to the type's own number; the definition loader sets them.
    int32_t AnimDoor = 0, DoorOpen = 0;
    int32_t DoorKey = -1;
    int32_t DoorKeyRemoveAmount = 1;
    uint8_t BlockKey = 0;
    int32_t BlockKeySensor = 0;
    uint8_t BlockSensor = 0;
    int32_t BlockSensorDoor = 0;
    uint8_t Dig = 0, Recover = 0;
    int32_t DigAnim = 0, RecoverAnim = 0;

    // Current bounds and the size of the shape at load.
    int32_t Xmin = 0, Xmax = 0, Ymin = 0, Zmin = 0, Zmax = 0;
    int32_t Ymax1 = 0, Ymax2 = 0, Ymax3 = 0, Ymax4 = 0;
    int32_t ExtentX = 0, ExtentY = 0, ExtentZ = 0;

    // Palette colour and texture of the six cube faces A..F.
    int32_t FaceAColor = 66, FaceBColor = 66, FaceCColor = 66;
    int32_t FaceDColor = 66, FaceEColor = 66, FaceFColor = 66;
    int32_t FaceATexture = 0, FaceBTexture = 0, FaceCTexture = 0;
    int32_t FaceDTexture = 0, FaceETexture = 0, FaceFTexture = 0;

    int32_t LoopDuration = 999000;  // ms between loop-sound plays
    int32_t LoopVolume = 255;
    int32_t ActionVolume = 255;
    uint8_t LoopSoundDue = 1;
    int32_t LoopSoundTime = 0;  // game ms of the last loop-sound play
};

// One bloc type ([Object N] of the level definition). Flags are bytes 0/1.
// Bounds are cell-local integers (0 = the low face of the cell).
struct BlocStuff : BlocValues, BlocMedia {
    // FaceAColor..FaceFColor by face 0..5 (A..F); nullptr for any other face.
    int32_t* FaceColor(int32_t face);
    // FaceATexture..FaceFTexture by face 0..5 (A..F); nullptr for any other face.
    int32_t* FaceTexture(int32_t face);
    // Frees the frame meshes, the current pose and the golem meshes.
    void FreeMeshes();
};
