#include "tools/demogame/DemoPalette.h"

#include <algorithm>

namespace demo {

namespace {
struct Rgb {
    int r, g, b;
};

// The brightest colour of each ramp, in the order of Ramp.
constexpr Rgb kRampColours[] = {
    {255, 255, 255}, {200, 70, 50},  {170, 110, 60},  {80, 180, 60},
    {60, 120, 230},  {250, 210, 60}, {240, 180, 140}, {170, 90, 210},
};

uint8_t Channel(int top, int level) {
    // From 12 % of the colour up to the colour itself.
    const int v = top * (12 + 88 * level / (kShades - 1)) / 100;
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

PcxPalette MakePalette() {
    PcxPalette p{};
    for (int ramp = 0; ramp < 8; ++ramp) {
        for (int level = 0; level < kShades; ++level) {
            const int index = ramp * kShades + level;
            p[3 * index] = Channel(kRampColours[ramp].r, level);
            p[3 * index + 1] = Channel(kRampColours[ramp].g, level);
            p[3 * index + 2] = Channel(kRampColours[ramp].b, level);
        }
    }
    p[0] = p[1] = p[2] = 0;
    return p;
}
}  // namespace

uint8_t Shade(Ramp ramp, int level) {
    const int index = static_cast<int>(ramp) * kShades + std::clamp(level, 0, kShades - 1);
    return static_cast<uint8_t>(std::max(index, 1));
}

const PcxPalette& DemoPalette() {
    static const PcxPalette palette = MakePalette();
    return palette;
}

}  // namespace demo
