#include "game/level/ArgParse.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Six = std::array<int32_t, 6>;

Six Box(const char* text, Six start = {9, 9, 9, 9, 9, 9}) {
    ParseBoxArgs(text, start);
    return start;
}

TEST(ParseBoxArgsTest, ReadsSixNumbersWithOrWithoutTheLeadingParenthesis) {
    EXPECT_EQ(Box("(1,2,3),(4,5,6)"), (Six{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Box("1,2,3),(4,5,6)"), (Six{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Box("(-512,0,2048),(16384,-1,0)"), (Six{-512, 0, 2048, 16384, -1, 0}));
}

TEST(ParseBoxArgsTest, EmptyTextChangesNothingAndOtherTextsStartFromZero) {
    EXPECT_EQ(Box(""), (Six{9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(Box("garbage"), (Six{0, 0, 0, 0, 0, 0}));
    // An opening "(" after the first "," stops the parse before the first value.
    EXPECT_EQ(Box("1,(2,3),(4,5,6)"), (Six{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Box("1,(2,3,4),(5,6,7)"), (Six{0, 0, 0, 0, 0, 0}));
}

TEST(ParseBoxArgsTest, PiecesThatAreNotIntegersReadAsZero) {
    EXPECT_EQ(Box("(1,x,3),(4,5,6)"), (Six{1, 0, 3, 4, 5, 6}));
    EXPECT_EQ(Box("(1-2,2,--3),(-,5,6)"), (Six{0, 2, 0, 0, 5, 6}));
    EXPECT_EQ(Box("(99999999999,2,3),(4,5,2147483648)"), (Six{0, 2, 3, 4, 5, 0}));
    EXPECT_EQ(Box("( 1,2,3),(4,5,6 )"), (Six{0, 2, 3, 4, 5, 0}));
    EXPECT_EQ(Box("(,,),(,,)"), (Six{0, 0, 0, 0, 0, 0}));
}

TEST(ParseBoxArgsTest, AMissingSeparatorStopsTheParse) {
    EXPECT_EQ(Box("(1,2,3)"), (Six{1, 2, 0, 0, 0, 0}));
    EXPECT_EQ(Box("(1,2,3),(4,5"), (Six{1, 2, 3, 4, 0, 0}));
    EXPECT_EQ(Box("(1,2,3),(4,5,6"), (Six{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(Box("(1,2,3);(4,5,6)"), (Six{1, 2, 0, 0, 0, 0}));
}

TEST(ParseCellArgsTest, ReadsThreeNumbersWithTheSameRules) {
    int32_t a = 7, b = 7, c = 7;
    ParseCellArgs("", a, b, c);
    EXPECT_EQ(a + b + c, 21);
    ParseCellArgs("(3,-4,5)", a, b, c);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, -4);
    EXPECT_EQ(c, 5);
    ParseCellArgs("(3,4-,5", a, b, c);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 0);
    ParseCellArgs("7,(8,9)", a, b, c);
    EXPECT_EQ(a + b + c, 0);
    ParseCellArgs("7,8,9)", a, b, c);
    EXPECT_EQ(a * 100 + b * 10 + c, 789);
}

TEST(NumberTextTest, DigitsAndMinusSignsOnly) {
    const std::vector<std::pair<std::string_view, bool>> cases = {
        {"12", true},  {"-", true},   {"--1", true},  {"1-2", true}, {"", false},    {" ", false},
        {" 1", false}, {"1 ", false}, {"1 2", false}, {"+1", false}, {"1.5", false},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(IsNumberText(text), number) << text;
}

}  // namespace
