#include "game/level/DefinitionSection.h"

#include <algorithm>
#include <vector>

#include "support/IniFiles32.h"

std::string UpperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char ch) { return (ch >= 'a' && ch <= 'z') ? char(ch - 'a' + 'A') : ch; });
    return text;
}

uint8_t FlagOf(const std::string& text) { return UpperAscii(text) == "TRUE" ? 1 : 0; }

DefinitionSection::DefinitionSection(const TIniFile32& ini, std::string section)
    : ini_(ini), section_(std::move(section)), present_(ini.FindSection(section_) >= 0) {}

bool DefinitionSection::HasKeys() const {
    std::vector<std::string> keys;
    ini_.ReadSection(section_, keys);
    return !keys.empty();
}

std::string DefinitionSection::Text(const std::string& key) const {
    return present_ ? ini_.ReadString(section_, key, "") : std::string();
}

uint8_t DefinitionSection::Flag(const std::string& key, bool def) const {
    if (!present_) return def ? 1 : 0;
    return FlagOf(ini_.ReadString(section_, key, def ? "TRUE" : "FALSE"));
}

int32_t DefinitionSection::Integer(const std::string& key, int32_t def) const {
    return present_ ? ini_.ReadInteger(section_, key, def) : def;
}

float DefinitionSection::Float(const std::string& key, float def) const {
    return present_ ? static_cast<float>(ini_.ReadFloat(section_, key, def)) : def;
}
