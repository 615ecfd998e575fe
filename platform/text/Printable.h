// Texts made safe to show: control characters that come from data (a level
// name holding a terminal's escape sequence) never reach a message box or
// the terminal raw.
#pragma once

#include <string>

namespace platform {

// Whether the cp1252 byte is a control character: the codes below 32, DEL,
// and the bytes cp1252 leaves undefined, which become C1 controls in UTF-8.
bool IsCp1252Control(unsigned char byte);

// `text` (cp1252) with each control character replaced by "?": the codes
// below 32, DEL, and the bytes cp1252 leaves undefined, which become C1
// controls in UTF-8.
std::string PrintableCp1252(const std::string& text);

// `text` (UTF-8, as the system's file names are) with each control character
// replaced by "?": the codes below 32, DEL and the C1 controls
// U+0080..U+009F; so is each byte that begins no well-formed character.
std::string PrintableUtf8(const std::string& text);

}  // namespace platform
