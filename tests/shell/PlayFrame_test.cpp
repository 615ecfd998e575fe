// The play frame in the demo game's first level: where the HUD draws what
// game.ini places, the timer's display and its one expiry, the exit that waits
// for every golem, and hard landings.
#include "shell/PlayFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/G3DState.h"
#include "game/GameIni.h"
#include "game/draw/HudText.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/script/Behaviours.h"
#include "game/world/Golems.h"
#include "shell/ComStuff.h"
#include "tests/common/RecordingBackend.h"
#include "tests/shell/FlowTestWorld.h"
#include "tools/demogame/DemoDefinition.h"

namespace {

class PlayFrameTest : public ::testing::Test, protected flowtest::FlowTestWorld {
  protected:
    void SetUp() override {
        NewGame();
        ASSERT_EQ(GameMode, ModePlay);
        HeroStuff& h = Heroes[0];
        h.X = CellCentre(5), h.Y = 512, h.Z = CellCentre(6);  // an empty cell of the hall
        h.Life = 50;
        DebugDisplay = 0;
    }
    void TearDown() override { testutil::ClearBackendRecord(); }

    void Frame() {
        FrameStep = 90;
        PlayFrame(*window);
    }
    static std::vector<testutil::RecordedImage> Text(const std::string& text, int32_t transparency,
                                                     int32_t font, float x, float y) {
        std::vector<testutil::RecordedImage> draws;
        for (const GlyphPlacement& g : LayoutFontText(text, font, x, y, TextScreenHeight(DStuff)))
            draws.push_back({g.slot, true, transparency, g.x, g.y, g.w, g.h});
        return draws;
    }
    static std::vector<testutil::RecordedImage> Hud() {
        testutil::ClearBackendRecord();
        DrawPlayHud();
        return testutil::Backend().images;
    }
};

void ExpectSameDraws(const std::vector<testutil::RecordedImage>& seen,
                     const std::vector<testutil::RecordedImage>& expected) {
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].slot, expected[i].slot) << i;
        EXPECT_EQ(seen[i].transparency, expected[i].transparency) << i;
        EXPECT_TRUE(seen[i].alphaTest) << i;
        EXPECT_FLOAT_EQ(seen[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(seen[i].y, expected[i].y) << i;
        EXPECT_FLOAT_EQ(seen[i].w, expected[i].w) << i;
        EXPECT_FLOAT_EQ(seen[i].h, expected[i].h) << i;
    }
}

TEST_F(PlayFrameTest, HudDrawsWhereGameIniPlacesIt) {
    const HudSettingsStuff& s = HudSettings;
    // The demo's game.ini, as written by the demo tool.
    EXPECT_FLOAT_EQ(s.CrossLeft, 0.46f);
    EXPECT_FLOAT_EQ(s.LifeTop, 0.88f);
    EXPECT_FLOAT_EQ(s.InventoryStringTop, 0.19f);
    EXPECT_EQ(s.LifeAlpha, 10);

    HeroStuff& h = Heroes[0];
    h.Life = 130;  // a medikit too many
    h.SelectedObject = demo::kBlocKey;
    h.Inventory[demo::kBlocKey] = 2;
    const BlocStuff& key = Level.Blocs[demo::kBlocKey];
    const BlocStuff& gem = Level.Blocs[demo::kBlocGem];
    const std::vector<testutil::RecordedImage> seen = Hud();
    EXPECT_FLOAT_EQ(h.Life, 100);

    std::vector<testutil::RecordedImage> expected = {
        {kCrossIconSlot, true, s.CrossAlpha, 0.46f, 0.45f, s.CrossWidth, s.CrossHeight},
        {kLifeIconSlot, true, 10, 0.02f, 0.88f, s.LifeWidth, s.LifeHeight}};
    auto add = [&expected](const std::vector<testutil::RecordedImage>& more) {
        expected.insert(expected.end(), more.begin(), more.end());
    };
    add(Text("100", 10, 1, s.LifeStringLeft, s.LifeStringTop));
    add({{kGolemIconSlot, true, s.GolemAlpha, s.GolemLeft, s.GolemTop, s.GolemWidth,
          s.GolemHeight}});
    add(Text("1", s.GolemAlpha, 1, s.GolemStringLeft, s.GolemStringTop));
    add({{kInventoryIconSlot + demo::kBlocKey, true, 0, s.InventoryLeft, s.InventoryTop,
          key.InventoryIconWidth, key.InventoryIconHeight}});
    add(Text("2", 0, 1, s.InventoryStringLeft, s.InventoryStringTop));
    add(Text(std::to_string(gem.InstanceCount), 0, 1, gem.ShowLevelCountLeft,
             gem.ShowLevelCountTop));
    add({{kInventoryIconSlot + demo::kBlocGem, true, 0, gem.ShowLevelCountIconLeft,
          gem.ShowLevelCountTopIcon, gem.InventoryIconWidth, gem.InventoryIconHeight}});
    ExpectSameDraws(seen, expected);

    // A choice outside the bloc types draws no item.
    h.SelectedObject = 4000;
    EXPECT_EQ(Hud().size(), expected.size() - 2);
}

