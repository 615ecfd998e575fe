// The utility functions: texture sizes enlarged to powers of two of at least
// 2, and the left-handed camera matrices.
#include "platform/d3d8/D3DX.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/platform/d3d8/DeviceRig.h"

namespace {

TEST(D3DXTexture, SidesBecomePowersOfTwoOfAtLeastTwo) {
    d3d8test::DeviceRig rig(4, 4);
    const struct {
        uint32_t width, height, expectedWidth, expectedHeight;
    } cases[] = {{1, 1, 2, 2},
                 {2, 3, 2, 4},
                 {100, 60, 128, 64},
                 {128, 129, 128, 256},
                 {640, 480, 1024, 512}};
    for (const auto& c : cases) {
        d3d8::Ref<d3d8::Texture> texture;
        ASSERT_EQ(d3dx::CreateTexture(rig.device.Get(), c.width, c.height, 0, 0,
                                      d3d8::Format::A8R8G8B8, d3d8::Pool::Managed, texture.Out()),
                  d3d8::Result::Ok)
            << c.width << " x " << c.height;
        d3d8::SurfaceDesc desc;
        texture->GetLevelDesc(0, desc);
        EXPECT_EQ(desc.Width, c.expectedWidth);
        EXPECT_EQ(desc.Height, c.expectedHeight);
    }
    d3d8::Texture* texture = reinterpret_cast<d3d8::Texture*>(1);
    EXPECT_NE(d3dx::CreateTexture(rig.device.Get(), 0, 4, 0, 0, d3d8::Format::A8R8G8B8,
                                  d3d8::Pool::Managed, &texture),
              d3d8::Result::Ok);
    EXPECT_EQ(texture, nullptr) << "a failed creation leaves no texture";
    EXPECT_NE(d3dx::CreateTexture(rig.device.Get(), 4097, 4, 0, 0, d3d8::Format::A8R8G8B8,
                                  d3d8::Pool::Managed, &texture),
              d3d8::Result::Ok);
    EXPECT_NE(d3dx::CreateTexture(nullptr, 4, 4, 0, 0, d3d8::Format::A8R8G8B8, d3d8::Pool::Managed,
                                  &texture),
              d3d8::Result::Ok);
}

// p · M for a point p.
std::array<float, 4> Apply(const d3d8::Matrix& m, float x, float y, float z) {
    std::array<float, 4> r{};
    for (int c = 0; c < 4; ++c) r[c] = x * m.m[0][c] + y * m.m[1][c] + z * m.m[2][c] + m.m[3][c];
    return r;
}

TEST(D3DXMatrices, LookAtTurnsTheViewDirectionOntoZ) {
    const struct {
        d3d8::Vector3 at, up, point, expected;
    } cases[] = {
        {{0, 0, 1}, {0, 1, 0}, {3, 4, 5}, {3, 4, 5}},       // straight ahead: nothing turns
        {{1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},       // looking along +X
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}},      // +Z is then on the left
        {{0, 0, 2}, {0, 0.005f, 0}, {0, 1, 0}, {0, 1, 0}},  // a short up vector is enough
    };
    for (const auto& c : cases) {
        d3d8::Matrix m;
        d3dx::MatrixLookAtLH(m, {0, 0, 0}, c.at, c.up);
        const std::array<float, 4> p = Apply(m, c.point.x, c.point.y, c.point.z);
        EXPECT_NEAR(p[0], c.expected.x, 1e-5);
        EXPECT_NEAR(p[1], c.expected.y, 1e-5);
        EXPECT_NEAR(p[2], c.expected.z, 1e-5);
        EXPECT_FLOAT_EQ(p[3], 1);
    }
    d3d8::Matrix moved;
    d3dx::MatrixLookAtLH(moved, {1, 2, 3}, {1, 2, 4}, {0, 1, 0});
    const std::array<float, 4> eye = Apply(moved, 1, 2, 3);
    EXPECT_FLOAT_EQ(eye[0] + eye[1] + eye[2], 0) << "the eye goes to the origin";
}

TEST(D3DXMatrices, PerspectiveMapsNearAndFarToZeroAndOne) {
    d3d8::Matrix m;
    d3dx::MatrixPerspectiveFovLH(m, static_cast<float>(M_PI / 2), 2.0f, 1.0f, 16384.0f);
    EXPECT_FLOAT_EQ(m.m[0][0], 0.5f);
    EXPECT_FLOAT_EQ(m.m[1][1], 1.0f);
    for (const float z : {1.0f, 16384.0f}) {
        const std::array<float, 4> p = Apply(m, 0, 0, z);
        EXPECT_FLOAT_EQ(p[3], z);
        EXPECT_NEAR(p[2] / p[3], z == 1.0f ? 0.0 : 1.0, 1e-6);
    }
    // The engine's field-of-view value for widths that are multiples of 5:
    // the cotangent of half of it gives a vertical view of about 74.4 degrees.
    d3dx::MatrixPerspectiveFovLH(m, -99.2319f, 4.0f / 3.0f, 1.0f, 16384.0f);
    EXPECT_NEAR(2 * std::atan(1 / m.m[1][1]) * 180 / M_PI, 74.4, 0.05);
    EXPECT_FLOAT_EQ(m.m[0][0], m.m[1][1] * 0.75f);
}

}  // namespace
