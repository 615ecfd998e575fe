#include "game/script/Behaviours.h"

#include <array>
#include <limits>
#include <vector>

#include "game/level/ArgParse.h"
#include "game/level/DefinitionSection.h"
#include "game/world/BlocDynamics.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/PathResolver.h"
#include "support/IniFiles32.h"

namespace {

// How a keyword's argument text is read.
enum class ArgForm {
    None,       // nothing
    Number,     // N                  -> Param1
    Pair,       // a,b                -> Param1, Param2
    Cell,       // (x,y,z)            -> Param1..3
    Box,        // (x,y,z),(x,y,z)    -> Param1..6
    CountBox,   // n,(box)            -> Param7, Param1..6
    CellCount,  // (x,y,z),n          -> Param1..4
    CellPair,   // (x,y,z),a,b        -> Param1..5
    BoxPair,    // (box),a,b          -> Param1..8
};

struct KeywordEntry {
    std::string_view Keyword;
    ArgForm Form;
    int32_t ScaleMul;  // the scaled piece (n, or a of the pair tails) is
    int32_t ScaleDiv;  // multiplied by ScaleMul and divided by ScaleDiv
    // N form: a piece that is no number leaves Param1 as it was, not 0.
    bool KeepsSlotWithoutNumber = false;
};

constexpr int32_t kDegreesToAngle = 32768;  // engine angle units per turn
constexpr int32_t kByteRange = 256;
// Tail slots of MOVETO and MOVENEARPLAYER when their line has no tail.
constexpr int32_t kMissingTailDuration = 1000;  // ms
constexpr int32_t kMissingTailSpeed = 1000;

// Entry i is the keyword of opcode i + 1.
constexpr std::array<KeywordEntry, kLastOpcode> kKeywords = {{
    {"WAITFORPLAYER", ArgForm::Box, 1, 1},
    {"MAKEFALL", ArgForm::Box, 1, 1},
    {"PUTOBJECT", ArgForm::CountBox, 1, 1},
    {"GOTO", ArgForm::Number, 1, 1},
    {"DELAY", ArgForm::Number, 1, 1, true},
    {"PLAYCLIP", ArgForm::Number, 1, 1, true},
    {"MOVETO", ArgForm::CellPair, kDegreesToAngle, 360},
    {"TRANSFORMTO", ArgForm::Number, 1, 1},
    {"MOVENEARPLAYER", ArgForm::BoxPair, kByteRange, 360},
    {"SHOOTPLAYER", ArgForm::Number, 1, 1, true},
    {"SETBEHAVIOUR", ArgForm::Number, 1, 1, true},
    {"PLAYACTIONSOUND", ArgForm::Number, 1, 1},
    {"PLAYTILEANIMATION", ArgForm::CellCount, 1, 1},
    {"GIVEOBJECTTOPLAYER", ArgForm::Pair, 1, 1},
    {"WAITFORBLOCNUMBERINLEVEL", ArgForm::Pair, 1, 1},
    {"WAITFORPLAYERHAVEOBJECT", ArgForm::Pair, 1, 1},
    {"WAITFORPLAYERACTIVATION", ArgForm::Box, 1, 1},
    {"WAITFORPLAYERACTIVATIONWITHOBJECT", ArgForm::CountBox, 1, 1},
    {"OPENDOOR", ArgForm::CountBox, 1, 1},
    {"MOVETOABSOLUTE", ArgForm::CellPair, kDegreesToAngle, 360},
    {"ADDHEALTH", ArgForm::Number, 1, 1},
    {"ADDHEALTHTOPLAYER", ArgForm::Number, 1, 1},
    {"MOVEPLAYERABSOLUTE", ArgForm::Cell, 1, 1},
    {"ADDPLAYERSPEED", ArgForm::CellCount, 1, 1},
    {"TIMEROFF", ArgForm::None, 1, 1},
    {"TIMERON", ArgForm::None, 1, 1},
    {"ADDTIMERVALUE", ArgForm::Number, 1, 1},
    {"SETTIMERVALUE", ArgForm::Number, 1, 1},
    {"GAMEOVER", ArgForm::None, 1, 1},
    {"GAMEWON", ArgForm::None, 1, 1},
    {"SETSAVECOUNT", ArgForm::Number, 1, 1},
    {"ADDSAVECOUNT", ArgForm::Number, 1, 1},
    {"SETLIGHTRANGE", ArgForm::Number, 1, 1},
    {"ADDLIGHTRANGE", ArgForm::Number, 1, 1},
    {"PUTLIGHT", ArgForm::CountBox, kByteRange, 100},
    {"ADDLIGHT", ArgForm::CountBox, kByteRange, 100},
    {"PUTLIGHTABSOLUTE", ArgForm::CountBox, kByteRange, 100},
    {"ADDLIGHTABSOLUTE", ArgForm::CountBox, kByteRange, 100},
    {"SETSKY", ArgForm::Number, 1, 1},
    {"PUTROTATION", ArgForm::CountBox, kByteRange, 100},
    {"ADDROTATION", ArgForm::CountBox, kByteRange, 100},
    {"PUTROTATIONABSOLUTE", ArgForm::CountBox, kByteRange, 100},
    {"ADDROTATIONABSOLUTE", ArgForm::CountBox, kByteRange, 100},
    {"MOVEUNTILBLOCKED", ArgForm::Cell, 1, 1},
    {"TRANSFORMBEHAVIOUR", ArgForm::Pair, 1, 1},
    {"PUTOBJECTABSOLUTE", ArgForm::CountBox, 1, 1},
    {"WAITFORPLAYERACTIVATIONABSOLUTE", ArgForm::Box, 1, 1},
    {"WAITFORPLAYERACTIVATIONWITHOBJECTABSOLUTE", ArgForm::CountBox, 1, 1},
}};

// Drops the leading and trailing characters with codes 0 to 32.
std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

char UpperAscii(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch; }

// The entry of `keyword` compared without regard to ASCII letter case, and
// its opcode; nullptr when it is not a keyword.
const KeywordEntry* FindKeyword(std::string_view keyword, int32_t& opcode) {
    for (size_t i = 0; i < kKeywords.size(); ++i) {
        const std::string_view name = kKeywords[i].Keyword;
        if (name.size() != keyword.size()) continue;
        size_t k = 0;
        while (k < name.size() && UpperAscii(keyword[k]) == name[k]) ++k;
        if (k == name.size()) {
            opcode = static_cast<int32_t>(i) + 1;
            return &kKeywords[i];
        }
    }
    return nullptr;
}

// A whole 32-bit integer into `value` (untouched when there is none).
bool ReadNumber(std::string_view piece, int32_t& value) { return ParseWholeInteger(piece, value); }

// A whole 32-bit integer into `value`, 0 when there is none.
void ReadNumberOrZero(std::string_view piece, int32_t& value) {
    if (!ReadNumber(piece, value)) value = 0;
}

// ReadNumber, then × mul div div in 64 bits (toward zero); false, with
// `value` untouched, when the piece is no number or the result leaves 32 bits.
bool ReadScaled(std::string_view piece, int32_t mul, int32_t div, int32_t& value) {
    int32_t number = 0;
    if (!ReadNumber(piece, number)) return false;
    const int64_t scaled = int64_t{number} * mul / div;
    if (scaled < std::numeric_limits<int32_t>::min() ||
        scaled > std::numeric_limits<int32_t>::max()) {
        return false;
    }
    value = static_cast<int32_t>(scaled);
    return true;
}

void ReadScaledOrZero(std::string_view piece, int32_t mul, int32_t div, int32_t& value) {
    if (!ReadScaled(piece, mul, div, value)) value = 0;
}

// Splits at the first ",": both sides trimmed; without a comma `a` is empty
// and `b` is the whole text.
void SplitPair(std::string_view text, std::string_view& a, std::string_view& b) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        a = {};
        b = Trim(text);
        return;
    }
    a = Trim(text.substr(0, comma));
    b = Trim(text.substr(comma + 1));
}