TEST_F(PlayFrameTest, TimerBlinksInItsLastSecondsAndShowsTheirDigit) {
    const HudSettingsStuff& s = HudSettings;
    const struct {
        int32_t ms;
        const char* text;  // "" none
        int digit;         // -1 none
    } rows[] = {{15300, "", -1},    {15700, "00:15", -1}, {25300, "00:25", -1},  {9400, "", 9},
                {9600, "00:09", 9}, {0, "", 0},           {7800000, "99:00", -1}};
    HeroStuff& h = Heroes[0];
    h.TimerOn = 1;
    for (const auto& row : rows) {
        h.TimerValue = row.ms;
        std::vector<testutil::RecordedImage> timer;
        for (const testutil::RecordedImage& d : Hud()) {
            const bool text = d.y == s.TimerTop && d.transparency == 0;
            if (text || d.transparency == 70) timer.push_back(d);
        }
        std::vector<testutil::RecordedImage> expected =
            Text(row.text, 0, 0, s.TimerLeft, s.TimerTop);
        if (row.digit >= 0) {
            expected.push_back({GlyphSlot(1, static_cast<uint8_t>('0' + row.digit)), true, 70, 0.4f,
                                0.3f, 0.3f, 0.56f});
        }
        SCOPED_TRACE(row.ms);
        ExpectSameDraws(timer, expected);
    }
}

TEST_F(PlayFrameTest, AnExpiredTimerCountsAndHurtsOnce) {
    HudSettings.TimerHealth = -10;
    HeroStuff& h = Heroes[0];
    h.TimerOn = 1;
    h.TimerValue = 50;
    Frame();
    EXPECT_EQ(h.TimerValue, 0);
    EXPECT_FLOAT_EQ(h.Life, 40);
    Frame();
    Frame();
    EXPECT_EQ(h.TimerValue, 0);
    EXPECT_FLOAT_EQ(h.Life, 40);
    h.TimerValue = 3000;  // started again
    Frame();
    EXPECT_EQ(h.TimerValue, 2910);
}

TEST_F(PlayFrameTest, AnExitWaitsForEveryGolemOnAnExit) {
    HeroStuff& h = Heroes[0];
    h.X = CellCentre(11), h.Y = 512, h.Z = CellCentre(2);  // the hall's exit pad
    GolemStuff& golem = *Level.Golems.begin();
    const float pad = golem.X;
    golem.X = CellCentre(9);
    Frame();
    EXPECT_EQ(h.LevelName, demo::LevelName(1));
    golem.X = pad;
    Frame();
    EXPECT_EQ(h.LevelName, demo::LevelName(2));
    EXPECT_EQ(Level.SizeX, 12);
}

// Three golems: the one resting in the back room, one on the hall's other
// pad, and one sent to lie down from three cells away. The hero on a pad
// leaves only once the third has walked onto an exit.
TEST_F(PlayFrameTest, TheLevelIsLeftOnceEveryGolemStandsOnAnExit) {
    HeroStuff& h = Heroes[0];
    h.X = CellCentre(11), h.Y = 753, h.Z = CellCentre(2);  // the hall's exit pad
    const GolemStuff model = *Level.Golems.begin();
    const struct { int32_t x, z, state; } added[] = {{11, 1, kGolemFollow}, {8, 2, kGolemLieDown}};
    for (const auto& [x, z, state] : added) {
        GolemStuff& g = *Level.Golems.Add();
        g.GolemBloc = model.GolemBloc;
        g.X = g.TargetX = CellCentre(x), g.Y = g.TargetY = model.Y, g.Z = g.TargetZ = CellCentre(z);
        g.CellX = x, g.CellY = 1, g.CellZ = z;
        g.State = state;
    }
    int32_t frames = 0;
    for (; frames < 300 && h.LevelName == demo::LevelName(1); ++frames) Frame();
    EXPECT_EQ(h.LevelName, demo::LevelName(2));
    EXPECT_GT(frames, 20) << "the third golem had three cells to walk";
}

