// Presenting: the back buffer stretched onto a rectangle of the sink's
// surface, each pixel taking the source pixel under its centre; the rest of
// the surface untouched.
#include "platform/d3d8/PresentSink.h"

#include <gtest/gtest.h>

#include "platform/d3d8/Device.h"
#include "tests/platform/d3d8/DeviceRig.h"

namespace {

constexpr uint32_t kUntouched = 0xFF0000FF;

TEST(Present, StretchesTheBackBufferOntoTheRectangle) {
    // A 4 × 2 back buffer whose pixel (x, y) has red x and green y.
    d3d8test::DeviceRig rig(4, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const d3d8::Rect r{x, y, x + 1, y + 1};
            rig.device->Clear(1, &r, d3d8::kClearTarget, d3d8::ColorArgb(255, x, y, 0), 1, 0);
        }
    }
    const struct {
        const char* name;
        d3d8::Rect dest;
    } cases[] = {
        {"twice the size, inside", {1, 1, 9, 5}},
        {"shrunk", {0, 0, 3, 1}},
        {"partly outside the surface", {-4, -2, 6, 4}},
        {"odd scale", {2, 0, 9, 6}},
        {"same size, moved", {5, 3, 9, 5}},
        {"same width, cut at the left", {-1, 2, 3, 6}},
    };
    for (const auto& c : cases) {
        d3d8::MemorySink sink(10, 6, kUntouched);
        ASSERT_EQ(rig.device->Present(nullptr, &c.dest, &sink, nullptr), d3d8::Result::Ok);
        EXPECT_EQ(sink.shown, 1);
        const int w = c.dest.right - c.dest.left, h = c.dest.bottom - c.dest.top;
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 10; ++x) {
                uint32_t expected = kUntouched;
                if (x >= c.dest.left && x < c.dest.right && y >= c.dest.top && y < c.dest.bottom) {
                    // The source pixel under the centre (x + 0.5, y + 0.5).
                    const int sx = static_cast<int>((x - c.dest.left + 0.5) * 4 / w);
                    const int sy = static_cast<int>((y - c.dest.top + 0.5) * 2 / h);
                    expected = d3d8::ColorArgb(255, sx, sy, 0);
                }
                EXPECT_EQ(sink.At(x, y), expected) << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(Present, GoesToTheDeviceSinkUnlessToldOtherwise) {
    d3d8test::DeviceRig rig(2, 2);
    EXPECT_EQ(rig.device->Present(nullptr, nullptr, nullptr, nullptr), d3d8::Result::InvalidCall)
        << "no sink at all";
    d3d8::MemorySink nothing(0, 0);
    EXPECT_EQ(rig.device->Present(nullptr, nullptr, &nothing, nullptr), d3d8::Result::Ok);
    EXPECT_EQ(nothing.shown, 0) << "a surface with no pixels shows nothing";
    d3d8::MemorySink whole(3, 3, kUntouched);
    rig.device->Clear(0, nullptr, d3d8::kClearTarget, 0xFF445566, 1, 0);
    EXPECT_EQ(rig.device->Present(nullptr, nullptr, &whole, nullptr), d3d8::Result::Ok);
    EXPECT_EQ(whole.At(2, 2), 0xFF445566u) << "no rectangle: the whole surface";
}

}  // namespace
