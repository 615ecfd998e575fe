#include "game/script/Behaviours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "tests/common/ScratchFolder.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"

namespace {

using Slots = std::array<int32_t, 8>;

Slots SlotsOf(const CommandStuff& c) {
    return {c.Param1, c.Param2, c.Param3, c.Param4, c.Param5, c.Param6, c.Param7, c.Param8};
}

struct LineCase {
    std::string line;
    int32_t opcode;
    Slots slots;
};

// Compiles every case into a command of a level record that has never held a
// compiled behaviour: its slots are 0, a leftover opcode and line are not.
void ExpectCompiles(const std::vector<LineCase>& cases) {
    for (const LineCase& expected : cases) {
        CommandStuff command{99, 0, 0, 0, 0, 0, 0, 0, 0, "old"};
        CompileCommandLine(expected.line, command);
        EXPECT_EQ(command.Opcode, expected.opcode) << expected.line;
        EXPECT_EQ(SlotsOf(command), expected.slots) << expected.line;
    }
}

TEST(CompileCommandLine, EveryKeywordWithItsArgumentForm) {
    // clang-format off
    ExpectCompiles({
        {"WAITFORPLAYER (-1,0,-1),(1,2,3)", 1, {-1, 0, -1, 1, 2, 3}},
        {"MAKEFALL (0,-1,0),(0,-3,0)", 2, {0, -1, 0, 0, -3, 0}},
        {"PUTOBJECT 12,(0,1,0),(0,3,0)", 3, {0, 1, 0, 0, 3, 0, 12}},
        {"GOTO 17", 4, {17}}, {"DELAY 500", 5, {500}}, {"PLAYCLIP 3", 6, {3}},
        {"MOVETO (0,2,0),90,1500", 7, {0, 2, 0, 8192, 1500}}, {"TRANSFORMTO 40", 8, {40}},
        {"MOVENEARPLAYER (0,0,0),(6,0,6),200,1", 9, {0, 0, 0, 6, 0, 6, 142, 1}},
        {"SHOOTPLAYER 9", 10, {9}}, {"SETBEHAVIOUR 4", 11, {4}}, {"PLAYACTIONSOUND 6", 12, {6}},
        {"PLAYTILEANIMATION (0,1,0),25", 13, {0, 1, 0, 25}},
        {"GIVEOBJECTTOPLAYER 7,1", 14, {7, 1}}, {"WAITFORBLOCNUMBERINLEVEL 5, 0", 15, {5, 0}},
        {"WAITFORPLAYERHAVEOBJECT 8 ,2", 16, {8, 2}},
        {"WAITFORPLAYERACTIVATION (1,0,0),(1,0,0)", 17, {1, 0, 0, 1, 0, 0}},
        {"WAITFORPLAYERACTIVATIONWITHOBJECT 11,(0,0,1),(0,0,2)", 18, {0, 0, 1, 0, 0, 2, 11}},
        {"OPENDOOR 7,(-3,0,0),(0,0,0)", 19, {-3, 0, 0, 0, 0, 0, 7}},
        {"MOVETOABSOLUTE (4,1,4),180,2000", 20, {4, 1, 4, 16384, 2000}},
        {"ADDHEALTH -15", 21, {-15}}, {"ADDHEALTHTOPLAYER 20", 22, {20}},
        {"MOVEPLAYERABSOLUTE (3,2,1)", 23, {3, 2, 1}},
        {"ADDPLAYERSPEED (0,40,0),-100", 24, {0, 40, 0, -100}},
        {"TIMEROFF", 25, {}}, {"TIMERON 1,(2,3,4),(5,6,7)", 26, {}}, {"ADDTIMERVALUE 30", 27, {30}},
        {"SETTIMERVALUE 90", 28, {90}}, {"GAMEOVER", 29, {}}, {"GAMEWON", 30, {}},
        {"SETSAVECOUNT 3", 31, {3}}, {"ADDSAVECOUNT -1", 32, {-1}}, {"SETLIGHTRANGE 6", 33, {6}},
        {"ADDLIGHTRANGE -100", 34, {-100}},
        {"PUTLIGHT 50,(-2,0,-2),(2,2,2)", 35, {-2, 0, -2, 2, 2, 2, 128}},
        {"ADDLIGHT 10,(0,0,0),(0,0,0)", 36, {0, 0, 0, 0, 0, 0, 25}},
        {"PUTLIGHTABSOLUTE 100,(1,1,1),(2,2,2)", 37, {1, 1, 1, 2, 2, 2, 256}},
        {"ADDLIGHTABSOLUTE 99,(1,1,1),(2,2,2)", 38, {1, 1, 1, 2, 2, 2, 253}},
        {"SETSKY 2", 39, {2}}, {"PUTROTATION 25,(0,0,0),(1,0,0)", 40, {0, 0, 0, 1, 0, 0, 64}},
        {"ADDROTATION -99,(0,0,0),(1,0,0)", 41, {0, 0, 0, 1, 0, 0, -253}},
        {"PUTROTATIONABSOLUTE 50,(5,0,5),(6,0,6)", 42, {5, 0, 5, 6, 0, 6, 128}},
        {"ADDROTATIONABSOLUTE 1,(5,0,5),(6,0,6)", 43, {5, 0, 5, 6, 0, 6, 2}},
        {"MOVEUNTILBLOCKED (0,-20,0)", 44, {0, -20, 0}}, {"TRANSFORMBEHAVIOUR 3,4", 45, {3, 4}},
        {"PUTOBJECTABSOLUTE 12,(0,1,0),(0,3,0)", 46, {0, 1, 0, 0, 3, 0, 12}},
        {"WAITFORPLAYERACTIVATIONABSOLUTE (2,0,2),(3,1,3)", 47, {2, 0, 2, 3, 1, 3}},
        {"WAITFORPLAYERACTIVATIONWITHOBJECTABSOLUTE 5,(2,0,2),(3,1,3)", 48, {2, 0, 2, 3, 1, 3, 5}},
    });
    // clang-format on
}

TEST(CompileCommandLine, MalformedLinesAndEdgesOfTheArguments) {
    // clang-format off
    ExpectCompiles({
        // The keyword ends at the first blank (not a tab) and takes any case.
        {"OPEN DOOR 3,(0,0,0),(0,0,0)", 0, {}}, {"DELAY\t500", 0, {}}, {"DeLaY \t 250", 5, {250}},
        {"DELAY\t 250", 5, {250}}, {"GOTO\x01 4", 4, {4}},  // the keyword is trimmed
        // Pieces that are no valid 32-bit integers read as 0.
        {"DELAY", 5, {}}, {"DELAY -", 5, {}}, {"DELAY 1-2", 5, {}}, {"DELAY +5", 5, {}},
        {"DELAY 2147483648", 5, {}}, {"DELAY -2147483648", 5, {INT32_MIN}},
        {"GIVEOBJECTTOPLAYER 5", 14, {0, 5}}, {"TRANSFORMBEHAVIOUR 1,2,3", 45, {1, 0}},
        {"PUTOBJECT 12 ,(0,1,0),(0,3,0)", 3, {0, 1, 0, 0, 3, 0, 0}},  // n is not trimmed
        {"WAITFORPLAYER (1, 2, 3),(4,5,6)", 1, {1, 0, 0, 4, 5, 6}},
        // Cells and boxes read nothing unless a "(" comes before the first ",".
        {"WAITFORPLAYER 1,2,3),(4,5,6)", 1, {}}, {"PUTOBJECT (5,6,7),(8,9,10)", 3, {}},
        {"WAITFORPLAYER (1,2,3),(4,5", 1, {1, 2, 3, 4}},
        {"PUTOBJECT 12,", 3, {0, 0, 0, 0, 0, 0, 12}}, {"PLAYTILEANIMATION (0,0,0)", 13, {}},
        {"PLAYTILEANIMATION (0,0,0), 25 ", 13, {0, 0, 0, 25}},
        // Move tails: a lone number is the second piece; without a tail a
        // MOVETO turns by 0 in 1000 ms and a MOVENEARPLAYER runs at 1000.
        {"MOVETO (0,2,0),1500", 7, {0, 2, 0, 0, 1500}}, {"MOVETO (0,2,0)", 7, {0, 2, 0, 0, 1000}},
        {"MOVETOABSOLUTE (4,1,4)90,1500", 20, {4, 1, 4, 0, 1000}},
        {"MOVENEARPLAYER (0,0,0),(4,0,4)", 9, {0, 0, 0, 4, 0, 4, 1000, 0}},
        // Scalings divide toward zero in 64 bits; beyond 32 bits they read as 0.
        {"moveto (0,0,0),-1,10", 7, {0, 0, 0, -91, 10}},
        {"MOVETO (0,0,0),65536,10", 7, {0, 0, 0, 5965232, 10}},
        {"MOVETO (0,0,0),-2147483648,10", 7, {0, 0, 0, 0, 10}},
        {"MOVENEARPLAYER (0,0,0),(4,0,4),1,1", 9, {0, 0, 0, 4, 0, 4, 0, 1}},
        {"PUTLIGHT 2147483647,(0,0,0),(0,0,0)", 35, {}},
    });
    // clang-format on
}

TEST(CompileCommandLine, SlotsALineDoesNotWriteKeepTheirValues) {
    const struct {
        const char *before, *line;
        Slots slots;
    } rows[] = {
        {"DELAY 500", "DELAY", {500}},
        {"GOTO 7", "GOTO", {}},  // GOTO's piece gives 0 when it is no number
        {"PUTOBJECT 12,(1,1,1),(2,2,2)", "PUTOBJECT (0,0,0),(1,0,0)", {0, 0, 0, 0, 0, 0, 12}},
        {"MOVETO (1,1,1),90,500", "MOVETO", {1, 1, 1, 0, 1000}},
        {"PLAYTILEANIMATION (1,2,3),25", "PLAYTILEANIMATION (0,0,0)", {}},
        {"MOVENEARPLAYER (1,2,3),(6,0,6),200,1",
         "GIVEOBJECTTOPLAYER 5",
         {0, 5, 3, 6, 0, 6, 142, 1}},
        {"MOVENEARPLAYER (1,2,3),(6,0,6),200,1", "WAITFORPLAYER", {1, 2, 3, 6, 0, 6, 142, 1}},
    };
    for (const auto& row : rows) {
        CommandStuff command;
        CompileCommandLine(row.before, command);
        CompileCommandLine(row.line, command);
        EXPECT_EQ(SlotsOf(command), row.slots) << row.before << " then " << row.line;
    }
}

// A level definition file in a scratch folder, compiled into Level.
class LoadBehavioursTest : public ::testing::Test {
  protected:
    void TearDown() override {
        Level.BehaviourInstances.Clear();
        LoadBehaviours(folder.Path("none.ini"), Level);
    }

