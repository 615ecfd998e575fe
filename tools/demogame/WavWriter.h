// WAV files for the demo game: 16-bit mono PCM in a RIFF WAVE file with a
// "fmt " and a "data" chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

constexpr uint32_t kDemoSampleRate = 22050;

// The bytes of a WAV file holding `samples` at `rate` samples per second.
std::string WaveFileBytes(const std::vector<int16_t>& samples, uint32_t rate = kDemoSampleRate);

}  // namespace demo
