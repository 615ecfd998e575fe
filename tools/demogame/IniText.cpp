#include "tools/demogame/IniText.h"

#include <cstdio>

namespace demo {

void IniText::Section(const std::string& name) {
    if (!text_.empty()) text_ += "\r\n";
    text_ += "[" + name + "]\r\n";
}

void IniText::Key(const std::string& key, const std::string& value) {
    text_ += key + "=" + value + "\r\n";
}

void IniText::Key(const std::string& key, int value) { Key(key, std::to_string(value)); }

void IniText::Key(const std::string& key, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);  // LC_NUMERIC stays "C" in the tool
    std::string s = buffer;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    Key(key, s);
}

void IniText::Flag(const std::string& key, bool value) { Key(key, value ? "TRUE" : "FALSE"); }

}  // namespace demo
