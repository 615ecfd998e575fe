// TIniFile32: reader and writer of the game's INI text files (game.ini, level
// definitions, the dictionary). The whole file is kept in memory as a list of
// cleaned lines plus an index of section headers; reads answer from that list,
// writes edit it in place, and the list is written back whole when the object
// is saved or freed after a write. Texts are cp1252 bytes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <unordered_map>
#include <vector>

// One section header of the file: the header text as it stands in the lines
// (brackets included) and the index of that header's line.
struct TIniSection {
    std::string Header;
    int Line;
};

class TIniFile32 {
  public:
    // Keeps the file name and loads the file when it exists (a link is
    // followed). A missing file starts empty; anything under the name that
    // cannot be read as a file (no permission, a folder, a pipe, a dangling
    // link) also starts empty and is then never saved over (see LoadFailed).
    explicit TIniFile32(const std::string& fileName);
    // Keeps the file name and takes the lines from `text`, as if the file held
    // it; the file itself is not read.
    TIniFile32(const std::string& fileName, const std::string& text);
    // Saves when a write happened since the last save; never throws. Callers
    // that need to know whether the save worked call Save() first.
    ~TIniFile32();

    TIniFile32(const TIniFile32&) = delete;
    TIniFile32& operator=(const TIniFile32&) = delete;

    bool Modified = false;  // set by every write; cleared by a successful Save()
    bool AutoSave = false;  // when true, every write saves the whole file at once
    std::string FileName;   // the data path that all loading and saving use

    // Every kept line of the file in file order, already trimmed.
    const std::vector<std::string>& Lines() const { return lines_; }
    // One entry per section header, in file order, each with its line index.
    const std::vector<TIniSection>& Sections() const { return sections_; }
    // True when the file existed but its last load failed; saving is refused.
    bool LoadFailed() const { return loadFailed_; }

    // Reads the file whole and rebuilds the lines and sections. False, with the
    // lists untouched and saving refused, when the file cannot be read.
    bool LoadFromFile();
    // When AutoSave is set, replaces the file with the lines, each ended by
    // CR LF. True when there was nothing to save or the file was written.
    bool UpdateFile();
    // Explicit save: sets AutoSave and writes the file when Modified. False when
    // the write failed or was refused; Modified is cleared on success.
    bool Save();

    // Index in the lines of the first header "[" + name + "]" (ASCII letter case
    // ignored), or -1.
    int FindSection(const std::string& name) const;
    // Trimmed text before the first "="; empty when the line has no "=".
    static std::string KeyOfLine(const std::string& line);
    // Trimmed text after the first "=" when the line's key equals `key`; empty
    // when the line or key is empty, the line has no "=" or the keys differ.
    static std::string ValueOfLine(const std::string& line, const std::string& key);
    // The trimmed line is not empty, begins with "[" and ends with "]".
    static bool IsSectionLine(const std::string& line);

    // Replaces `strings` with the non-empty keys of the section, in file order,
    // duplicates included; empty when the section is missing.
    void ReadSection(const std::string& section, std::vector<std::string>& strings) const;
    // The value of the first line of the section with that key, or `def` when
    // the section or key is missing or the value is empty.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal with optional sign, "0x"/"0X" or "$" hexadecimal (up to FFFFFFFF,
    // taken as two's complement); `def` when not a valid 32-bit integer.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Decimal number with "." as the decimal point and an optional exponent,
    // whatever the process locale; `def` when not such a number.
    double ReadFloat(const std::string& section, const std::string& key, double def) const;
    // ReadInteger(section, key, def ? 1 : 0) != 0; words such as "TRUE" give `def`.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // Sets key to value in the section, creating the section and key when
    // missing; an empty key only makes sure the section exists.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // WriteString of the decimal text.
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // WriteString of "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);

  private:
    // Look-up aid for one section: the first line of each key and the index of
    // the line that ends the section scan (the next header or the line count).
    struct SectionKeys {
        std::unordered_map<std::string, int> firstLine;
        int end = 0;
    };

    void ParseText(const std::string& bytes);
    void AddSection(const std::string& header, int line);
    const SectionKeys& KeysOf(int headerLine) const;
    int ScanEnd(int headerLine) const;

    std::vector<std::string> lines_;
    std::vector<TIniSection> sections_;
    bool loadFailed_ = false;
    // Lower-cased header text -> index in sections_ of its first entry.
    std::unordered_map<std::string, int> sectionIndex_;
    // Header line -> its keys; built on demand, dropped by every write.
    mutable std::unordered_map<int, SectionKeys> keyIndex_;
    // The name FindSection was given last and its answer; dropped by every write.
    mutable std::optional<std::pair<std::string, int>> lastSection_;
};
