#include "game/GameClock.h"

#include <gtest/gtest.h>

#include "platform/clock/Ticks.h"

namespace {

class GameClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetTickSource([this] { return ticks; });
        GameTime = 0.0f;
        LastTickCount = 0;
        FrameTime = 0;
        FrameStep = 1;
    }
    void TearDown() override { platform::SetTickSource(nullptr); }

    // One frame of the frame loop at the given tick count.
    void Frame(uint32_t at, double scale = 1.0) {
        ticks = at;
        AdvanceGameTime(scale);
        StartFrameStep();
    }

    uint32_t ticks = 0;
};

TEST_F(GameClockTest, AdvancesByRealTimeTimesTheScale) {
    ticks = 1000;
    AdvanceGameTime(1.0);  // the first call counts from tick 0
    EXPECT_FLOAT_EQ(GameTime, 1000.0f);
    ticks = 2000;
    AdvanceGameTime(0.5);
    EXPECT_FLOAT_EQ(GameTime, 1500.0f);
    EXPECT_EQ(GameTimeMs(), 1500);
    ticks = 2000;
    AdvanceGameTime(2.0);
    EXPECT_FLOAT_EQ(GameTime, 1500.0f);
}

TEST_F(GameClockTest, TickWrapAroundGivesTheTrueSmallStep) {
    LastTickCount = 0xFFFFFFF0u;
    ticks = 0x10u;
    AdvanceGameTime(1.0);
    EXPECT_FLOAT_EQ(GameTime, 32.0f);
}

TEST_F(GameClockTest, FrameStepIsAtLeastOneAndScaledAtMost150) {
    Frame(0);
    Frame(0);  // same millisecond
    EXPECT_EQ(FrameStep, 1);
    Frame(400);
    EXPECT_EQ(FrameStep, 400);
    EXPECT_FLOAT_EQ(FrameStepScale(90.0f), 150.0f);
    EXPECT_EQ(FrameStep, 150);  // every later reader of the frame sees the cap
    EXPECT_FLOAT_EQ(FrameStepScale(-9.0f), -15.0f);
    Frame(445);
    EXPECT_EQ(FrameStep, 45);
    EXPECT_FLOAT_EQ(FrameStepScale(90.0f), 45.0f);
    EXPECT_EQ(FrameTime, 445);
}

TEST_F(GameClockTest, FrameStepScaleRoundsOnceToFloat) {
    // Rounding the product to float before dividing would be one unit in the
    // last place off for these.
    struct Case {
        int32_t step;
        float x, scaled;
    };
    for (const Case& c : {Case{5, 33.3f, 0x1.d99998p+0f}, Case{3, 0.7f, 0x1.7e4b18p-6f},
                          Case{5, 1.3f, 0x1.27d27cp-4f}}) {
        FrameStep = c.step;
        EXPECT_EQ(FrameStepScale(c.x), c.scaled) << c.step << " x " << c.x;
    }
}

TEST_F(GameClockTest, GameTimeSetBackByALoadGivesAStepOfOne) {
    Frame(5000);
    GameTime = 100.0f;  // a level read restores an earlier clock
    Frame(5020);
    EXPECT_EQ(FrameStep, 1);
    EXPECT_EQ(FrameTime, 120);
    ResetFrameStep();
    EXPECT_EQ(FrameTime, 120);
    EXPECT_EQ(FrameStep, 1);
}

TEST_F(GameClockTest, WholeMillisecondsTruncateAndNeverOverflow) {
    GameTime = 1234.99f;
    EXPECT_EQ(GameTimeMs(), 1234);
    GameTime = -3.7f;
    EXPECT_EQ(GameTimeMs(), -3);
    GameTime = 1e20f;
    EXPECT_EQ(GameTimeMs(), INT32_MAX);
    GameTime = -1e20f;
    EXPECT_EQ(GameTimeMs(), INT32_MIN);
    GameTime = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(GameTimeMs(), 0);
}

}  // namespace
