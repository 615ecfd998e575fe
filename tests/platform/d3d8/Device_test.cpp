// The software device's pictures against the reference: which pixels a
// triangle covers, where texels are sampled, how colours are combined,
// blended, depth-tested, interpolated in perspective and clipped; the same
// picture whatever the number of threads.
#include "platform/d3d8/Device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/platform/d3d8/DeviceRig.h"
#include "tests/platform/d3d8/RasterReference.h"

namespace {

using d3d8::RenderState;
using d3d8::StageState;
using d3d8test::DeviceRig;
using d3d8test::Difference;

ref::Vertex At(double x, double y, double r = 0, double g = 0, double b = 60, double a = 255) {
    return {x, y, 0.5, 1.0, r, g, b, a, 0, 0};
}

// Every triangle adds blue 60 to the pixels it covers (so a pixel drawn twice
// shows), over black.
TEST(DeviceCoverage, TopLeftRuleAtWholePixelCentres) {
    struct Case {
        const char* name;
        std::vector<std::array<double, 2>> corners;
    };
    const Case cases[] = {
        {"square split on its diagonal", {{1, 1}, {5, 1}, {5, 5}, {1, 1}, {5, 5}, {1, 5}}},
        {"square of half-pixel corners",
         {{.5, .5}, {4.5, .5}, {4.5, 4.5}, {.5, .5}, {4.5, 4.5}, {.5, 4.5}}},
        {"fan around a pixel centre",
         {{5, 5},
          {2, 2},
          {8, 2},
          {5, 5},
          {8, 2},
          {8, 8},
          {5, 5},
          {8, 8},
          {2, 8},
          {5, 5},
          {2, 8},
          {2, 2}}},
        {"both windings", {{1, 1}, {1, 8}, {8, 1}, {9, 2}, {9, 9}, {2, 9}}},
        {"vertical right edge and horizontal top edge on centres", {{3, 0}, {7, 0}, {7, 9}}},
        {"horizontal bottom edge on centres", {{2, 1}, {8, 7}, {2, 7}}},
        {"corners off the 1/16 grid, halves to even",
         {{1.03, 1.03125}, {8.97, 1.09375}, {1.03, 8.96875}}},
        {"thin sliver", {{0, 0}, {9, 1}, {9, 1.25}}},
        {"edges through centres every third row and column",
         {{0, 0}, {3, 9}, {9, 9}, {9, 0}, {0, 0}, {9, 3}}},
        {"larger than the target", {{-30, -3}, {14, -3}, {-3, 40}}},
        {"no area", {{1, 1}, {5, 5}, {3, 3}}},
    };
    constexpr int kSide = 10;
    for (const Case& c : cases) {
        DeviceRig rig(kSide, kSide);
        rig.device->SetRenderState(RenderState::AlphaBlendEnable, d3d8::kTrue);
        rig.device->SetRenderState(RenderState::SrcBlend, d3d8::kBlendOne);
        rig.device->SetRenderState(RenderState::DestBlend, d3d8::kBlendOne);
        rig.device->SetRenderState(RenderState::ZEnable, d3d8::kZbFalse);
        std::vector<ref::Vertex> vertices;
        for (const auto& p : c.corners) vertices.push_back(At(p[0], p[1]));
        rig.Screen(vertices);
        std::vector<uint32_t> expected(kSide * kSide, 0xFF000000u);
        for (size_t t = 0; t < vertices.size(); t += 3) {
            const ref::Vertex tri[3] = {vertices[t], vertices[t + 1], vertices[t + 2]};
            for (int y = 0; y < kSide; ++y) {
                for (int x = 0; x < kSide; ++x) {
                    if (ref::Covers(tri, x, y)) expected[y * kSide + x] += 60;
                }
            }
        }
        const std::vector<uint32_t> actual = rig.Pixels();
        EXPECT_EQ(actual, expected) << c.name << "\n" << Difference(actual, expected, kSide);
    }
}

// A 4 × 4 texture on a quad over a 4 × 4 target; the quad's texture
// coordinates run from (u0, v0) to (u0 + 1, v0 + 1).
TEST(DeviceSampling, TexelCentresWrapAndFilters) {
    ref::Texels texels{4, 4, {}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            // Neighbours far apart in red and green, so that 1/256 of a weight shows.
            texels.texels.push_back(
                d3d8::ColorArgb(255, x % 2 * 255, (y + 1) % 2 * 255, 200 - 50 * x));
        }
    }
    struct Case {
        const char* name;
        double u0, v0;
        bool linear;
    };
    const Case cases[] = {
        {"texel centres", 0.125, 0.125, true},
        {"between texels, wrapping at the left", 0.0, 0.0, true},
        {"a whole texture further on either side", 1.125, -0.875, true},
        {"fractions truncated to 1/256", 0.2, 0.45, true},
        {"point sampling", 0.0, 0.0, false},
        {"point sampling past the end", 1.6, 2.3, false},
    };
    for (const Case& c : cases) {
        DeviceRig rig(4, 4);
        rig.SetTexture(texels);
        const uint32_t filter = c.linear ? d3d8::kTexfLinear : d3d8::kTexfPoint;
        rig.device->SetTextureStageState(0, StageState::MagFilter, filter);
        rig.device->SetTextureStageState(0, StageState::MinFilter, filter);
        auto corner = [&](double x, double y) {
            ref::Vertex v = At(x, y, 255, 255, 255);
            v.u = c.u0 + x / 4;
            v.v = c.v0 + y / 4;
            return v;
        };
        const std::vector<ref::Vertex> quad = {corner(0, 0), corner(4, 0), corner(4, 4),
                                               corner(0, 0), corner(4, 4), corner(0, 4)};
        rig.Screen(quad);
        std::vector<uint32_t> expected;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const double u = c.u0 + x / 4.0, v = c.v0 + y / 4.0;
                expected.push_back(c.linear ? ref::Bilinear(texels, u, v)
                                            : ref::Point(texels, u, v));
            }
        }
        const std::vector<uint32_t> actual = rig.Pixels();
        EXPECT_EQ(Difference(actual, expected, 4), "") << c.name;
    }
}

