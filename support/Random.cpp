#include "support/Random.h"

#include "platform/clock/Ticks.h"

uint32_t RandSeed = 0;

void Randomize() { RandSeed = platform::TickCount(); }

int32_t Random(int32_t n) {
    // Linear congruential step (mod 2^32), scaled to the range by its high bits.
    RandSeed = RandSeed * 1664525u + 1013904223u;
    if (n <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(RandSeed) * static_cast<uint64_t>(n)) >> 32);
}
