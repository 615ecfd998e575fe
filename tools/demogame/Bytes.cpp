#include "tools/demogame/Bytes.h"

namespace demo {

void AppendU8(std::string& out, uint32_t value) { out.push_back(static_cast<char>(value & 0xFF)); }

void AppendU16(std::string& out, uint32_t value) {
    AppendU8(out, value);
    AppendU8(out, value >> 8);
}

void AppendU32(std::string& out, uint32_t value) {
    AppendU16(out, value & 0xFFFF);
    AppendU16(out, value >> 16);
}

void AppendI32(std::string& out, int32_t value) { AppendU32(out, static_cast<uint32_t>(value)); }

void AppendBigEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) AppendU8(out, value >> (8 * i));
}

void PutU16(std::string& out, size_t at, uint32_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace demo