// The cell and box readers take their numbers only when a "(" stands before
// the first ","; otherwise the text reads as all zeros. An empty text leaves
// their slots as they were.
bool OpensBeforeComma(std::string_view text) {
    const size_t open = text.find('(');
    return open != std::string_view::npos && open < text.find(',');
}

void ReadCell(std::string_view text, CommandStuff& c) {
    if (text.empty()) return;
    c.Param1 = c.Param2 = c.Param3 = 0;
    if (OpensBeforeComma(text)) ParseCellArgs(text, c.Param1, c.Param2, c.Param3);
}

void ReadBox(std::string_view text, CommandStuff& c) {
    if (text.empty()) return;
    c.Param1 = c.Param2 = c.Param3 = c.Param4 = c.Param5 = c.Param6 = 0;
    if (OpensBeforeComma(text)) {
        ParseBoxArgs(text, c.Param1, c.Param2, c.Param3, c.Param4, c.Param5, c.Param6);
    }
}

// Position just after the `count`-th ")," of `text`, or npos.
size_t AfterCloseComma(std::string_view text, int count) {
    size_t from = 0;
    for (int i = 0; i < count; ++i) {
        const size_t at = text.find("),", from);
        if (at == std::string_view::npos) return std::string_view::npos;
        from = at + 2;
    }
    return from;
}

