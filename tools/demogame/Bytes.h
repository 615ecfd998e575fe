// Byte strings: the demo tool builds every binary file it writes (pictures,
// meshes, sounds, music) by appending fields to a std::string, little-endian
// but for the music files' big-endian fields.
#pragma once

#include <cstdint>
#include <string>

namespace demo {

void AppendU8(std::string& out, uint32_t value);
void AppendU16(std::string& out, uint32_t value);
void AppendU32(std::string& out, uint32_t value);
void AppendI32(std::string& out, int32_t value);
// The low `bytes` bytes (1..4) of `value`, most significant first.
void AppendBigEndian(std::string& out, uint32_t value, int bytes);
// Overwrites two bytes at `at` (which must lie inside `out`).
void PutU16(std::string& out, size_t at, uint32_t value);

}  // namespace demo
