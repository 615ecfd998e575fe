// Fuzz target of the INI reader and writer: any bytes are read as an INI file
// (through a file: the class reads only files), checked for well-kept lines
// and sections, edited with well-formed writes, saved, and read back: the
// saved file must give the same lines, sections and values again.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/IniFiles32.h"
#include "tests/common/ScratchFolder.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "INI round trip: %s\n", what);
    std::abort();
}

// Every kept line is trimmed, not empty, not a comment and holds no line
// break; every section entry names a header line.
void CheckParsed(const TIniFile32& ini) {
    for (const std::string& line : ini.Lines()) {
        Check(!line.empty() && line[0] != ';', "empty or comment line kept");
        Check(static_cast<unsigned char>(line.front()) > 32 &&
                  static_cast<unsigned char>(line.back()) > 32,
              "line not trimmed");
        Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos,
              "line break kept in a line");
    }
    for (const TIniSection& s : ini.Sections()) {
        Check(s.Line >= 0 && static_cast<size_t>(s.Line) < ini.Lines().size(), "section line");
        Check(ini.Lines()[static_cast<size_t>(s.Line)] == s.Header, "section header text");
        Check(TIniFile32::IsSectionLine(s.Header), "section entry is no header");
        const std::string name = s.Header.substr(1, s.Header.size() - 2);
        const int first = ini.FindSection(name);
        Check(first >= 0 && first <= s.Line, "section not found by its name");
    }
}

// The name of a section as FindSection takes it.
std::string NameOf(const TIniSection& s) { return s.Header.substr(1, s.Header.size() - 2); }

// A key that a written line gives back as itself: no "=", and no ";" or "["
// in front (a comment or a header on the next read).
bool WritableKey(const std::string& key) {
    return !key.empty() && key.find('=') == std::string::npos && key[0] != ';' && key[0] != '[';
}

struct Written {
    std::string section, key, value;
};

// Well-formed writes drawn from the file itself: the keys of the first
// sections rewritten, a line of the file copied as a value, numbers, a new
// section; each recorded with the value it must read back as.
std::vector<Written> Edit(TIniFile32& ini, uint64_t seed, double number) {
    std::vector<Written> writes;
    auto write = [&](const std::string& section, const std::string& key, const std::string& value) {
        ini.WriteString(section, key, value);
        writes.push_back({section, key, value});
    };
    const std::vector<TIniSection> sections = ini.Sections();
    for (size_t i = 0; i < sections.size() && i < 4; ++i) {
        std::vector<std::string> keys;
        ini.ReadSection(NameOf(sections[i]), keys);
        for (size_t k = 0; k < keys.size() && k < 3; ++k) {
            if (WritableKey(keys[k])) write(NameOf(sections[i]), keys[k], "v" + std::to_string(k));
        }
        write(NameOf(sections[i]), "FuzzAdded", std::to_string(i));
    }
    if (!ini.Lines().empty()) {
        // A copy: the write changes the lines it comes from.
        const std::string line = ini.Lines()[static_cast<size_t>(seed % ini.Lines().size())];
        write("Fuzz Copy", "Line", line);
    }
    const int integer = static_cast<int>(static_cast<uint32_t>(seed >> 8));
    ini.WriteInteger("Fuzz Numbers", "Integer", integer);
    writes.push_back({"Fuzz Numbers", "Integer", std::to_string(integer)});
    ini.WriteBool("FUZZ numbers", "Flag", (seed & 1) != 0);
    writes.push_back({"Fuzz Numbers", "Flag", (seed & 1) != 0 ? "1" : "0"});
    if (std::isfinite(number)) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, number).ptr;
        write("Fuzz Numbers", "Float", std::string(text, end));
    }
    write("Fuzz Numbers", "", "");
    return writes;
}

void CheckWrites(const TIniFile32& ini, const std::vector<Written>& writes, uint64_t seed,
                 double number) {
    for (const Written& w : writes) {
        if (w.key.empty()) {
            Check(ini.FindSection(w.section) >= 0, "written section missing");
            continue;
        }
        // A later write of the same key wins.
        std::string expected = w.value;
        for (const Written& later : writes) {
            if (later.key == w.key && ini.FindSection(later.section) == ini.FindSection(w.section))
                expected = later.value;
        }
        Check(ini.ReadString(w.section, w.key, "\x01") == (expected.empty() ? "\x01" : expected),
              "written value not read back");
    }
    Check(ini.ReadInteger("Fuzz Numbers", "Integer", 0) ==
              static_cast<int>(static_cast<uint32_t>(seed >> 8)),
          "written integer not read back");
    Check(ini.ReadBool("fuzz NUMBERS", "Flag", (seed & 1) == 0) == ((seed & 1) != 0),
          "written flag not read back");
    if (std::isfinite(number)) {
        Check(ini.ReadFloat("Fuzz Numbers", "Float", 0.5) == number, "written float not read back");
    }
}

// Both files hold the same lines and sections, and every key of every
// section reads the same value from both.
void CheckSame(const TIniFile32& a, const TIniFile32& b) {
    Check(a.Lines() == b.Lines(), "saved lines differ on reading back");
    Check(a.Sections().size() == b.Sections().size(), "saved sections differ on reading back");
    for (size_t i = 0; i < a.Sections().size(); ++i) {
        const TIniSection& s = a.Sections()[i];
        Check(s.Header == b.Sections()[i].Header && s.Line == b.Sections()[i].Line,
              "saved section differs on reading back");
        std::vector<std::string> keys;
        a.ReadSection(NameOf(s), keys);
        for (const std::string& key : keys) {
            Check(a.ReadString(NameOf(s), key, "") == b.ReadString(NameOf(s), key, ""),
                  "saved value differs on reading back");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const testutil::ScratchFolder folder;
    const std::string path =
        folder.Write("fuzz.ini", std::string(reinterpret_cast<const char*>(data), size));
    uint64_t seed = 0x9E3779B97F4A7C15ull;
    for (size_t i = 0; i < size; ++i) seed = (seed ^ data[i]) * 0x100000001B3ull;
    double number = 0;
    if (size >= sizeof number) std::memcpy(&number, data, sizeof number);

    TIniFile32 ini(path);
    Check(!ini.LoadFailed(), "a readable file failed to load");
    CheckParsed(ini);
    const std::vector<Written> writes = Edit(ini, seed, number);
    CheckParsed(ini);
    CheckWrites(ini, writes, seed, number);
    Check(ini.Save() && !ini.Modified, "the save failed");

    const TIniFile32 back(path);
    CheckParsed(back);
    CheckSame(ini, back);
    CheckWrites(back, writes, seed, number);
    return 0;
}