// A texel written through a lock of one texel's rectangle is drawn, and where
// the texture wraps too; a draw asked for before the lock sees the old texel.
TEST(DeviceSampling, RectangleLockReachesWrappedSampling) {
    DeviceRig rig(4, 4);
    ref::Texels texels{4, 4, std::vector<uint32_t>(16, 0xFF204060)};
    rig.SetTexture(texels);
    rig.device->SetTextureStageState(0, StageState::MagFilter, d3d8::kTexfLinear);
    rig.device->SetTextureStageState(0, StageState::AlphaOp, d3d8::kTopDisable);
    auto corner = [](double x, double y) {
        ref::Vertex v = At(x, y, 255, 255, 255);
        v.u = x / 4, v.v = y / 4;  // texel corners: every pixel between four texels
        return v;
    };
    const std::vector<ref::Vertex> quad = {corner(0, 0), corner(4, 0), corner(4, 4),
                                           corner(0, 0), corner(4, 4), corner(0, 4)};
    rig.Screen(quad);
    const std::vector<uint32_t> before = rig.Pixels();
    rig.Screen(quad);
    const d3d8::Rect first{0, 0, 1, 1};
    d3d8::LockedRect locked;
    ASSERT_EQ(rig.texture->LockRect(0, locked, &first, 0), d3d8::Result::Ok);
    EXPECT_EQ(rig.Pixels(), before);
    *static_cast<uint32_t*>(locked.Bits) = texels.texels[0] = 0xFFF0E0D0;
    rig.texture->UnlockRect(0);
    rig.Screen(quad);
    std::vector<uint32_t> expected;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) expected.push_back(ref::Bilinear(texels, x / 4.0, y / 4.0));
    }
    EXPECT_EQ(Difference(rig.Pixels(), expected, 4), "");
}

