// Parsers of the number groups that level scripts and clip key frames write
// as text: a cell "(a,b,c)" and a box or placement "(a,b,c),(d,e,f)".
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// True when `text` is not empty and made only of the digits 0-9 and '-'
// ("-", "--1" and "1-2" pass; any blank fails).
bool IsNumberText(std::string_view text);

// Reads a number text (IsNumberText: only digits and '-') that is a valid
// 32-bit decimal integer into `value`; false, with `value` untouched, for
// anything else.
bool ParseWholeInteger(std::string_view text, int32_t& value);

// Reads "(a,b,c)". An empty text changes nothing; otherwise the three outputs
// are set to 0 first and then filled piece by piece until a separator is
// missing. A piece counts only when it is made of digits and '-' and is a
// valid 32-bit integer ("1-2" or "x" read as 0).
void ParseCellArgs(std::string_view text, int32_t& a, int32_t& b, int32_t& c);

// Reads "(a,b,c),(d,e,f)" with the same rules. The leading "(" may be missing;
// when the first group's "(" stands after the first "," ("1,(2,3,4),(5,6,7)"),
// nothing is read and all outputs stay 0. ParseCellArgs reads its first piece
// the same way.
void ParseBoxArgs(std::string_view text, int32_t& a, int32_t& b, int32_t& c, int32_t& d, int32_t& e,
                  int32_t& f);

// ParseBoxArgs into the six values in order.
void ParseBoxArgs(std::string_view text, std::array<int32_t, 6>& values);
