#include "tools/demogame/Noise.h"

namespace demo {

uint32_t Hash3(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

namespace {
float Corner(int32_t cx, int32_t cy, int32_t period, uint32_t seed) {
    const int32_t wx = ((cx % period) + period) % period;
    const int32_t wy = ((cy % period) + period) % period;
    return static_cast<float>(Hash3(wx, wy, seed) & 0xFFFF) / 65535.0f;
}

float Smooth(float t) { return t * t * (3 - 2 * t); }
}  // namespace

float SmoothNoise(int32_t x, int32_t y, int32_t cell, int32_t period, uint32_t seed) {
    const int32_t cx = x / cell, cy = y / cell;
    const float fx = Smooth(static_cast<float>(x % cell) / cell);
    const float fy = Smooth(static_cast<float>(y % cell) / cell);
    const float top =
        Corner(cx, cy, period, seed) * (1 - fx) + Corner(cx + 1, cy, period, seed) * fx;
    const float bottom =
        Corner(cx, cy + 1, period, seed) * (1 - fx) + Corner(cx + 1, cy + 1, period, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

float NoiseSequence::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ & 0xFFFF) / 32767.5f - 1.0f;
}

}  // namespace demo