struct CombineCase {
    const char* name;
    uint32_t diffuse, texel, background;
    uint32_t alphaOp;
    bool textured;
    uint32_t expected;  // 0: worked out from the reference
};

// The reference's pixel: diffuse × texel (white without a texture), alpha by
// the stage's alpha operation, source over the background.
uint32_t ReferenceCombine(const CombineCase& c) {
    auto channel = [](uint32_t colour, int shift) {
        return static_cast<int>(colour >> shift & 255);
    };
    const uint32_t t = c.textured ? c.texel : 0xFFFFFFFF;
    const int alpha = c.alphaOp == d3d8::kTopModulate
                          ? ref::Modulate(channel(c.diffuse, 24), channel(t, 24))
                          : channel(c.diffuse, 24);
    uint32_t expected = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int colour = ref::Modulate(channel(c.diffuse, shift), channel(t, shift));
        expected |= static_cast<uint32_t>(ref::Blend(colour, channel(c.background, shift), alpha))
                    << shift;
    }
    return expected;
}

// One colour over a 2 × 2 target: diffuse × texel by the stage's operations,
// then blended with source alpha over the cleared background.
TEST(DeviceCombine, ModulateAndBlendRoundToNearest) {
    const CombineCase cases[] = {
        {"half of half", 0xFF808080, 0xFF808080, 0, d3d8::kTopDisable, true, 0xFF404040},
        {"a third rounds down, 0.502 up", 0xFFC80101, 0xFF647F80, 0, d3d8::kTopDisable, true, 0},
        {"alpha 128 over black", 0x80FFFFFF, 0xFFFFFFFF, 0, d3d8::kTopDisable, true, 0xFF808080},
        {"alpha 1", 0x01FF0000, 0xFFFFFFFF, 0xFF00FF00, d3d8::kTopDisable, true, 0},
        {"texel alpha modulated", 0xFEC86432, 0x7FFFFFFF, 0xFF204060, d3d8::kTopModulate, true, 0},
        {"transparent texel keeps the background", 0xFFFFFFFF, 0x00FF0000, 0xFF123456,
         d3d8::kTopModulate, true, 0xFF123456},
        {"texture alpha left out", 0xFFFFFFFF, 0x00FF0000, 0xFF123456, d3d8::kTopDisable, true,
         0xFFFF0000},
        {"no texture reads white", 0x9A6496C8, 0, 0xFF0A141E, d3d8::kTopModulate, false, 0},
    };
    for (const CombineCase& c : cases) {
        DeviceRig rig(2, 2);
        rig.device->SetRenderState(RenderState::AlphaBlendEnable, d3d8::kTrue);
        rig.device->SetRenderState(RenderState::SrcBlend, d3d8::kBlendSrcAlpha);
        rig.device->SetRenderState(RenderState::DestBlend, d3d8::kBlendInvSrcAlpha);
        rig.device->SetTextureStageState(0, StageState::ColorArg1, d3d8::kTaDiffuse);
        rig.device->SetTextureStageState(0, StageState::ColorArg2, d3d8::kTaTexture);
        rig.device->SetTextureStageState(0, StageState::AlphaOp, c.alphaOp);
        rig.device->Clear(0, nullptr, d3d8::kClearTarget, c.background, 1, 0);
        if (c.textured) rig.SetTexture({2, 2, std::vector<uint32_t>(4, c.texel)});
        auto corner = [&](double x, double y) {
            ref::Vertex v = At(x, y, c.diffuse >> 16 & 255, c.diffuse >> 8 & 255, c.diffuse & 255,
                               c.diffuse >> 24);
            v.u = x / 2, v.v = y / 2;
            return v;
        };
        rig.Screen(
            {corner(0, 0), corner(2, 0), corner(2, 2), corner(0, 0), corner(2, 2), corner(0, 2)});
        const uint32_t expected = ReferenceCombine(c);
        if (c.expected != 0) {
            EXPECT_EQ(expected, c.expected) << c.name << ": the reference";
        }
        EXPECT_EQ(rig.Pixel(1, 1), expected) << c.name;
    }
}

