// Standard MIDI files for the demo game: one track (format 0) with the tempo,
// the instruments of the channels and the notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct MidiNote {
    uint32_t Start = 0;   // ticks
    uint32_t Length = 0;  // ticks
    uint8_t Channel = 0;  // 0..15
    uint8_t Key = 60;     // 60: middle C
    uint8_t Velocity = 96;
};

struct MidiSong {
    uint16_t TicksPerQuarter = 480;
    uint32_t MicrosPerQuarter = 500000;                 // 120 beats a minute
    std::vector<std::pair<uint8_t, uint8_t>> Programs;  // (channel, General MIDI program)
    std::vector<MidiNote> Notes;
};

// The bytes of the file: the tempo and programs at tick 0, every note on and
// off in time order (offs before ons at one tick), the end of the track at
// the last note's end.
std::string MidiFileBytes(const MidiSong& song);

}  // namespace demo
