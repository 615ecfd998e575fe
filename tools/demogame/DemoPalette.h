// The one palette of the demo game: eight ramps of 32 shades (grey, brick,
// wood, grass, water, gold, skin, violet). Every picture of the game uses it,
// so the first two pictures of the 3-D file give the same main and second
// palette, and flat-coloured faces pick their colour from the same ramps.
#pragma once

#include <cstdint>

#include "tools/demogame/PcxWriter.h"

namespace demo {

enum class Ramp : uint8_t { Grey, Brick, Wood, Grass, Water, Gold, Skin, Violet };

constexpr int kShades = 32;

// Palette index of shade `level` (0 darkest .. 31 brightest, clamped) of a
// ramp. Never 0: index 0 is kept for transparent pixels.
uint8_t Shade(Ramp ramp, int level);

// The palette (index 0 is black).
const PcxPalette& DemoPalette();

}  // namespace demo
