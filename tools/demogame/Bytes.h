// Little-endian byte strings: the demo tool builds every binary file it
// writes (pictures, meshes, sounds) by appending fields to a std::string.
#pragma once

#include <cstdint>
#include <string>

namespace demo {

void AppendU8(std::string& out, uint32_t value);
void AppendU16(std::string& out, uint32_t value);
void AppendU32(std::string& out, uint32_t value);
void AppendI32(std::string& out, int32_t value);
// Overwrites two bytes at `at` (which must lie inside `out`).
void PutU16(std::string& out, size_t at, uint32_t value);

}  // namespace demo
