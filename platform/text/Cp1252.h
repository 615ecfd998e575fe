// Conversion of the game's cp1252 texts to UTF-8 at the edges that need it
// (window titles, message boxes, the interface toolkit).
#pragma once

#include <string>

namespace platform {

std::string Cp1252ToUtf8(const std::string& text);

// UTF-8 to cp1252; characters cp1252 cannot hold become "?".
std::string Utf8ToCp1252(const std::string& text);

}  // namespace platform
