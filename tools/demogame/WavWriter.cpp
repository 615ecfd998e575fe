#include "tools/demogame/WavWriter.h"

#include "tools/demogame/Bytes.h"

namespace demo {

std::string WaveFileBytes(const std::vector<int16_t>& samples, uint32_t rate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string s = "RIFF";
    AppendU32(s, 4 + (8 + 16) + (8 + dataBytes));
    s += "WAVEfmt ";
    AppendU32(s, 16);
    AppendU16(s, 1);  // PCM
    AppendU16(s, 1);  // mono
    AppendU32(s, rate);
    AppendU32(s, rate * 2);  // bytes per second
    AppendU16(s, 2);         // block align
    AppendU16(s, 16);        // bits per sample
    s += "data";
    AppendU32(s, dataBytes);
    for (int16_t v : samples) AppendU16(s, static_cast<uint16_t>(v));
    return s;
}

}  // namespace demo
