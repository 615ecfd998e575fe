#include "game/level/CellGrid.h"

#include <cstdlib>

namespace {

void ReleaseGrid(LevelStuff& level) {
    level.SizeX = level.SizeY = level.SizeZ = 0;
    level.CellCount = 0;
    level.CellTypes.reset();
    level.LightLayer.reset();
    level.CornerXLayer.reset();
    level.CornerYLayer.reset();
    level.CornerZLayer.reset();
    level.TurnLayer.reset();
}

// A zero-filled block of `cells` elements (at least one byte is asked for, so
// that an empty grid still has its blocks); empty when the heap refuses.
template <typename T>
CellBlock<T> ZeroBlock(int64_t cells) {
    const size_t count = cells > 0 ? static_cast<size_t>(cells) : 1;
    return CellBlock<T>(static_cast<T*>(std::calloc(count, sizeof(T))));
}

}  // namespace

int64_t GridCellCount(int32_t sizeX, int32_t sizeY, int32_t sizeZ) {
    if (sizeX < 0 || sizeY < 0 || sizeZ < 0) return -1;
    int64_t cells = int64_t{sizeX} * sizeY;  // at most 2^62
    if (cells > kMaxGridCells) return -1;
    cells *= sizeZ;  // at most 2^30 × 2^31
    return cells > kMaxGridCells ? -1 : cells;
}

void SetCellType(int32_t x, int32_t y, int32_t z, int32_t type) {
    if (!IsBlocType(type)) return;
    const int32_t i = CellIndex(x, y, z, Level);
    if (i < 0) return;
    const int32_t old = Level.CellTypes[i];
    if (IsBlocType(old)) --Level.Blocs[old].InstanceCount;
    ++Level.Blocs[type].InstanceCount;
    Level.CellTypes[i] = static_cast<uint16_t>(type);
}

bool AllocLevelGrid(int32_t sizeX, int32_t sizeY, int32_t sizeZ, LevelStuff& level) {
    ReleaseGrid(level);
    const int64_t cells = GridCellCount(sizeX, sizeY, sizeZ);
    if (cells < 0) return false;
    level.CellTypes = ZeroBlock<uint16_t>(cells);
    level.LightLayer = ZeroBlock<uint8_t>(cells);
    level.CornerXLayer = ZeroBlock<uint8_t>(cells);
    level.CornerYLayer = ZeroBlock<uint8_t>(cells);
    level.CornerZLayer = ZeroBlock<uint8_t>(cells);
    level.TurnLayer = ZeroBlock<uint8_t>(cells);
    if (!level.CellTypes || !level.LightLayer || !level.CornerXLayer || !level.CornerYLayer ||
        !level.CornerZLayer || !level.TurnLayer) {
        ReleaseGrid(level);
        return false;
    }
    level.SizeX = sizeX;
    level.SizeY = sizeY;
    level.SizeZ = sizeZ;
    level.CellCount = static_cast<int32_t>(cells);
    return true;
}
