// Conversion of the game's volume and pan (hundredths of a decibel) into the
// linear gains by which the mixer scales the left and right samples.
#pragma once

#include <cstdint>

namespace platform::audio {

struct StereoGains {
    double Left = 1.0;
    double Right = 1.0;
};

// 10^(hundredths / 2000): 1 at 0 and above, 0 at -10000 and below.
double GainOfAttenuation(int64_t hundredthsOfDb);

// Gains of a sound at `volume` (-10000..0) and `pan` (-10000..10000): a
// positive pan attenuates the left side by pan hundredths of a decibel, a
// negative one the right side; each side's attenuation adds to the volume.
// Arguments outside their ranges are clamped.
StereoGains GainsFromVolumeAndPan(int32_t volume, int32_t pan);

}  // namespace platform::audio
