// The playing time of MIDI files read from their bytes: tempo maps, several
// tracks, running status, SMPTE time, and files that are cut or not MIDI.
#include "platform/music/MidiLength.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using platform::music::MidiFileLengthMs;

namespace {

std::string Big(uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Header(int tracks, uint32_t division) {
    return "MThd" + Big(6, 4) + Big(1, 2) + Big(uint32_t(tracks), 2) + Big(division, 2);
}

std::string Track(const std::string& events) {
    return "MTrk" + Big(uint32_t(events.size()), 4) + events;
}

// Delta times of one byte (under 128 ticks) or two.
std::string Delta(uint32_t ticks) {
    return ticks < 128 ? std::string(1, char(ticks))
                       : std::string{char(0x80 | (ticks >> 7)), char(ticks & 0x7F)};
}

std::string Tempo(uint32_t micros) { return std::string("\xFF\x51\x03", 3) + Big(micros, 3); }
const std::string kNoteOn = std::string("\x90\x3C\x64", 3);
const std::string kNoteOff = std::string("\x80\x3C\x00", 3);
const std::string kEnd = std::string("\xFF\x2F\x00", 3);

TEST(MidiFileLength, FollowsTheTempoMapAcrossTracks) {
    struct Case {
        const char* what;
        std::string file;
        std::optional<int64_t> ms;
    };
    const uint32_t q = 480;  // ticks per quarter
    const std::vector<Case> cases = {
        {"default tempo: 500 ms a quarter",
         Header(1, q) + Track(Delta(0) + kNoteOn + Delta(q) + kNoteOff + Delta(0) + kEnd), 500},
        {"end of track after a pause counts",
         Header(1, q) + Track(Delta(0) + kNoteOn + Delta(q) + kNoteOff + Delta(q) + kEnd), 1000},
        {"tempo change half-way",
         Header(1, q) + Track(Delta(0) + kNoteOn + Delta(q) + Tempo(250000) + Delta(q) + kNoteOff +
                              Delta(0) + kEnd),
         750},
        {"running status, sysex and meta text are skipped",
         Header(1, q) + Track(Delta(0) + "\xF0\x02\x7E\xF7" + Delta(0) + kNoteOn + Delta(q) +
                              std::string("\x3C\x00", 2) + Delta(0) + "\xFF\x01\x02hi" + Delta(q) +
                              "\xC0\x05" + Delta(0) + kEnd),
         1000},
        {"tempo of the first track times the longer second",
         Header(2, q) + Track(Delta(0) + Tempo(1000000) + Delta(0) + kEnd) +
             Track(Delta(0) + kNoteOn + Delta(q * 2) + kNoteOff + Delta(0) + kEnd),
         2000},
        {"unknown chunks are passed over",
         Header(1, q) + "XTRA" + Big(2, 4) + "ab" + Track(Delta(q) + kEnd), 500},
        {"SMPTE: 25 frames of 40 ticks a second", Header(1, 0xE728) + Track(Delta(100) + kEnd),
         100},
        {"a cut track counts up to its last whole event",
         Header(1, q) + "MTrk" + Big(100, 4) + Delta(q) + kNoteOn + Delta(q) + "\x80", 500},
        {"data before any status ends the track", Header(1, q) + Track(Delta(q) + "\x3C\x40"), 0},
        {"not MIDI", "RIFF....WAVEfmt ", std::nullopt},
        {"no track", Header(1, q), std::nullopt},
        {"division 0", Header(1, 0) + Track(Delta(0) + kEnd), std::nullopt},
        {"header cut short", "MThd" + Big(6, 4) + "\x00\x01", std::nullopt},
        {"huge delta times stay in range",
         Header(1, 1) + Track(std::string("\x8F\xFF\xFF\x7F", 4) + kEnd), 0x1FFFFFFLL * 500},
    };
    for (const Case& c : cases) EXPECT_EQ(MidiFileLengthMs(c.file), c.ms) << c.what;
}

}  // namespace
