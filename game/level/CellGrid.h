// The level's cell grid: per cell a 16-bit bloc type and five bytes (light,
// the three corner displacements, orientation), SizeX × SizeY × SizeZ cells
// indexed x + y × SizeX + z × SizeX × SizeY. Every read outside the grid gives
// 0 (an empty, unlit cell) and every write outside it does nothing, which is
// how the rest of the game treats the world's border. The accessors are inline:
// drawing and collision call them thousands of times a frame.
#pragma once

#include <cstdint>

#include "game/level/LevelStuff.h"

// Largest number of cells a grid may have: twice it (the bytes of the type
// block) still fits a signed 32-bit integer.
constexpr int32_t kMaxGridCells = INT32_MAX / 2;

// Cells of a grid of these sizes, or -1 when a size is negative or the count
// passes kMaxGridCells.
int64_t GridCellCount(int32_t sizeX, int32_t sizeY, int32_t sizeZ);

// The cell containing world coordinate `w` on one axis: Trunc(w / 512), toward
// zero. A NaN gives -1 and a coordinate beyond 32-bit cells saturates, so that
// neither lands in the grid.
inline int32_t CellOfCoordinate(double w) {
    if (w != w) return -1;
    const double cell = w / 512.0;
    if (cell >= 2147483647.0) return INT32_MAX;
    if (cell <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(cell);
}

// World coordinate of the centre of cell `c` on one axis.
inline float CellCentre(int32_t c) { return static_cast<float>(int64_t{c} * 512 + 256); }

// Index of cell (x, y, z) in the blocks of `level`, or -1 outside the grid.
inline int32_t CellIndex(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    if (x < 0 || y < 0 || z < 0 || x >= level.SizeX || y >= level.SizeY || z >= level.SizeZ) {
        return -1;
    }
    const int64_t index = x + (y + int64_t{z} * level.SizeY) * level.SizeX;
    return index < level.CellCount ? static_cast<int32_t>(index) : -1;
}

// Reads of an explicitly given level; 0 outside the grid.
inline int32_t GetLevelCellType(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    const int32_t i = CellIndex(x, y, z, level);
    return i < 0 ? 0 : level.CellTypes[i];
}
inline int32_t GetLevelCellLight(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    const int32_t i = CellIndex(x, y, z, level);
    return i < 0 ? 0 : level.LightLayer[i];
}
inline int32_t GetLevelCorner1(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    const int32_t i = CellIndex(x, y, z, level);
    return i < 0 ? 0 : level.CornerXLayer[i];
}
inline int32_t GetLevelCorner2(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    const int32_t i = CellIndex(x, y, z, level);
    return i < 0 ? 0 : level.CornerYLayer[i];
}
inline int32_t GetLevelCorner3(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    const int32_t i = CellIndex(x, y, z, level);
    return i < 0 ? 0 : level.CornerZLayer[i];
}
inline int32_t GetLevelCellTurn(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
    const int32_t i = CellIndex(x, y, z, level);
    return i < 0 ? 0 : level.TurnLayer[i];
}

// The same reads on `Level`. A type read this way may exceed 256 in a damaged
// level: test it with IsBlocType before it indexes the bloc tables.
inline int32_t GetCellType(int32_t x, int32_t y, int32_t z) {
    return GetLevelCellType(x, y, z, Level);
}
inline int32_t GetCellLight(int32_t x, int32_t y, int32_t z) {
    return GetLevelCellLight(x, y, z, Level);
}
inline int32_t GetCorner1(int32_t x, int32_t y, int32_t z) {
    return GetLevelCorner1(x, y, z, Level);
}
inline int32_t GetCorner2(int32_t x, int32_t y, int32_t z) {
    return GetLevelCorner2(x, y, z, Level);
}
inline int32_t GetCorner3(int32_t x, int32_t y, int32_t z) {
    return GetLevelCorner3(x, y, z, Level);
}
inline int32_t GetCellTurn(int32_t x, int32_t y, int32_t z) {
    return GetLevelCellTurn(x, y, z, Level);
}

// Puts bloc type `type` into a cell of `Level`, keeping the InstanceCount of
// the old and the new type exact. Nothing outside the grid, and nothing for a
// type that is not a bloc type (0..256).
void SetCellType(int32_t x, int32_t y, int32_t z, int32_t type);

// Light (layer A) and orientation (layer E) of a cell of `Level`; the byte
// keeps the low eight bits of `value`. Nothing outside the grid.
inline void SetCellLight(int32_t x, int32_t y, int32_t z, int32_t value) {
    const int32_t i = CellIndex(x, y, z, Level);
    if (i >= 0) Level.LightLayer[i] = static_cast<uint8_t>(value);
}
inline void SetCellTurn(int32_t x, int32_t y, int32_t z, int32_t value) {
    const int32_t i = CellIndex(x, y, z, Level);
    if (i >= 0) Level.TurnLayer[i] = static_cast<uint8_t>(value);
}

// Gives `level` a zero-filled grid of sizeX × sizeY × sizeZ cells, releasing
// the six blocks it held. True when all six were obtained. Negative sizes, a
// cell count above kMaxGridCells and a failed allocation are refused: the
// level is then left with no grid (sizes 0, every cell outside) and false.
bool AllocLevelGrid(int32_t sizeX, int32_t sizeY, int32_t sizeZ, LevelStuff& level);
