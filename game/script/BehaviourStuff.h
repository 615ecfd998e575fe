// Records of the level scripts ("behaviours"): a compiled command line, a
// compiled behaviour, and a running behaviour instance bound to one cell.
// The compiler and the interpreter work on them; the level record holds them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Behaviours of a level, numbered 0..255.
constexpr int32_t kBehaviourCount = 256;
// Command lines of a behaviour, keys "0".."256".
constexpr int32_t kCommandCount = 257;
// Running behaviour instances a level keeps at most.
constexpr int32_t kMaxBehaviourInstances = 2048;

// Opcodes of the compiled commands; each names the keyword it comes from.
enum BehaviourOpcode : int32_t {
    kOpEmpty = 0,  // no line, or a keyword the compiler does not know
    kOpWaitForPlayer = 1,
    kOpMakeFall = 2,
    kOpPutObject = 3,
    kOpGoto = 4,
    kOpDelay = 5,
    kOpPlayClip = 6,
    kOpMoveTo = 7,
    kOpTransformTo = 8,
    kOpMoveNearPlayer = 9,
    kOpShootPlayer = 10,
    kOpSetBehaviour = 11,
    kOpPlayActionSound = 12,
    kOpPlayTileAnimation = 13,
    kOpGiveObjectToPlayer = 14,
    kOpWaitForBlocNumberInLevel = 15,
    kOpWaitForPlayerHaveObject = 16,
    kOpWaitForPlayerActivation = 17,
    kOpWaitForPlayerActivationWithObject = 18,
    kOpOpenDoor = 19,
    kOpMoveToAbsolute = 20,
    kOpAddHealth = 21,
    kOpAddHealthToPlayer = 22,
    kOpMovePlayerAbsolute = 23,
    kOpAddPlayerSpeed = 24,
    kOpTimerOff = 25,
    kOpTimerOn = 26,
    kOpAddTimerValue = 27,
    kOpSetTimerValue = 28,
    kOpGameOver = 29,
    kOpGameWon = 30,
    kOpSetSaveCount = 31,
    kOpAddSaveCount = 32,
    kOpSetLightRange = 33,
    kOpAddLightRange = 34,
    kOpPutLight = 35,
    kOpAddLight = 36,
    kOpPutLightAbsolute = 37,
    kOpAddLightAbsolute = 38,
    kOpSetSky = 39,
    kOpPutRotation = 40,
    kOpAddRotation = 41,
    kOpPutRotationAbsolute = 42,
    kOpAddRotationAbsolute = 43,
    kOpMoveUntilBlocked = 44,
    kOpTransformBehaviour = 45,
    kOpPutObjectAbsolute = 46,
    kOpWaitForPlayerActivationAbsolute = 47,
    kOpWaitForPlayerActivationWithObjectAbsolute = 48,
};
constexpr int32_t kLastOpcode = kOpWaitForPlayerActivationWithObjectAbsolute;

// One compiled command line. Opcode 0 is the empty command. Which slots a
// command uses is given by its keyword (see Behaviours.h); unused slots are 0.
struct CommandStuff {
    int32_t Opcode = 0;
    int32_t Param1 = 0, Param2 = 0, Param3 = 0;
    int32_t Param4 = 0, Param5 = 0, Param6 = 0;
    int32_t Param7 = 0;
    int32_t Param8 = 0;
    std::string Line;  // the trimmed text of the key
};

// One compiled behaviour; an empty name means it does not exist, and then
// every command is empty. The level keeps 256 of them, recompiled by every
// load of a level definition.
struct BehaviourTypeStuff {
    std::string BehaviourName;
    std::array<CommandStuff, kCommandCount> Commands;
};

// One running behaviour instance. Created by AddBehaviour when a level state is
// read; saved and restored with the level; never removed.
struct BehaviourStuff {
    int32_t BehaviourType = 0;  // 0..255 runs; any other number idles
    int32_t CellX = 0, CellY = 0, CellZ = 0;
    int32_t Pc = 0;              // command to execute, 0..256 runs; any other idles
    int32_t PcTime = 0;          // FrameTime of the last change of Pc
    uint8_t Phase = 0;           // 1 while a timed move runs
    int32_t MoveDuration = 0;    // ms
    int32_t MovingBlocRow = -1;  // the moving bloc it owns; -1 none
    float InstanceHealth = 0;
};

// A number that names one of a level's behaviours.
constexpr bool IsBehaviourNumber(int32_t behaviour) {
    return behaviour >= 0 && behaviour < kBehaviourCount;
}

// Starts behaviour `behaviour` afresh on command 0, as SETBEHAVIOUR,
// TRANSFORMBEHAVIOUR and hits do.
inline void RestartBehaviour(BehaviourStuff& instance, int32_t behaviour) {
    instance.BehaviourType = behaviour;
    instance.Pc = 0;
    instance.PcTime = 0;
    instance.Phase = 0;
}
