// The hero: meshes, sounds, metrics, position and angles, control flags,
// health, inventory and timer of the player character, and the program's two
// hero records (only hero 0 is loaded, saved and played).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/G3DMesh.h"
#include "game/level/BlocStuff.h"

class TSoundBuffer;

// Animation slots of a hero: 0 stand, 1-4 walk, 5 fall, 6 crouch, 7 dead,
// 8 and 9 unused, 10 action, 11 shoot, 12 golem stop, 13 golem lie down.
constexpr int32_t kHeroAnimCount = 14;
// Control flags of a hero, in the order of the key bindings.
constexpr int32_t kControlCount = 14;
// Saves left at or above this count mean unlimited saves.
constexpr int32_t kUnlimitedSaves = 1000;

struct HeroStuff {
    TG3DMesh* HeroMesh = nullptr;  // current blended pose
    TG3DMesh* ShadowMesh = nullptr;
    std::string Shadow;
    std::array<TG3DMesh*, kHeroAnimCount> AnimMeshes{};
    std::array<std::string, kHeroAnimCount> AnimFiles;
    float MeshSpeed = 0.8f;
    float FallRotateFactor = 1.0f;

    float X = 0, Y = 0, Z = 0;                               // world units, Y at the feet
    float Yaw = 0;                                           // heading, 32768 per turn
    float Pitch = 0, Tilt = 0;                               // view angles
    float SpeedX = 0, SpeedY = 0, SpeedZ = 0, YawSpeed = 0;  // per 90 ms
    float PitchTarget = 0, TiltTarget = 0;
    float Life = 0;
    int32_t SolidHurt = 20;
    int32_t CurrentAnim = 0, TargetAnim = 0;  // 0..kHeroAnimCount-1
    int32_t BlendDuration = 0;                // ms
    int32_t BlendStart = 0;                   // game ms
    int32_t PreviousTargetAnim = 0;
    float WalkPhase = 0;
    int32_t HeroWidth = 260, HeroHeight = 480, HeroStep = 256;
    std::array<uint8_t, kControlCount> ControlFlags{};
    // Flags of the previous frame (only controls 10..13 are kept up to date).
    std::array<uint8_t, kControlCount> PreviousControlFlags{};
    float VerticalSpeed = 0;
    uint8_t OnGround = 0;
    int32_t JumpG = 183;
    int32_t ActionLock = 0;    // ms left
    int32_t LastShotTime = 0;  // game ms

    // Camera position and angles, saved with the hero.
    float CameraX = 0, CameraY = 0, CameraZ = 0, CameraYaw = 0, CameraPitch = 0;
    int32_t CameraRoll = 0;
    float CameraDistance = 0;
    float DefaultCameraDistance = 0;  // restored when the hero dies
    float LightRange = 0;             // world units
    uint8_t HudFlag = 0;
    int32_t Speed = 50;
    int32_t AngleSpeed = 900;

    TSoundBuffer* JumpSound = nullptr;
    TSoundBuffer* LongJumpSound = nullptr;
    TSoundBuffer* HurtSound = nullptr;
    TSoundBuffer* DeathSound = nullptr;
    TSoundBuffer* GolemStopSound = nullptr;
    TSoundBuffer* GolemCoucoucheSound = nullptr;
    TSoundBuffer* GolemHurtSound = nullptr;
    int32_t HurtSoundDuration = 1000, GolemHurtSoundDuration = 1000;  // ms
    int32_t PainSoundTime = 0;  // game ms of the last pain sound
    TSoundBuffer* InventorySound = nullptr;
    TSoundBuffer* WeaponSound = nullptr;
    std::string InventorySoundFile, WeaponSoundFile, JumpSoundFile, LongJumpSoundFile,
        HurtSoundFile, GolemHurtSoundFile, DeathSoundFile, GolemStopSoundFile,
        GolemCoucoucheSoundFile;
    int32_t LongJumpHealthValue = 0, LongJumpGValue = 200;

    int32_t TargetCellX = 0, TargetCellY = 0, TargetCellZ = 0;  // the cell in front
    int32_t Weapon = 0;                                         // selected weapon type
    int32_t SelectedObject = 0;                                 // selected inventory type
    std::array<int32_t, kBlocTypeCount> Inventory{};            // count held per bloc type
    uint8_t TimerOn = 0;
    int32_t TimerValue = 0;  // ms left
    int32_t TimerTick = 0;   // last whole second sounded
    std::string LevelName;   // level state file the hero is in
    int32_t SavesLeft = 0;
    // Set by the play frame when the timer runs out; while set and the timer
    // is not above 0 it counts no further. A new time above 0 ends it.
    uint8_t TimerExpired = 0;
};

// Number of hero records.
constexpr int32_t kHeroCount = 2;

// The heroes. Filled by the game start-up and the level definition loader
// (hero 0's meshes, sounds and metrics), overwritten by every new game, level
// read and save-game load; they live for the whole run.
extern std::array<HeroStuff, kHeroCount> Heroes;
// Index of the hero played: always 0.
extern int32_t CurrentHero;
// Highest hero index the physics step runs: 0.
extern int32_t LastHero;
