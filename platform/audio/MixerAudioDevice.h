// The sound-effect device over SDL2_mixer. Samples are converted once, when a
// buffer is made, to the mixer's own format (44100 Hz, 16-bit, stereo). Each
// playing buffer occupies one mixer channel, which plays a silent carrier
// chunk while an effect of ours writes the buffer's samples, scaled by gains
// that follow volume and pan exactly, from the buffer's own play position.
// Positional duplicates play on the reserved channels 0..255, other buffers
// on the pool of direct channels.
#pragma once

#include <memory>

#include "platform/audio/AudioDevice.h"

namespace platform::audio {

// Opens the device (and the shared mixer output); null when no audio device
// can be opened. Buffers that outlive the device stay silent and harmless.
std::unique_ptr<AudioDevice> OpenMixerAudioDevice();

}  // namespace platform::audio
