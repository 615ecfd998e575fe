#include "game/level/DefinitionSection.h"

#include <algorithm>
#include <string_view>

#include "support/IniFiles32.h"

std::string UpperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char ch) { return (ch >= 'a' && ch <= 'z') ? char(ch - 'a' + 'A') : ch; });
    return text;
}

uint8_t FlagOf(const std::string& text) { return UpperAscii(text) == "TRUE" ? 1 : 0; }

namespace {

char LowerAscii(char ch) { return (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch; }

}  // namespace

int64_t CanonicalNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
    int64_t number = 0;
    for (char ch : digits) {
        if (ch < '0' || ch > '9') return -1;
        number = number * 10 + (ch - '0');
    }
    return number;
}

std::vector<int> NumberedSections(const TIniFile32& ini, const std::string& prefix, int32_t count) {
    std::vector<int> lines(static_cast<size_t>(std::max(count, 0)), -1);
    for (const TIniSection& section : ini.Sections()) {
        // The header is "[" + name + "]", matched with ASCII letter case ignored.
        const std::string_view name =
            std::string_view(section.Header).substr(1, section.Header.size() - 2);
        if (name.size() <= prefix.size()) continue;
        bool same = true;
        for (size_t i = 0; i < prefix.size() && same; ++i) {
            same = LowerAscii(name[i]) == LowerAscii(prefix[i]);
        }
        const int64_t n = same ? CanonicalNumber(name.substr(prefix.size())) : -1;
        if (n >= 0 && n < count && lines[static_cast<size_t>(n)] < 0) {
            lines[static_cast<size_t>(n)] = section.Line;
        }
    }
    return lines;
}

DefinitionSection::DefinitionSection(const TIniFile32& ini, std::string section)
    : ini_(ini), section_(std::move(section)), present_(ini.FindSection(section_) >= 0) {}

DefinitionSection::DefinitionSection(const TIniFile32& ini, std::string section, bool present)
    : ini_(ini), section_(std::move(section)), present_(present) {}

bool DefinitionSection::HasKeys() const { return !Keys().empty(); }

std::vector<std::string> DefinitionSection::Keys() const {
    std::vector<std::string> keys;
    if (present_) ini_.ReadSection(section_, keys);
    return keys;
}

std::string DefinitionSection::Text(std::string_view key) const {
    return present_ ? ini_.ReadString(section_, std::string(key), "") : std::string();
}

uint8_t DefinitionSection::Flag(std::string_view key, bool def) const {
    if (!present_) return def ? 1 : 0;
    return FlagOf(ini_.ReadString(section_, std::string(key), def ? "TRUE" : "FALSE"));
}

int32_t DefinitionSection::Integer(std::string_view key, int32_t def) const {
    return present_ ? ini_.ReadInteger(section_, std::string(key), def) : def;
}

float DefinitionSection::Float(std::string_view key, float def) const {
    return present_ ? static_cast<float>(ini_.ReadFloat(section_, std::string(key), def)) : def;
}
