// The procedural sounds of the demo game (mono, 16-bit, 22050 Hz): short
// tones, sweeps and noise bursts with a fade in and out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct NamedSound {
    std::string Name;  // the file is Name + ".wav"
    std::vector<int16_t> Samples;
};

// "Menu", "Jump", "Hurt", "PickUp", "Door", "Lever", "GolemSeen", "Step".
std::vector<NamedSound> DemoSounds();

}  // namespace demo