TEST(DeviceDepth, LessOrEqualPassesAndWrites) {
    DeviceRig rig(2, 2);
    struct Step {
        double z;
        uint32_t colour;
        bool zEnable, zWrite;
        uint32_t shown;
        uint16_t depth;
    };
    const Step steps[] = {
        {0.5, 0xFFFF0000, true, true, 0xFFFF0000, 32768},   // nearer than the cleared 1.0
        {0.5, 0xFF00FF00, true, true, 0xFF00FF00, 32768},   // equal: passes
        {0.6, 0xFF0000FF, true, true, 0xFF00FF00, 32768},   // farther: fails
        {0.9, 0xFFFFFFFF, false, true, 0xFFFFFFFF, 32768},  // no depth test, no write
        {0.3, 0xFF808080, true, false, 0xFF808080, 32768},  // passes, depth kept
        {0.4, 0xFF102030, true, true, 0xFF102030, 26214},
    };
    rig.device->Clear(0, nullptr, d3d8::kClearTarget | d3d8::kClearZBuffer, 0, 1.0f, 0);
    for (const Step& s : steps) {
        rig.device->SetRenderState(RenderState::ZEnable,
                                   s.zEnable ? d3d8::kZbTrue : d3d8::kZbFalse);
        rig.device->SetRenderState(RenderState::ZWriteEnable,
                                   s.zWrite ? d3d8::kTrue : d3d8::kFalse);
        auto corner = [&](double x, double y) {
            ref::Vertex v = At(x, y, s.colour >> 16 & 255, s.colour >> 8 & 255, s.colour & 255);
            v.z = s.z;
            return v;
        };
        rig.Screen(
            {corner(0, 0), corner(2, 0), corner(2, 2), corner(0, 0), corner(2, 2), corner(0, 2)});
        std::vector<uint16_t> depth;
        rig.device->ReadDepthBuffer(depth);
        EXPECT_EQ(rig.Pixel(1, 0), s.shown) << "z " << s.z;
        EXPECT_EQ(depth[1], s.depth) << "z " << s.z;
    }
}

// Scene vertices through a projection with x and y scales 1, near 1, far 100,
// on a 32 × 24 target: pixel coverage as the reference has it (but for
// centres within 1/8 pixel of an edge) and colours and texture coordinates
// interpolated in perspective.
class DevicePerspective : public ::testing::Test {
  protected:
    static constexpr int kWidth = 32, kHeight = 24;
    static constexpr double kNear = 1, kFar = 100;

    void SetUp() override {
        d3d8::Matrix p;
        d3dx::MatrixPerspectiveFovLH(p, static_cast<float>(M_PI / 2), 1.0f, kNear, kFar);
        rig.device->SetTransform(d3d8::TransformState::Projection, p);
        rig.device->SetRenderState(RenderState::ZEnable, d3d8::kZbFalse);
    }
    // The reference's screen vertex of a view-space vertex.
    static ref::Vertex Project(const ref::Vertex& v) {
        ref::Vertex s = v;
        s.rhw = 1 / v.z;
        s.x = (1 + v.x * s.rhw) * kWidth / 2;
        s.y = (1 - v.y * s.rhw) * kHeight / 2;
        return s;
    }
    // Compares the frame with the reference's triangles; `channel` reads the
    // expected red from a covering triangle at a pixel.
    template <typename Expected>
    void Compare(const std::vector<ref::Vertex>& scene, Expected expectedRed, int tolerance) {
        const std::vector<uint32_t> pixels = rig.Pixels();
        int compared = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t actual = pixels[y * kWidth + x];
                bool covered = false, unsure = false;
                int red = 0;
                for (size_t t = 0; t < scene.size(); t += 3) {
                    const ref::Vertex s[3] = {Project(scene[t]), Project(scene[t + 1]),
                                              Project(scene[t + 2])};
                    unsure = unsure || ref::EdgeDistance(s, x, y) < 0.125;
                    if (ref::Covers(s, x, y)) covered = true, red = expectedRed(s, x, y);
                }
                if (unsure) continue;
                ++compared;
                ASSERT_EQ(actual != 0xFF000000u, covered) << "(" << x << "," << y << ")";
                if (covered) {
                    EXPECT_NEAR(static_cast<int>(actual >> 16 & 255), red, tolerance)
                        << "(" << x << "," << y << ")";
                }
            }
        }
        EXPECT_GT(compared, kWidth * kHeight / 2);
    }

    DeviceRig rig{kWidth, kHeight};
};

