// The play frame in the demo game's first level: where the HUD draws what
// game.ini places, the timer's display and its one expiry, the exit that waits
// for every golem, and hard landings.
#include "shell/PlayFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/G3DState.h"
#include "game/GameIni.h"
#include "game/draw/HudText.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
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
    EXPECT_FLOAT_EQ(s.InventoryStringTop, 0.14f);
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
    add({{kInventoryIconSlot + demo::kBlocKey, true, 0, 0.86f, 0.02f, key.InventoryIconWidth,
          key.InventoryIconHeight}});
    add(Text("2", 0, 1, 0.86f, 0.14f));
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

TEST(SaveCommandCaption, ShowsTheCountUnlessUnlimited) {
    EXPECT_EQ(SaveCommandCaption(1000, "Save", "left"), "Save");
    EXPECT_EQ(SaveCommandCaption(3, "Save", "left"), "Save (3 left)");
}

}  // namespace
