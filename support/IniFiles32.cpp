#include "support/IniFiles32.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

#include "platform/fs/FileSystem.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Removes leading and trailing characters with codes 0 to 32.
std::string_view Trim(std::string_view text) {
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    size_t last = text.size();
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hexadecimal digits up to FFFFFFFF, taken as a two's-complement 32-bit value.
bool ParseHex(std::string_view digits, int& out) {
    if (digits.empty()) return false;
    uint64_t value = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) return false;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull) return false;
    }
    out = static_cast<int32_t>(static_cast<uint32_t>(value));
    return true;
}

// Decimal digits with an optional sign, within the 32-bit range.
bool ParseDecimal(std::string_view text, int& out) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
        if (value > limit) return false;
    }
    out = static_cast<int>(negative ? -value : value);
    return true;
}

bool ParseInteger(std::string_view s, int& out) {
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        return ParseHex(s.substr(2), out);
    }
    if (!s.empty() && s[0] == '$') return ParseHex(s.substr(1), out);
    return ParseDecimal(s, out);
}

// Length of the run of decimal digits at `pos`.
size_t DigitRun(std::string_view s, size_t pos) {
    size_t n = 0;
    while (pos + n < s.size() && IsDigit(s[pos + n])) ++n;
    return n;
}

// [sign] digits [. digits] [e [sign] digits], at least one mantissa digit;
// parsed with "." as the decimal point whatever the locale.
bool ParseFloat(std::string_view s, double& out) {
    size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    size_t mantissa = DigitRun(s, pos);
    pos += mantissa;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        size_t fraction = DigitRun(s, pos);
        mantissa += fraction;
        pos += fraction;
    }
    if (mantissa == 0) return false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
        size_t exponent = DigitRun(s, pos);
        if (exponent == 0) return false;
        pos += exponent;
    }
    if (pos != s.size()) return false;
    if (s[0] == '+') s.remove_prefix(1);  // from_chars takes no "+"
    double value = 0.0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    out = value;
    return true;
}

}  // namespace

TIniFile32::TIniFile32(const std::string& fileName) : FileName(fileName) {
    // Anything at all under the name is loaded: what is there but cannot be
    // read (a folder, a pipe, a dangling link, a locked file) is then never
    // saved over.
    if (platform::fs::EntryExists(FileName)) LoadFromFile();
}

TIniFile32::TIniFile32(const std::string& fileName, const std::string& text) : FileName(fileName) {
    ParseText(text);
}

TIniFile32::~TIniFile32() {
    if (!Modified) return;
    try {
        AutoSave = true;
        UpdateFile();
    } catch (...) {
        // A failed save cannot be reported from here; Save() reports it.
    }
}

bool TIniFile32::LoadFromFile() {
    std::string bytes;
    if (!platform::fs::ReadWholeFile(FileName, bytes)) {
        loadFailed_ = true;
        return false;
    }
    loadFailed_ = false;
    ParseText(bytes);
    return true;
}

void TIniFile32::ParseText(const std::string& bytes) {
    lines_.clear();
    sections_.clear();
    sectionIndex_.clear();
    keyIndex_.clear();
    lastSection_.reset();
    std::string_view text(bytes);
    text = text.substr(0, text.find('\0'));
    // One allocation for the line list instead of growing it line by line.
    size_t breaks = 0;
    for (char c : text) breaks += (c == '\n' || c == '\r') ? 1 : 0;
    lines_.reserve(breaks + 1);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) stop = text.size();
        std::string_view line = Trim(text.substr(pos, stop - pos));
        pos = stop + 1;
        if (line.empty() || line[0] == ';') continue;
        lines_.emplace_back(line);
        if (IsSectionLine(lines_.back())) {
            AddSection(lines_.back(), static_cast<int>(lines_.size()) - 1);
        }
    }
}

void TIniFile32::AddSection(const std::string& header, int line) {
    sections_.push_back({header, line});
    sectionIndex_.emplace(LowerAscii(header), static_cast<int>(sections_.size()) - 1);
}

bool TIniFile32::UpdateFile() {
    if (!AutoSave) return true;
    if (loadFailed_) return false;  // never replace a file we could not read
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return platform::fs::WriteFileAtomic(FileName, text);
}

