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

// One compiled command line. Opcode 0 is the empty command.
struct CommandStuff {
    int32_t Opcode = 0;
    int32_t Param1 = 0, Param2 = 0, Param3 = 0;
    int32_t Param4 = 0, Param5 = 0, Param6 = 0;
    int32_t Param7 = 0;
    int32_t Param8 = 0;
    std::string Line;  // the trimmed text of the key
};

// One compiled behaviour; an empty name means it does not exist.
struct BehaviourTypeStuff {
    std::string BehaviourName;
    std::array<CommandStuff, kCommandCount> Commands;
};

// One running behaviour instance.
struct BehaviourStuff {
    int32_t BehaviourType = 0;  // 0..255
    int32_t CellX = 0, CellY = 0, CellZ = 0;
    int32_t Pc = 0;              // command to execute, 0..256
    int32_t PcTime = 0;          // FrameTime of the last change of Pc
    uint8_t Phase = 0;           // 1 while a timed move runs
    int32_t MoveDuration = 0;    // ms
    int32_t MovingBlocRow = -1;  // the moving bloc it owns; -1 none
    float InstanceHealth = 0;
};
