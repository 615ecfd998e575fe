// Deterministic noise for the procedural pictures and sounds of the demo game:
// the same source always writes the same game.
#pragma once

#include <cstdint>

namespace demo {

// A well-mixed 32-bit hash of three integers.
uint32_t Hash3(int32_t x, int32_t y, uint32_t seed);

// Value noise in 0..1 over cells of `cell` pixels, smoothly interpolated and
// wrapping every `period` cells so that textures tile.
float SmoothNoise(int32_t x, int32_t y, int32_t cell, int32_t period, uint32_t seed);

// A small pseudo-random sequence (for sound noise).
class NoiseSequence {
  public:
    explicit NoiseSequence(uint32_t seed) : state_(seed ? seed : 1) {}
    // Next value in -1..1.
    float Next();

  private:
    uint32_t state_;
};

}  // namespace demo
