// Builds RIFF WAVE files in memory for the sound tests, chunk by chunk, so
// that tests can also write broken or unusual layouts.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace wavetest {

inline void PutU16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}

inline void PutU32(std::string& s, uint32_t v) {
    PutU16(s, v & 0xFFFF);
    PutU16(s, v >> 16);
}

// One chunk: id, the declared size (the body's length unless given), the body
// and its pad byte when odd.
inline std::string Chunk(const std::string& id, const std::string& body, int64_t declared = -1) {
    std::string s = id;
    PutU32(s, declared < 0 ? uint32_t(body.size()) : uint32_t(declared));
    s += body;
    if (body.size() % 2 == 1) s += '\0';
    return s;
}

// The 16-byte body of a "fmt " chunk.
inline std::string FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                           int blockAlign = -1) {
    const uint16_t align = blockAlign < 0 ? uint16_t(channels * bits / 8) : uint16_t(blockAlign);
    std::string s;
    PutU16(s, tag);
    PutU16(s, channels);
    PutU32(s, rate);
    PutU32(s, rate * align);
    PutU16(s, align);
    PutU16(s, bits);
    return s;
}

// "RIFF" + size + "WAVE" around the given chunks.
inline std::string Riff(const std::string& chunks, int64_t declared = -1) {
    std::string s = "RIFF";
    PutU32(s, declared < 0 ? uint32_t(chunks.size() + 4) : uint32_t(declared));
    return s + "WAVE" + chunks;
}

// A plain PCM wave with the given samples.
inline std::string PcmWave(uint16_t channels, uint32_t rate, uint16_t bits,
                           const std::string& samples) {
    return Riff(Chunk("fmt ", FmtBody(1, channels, rate, bits)) + Chunk("data", samples));
}

// 16-bit samples of a sine tone; `channels` copies of each sample, the
// channels scaled by `gains` (left, right).
inline std::string Sine16(int frames, int channels, double hz, uint32_t rate, double leftGain = 1.0,
                          double rightGain = 1.0) {
    std::string s;
    for (int i = 0; i < frames; ++i) {
        const double v = std::sin(2 * 3.14159265358979 * hz * i / rate) * 12000;
        PutU16(s, uint16_t(int16_t(v * leftGain)));
        if (channels == 2) PutU16(s, uint16_t(int16_t(v * rightGain)));
    }
    return s;
}

}  // namespace wavetest
