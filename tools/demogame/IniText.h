// INI text as the demo game's files have it: "[Section]" headers and
// "Key=Value" lines, Windows line ends.
#pragma once

#include <string>

namespace demo {

class IniText {
  public:
    // Starts a section (a blank line goes before every section but the first).
    void Section(const std::string& name);
    void Key(const std::string& key, const std::string& value);
    void Key(const std::string& key, int value);
    // Floats with "." and up to four decimals, trailing zeros dropped.
    void Key(const std::string& key, double value);
    // Flags as the level definition reads them: "TRUE" or "FALSE".
    void Flag(const std::string& key, bool value);
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace demo
