// Inputs of the level-state fuzzer: level files without their tables (clip
// zones, camera points, banners, sky, seed, colours, light depth and level
// exits, 76568 bytes whose reading the level-file fuzzer covers). The fuzzer
// puts one set of tables back into each input, so that its inputs stay small
// and its changes fall on the header, the grid and the lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/level/LevelFileFormat.h"

namespace fuzzutil {

// Where the tables of the level file `bytes` begin, from its three sizes; 0
// when the sizes give no place inside the bytes.
inline size_t TablesOffset(std::string_view bytes) {
    if (bytes.size() < static_cast<size_t>(kLevelHeaderBytes)) return 0;
    int64_t cells = 1;
    for (size_t at : {256u, 260u, 264u}) {
        uint32_t u = 0;
        for (size_t i = 0; i < 4; ++i)
            u |= uint32_t{static_cast<uint8_t>(bytes[at + i])} << (8 * i);
        const auto size = static_cast<int32_t>(u);
        if (size < 0 || size > static_cast<int32_t>(bytes.size())) return 0;
        cells *= size;
        if (cells > static_cast<int64_t>(bytes.size())) return 0;
    }
    const int64_t offset = kLevelHeaderBytes + kLevelBytesPerCell * cells;
    return offset <= static_cast<int64_t>(bytes.size()) ? static_cast<size_t>(offset) : 0;
}

// The level file `file` without its tables; empty when it has no place for
// them.
inline std::string WithoutTables(std::string_view file) {
    const size_t at = TablesOffset(file);
    if (at == 0 || file.size() < at + static_cast<size_t>(kLevelTableBytes)) return {};
    return std::string(file.substr(0, at)) +
           std::string(file.substr(at + static_cast<size_t>(kLevelTableBytes)));
}

// Puts `tables` back into `input` at their place, into `file`; `input` as it
// is when its sizes give no place.
inline void WithTables(std::string_view input, std::string_view tables, std::string& file) {
    const size_t at = TablesOffset(input);
    if (at == 0) {
        file.assign(input);
        return;
    }
    file.assign(input.substr(0, at));
    file.append(tables);
    file.append(input.substr(at));
}

}  // namespace fuzzutil
