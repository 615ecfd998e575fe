// The commands on the hero, the level and the media, on the synthetic level:
// what each changes, where counters saturate and where they do not stop.
#include "game/script/HeroCommands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "tests/game/script/ScriptTestWorld.h"

namespace {

using scripttest::ScriptTest;

class HeroCommandsTest : public ScriptTest {};

struct HeroCase {
    const char* line;
    std::function<void(HeroStuff&)> setup;
    std::function<void(const HeroStuff&, const BehaviourStuff&)> check;
};

TEST_F(HeroCommandsTest, EachCommandChangesWhatItNames) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const auto none = [](HeroStuff&) {};
    const std::vector<HeroCase> cases = {
        {"ADDHEALTHTOPLAYER -70", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.Life, -20); }},
        {"ADDHEALTH -30", none,
         [](const HeroStuff&, const BehaviourStuff& b) { EXPECT_EQ(b.InstanceHealth, 70); }},
        {"MOVEPLAYERABSOLUTE (3,2,1)", [](HeroStuff& h) { h.SpeedX = 5; },
         [](const HeroStuff& h, const BehaviourStuff&) {
             EXPECT_EQ(h.X, 3 * 512 + 256);
             EXPECT_EQ(h.Y, 2 * 512 + 256);
             EXPECT_EQ(h.Z, 1 * 512 + 256);
             EXPECT_EQ(h.SpeedX, 5);  // speeds stay
         }},
        {"ADDPLAYERSPEED (1,-2,3),400", [](HeroStuff& h) { h.SpeedY = 10; },
         [](const HeroStuff& h, const BehaviourStuff&) {
             EXPECT_EQ(h.SpeedX, 1);
             EXPECT_EQ(h.SpeedY, 8);
             EXPECT_EQ(h.SpeedZ, 3);
             EXPECT_EQ(h.YawSpeed, 400);
         }},
        {"TIMERON", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.TimerOn, 1); }},
        {"TIMEROFF", [](HeroStuff& h) { h.TimerOn = 1; },
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.TimerOn, 0); }},
        {"ADDTIMERVALUE 30", [](HeroStuff& h) { h.TimerValue = 500; },
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.TimerValue, 30500); }},
        {"ADDTIMERVALUE 3000000", [](HeroStuff& h) { h.TimerValue = 1000000; },
         [=](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.TimerValue, kMax); }},
        {"SETTIMERVALUE 45", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.TimerValue, 45000); }},
        {"SETTIMERVALUE -3000000", none,
         [](const HeroStuff& h, const BehaviourStuff&) {
             EXPECT_EQ(h.TimerValue, std::numeric_limits<int32_t>::min());
         }},
        {"GAMEOVER", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.Life, -1.0f); }},
        {"GAMEWON", none, [](const HeroStuff&, const BehaviourStuff&) { EXPECT_EQ(GameWon, 1); }},
        {"SETSAVECOUNT 7", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.SavesLeft, 7); }},
        {"ADDSAVECOUNT 5", [](HeroStuff& h) { h.SavesLeft = 998; },
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.SavesLeft, 1003); }},
        {"ADDSAVECOUNT 5", [=](HeroStuff& h) { h.SavesLeft = kMax - 1; },
         [=](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.SavesLeft, kMax); }},
        {"SETLIGHTRANGE 3", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.LightRange, 1536); }},
        {"SETLIGHTRANGE 0", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.LightRange, 1.0f); }},
        {"ADDLIGHTRANGE -100", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.LightRange, 1.0f); }},
        {"ADDLIGHTRANGE 2", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.LightRange, 3072); }},
        {"SETLIGHTRANGE 2147483647", none,
         [](const HeroStuff& h, const BehaviourStuff&) {
             EXPECT_EQ(h.LightRange, 2147483647.0f * 512);
         }},
        {"ADDLIGHTRANGE 2147483647",
         [](HeroStuff& h) { h.LightRange = std::numeric_limits<float>::max(); },
         [](const HeroStuff& h, const BehaviourStuff&) {
             EXPECT_EQ(h.LightRange, std::numeric_limits<float>::max());
         }},
        {"GIVEOBJECTTOPLAYER 7,-1",
         [](HeroStuff& h) {
             h.Inventory[7] = 0;
             h.SelectedObject = 2;
         },
         [](const HeroStuff& h, const BehaviourStuff&) {
             EXPECT_EQ(h.Inventory[7], -1);  // may go negative
             EXPECT_EQ(h.SelectedObject, 7);
         }},
        {"GIVEOBJECTTOPLAYER 256,2", none,
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.Inventory[256], 2); }},
        {"GIVEOBJECTTOPLAYER 257,2", [](HeroStuff& h) { h.SelectedObject = 2; },
         [](const HeroStuff& h, const BehaviourStuff&) { EXPECT_EQ(h.SelectedObject, 2); }},
        {"SETSKY 259", none,
         [](const HeroStuff&, const BehaviourStuff&) { EXPECT_EQ(Level.CurrentSky, 3); }},
        {"SETSKY -1", none,
         [](const HeroStuff&, const BehaviourStuff&) { EXPECT_EQ(Level.CurrentSky, 255); }},
        {"PLAYACTIONSOUND 999", none, [](const HeroStuff&, const BehaviourStuff&) {}},
        {"PLAYCLIP 4", none,
         [](const HeroStuff&, const BehaviourStuff&) { EXPECT_EQ(MessageClip, 4); }},
        {"PLAYCLIP 36", none,
         [](const HeroStuff&, const BehaviourStuff&) { EXPECT_EQ(MessageClip, -1); }},
    };
    for (const HeroCase& c : cases) {
        SetUp();
        Level.Clips[4].DisplayedMessage = "Hello";
        Script(1, {{0, c.line}, {1, "GOTO 1"}});
        const BehaviourStuff& b = Start(1, 5, 1, 5);
        c.setup(Hero());
        Frame();
        SCOPED_TRACE(c.line);
        EXPECT_EQ(b.Pc, 1);
        c.check(Hero(), b);
        Level.Clips[4].DisplayedMessage.clear();
        TearDown();
    }
}

}  // namespace