// A floor running from depth 1.5 to 30, red rising from 10 to 250 along it.
std::vector<ref::Vertex> Floor() {
    auto v = [](double x, double z, double red, double u) {
        return ref::Vertex{x, -1, z, 1, red, 0, 0, 255, u, 0.5};
    };
    return {v(-2, 1.5, 10, 0), v(2, 1.5, 10, 0), v(2, 30, 250, 1),
            v(-2, 1.5, 10, 0), v(2, 30, 250, 1), v(-2, 30, 250, 1)};
}

TEST_F(DevicePerspective, ColoursFollowDepth) {
    const std::vector<ref::Vertex> floor = Floor();
    rig.Scene(floor);
    Compare(
        floor,
        [](const ref::Vertex(&s)[3], int x, int y) {
            return ref::Byte(ref::Interpolate(s, x, y, &ref::Vertex::r));
        },
        1);
}

TEST_F(DevicePerspective, TextureCoordinatesFollowDepth) {
    ref::Texels ramp{256, 2, {}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 256; ++x) ramp.texels.push_back(d3d8::ColorArgb(255, x, 0, 0));
    }
    rig.SetTexture(ramp);
    std::vector<ref::Vertex> floor = Floor();
    for (ref::Vertex& v : floor) v.r = v.g = v.b = 255;
    rig.Scene(floor);
    Compare(
        floor,
        [](const ref::Vertex(&s)[3], int x, int y) {
            return static_cast<int>(std::floor(ref::Interpolate(s, x, y, &ref::Vertex::u) * 256));
        },
        1);
}

// A triangle reaching behind the camera and past the sides: the part in front
// of the near plane is drawn, nothing else, and no pixel outside the triangle.
TEST_F(DevicePerspective, ClippedToTheViewVolume) {
    const std::vector<ref::Vertex> scene = {
        {-8, -1, 0.2, 1, 200, 0, 0, 255, 0, 0},   {8, -1, 0.2, 1, 200, 0, 0, 255, 0, 0},
        {0, -1, 12, 1, 200, 0, 0, 255, 0, 0},     {0, 3, -5, 1, 90, 0, 0, 255, 0, 0},
        {1, 3, -5, 1, 90, 0, 0, 255, 0, 0},       {0, 4, -6, 1, 90, 0, 0, 255, 0, 0},
        {-0.4, 0.1, 0.5, 1, 90, 0, 0, 255, 0, 0}, {0.4, 0.1, 0.5, 1, 90, 0, 0, 255, 0, 0},
        {0, 0.4, 0.5, 1, 90, 0, 0, 255, 0, 0}};
    rig.Scene(scene);
    const std::vector<uint32_t> pixels = rig.Pixels();
    // Ray through each pixel centre against the plane y = −1 of the first
    // triangle; the second lies wholly behind the camera, the third between
    // the camera and the near plane.
    int drawn = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = 2.0 * x / kWidth - 1, dy = 1 - 2.0 * y / kHeight;
            const uint32_t actual = pixels[y * kWidth + x];
            EXPECT_NE(actual & 0xFF0000, 90u << 16) << "(" << x << "," << y << ") nearer than near";
            if (dy >= -0.02) {
                EXPECT_EQ(actual, 0xFF000000u) << "(" << x << "," << y << ") above the floor";
                continue;
            }
            const double z = -1 / dy, hx = dx * z;
            // Inside the triangle (the plane's corners (-8, 0.2), (8, 0.2), (0, 12)).
            const double left = (hx + 8) * (12 - 0.2) - 8 * (z - 0.2);
            const double right = (8 - hx) * (12 - 0.2) - 8 * (z - 0.2);
            const double margin = 0.2 * z;  // about a fifth of a pixel
            if (z < kNear - 0.02 || left < -margin || right < -margin) {
                EXPECT_EQ(actual, 0xFF000000u) << "(" << x << "," << y << ") outside";
            } else if (z > kNear + 0.02 && z > 0.2 + 0.02 && left > margin && right > margin) {
                EXPECT_EQ(actual, 0xFFC80000u) << "(" << x << "," << y << ") inside";
                ++drawn;
            }
        }
    }
    EXPECT_GT(drawn, 100);
}

