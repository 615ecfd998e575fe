// The game's random number generator: one 32-bit seed, so a level can put its
// own seed back when it is read and replay the same draws.
#pragma once

#include <cstdint>

// The generator's state; a level read sets it from the level record.
extern uint32_t RandSeed;

// Seeds the generator from the clock.
void Randomize();

// A uniform integer in 0..n-1; 0 when n is 0 or negative.
int32_t Random(int32_t n);
