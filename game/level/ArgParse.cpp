#include "game/level/ArgParse.h"

#include <algorithm>
#include <charconv>

namespace {

// The value of one piece: a decimal integer made of digits and '-' only, else 0.
int32_t PieceValue(std::string_view piece) {
    int32_t value = 0;
    ParseWholeInteger(piece, value);
    return value;
}

// Takes the text of `rest` before `separator` as the next value and drops it
// with the separator. False, with `out` untouched, when the separator is missing.
bool TakePiece(std::string_view& rest, std::string_view separator, int32_t& out) {
    const size_t at = rest.find(separator);
    if (at == std::string_view::npos) return false;
    out = PieceValue(rest.substr(0, at));
    rest.remove_prefix(at + separator.size());
    return true;
}

// Takes the first value: the text before the first ",", after the "(" that
// opens the first group (a "(" after the first ")" opens a later group and does
// not count). Leaves the text after the "," in `rest`. False when there is no
// "," or the opening "(" comes after it: nothing is then read.
bool TakeFirstPiece(std::string_view text, std::string_view& rest, int32_t& out) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return false;
    const size_t open = text.substr(0, text.find(')')).find('(');
    if (open != std::string_view::npos && open > comma) return false;
    const size_t start = open == std::string_view::npos ? 0 : open + 1;
    out = PieceValue(text.substr(start, comma - start));
    rest = text.substr(comma + 1);
    return true;
}

}  // namespace

bool IsNumberText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

bool ParseWholeInteger(std::string_view text, int32_t& value) {
    if (!IsNumberText(text)) return false;
    int32_t read = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, read);
    if (error != std::errc{} || stop != end) return false;
    value = read;
    return true;
}

void ParseCellArgs(std::string_view text, int32_t& a, int32_t& b, int32_t& c) {
    if (text.empty()) return;
    a = b = c = 0;
    std::string_view rest;
    if (!TakeFirstPiece(text, rest, a)) return;
    if (!TakePiece(rest, ",", b)) return;
    TakePiece(rest, ")", c);
}

void ParseBoxArgs(std::string_view text, int32_t& a, int32_t& b, int32_t& c, int32_t& d, int32_t& e,
                  int32_t& f) {
    if (text.empty()) return;
    a = b = c = d = e = f = 0;
    std::string_view rest;
    if (!TakeFirstPiece(text, rest, a)) return;
    if (!TakePiece(rest, ",", b) || !TakePiece(rest, "),(", c)) return;
    if (!TakePiece(rest, ",", d) || !TakePiece(rest, ",", e)) return;
    TakePiece(rest, ")", f);
}

void ParseBoxArgs(std::string_view text, std::array<int32_t, 6>& values) {
    ParseBoxArgs(text, values[0], values[1], values[2], values[3], values[4], values[5]);
}