// n,(box): n is the untrimmed text before the first ","; the box follows it.
// An n that is no number leaves Param7 as it was.
void ReadCountBox(std::string_view args, const KeywordEntry& entry, CommandStuff& c) {
    const size_t comma = args.find(',');
    if (comma == std::string_view::npos) {
        ReadBox(args, c);
        return;
    }
    ReadScaled(args.substr(0, comma), entry.ScaleMul, entry.ScaleDiv, c.Param7);
    ReadBox(args.substr(comma + 1), c);
}

// (x,y,z),n: n is the trimmed text after the first "),"; Param4 is 0 without
// a number there.
void ReadCellCount(std::string_view args, CommandStuff& c) {
    c.Param4 = 0;
    ReadCell(args, c);
    const size_t tail = AfterCloseComma(args, 1);
    if (tail != std::string_view::npos) ReadNumber(Trim(args.substr(tail)), c.Param4);
}

// (x,y,z),a,b of MOVETO: a in degrees, b in ms. Without a tail the bloc
// gets no turn and a move of 1000 ms.
void ReadCellPair(std::string_view args, const KeywordEntry& entry, CommandStuff& c) {
    ReadCell(args, c);
    const size_t tail = AfterCloseComma(args, 1);
    if (tail == std::string_view::npos) {
        c.Param4 = 0;
        c.Param5 = kMissingTailDuration;
        return;
    }
    std::string_view a, b;
    SplitPair(Trim(args.substr(tail)), a, b);
    ReadScaledOrZero(a, entry.ScaleMul, entry.ScaleDiv, c.Param4);
    ReadNumberOrZero(b, c.Param5);
}

// (box),a,b of MOVENEARPLAYER: a the speed, b the fall flag; the tail follows
// the ")," after the second corner.
void ReadBoxPair(std::string_view args, const KeywordEntry& entry, CommandStuff& c) {
    ReadBox(args, c);
    const size_t tail = AfterCloseComma(args, 2);
    if (tail == std::string_view::npos) {
        c.Param7 = kMissingTailSpeed;
        c.Param8 = 0;
        return;
    }
    std::string_view a, b;
    SplitPair(Trim(args.substr(tail)), a, b);
    ReadScaledOrZero(a, entry.ScaleMul, entry.ScaleDiv, c.Param7);
    ReadNumberOrZero(b, c.Param8);
}

// Reads the argument text by the keyword's form into the slots that form
// names; the other slots keep what they held.
void ReadArguments(std::string_view args, const KeywordEntry& entry, CommandStuff& c) {
    std::string_view a, b;
    switch (entry.Form) {
        case ArgForm::None:
            break;
        case ArgForm::Number:
            if (entry.KeepsSlotWithoutNumber) {
                ReadNumber(args, c.Param1);
            } else {
                ReadNumberOrZero(args, c.Param1);
            }
            break;
        case ArgForm::Pair:
            SplitPair(args, a, b);
            ReadNumberOrZero(a, c.Param1);
            ReadNumberOrZero(b, c.Param2);
            break;
        case ArgForm::Cell:
            ReadCell(args, c);
            break;
        case ArgForm::Box:
            ReadBox(args, c);
            break;
        case ArgForm::CountBox:
            ReadCountBox(args, entry, c);
            break;
        case ArgForm::CellCount:
            ReadCellCount(args, c);
            break;
        case ArgForm::CellPair:
            ReadCellPair(args, entry, c);
            break;
        case ArgForm::BoxPair:
            ReadBoxPair(args, entry, c);
            break;
    }
}

// Opcode 0 and Line empty (its storage kept for reuse); the argument slots
// keep what the definition compiled before left in them.
void ClearCommand(CommandStuff& c) {
    c.Opcode = 0;
    c.Line.clear();
}

// The command number of an INI key: "0".."256" written without sign or
// leading zeros (the keys are matched exactly); -1 for any other key.
int32_t CommandNumberOfKey(std::string_view key) {
    const int64_t number = CanonicalNumber(key);
    return number < kCommandCount ? static_cast<int32_t>(number) : -1;
}

