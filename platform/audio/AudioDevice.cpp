#include "platform/audio/AudioDevice.h"

namespace platform::audio {

bool IsPlayablePcm(const PcmFormat& format) {
    if (format.Channels != 1 && format.Channels != 2) return false;
    if (format.BitsPerSample != 8 && format.BitsPerSample != 16) return false;
    if (format.BlockAlign != format.Channels * format.BitsPerSample / 8) return false;
    return format.SamplesPerSecond >= 1000 && format.SamplesPerSecond <= 384000;
}

}  // namespace platform::audio
