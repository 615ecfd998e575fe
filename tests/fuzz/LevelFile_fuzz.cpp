// Fuzz target of the level file reader: any bytes go through the whole check
// of a level file; an accepted file must build back into a level file of the
// same layout.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "game/level/LevelFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LevelFileImage image;
    if (!ParseLevelFile(bytes, image)) return 0;
    // Every accepted count and size lies within the capacities.
    if (image.Golems.size() > static_cast<size_t>(kMaxGolems) ||
        image.TileAnimations.size() > static_cast<size_t>(kListRows) ||
        image.CellTypes.size() != 2 * static_cast<size_t>(image.CellCount)) {
        __builtin_trap();
    }
    return 0;
}