// Triangles in random places, with the states the engine draws with (depth
// test and depth writes on and off, flat, point-sampled and bilinear, texture
// alpha used or not, blending on and off) and coordinates far outside the
// texture: the same picture with any number of threads and with each kind of
// pixel routine, and clears between draws land in order.
TEST(DeviceBands, PictureDoesNotDependOnThreadsOrRoutines) {
    constexpr int kWidth = 61, kHeight = 47;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(-10, kWidth + 10), y(-10, kHeight + 10), unit(0, 1);
    std::vector<ref::Vertex> vertices;
    for (int i = 0; i < 480; ++i) {
        const double reach = i % 96 < 48 ? 3 : 1e5;
        vertices.push_back({x(random), y(random), 1.2 * unit(random) - 0.1, 0.5 + unit(random),
                            255 * unit(random), 255 * unit(random), 255 * unit(random),
                            255 * unit(random), reach * unit(random), reach * unit(random)});
    }
    ref::Texels texels{4, 8, {}};
    for (int i = 0; i < 32; ++i) texels.texels.push_back(static_cast<uint32_t>(random()));
    struct Kind {
        uint32_t threads;
        d3d8::PixelRoutines routines;
    };
    const Kind kinds[] = {{1, d3d8::PixelRoutines::OnePixel},
                          {3, d3d8::PixelRoutines::OnePixel},
                          {1, d3d8::PixelRoutines::Sse2},
                          {8, d3d8::PixelRoutines::Avx2},
                          {2, d3d8::PixelRoutines::Fastest}};
    std::vector<std::vector<uint32_t>> pictures;
    std::vector<std::vector<uint16_t>> depths;
    for (const Kind& kind : kinds) {
        DeviceRig rig(kWidth, kHeight, kind.threads, kind.routines);
        rig.SetTexture(texels);
        rig.device->SetRenderState(RenderState::SrcBlend, d3d8::kBlendSrcAlpha);
        rig.device->SetRenderState(RenderState::DestBlend, d3d8::kBlendInvSrcAlpha);
        rig.device->SetTextureStageState(0, StageState::ColorArg1, d3d8::kTaDiffuse);
        rig.device->SetTextureStageState(0, StageState::ColorArg2, d3d8::kTaTexture);
        for (int batch = 0; batch < 10; ++batch) {
            rig.device->SetRenderState(RenderState::ZEnable, batch % 5 != 4);
            rig.device->SetRenderState(RenderState::ZWriteEnable, batch != 6);
            rig.device->SetRenderState(RenderState::AlphaBlendEnable, batch % 3 != 2);
            rig.device->SetTextureStageState(0, StageState::MagFilter,
                                             batch % 4 == 1 ? d3d8::kTexfPoint : d3d8::kTexfLinear);
            rig.device->SetTextureStageState(
                0, StageState::AlphaOp, batch % 2 == 0 ? d3d8::kTopModulate : d3d8::kTopDisable);
            rig.device->SetTexture(0, batch % 4 == 3 ? nullptr : rig.texture.Get());
            rig.Screen({vertices.begin() + batch * 48, vertices.begin() + batch * 48 + 48});
            if (batch == 4) {
                const d3d8::Rect band{5, 9, 40, 30};
                rig.device->Clear(1, &band, d3d8::kClearTarget | d3d8::kClearZBuffer, 0xFF203040,
                                  0.7f, 0);
            }
        }
        pictures.push_back(rig.Pixels());
        depths.emplace_back();
        rig.device->ReadDepthBuffer(depths.back());
        EXPECT_EQ(rig.device->RasterBands(), static_cast<int32_t>(kind.threads));
    }
    for (size_t k = 1; k < pictures.size(); ++k) {
        EXPECT_EQ(Difference(pictures[k], pictures[0], kWidth), "") << "kind " << k;
        EXPECT_EQ(depths[k], depths[0]) << "kind " << k;
    }
}

}  // namespace

