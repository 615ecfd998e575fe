#include "engine/G3DCamera.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/G3DAngles.h"

namespace {

TEST(G3DAngles, Radians) {
    EXPECT_EQ(G3DAngleToRadians(16384), 3.1415f);
    EXPECT_EQ(G3DAngleToRadians(0), 0.0f);
    EXPECT_EQ(G3DCos(0), 1.0f);
    EXPECT_FLOAT_EQ(G3DSin(8192), static_cast<float>(std::sin(3.1415 / 2)));
    EXPECT_FLOAT_EQ(G3DAngleToRadians(int64_t{1} << 40),
                    static_cast<float>(1099511627776.0 * 3.1415 / 16384));
}

TEST(G3DAngles, AngleOf) {
    const std::array<int64_t, 3> cases[] = {
        {0, 0, 90},
        {0, -5, 270},
        {1, 0, 0},
        {-1, 0, 180},
        {10, -1, 354},
        {1000, -1, 360},
        {1, 1, 45},
        {-1, -1, 225},
        {-1, 1, 135},
        {3, 4, 53},
        {INT64_C(3000000000), INT64_C(-3000000000), 315},  // beyond 32 bits
    };
    for (const auto& [dx, dy, degrees] : cases) {
        EXPECT_EQ(G3DAngleOf(dx, dy), degrees) << dx << "," << dy;
    }
}

class G3DCameraTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // As G3DInit sets it for a 640 × 480 frame.
        state->ProjectionBase = 128;
        G3DSetViewport(*state, 320, 240, 256, 256, 64, 1, 4, 16);
        G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    }
    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
};

TEST_F(G3DCameraTest, Viewport) {
    EXPECT_EQ(state->ClipWidth, 640);
    EXPECT_EQ(state->ClipBottom, 479);
    EXPECT_EQ(state->HearingDistance, 10000);
    EXPECT_EQ(state->RenderList.size(), 16u);
    EXPECT_EQ(state->SortBuffer.size(), 16u);
    state->HearingDistance = 14336;
    G3DSetViewport(*state, 400, 300, 320, 320, 80, 1, 4, 100);
    EXPECT_EQ(state->HearingDistance, 14336);
    EXPECT_EQ(state->RenderList.size(), 100u);
    G3DSetViewport(*state, 1, 1, 1, 1, 0, 1, 4, -5);  // no negative capacity
    EXPECT_TRUE(state->RenderList.empty());
}

TEST_F(G3DCameraTest, FieldOfView) {
    EXPECT_NEAR(G3DFieldOfView(*state), 68.2, 0.01);
    G3DSetViewport(*state, 1, 1, 1, 1, 0, 1, 4, 0);  // a 2-pixel clip width: no division by 0
    EXPECT_GT(G3DFieldOfView(*state), 0.0);
}

TEST_F(G3DCameraTest, CameraState) {
    state->TriangleCount = 5;
    state->LastLight = 3;
    G3DSetCamera(10, 20, 30, 8192, 0, 0, *state);
    EXPECT_EQ(state->CamX, 10);
    EXPECT_EQ(state->CamYaw, 8192);
    EXPECT_EQ(state->TriangleCount, 0);
    EXPECT_EQ(state->LastLight, -1);
    EXPECT_NEAR(state->CamMatrix[6], 1.0f, 1e-6);  // looking along +X
    EXPECT_NEAR(state->CamMatrix[8], 0.0f, 1e-4);
    EXPECT_EQ(state->CosPitch, 1.0f);
}

TEST_F(G3DCameraTest, Visibility) {
    struct Case {
        int32_t margin;
        float x, y, z;
        bool visible;
    };
    const Case cases[] = {
        {1280, 1279.5f, -1279.5f, -1279.5f, true},  // near on all axes
        {1280, 0, 0, -1280, false},                 // at the margin, behind
        {1280, 0, 0, 1280, true},                   // at the margin, ahead on screen
        {1280, 1280, 0, 0, false},                  // depth 0
        {0, 0, 0, 1, true},                         // depth 1, screen centre
        {0, 1280, 0, 1, false},                     // depth 1, far off to the side
        {0, 1000, 0, 1000, true},                   // sx = 576 < 960
        {0, 2499, 0, 1000, true},                   // sx = 959
        {0, 2500, 0, 1000, false},                  // sx = 960: strict
        {0, -2499, 0, 1000, true},
        {0, 0, -1875, 1000, true},  // sy = 720 < 799
        {0, 0, -2200, 1000, false},
        {0, 3e9f, 0, 3e9f, true},  // far beyond 32-bit units, 45° right
    };
    for (const Case& c : cases) {
        EXPECT_EQ(G3DIsVisible(c.margin, *state, c.x, c.y, c.z), c.visible)
            << c.x << "," << c.y << "," << c.z;
    }
}

TEST_F(G3DCameraTest, TurnedCameraSees) {
    G3DSetCamera(0, 0, 0, 8192, 0, 0, *state);  // looking along +X
    EXPECT_TRUE(G3DIsVisible(0, *state, 1000, 0, 0));
    EXPECT_FALSE(G3DIsVisible(0, *state, -1000, 0, 0));
    EXPECT_FALSE(G3DIsVisible(0, *state, 0, 0, 1000));
}

TEST_F(G3DCameraTest, SecondEyeOffset) {
    state->EyeSeparation = 30;
    float dx = 0, dz = 0;
    G3DSecondEyeOffset(*state, dx, dz);
    EXPECT_EQ(dx, 30.0f);
    EXPECT_EQ(dz, 30.0f);
    state->CamYaw = 8192;  // sin 1, cos ~0
    G3DSecondEyeOffset(*state, dx, dz);
    EXPECT_NEAR(dx, 30.0f, 0.01);
    EXPECT_NEAR(dz, -30.0f, 0.01);
    state->TriangleCount = 1;
    state->RenderList[0].X2 = 1;
    state->RenderList[0].Z0 = 2;
    state->RenderList[0].Y1 = 3;
    G3DShiftRenderList(*state, 1, 10, 20);
    EXPECT_EQ(state->RenderList[0].X2, 11);
    EXPECT_EQ(state->RenderList[0].Z0, 22);
    EXPECT_EQ(state->RenderList[0].Y1, 3);
}

}  // namespace
