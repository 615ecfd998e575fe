#include "platform/audio/Gains.h"

#include <algorithm>
#include <cmath>

#include "platform/audio/AudioDevice.h"

namespace platform::audio {

double GainOfAttenuation(int64_t hundredthsOfDb) {
    if (hundredthsOfDb >= 0) return 1.0;
    if (hundredthsOfDb <= kVolumeMin) return 0.0;
    return std::pow(10.0, double(hundredthsOfDb) / 2000.0);
}

StereoGains GainsFromVolumeAndPan(int32_t volume, int32_t pan) {
    const int64_t v = std::clamp(volume, kVolumeMin, kVolumeMax);
    const int64_t p = std::clamp(pan, kPanLeft, kPanRight);
    StereoGains gains;
    gains.Left = GainOfAttenuation(v - std::max<int64_t>(p, 0));
    gains.Right = GainOfAttenuation(v + std::min<int64_t>(p, 0));
    return gains;
}

}  // namespace platform::audio