namespace {

TEST(DeviceCalls, RefusedOutOfOrderOrOutOfRange) {
    DeviceRig rig(4, 4);
    d3d8::Device& d = *rig.device;
    using d3d8::Result;
    EXPECT_EQ(d.SetVertexShader(0x152), Result::InvalidCall) << "a format the device lacks";
    EXPECT_EQ(d.SetRenderState(static_cast<RenderState>(3), 1), Result::InvalidCall);
    EXPECT_EQ(d.SetTextureStageState(0, StageState::ColorOp, 26), Result::InvalidCall);
    EXPECT_EQ(d.SetTextureStageState(8, StageState::ColorOp, d3d8::kTopModulate),
              Result::InvalidCall);
    d.SetStreamSource(0, rig.buffer.Get(), 28);
    d.SetVertexShader(d3d8::kFvfScreenVertex);
    EXPECT_EQ(d.DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0, 1), Result::InvalidCall)
        << "outside a scene";
    EXPECT_EQ(d.EndScene(), Result::InvalidCall);
    ASSERT_EQ(d.BeginScene(), Result::Ok);
    EXPECT_EQ(d.BeginScene(), Result::InvalidCall) << "scenes do not nest";
    const uint32_t vertices = rig.buffer->Length() / 28;
    EXPECT_EQ(d.DrawPrimitive(d3d8::PrimitiveType::TriangleList, vertices - 3, 1), Result::Ok);
    EXPECT_EQ(d.DrawPrimitive(d3d8::PrimitiveType::TriangleList, vertices - 2, 1),
              Result::InvalidCall)
        << "past the end of the stream";
    EXPECT_EQ(d.DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0xFFFFFFF0u, 0x55555555u),
              Result::InvalidCall);
    d.SetStreamSource(0, rig.buffer.Get(), 20);
    EXPECT_EQ(d.DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0, 1), Result::InvalidCall)
        << "stride shorter than a vertex";
    uint8_t* data = nullptr;
    d.SetStreamSource(0, rig.buffer.Get(), 28);
    ASSERT_EQ(rig.buffer->Lock(0, 0, &data, 0), Result::Ok);
    EXPECT_EQ(d.DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0, 1), Result::InvalidCall)
        << "from a locked buffer";
    EXPECT_EQ(rig.buffer->Lock(0, 0, &data, 0), Result::InvalidCall) << "locked twice";
    rig.buffer->Unlock();
    EXPECT_EQ(rig.buffer->Lock(rig.buffer->Length(), 4, &data, 0), Result::InvalidCall);
    EXPECT_EQ(d.Present(nullptr, nullptr, nullptr, nullptr), Result::InvalidCall)
        << "inside a scene";
    d.EndScene();
    d3d8::Texture* texture = nullptr;
    EXPECT_EQ(d.CreateTexture(100, 64, 1, 0, d3d8::Format::A8R8G8B8, d3d8::Pool::Managed, &texture),
              Result::InvalidCall)
        << "sides are powers of two";
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(d.CreateTexture(8192, 2, 1, 0, d3d8::Format::A8R8G8B8, d3d8::Pool::Managed, &texture),
              Result::InvalidCall);
    EXPECT_EQ(d.Clear(0, nullptr, d3d8::kClearStencil, 0, 1, 0), Result::InvalidCall);
}

}  // namespace