// The key "Name" and the command lines "0".."256" of one section.
struct SectionText {
    std::string_view Name;
    std::array<std::string_view, kCommandCount> Lines;
};

// Reads the section whose header is line `header` of the file (-1: none) in
// one pass: for each key the value of its first line, trimmed, as ReadString
// gives it; empty when the key is missing. This spares the reader building a
// key index for each of the 256 sections that is used only once.
void ReadSectionText(const TIniFile32& ini, int header, SectionText& text) {
    text.Name = {};
    text.Lines.fill({});
    if (header < 0) return;
    std::array<bool, kCommandCount> seen{};
    bool nameSeen = false;
    const std::vector<std::string>& all = ini.Lines();
    for (size_t i = static_cast<size_t>(header) + 1; i < all.size(); ++i) {
        if (TIniFile32::IsSectionLine(all[i])) break;
        const std::string_view line = all[i];
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        const int32_t c = CommandNumberOfKey(key);
        if (c >= 0 && !seen[static_cast<size_t>(c)]) {
            seen[static_cast<size_t>(c)] = true;
            text.Lines[static_cast<size_t>(c)] = value;
        } else if (key == "Name" && !nameSeen) {
            nameSeen = true;
            text.Name = value;
        }
    }
}

// One behaviour, whose section's header is line `header` of the file (-1: none).
void CompileBehaviour(const TIniFile32& ini, int header, BehaviourTypeStuff& behaviour) {
    // A behaviour that does not exist holds no command: one missing from the
    // file stays as it is, and the 257 commands are not gone through again.
    if (header < 0 && behaviour.BehaviourName.empty()) return;
    SectionText text;
    ReadSectionText(ini, header, text);
    behaviour.BehaviourName.assign(text.Name);
    if (behaviour.BehaviourName.empty()) {
        for (CommandStuff& command : behaviour.Commands) ClearCommand(command);
        return;
    }
    for (int32_t c = 0; c < kCommandCount; ++c) {
        CompileCommandLine(text.Lines[static_cast<size_t>(c)], behaviour.Commands[c]);
    }
}

}  // namespace

void CompileCommandLine(std::string_view line, CommandStuff& command) {
    command.Opcode = kOpEmpty;
    const std::string_view text = Trim(line);
    command.Line.assign(text);
    if (text.empty()) return;
    const size_t blank = text.find(' ');
    // The keyword is trimmed too: a tab before the blank does not belong to it.
    const std::string_view keyword =
        blank == std::string_view::npos ? text : Trim(text.substr(0, blank));
    const std::string_view args =
        blank == std::string_view::npos ? std::string_view{} : Trim(text.substr(blank + 1));
    int32_t opcode = kOpEmpty;
    const KeywordEntry* entry = FindKeyword(keyword, opcode);
    if (entry == nullptr) return;
    command.Opcode = opcode;
    ReadArguments(args, *entry, command);
}

void LoadBehaviours(const std::string& path, LevelStuff& level) {
    if (!GameFolder.empty()) platform::fs::SetCurrentFolder(GameFolder);
    const TIniFile32 ini(path);
    LoadBehaviours(ini, level);
}

void LoadBehaviours(const TIniFile32& ini, LevelStuff& level) {
    // Every instance starts over at command 0. Phase stays as saved: a move
    // that was under way when the level was left is finished by the next
    // timed motion command.
    for (BehaviourStuff& instance : level.BehaviourInstances) instance.Pc = 0;
    const std::vector<int> headers = NumberedSections(ini, "Behaviour ", kBehaviourCount);
    for (int32_t b = 0; b < kBehaviourCount; ++b) {
        CompileBehaviour(ini, headers[static_cast<size_t>(b)], level.Behaviours[b]);
    }
}

bool AddBehaviour(int32_t behaviour, int32_t x, int32_t y, int32_t z, int32_t health,
                  LevelStuff& level) {
    BehaviourStuff* instance = level.BehaviourInstances.Add();
    if (instance == nullptr) return false;
    instance->BehaviourType = behaviour;
    instance->CellX = x;
    instance->CellY = y;
    instance->CellZ = z;  // Pc, PcTime and Phase start at 0 in the new entry
    // The bloc dynamics work on Level, the one level record; another record
    // gets no bloc rather than a row of Level's list.
    instance->MovingBlocRow = &level == &Level ? LiftBloc(x, y, z) : -1;
    instance->InstanceHealth = static_cast<float>(health);
    return true;
}
