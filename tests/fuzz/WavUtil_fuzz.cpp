// Fuzz target: the WAV reader (RIFF chunk walk, "fmt " and "data" chunks)
// fed from memory. A refused file throws TWaveError; anything else is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "support/WavUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const TIWave wave("fuzz.wav", std::string_view(reinterpret_cast<const char*>(data), size));
        if (wave.Data.size() < wave.DataSize) std::abort();
        if (wave.Format.size() < wave.FormatSize) std::abort();
        TWaveFormatHeader header;
        wave.GetFormat(header);
        if (wave.Channels() != header.Channels) std::abort();
        if (wave.BitsPerSample() != header.BitsPerSample) std::abort();
    } catch (const TWaveError&) {
    }
    return 0;
}