    void Load(const std::string& text) { LoadBehaviours(folder.Write("def.ini", text), Level); }

    static const CommandStuff& Command(int32_t b, int32_t c) {
        return Level.Behaviours[b].Commands[c];
    }

    // True when behaviour b has no name and no command line (its slots keep
    // what earlier definitions left in them).
    static bool AllEmpty(int32_t b) {
        return Level.Behaviours[b].BehaviourName.empty() &&
               std::ranges::all_of(Level.Behaviours[b].Commands, [](const CommandStuff& c) {
                   return c.Opcode == 0 && c.Line.empty();
               });
    }

    testutil::ScratchFolder folder;
};

TEST_F(LoadBehavioursTest, SectionsKeysAndNames) {
    Load(
        "[Behaviour 0]\nName=Door\n0=GOTO 3\n5=  delay 500  \n256=GAMEWON\n257=GAMEOVER\n"
        "x=TIMERON\n7=dance\n0=GOTO 9\n08=TIMERON\n+9=TIMERON\nName=Other\n"
        "[behaviour 3]\nName=Lift\n1=TIMERON\n"
        "[Behaviour 4]\n0=TIMERON\n"
        "[Behaviour 5]\nName=\n0=TIMERON\n"
        "[Behaviour 06]\nName=Padded\n0=TIMERON\n"
        "[Behaviour 9]\nname=lower\n0=TIMERON\n"
        "[Behaviour 255]\nName=Last\n0=GAMEOVER\n"
        "[Behaviour 256]\nName=Beyond\n0=GAMEOVER\n");
    EXPECT_EQ(Level.Behaviours[0].BehaviourName, "Door");  // the first of a key counts
    EXPECT_EQ(SlotsOf(Command(0, 0)), (Slots{3, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Command(0, 5).Param1, 500);
    EXPECT_EQ(Command(0, 5).Line, "delay 500");
    EXPECT_EQ(Command(0, 7).Line, "dance");
    for (int32_t c = 0; c < kCommandCount; ++c) {
        const int32_t op = c == 0 ? kOpGoto : c == 5 ? kOpDelay : c == 256 ? kOpGameWon : 0;
        EXPECT_EQ(Command(0, c).Opcode, op) << c;
    }
    EXPECT_EQ(Level.Behaviours[3].BehaviourName, "Lift");  // section case ignored
    EXPECT_EQ(Command(3, 1).Opcode, kOpTimerOn);
    EXPECT_EQ(Command(255, 0).Opcode, kOpGameOver);
    for (int32_t b : {1, 2, 4, 5, 6, 9, 254}) EXPECT_TRUE(AllEmpty(b)) << b;
}

TEST_F(LoadBehavioursTest, ANewDefinitionReplacesTheLinesKeepsUnwrittenSlotsAndRestarts) {
    for (int32_t i = 1; i <= 3; ++i) {
        BehaviourStuff* instance = Level.BehaviourInstances.Add();
        *instance = {i, 1, 2, 3, 40 + i, 900, 1, 250, i, 5.0f};
    }
    Load(
        "[Behaviour 1]\nName=A\n0=PUTOBJECT 12,(1,1,1),(2,2,2)\n1=DELAY 500\n2=GOTO 0\n"
        "[Behaviour 2]\nName=B\n0=DELAY 100\n");
    Load("[Behaviour 1]\nName=A\n0=PUTOBJECT (0,0,0),(1,0,0)\n1=DELAY\n[Behaviour 2]\n0=DELAY 1\n");
    EXPECT_EQ(SlotsOf(Command(1, 0)), (Slots{0, 0, 0, 0, 0, 0, 12, 0}));  // the type stays
    EXPECT_EQ(Command(1, 1).Param1, 500);
    EXPECT_TRUE(Command(1, 2).Opcode == 0 && Command(1, 2).Line.empty());
    EXPECT_TRUE(AllEmpty(2));
    // Instances start over at command 0; the rest, a move under way included,
    // stays.
    ASSERT_EQ(Level.BehaviourCount(), 3);
    for (int32_t i = 1; i <= 3; ++i) {
        const BehaviourStuff& b = Level.BehaviourInstances[i];
        EXPECT_TRUE(b.Pc == 0 && b.Phase == 1 && b.BehaviourType == i && b.PcTime == 900 &&
                    b.MoveDuration == 250 && b.MovingBlocRow == i);
    }
    LoadBehaviours(folder.Path("missing.ini"), Level);
    for (int32_t b = 0; b < kBehaviourCount; ++b) ASSERT_TRUE(AllEmpty(b)) << b;
}

TEST(AddBehaviour, LiftsTheCellsBlocAndStopsAt2048Instances) {
    ASSERT_TRUE(AllocLevelGrid(4, 4, 4, Level));
    Level.BehaviourInstances.Clear();
    Level.MovingBlocs.Clear();
    Level.Blocs[5].Undefined = 0;
    SetCellType(1, 2, 3, 5);
    ASSERT_TRUE(AddBehaviour(9, 1, 2, 3, 40, Level));
    const BehaviourStuff& instance = Level.BehaviourInstances[1];
    EXPECT_TRUE(instance.BehaviourType == 9 && instance.CellX == 1 && instance.CellY == 2 &&
                instance.CellZ == 3 && instance.Pc == 0 && instance.InstanceHealth == 40.0f);
    ASSERT_TRUE(Level.MovingBlocs.Valid(instance.MovingBlocRow));
    EXPECT_EQ(Level.MovingBlocs[instance.MovingBlocRow].Kind, kMovingOwned);
    EXPECT_EQ(GetCellType(1, 2, 3), 0);  // a later load starts no second instance
    // An empty cell has no bloc to lift: the instance runs without one.
    for (int32_t i = 2; i <= kMaxBehaviourInstances; ++i) {
        ASSERT_TRUE(AddBehaviour(i % 256, 1, 2, 3, i, Level)) << i;
        ASSERT_EQ(Level.BehaviourInstances[i].MovingBlocRow, -1);
    }
    SetCellType(2, 2, 2, 5);
    EXPECT_FALSE(AddBehaviour(1, 2, 2, 2, 10, Level));
    EXPECT_EQ(Level.BehaviourCount(), kMaxBehaviourInstances);
    EXPECT_EQ(GetCellType(2, 2, 2), 5);  // the refused instance lifts nothing
    EXPECT_EQ(Level.MovingBlocs.Count(), 1);

    Level.BehaviourInstances.Clear();
    Level.MovingBlocs.Clear();
    Level.Blocs[5].Undefined = 1;
    AllocLevelGrid(0, 0, 0, Level);
}

}  // namespace
