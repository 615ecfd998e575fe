// Tracker modules for the demo game: four-channel ProTracker files ("M.K.")
// with up to 31 samples of signed 8-bit sound and patterns of 64 rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct ModSample {
    std::string Name;
    std::vector<int8_t> Data;  // an even number of bytes
    uint8_t Volume = 64;       // 0..64
    uint32_t LoopStart = 0;    // bytes, even
    uint32_t LoopLength = 0;   // bytes, even; 0: played once
};

// One note of one channel in one row: sample 1..31 (0: keep), the Amiga
// period of the pitch (0: none) and an effect with its parameter.
struct ModCell {
    uint8_t Sample = 0;
    uint16_t Period = 0;
    uint8_t Effect = 0;
    uint8_t Param = 0;
};

using ModPattern = std::array<std::array<ModCell, 4>, 64>;

struct ModSong {
    std::string Title;
    std::vector<ModSample> Samples;    // at most 31
    std::vector<ModPattern> Patterns;  // at most 64
    std::vector<uint8_t> Order;        // pattern numbers, 1..128 of them
};

// The Amiga period of note `n` semitones above C of the tracker's first
// octave (0..35: C-1 to B-3).
uint16_t ModPeriod(int n);

std::string ModFileBytes(const ModSong& song);

}  // namespace demo
