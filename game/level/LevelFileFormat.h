// The binary level file's layout: the grid with its layers, the level's tables
// and dynamic lists and the game clock, little-endian and unpadded, with no
// header or version. BuildLevelFile turns a level into the bytes of such a
// file; ParseLevelFile checks a file's bytes whole (length, sizes, counts,
// types, indexes and floats) and only then hands back what they hold, so that
// a bad file can be refused before anything of the level is changed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/level/LevelStuff.h"

// Fixed parts of the layout. N is the number of cells.
constexpr int64_t kLevelHeaderBytes = 284;  // definition file name, sizes, start
constexpr int64_t kLevelBytesPerCell = 7;   // a 16-bit type and five byte layers
// From the end of the layers to the game clock: clip zones, camera points,
// banners, sky, seed, colour, light depth and the 257 level exits.
constexpr int64_t kLevelTableBytes = 76568;
// Record sizes of the lists.
constexpr int64_t kTileAnimationBytes = 40;
constexpr int64_t kDugCellBytes = 24;
constexpr int64_t kGolemBytes = 100;
constexpr int64_t kMovingBlocBytes = 80;
constexpr int64_t kBehaviourInstanceBytes = 64;
// Floats of positions, angles, speeds and times are refused beyond this size,
// so that every later conversion to a 32-bit integer is defined.
constexpr float kLargestFileFloat = 1.0e9f;

// What a level file holds, checked. The layer views point into the bytes
// given to ParseLevelFile and live no longer than they do.
struct LevelFileImage {
    std::string DefinitionFile;
    int32_t SizeX = 0, SizeY = 0, SizeZ = 0;
    int32_t StartX = 0, StartY = 0, StartZ = 0, StartAngle = 0;
    int32_t CellCount = 0;
    std::string_view CellTypes;              // 2 bytes per cell, little-endian, each 0..256
    std::array<std::string_view, 5> Layers;  // light, corners X, Y, Z, turn
    std::array<ClipZoneStuff, kClipZoneCount> ClipZones{};
    std::array<CameraPointStuff, kCameraPointCount> CameraPoints{};
    std::string Banner1, Banner2;
    uint8_t CurrentSky = 0;
    int32_t RandSeed = 0;
    uint8_t BackRed = 0, BackGreen = 0, BackBlue = 0;
    int32_t LightDepth = 0;
    std::array<LevelExitStuff, kBlocTypeCount> LevelExits;
    float GameTime = 0;
    std::vector<TileAnimationStuff> TileAnimations;  // rows 0..high, meshes empty
    std::vector<DugCellStuff> DugCells;
    std::vector<GolemStuff> Golems;  // entries 1..count, meshes empty
    std::vector<MovingBlocStuff> MovingBlocs;
    std::vector<BehaviourStuff> BehaviourInstances;
};

// The bytes of the level file of `level` with the game clock `gameTime`.
// Texts longer than 255 characters keep their first 255; spare bytes and the
// places of mesh handles are written as zeros.
std::string BuildLevelFile(const LevelStuff& level, float gameTime);

// Reads the bytes of a level file into `image`. False when the bytes end
// before the layout does; a size is negative or the grid passes kMaxGridCells;
// a list count or high index passes its capacity; a bloc type, hero, frame or
// moving-bloc row is out of its range, an instance's row naming no moving bloc
// of the file (behaviour numbers and program counters are kept as written:
// out of range, an instance idles);
// or a float is not finite or passes kLargestFileFloat. Bytes after the end of
// the layout are ignored. `image` is undefined after a false result.
bool ParseLevelFile(std::string_view bytes, LevelFileImage& image);
