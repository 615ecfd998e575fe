// Reading one section of a level definition file with its value rules: a
// missing or empty value gives the default, and a flag is on exactly when its
// value, upper-cased, is "TRUE".
#pragma once

#include <cstdint>
#include <string>

class TIniFile32;

// ASCII upper case of `text`.
std::string UpperAscii(std::string text);

// 1 when `text`, upper-cased, is "TRUE", else 0.
uint8_t FlagOf(const std::string& text);

class DefinitionSection {
  public:
    DefinitionSection(const TIniFile32& ini, std::string section);

    // Whether the section holds any key.
    bool HasKeys() const;
    std::string Text(const std::string& key) const;
    uint8_t Flag(const std::string& key, bool def) const;
    int32_t Integer(const std::string& key, int32_t def) const;
    float Float(const std::string& key, float def) const;

  private:
    const TIniFile32& ini_;
    std::string section_;
    bool present_;  // the file holds the section: else every key gives its default
};
