#include "game/world/HeroInteraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/G3DMesh.h"
#include "game/GameClock.h"
#include "game/level/HeroStuff.h"

namespace {

TEST(DirectionAnglesTest, AnglesOfEveryQuarter) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float dx, dy, dz;
        float yaw, pitch;
    };
    const std::vector<Case> cases =
        {
            {0, 0, 0, 8192, 8192},  // to itself
            {0, 0, 5, 0, 0},        {3, 0, 0, 8192, 0},   {-3, 0, 0, 24576, 0},
            {0, 0, -5, 16384, 0},   {1, 0, -1, 12288, 0}, {-1, 0, 1, 28672, 0},
            {0, -4, 0, 8192, 8192},  // straight down: a quarter turn up
            {0, 1, 1, 0, 4096},     {0, -1, 1, 0, 28672}, {nan, 0, 1, 8192, 8192},
        };
    for (const Case& c : cases) {
        float yaw = -1, pitch = -1;
        DirectionAngles(yaw, pitch, 100, 200, 300, 100 + c.dx, 200 + c.dy, 300 + c.dz);
        // 16384 / 3.14159 per radian: a quarter turn is 8192 exactly, an
        // eighth 4096.0014.
        EXPECT_NEAR(yaw, c.yaw, 0.01) << c.dx << "," << c.dy << "," << c.dz;
        EXPECT_NEAR(pitch, c.pitch, 0.01) << c.dx << "," << c.dy << "," << c.dz;
    }
}

class BlendHeroPosesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int32_t a = 0; a < 2; ++a) {
            G3DAllocMesh(hero().AnimMeshes[a], 0, 0);
            hero().AnimMeshes[a]->X[0] = 100 * a;
        }
        hero().CurrentAnim = hero().TargetAnim = hero().PreviousTargetAnim = 0;
        LastHero = 0;
    }
    void TearDown() override {
        for (TG3DMesh*& mesh : hero().AnimMeshes) G3DFreeMesh(mesh);
        G3DFreeMesh(hero().HeroMesh);
    }
    static HeroStuff& hero() { return Heroes[0]; }
    static int32_t PoseX() { return hero().HeroMesh ? hero().HeroMesh->X[0] : -1; }
};

TEST_F(BlendHeroPosesTest, ANewTargetBlendsInOverItsDuration) {
    hero().TargetAnim = 1;
    hero().BlendDuration = 100;
    // frame time, pose, current animation after the frame
    const std::vector<std::array<int32_t, 3>> frames = {
        {1000, 0, 0}, {1050, 50, 0}, {1100, 100, 1}, {1200, 100, 1}};
    for (const auto& [time, x, current] : frames) {
        FrameTime = time;
        BlendHeroPoses();
        EXPECT_EQ(PoseX(), x) << time;
        EXPECT_EQ(hero().CurrentAnim, current) << time;
    }
}

TEST_F(BlendHeroPosesTest, OddDurationsAndClocksKeepThePoseBetweenItsKeys) {
    struct Case {
        const char* what;
        int32_t duration;
        int32_t blendStart;
        int32_t x;
    };
    const std::vector<Case> cases = {
        {"no duration: at the target at once", 0, 1000, 100},
        {"a blend start after the frame: at the start pose", 100, 5000, 0},
        {"long past: beyond the target (not limited to 1)", 100, 850, 150},
    };
    for (const Case& c : cases) {
        hero().CurrentAnim = 0;
        hero().TargetAnim = hero().PreviousTargetAnim = 1;
        hero().BlendDuration = c.duration;
        hero().BlendStart = c.blendStart;
        FrameTime = 1000;
        BlendHeroPoses();
        EXPECT_EQ(PoseX(), c.x) << c.what;
    }
}

TEST_F(BlendHeroPosesTest, AnimationNumbersOutsideTheSlotsBlendNothing) {
    BlendHeroPoses();
    ASSERT_EQ(PoseX(), 0);
    hero().TargetAnim = 40;
    hero().CurrentAnim = -3;
    FrameTime = 1000;
    BlendHeroPoses();
    EXPECT_EQ(PoseX(), 0);
}

}  // namespace