// The demo's golem leaves its exit to follow the hero into the back room,
// and the lie-down button sends it back to the nearest exit, where it stays.
TEST_F(PlayFrameTest, TheDemoGolemFollowsTheHeroAndIsSentBackToAnExit) {
    HeroStuff& h = Heroes[0];
    h.X = CellCentre(12), h.Y = 753, h.Z = CellCentre(11);
    GolemStuff& g = *Level.Golems.begin();
    const auto onExit = [&g] {
        const int32_t t =
            GetCellType(CellOfCoordinate(g.X), CellOfCoordinate(g.Y), CellOfCoordinate(g.Z));
        return t == demo::kBlocExit;
    };
    ASSERT_TRUE(onExit());
    for (int32_t frame = 0; frame < 200 && onExit(); ++frame) Frame();
    ASSERT_FALSE(onExit()) << "it follows the hero it sees";
    for (int32_t frame = 0; frame < 100; ++frame) Frame();
    EXPECT_EQ(g.State, kGolemTurn) << "near enough: it waits, facing the hero";
    EXPECT_NEAR(g.Y, 512 + 151, 1) << "standing on the floor";
    h.X = g.X, h.Z = g.Z;  // the hero in the golem's cell
    h.ControlFlags[9] = 1;
    Frame();
    h.ControlFlags[9] = 0;
    for (int32_t frame = 0; frame < 200 && g.State != kGolemRest; ++frame) Frame();
    EXPECT_EQ(g.State, kGolemRest);
    EXPECT_TRUE(onExit());
}

// The demo's touch blocs, each in turn in the hero's cell for one frame.
TEST_F(PlayFrameTest, TheDemosTouchBlocsActInPlay) {
    struct Row {
        int32_t type;
        bool taken;
        std::function<void(const HeroStuff&)> check;
    };
    const std::vector<Row> rows = {
        {demo::kBlocGem, true,
         [](const HeroStuff& h) {
             EXPECT_EQ(h.Inventory[demo::kBlocGem], 1);
             EXPECT_EQ(h.SelectedObject, demo::kBlocGem);
         }},
        {demo::kBlocMedikit, true, [](const HeroStuff& h) { EXPECT_FLOAT_EQ(h.Life, 75); }},
        {demo::kBlocSpring, false, [](const HeroStuff& h) { EXPECT_GT(h.Y, 512); }},
        {demo::kBlocTimer, true,
         [](const HeroStuff& h) {
             EXPECT_EQ(h.TimerOn, 1);
             EXPECT_GT(h.TimerValue, 29000);
         }},
        {demo::kBlocTrophy, false, [](const HeroStuff&) { EXPECT_EQ(GameMode, ModeEnd); }},
    };
    for (const Row& row : rows) {
        SetUp();
        HeroStuff& h = Heroes[0];
        h.Inventory[demo::kBlocGem] = 0;
        h.TimerOn = 0, h.TimerValue = 0;
        SetCellType(5, 1, 6, row.type);
        Frame();
        row.check(h);
        EXPECT_EQ(GetCellType(5, 1, 6), row.taken ? demo::kBlocEmpty : row.type) << row.type;
    }
}

TEST_F(PlayFrameTest, OnlyAHardLandingLocksAndHurtsTheHero) {
    const struct {
        float speed;
        int32_t lock;
        float life;
    } rows[] = {{-150, 0, 50}, {-250, 250, 43}};
    HeroStuff& h = Heroes[0];
    h.LongJumpGValue = 200;
    h.LongJumpHealthValue = -7;
    for (const auto& row : rows) {
        h.Y = 520;
        h.Life = 50;
        h.ActionLock = 0;
        // The empty cell's gravity brings it to the row's speed before the move.
        h.VerticalSpeed = row.speed + static_cast<float>(Level.Blocs[0].G);
        Frame();
        EXPECT_EQ(h.ActionLock, row.lock) << row.speed;
        EXPECT_FLOAT_EQ(h.Life, row.life) << row.speed;
        EXPECT_EQ(h.OnGround, 1);
        EXPECT_FLOAT_EQ(h.VerticalSpeed, 0);
        if (row.lock > 0) {
            EXPECT_EQ(h.TargetAnim, 6);
        }
    }
}

// The level's behaviours run in the play frame: a script's game over sends
// the game back to the title, its game won to the end screen.
TEST_F(PlayFrameTest, ScriptsEndTheGameBothWays) {
    const struct {
        const char* line;
        int32_t mode;
    } rows[] = {{"GAMEOVER", ModeTitle}, {"GAMEWON", ModeEnd}};
    for (const auto& row : rows) {
        if (GameMode != ModePlay) SetUp();
        ASSERT_FALSE(Level.BehaviourInstances.Empty());
        BehaviourTypeStuff& script = Level.Behaviours[kBehaviourCount - 1];
        script.BehaviourName = "ending";
        CompileCommandLine(row.line, script.Commands[0]);
        BehaviourStuff& instance = Level.BehaviourInstances[1];
        instance.BehaviourType = kBehaviourCount - 1;
        instance.Pc = 0;
        Frame();
        EXPECT_EQ(GameMode, row.mode) << row.line;
        script = BehaviourTypeStuff{};
    }
}

TEST(SaveCommandCaption, ShowsTheCountUnlessUnlimited) {
    EXPECT_EQ(SaveCommandCaption(1000, "Save", "left"), "Save");
    EXPECT_EQ(SaveCommandCaption(3, "Save", "left"), "Save (3 left)");
}

}  // namespace