bool TIniFile32::Save() {
    AutoSave = true;
    if (!Modified) return true;
    if (!UpdateFile()) return false;
    Modified = false;
    return true;
}

int TIniFile32::FindSection(const std::string& name) const {
    // Readers ask for one section many times in a row.
    if (lastSection_ && lastSection_->first == name) return lastSection_->second;
    auto found = sectionIndex_.find(LowerAscii("[" + name + "]"));
    const int line =
        found == sectionIndex_.end() ? -1 : sections_[static_cast<size_t>(found->second)].Line;
    lastSection_.emplace(name, line);
    return line;
}

std::string TIniFile32::KeyOfLine(const std::string& line) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) return {};
    return std::string(Trim(std::string_view(line).substr(0, equals)));
}

std::string TIniFile32::ValueOfLine(const std::string& line, const std::string& key) {
    if (line.empty() || key.empty()) return {};
    size_t equals = line.find('=');
    if (equals == std::string::npos || KeyOfLine(line) != key) return {};
    return std::string(Trim(std::string_view(line).substr(equals + 1)));
}

bool TIniFile32::IsSectionLine(const std::string& line) {
    std::string_view text = Trim(line);
    return !text.empty() && text.front() == '[' && text.back() == ']';
}

int TIniFile32::ScanEnd(int headerLine) const {
    int i = headerLine + 1;
    const int count = static_cast<int>(lines_.size());
    while (i < count && !IsSectionLine(lines_[static_cast<size_t>(i)])) ++i;
    return i;
}

const TIniFile32::SectionKeys& TIniFile32::KeysOf(int headerLine) const {
    auto cached = keyIndex_.find(headerLine);
    if (cached != keyIndex_.end()) return cached->second;
    SectionKeys& keys = keyIndex_[headerLine];
    keys.end = ScanEnd(headerLine);
    for (int i = headerLine + 1; i < keys.end; ++i) {
        keys.firstLine.emplace(KeyOfLine(lines_[static_cast<size_t>(i)]), i);
    }
    return keys;
}

void TIniFile32::ReadSection(const std::string& section, std::vector<std::string>& strings) const {
    strings.clear();
    int header = FindSection(section);
    if (header < 0) return;
    const int end = KeysOf(header).end;
    for (int i = header + 1; i < end; ++i) {
        std::string key = KeyOfLine(lines_[static_cast<size_t>(i)]);
        if (!key.empty()) strings.push_back(std::move(key));
    }
}

std::string TIniFile32::ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    int header = FindSection(section);
    if (header < 0) return def;
    const SectionKeys& keys = KeysOf(header);
    auto found = keys.firstLine.find(key);
    if (found == keys.firstLine.end()) return def;
    std::string value = ValueOfLine(lines_[static_cast<size_t>(found->second)], key);
    return value.empty() ? def : value;
}

int TIniFile32::ReadInteger(const std::string& section, const std::string& key, int def) const {
    int value = 0;
    return ParseInteger(ReadString(section, key, ""), value) ? value : def;
}

double TIniFile32::ReadFloat(const std::string& section, const std::string& key, double def) const {
    double value = 0.0;
    return ParseFloat(ReadString(section, key, ""), value) ? value : def;
}

bool TIniFile32::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile32::WriteString(const std::string& section, const std::string& key,
                             const std::string& value) {
    const std::string line = key + "=" + value;
    int header = FindSection(section);
    if (header < 0) {
        lines_.push_back("[" + section + "]");
        AddSection(lines_.back(), static_cast<int>(lines_.size()) - 1);
        if (!key.empty()) lines_.push_back(line);
    } else if (!key.empty()) {
        const SectionKeys& keys = KeysOf(header);
        auto found = keys.firstLine.find(key);
        const int end = keys.end;
        if (found != keys.firstLine.end()) {
            lines_[static_cast<size_t>(found->second)] = line;
        } else if (end < static_cast<int>(lines_.size())) {
            lines_.insert(lines_.begin() + end, line);
            for (TIniSection& entry : sections_) {
                if (entry.Line >= end) ++entry.Line;
            }
        } else {
            lines_.push_back(line);
        }
    }
    keyIndex_.clear();
    lastSection_.reset();
    UpdateFile();
    Modified = true;
}

void TIniFile32::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile32::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}
