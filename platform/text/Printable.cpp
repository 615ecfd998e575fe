#include "platform/text/Printable.h"

#include <cstddef>
#include <cstdint>

namespace platform {
namespace {

bool IsC0OrDelete(uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

// The length of the well-formed UTF-8 character at `i`; 0 when the bytes
// there are not one.
size_t Utf8Length(const std::string& text, size_t i) {
    const auto lead = static_cast<uint8_t>(text[i]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint8_t least = 0x80, most = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) least = 0xA0;
        if (lead == 0xED) most = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) least = 0x90;
        if (lead == 0xF4) most = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<uint8_t>(text[i + k]);
        if (byte < (k == 1 ? least : 0x80) || byte > (k == 1 ? most : 0xBF)) return 0;
    }
    return length;
}

}  // namespace

bool IsCp1252Control(unsigned char byte) {
    // Of 0x80..0x9F, the bytes cp1252 gives no character.
    const bool undefined =
        byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    return IsC0OrDelete(byte) || undefined;
}

std::string PrintableCp1252(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (IsCp1252Control(static_cast<unsigned char>(c))) c = '?';
    }
    return out;
}

std::string PrintableUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t length = Utf8Length(text, i);
        const auto byte = static_cast<uint8_t>(text[i]);
        const bool control = length == 0 || (length == 1 && IsC0OrDelete(byte)) ||
                             (byte == 0xC2 && static_cast<uint8_t>(text[i + 1]) <= 0x9F);
        if (control) {
            out += '?';
        } else {
            out.append(text, i, length);
        }
        i += length == 0 ? 1 : length;
    }
    return out;
}

}  // namespace platform
