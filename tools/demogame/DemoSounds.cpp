#include "tools/demogame/DemoSounds.h"

#include <algorithm>
#include <cmath>

#include "tools/demogame/Noise.h"
#include "tools/demogame/WavWriter.h"

namespace demo {

namespace {
constexpr float kTwoPi = 6.2831853f;

// A segment of sound: frequency sweeping from `from` to `to` Hz over `seconds`,
// mixed with `noise` (0..1) of white noise, at `volume` (0..1).
struct Voice {
    float seconds, from, to, noise, volume;
};

// Fade over the first and last 10 ms, so that no segment clicks.
float Envelope(size_t i, size_t n) {
    const float edge = 0.010f * kDemoSampleRate;
    const float in = std::min(1.0f, static_cast<float>(i) / edge);
    const float out = std::min(1.0f, static_cast<float>(n - i) / edge);
    const float decay = 1.0f - 0.6f * static_cast<float>(i) / static_cast<float>(n);
    return in * out * decay;
}

void Append(std::vector<int16_t>& out, const Voice& v, uint32_t seed) {
    const size_t n = static_cast<size_t>(v.seconds * kDemoSampleRate);
    NoiseSequence noise(seed);
    float phase = 0;
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        phase += kTwoPi * (v.from + (v.to - v.from) * t) / kDemoSampleRate;
        const float tone = std::sin(phase) >= 0 ? 0.6f : -0.6f;  // soft square
        const float mixed =
            (1 - v.noise) * (0.5f * std::sin(phase) + 0.5f * tone) + v.noise * noise.Next();
        const float s = mixed * v.volume * Envelope(i, n) * 32767.0f;
        out.push_back(static_cast<int16_t>(std::clamp(s, -32767.0f, 32767.0f)));
    }
}

std::vector<int16_t> Sound(std::initializer_list<Voice> voices, uint32_t seed) {
    std::vector<int16_t> out;
    for (const Voice& v : voices) Append(out, v, seed++);
    return out;
}
}  // namespace

std::vector<NamedSound> DemoSounds() {
    return {
        {"Menu", Sound({{0.06f, 880, 880, 0, 0.5f}, {0.08f, 1320, 1320, 0, 0.5f}}, 1)},
        {"Jump", Sound({{0.25f, 220, 660, 0, 0.5f}}, 2)},
        {"Hurt", Sound({{0.30f, 300, 90, 0.5f, 0.7f}}, 3)},
        {"PickUp", Sound({{0.07f, 988, 988, 0, 0.5f},
                          {0.07f, 1319, 1319, 0, 0.5f},
                          {0.12f, 1976, 1976, 0, 0.4f}},
                         4)},
        {"Door", Sound({{0.60f, 70, 45, 0.6f, 0.8f}}, 5)},
        {"Lever", Sound({{0.05f, 400, 300, 0.8f, 0.7f}, {0.08f, 200, 180, 0.3f, 0.6f}}, 6)},
        {"GolemSeen", Sound({{0.35f, 110, 160, 0.2f, 0.7f}}, 7)},
        {"Step", Sound({{0.05f, 120, 80, 0.9f, 0.4f}}, 8)},
    };
}

}  // namespace demo
