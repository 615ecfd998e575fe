// Reading one section of a level definition file with its value rules: a
// missing or empty value gives the default, and a flag is on exactly when its
// value, upper-cased, is "TRUE".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TIniFile32;

// ASCII upper case of `text`.
std::string UpperAscii(std::string text);

// 1 when `text`, upper-cased, is "TRUE", else 0.
uint8_t FlagOf(const std::string& text);

// The number that `digits` writes as std::to_string would (no sign, no leading
// zero, up to nine digits), or -1.
int64_t CanonicalNumber(std::string_view digits);

// For N = 0..count-1, the header line of the section named `prefix` + N (N in
// decimal as std::to_string writes it), or -1: what ini.FindSection gives for
// each name, found in one pass over the file's headers.
std::vector<int> NumberedSections(const TIniFile32& ini, const std::string& prefix, int32_t count);

class DefinitionSection {
  public:
    DefinitionSection(const TIniFile32& ini, std::string section);
    // The same when whether the file holds the section is known already.
    DefinitionSection(const TIniFile32& ini, std::string section, bool present);

    // Whether the section holds any key.
    bool HasKeys() const;
    // The section's keys in file order; none when the section is missing.
    std::vector<std::string> Keys() const;
    // The keys are made into strings only when the file holds the section.
    std::string Text(std::string_view key) const;
    uint8_t Flag(std::string_view key, bool def) const;
    int32_t Integer(std::string_view key, int32_t def) const;
    float Float(std::string_view key, float def) const;

  private:
    const TIniFile32& ini_;
    std::string section_;
    bool present_;  // the file holds the section: else every key gives its default
};
