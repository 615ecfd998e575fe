#include "tools/demogame/DemoMusic.h"

#include <algorithm>

#include "tools/demogame/Noise.h"

namespace demo {

namespace {
constexpr uint32_t kBeat = 480;  // ticks per quarter note

// Chord roots of the eight bars (MIDI keys): C, A minor, F, G, twice.
constexpr int kRoots[8] = {48, 45, 41, 43, 48, 45, 41, 43};
constexpr bool kMinor[8] = {false, true, false, false, false, true, false, false};

void Add(MidiSong& song, uint32_t start, uint32_t length, uint8_t channel, int key,
         uint8_t velocity) {
    song.Notes.push_back({start, length, channel, static_cast<uint8_t>(key), velocity});
}

// The samples of the module: one cycle of a square, of a triangle, and a short
// burst of noise.
ModSample Square() {
    ModSample s{"square", std::vector<int8_t>(32), 48, 0, 32};
    for (size_t i = 0; i < s.Data.size(); ++i) s.Data[i] = i < 16 ? 80 : -80;
    return s;
}

ModSample Triangle() {
    ModSample s{"triangle", std::vector<int8_t>(64), 64, 0, 64};
    for (size_t i = 0; i < s.Data.size(); ++i) {
        const int v = i < 32 ? static_cast<int>(i) * 8 - 127 : 383 - static_cast<int>(i) * 8;
        s.Data[i] = static_cast<int8_t>(std::clamp(v, -127, 127));
    }
    return s;
}

ModSample NoiseHit() {
    ModSample s{"noise", std::vector<int8_t>(1200), 40, 0, 0};
    NoiseSequence noise(99);
    for (size_t i = 0; i < s.Data.size(); ++i) {
        const float fade = 1.0f - static_cast<float>(i) / static_cast<float>(s.Data.size());
        s.Data[i] = static_cast<int8_t>(std::clamp(noise.Next() * 100.0f * fade, -127.0f, 127.0f));
    }
    return s;
}

ModCell Note(int sample, int note) { return {static_cast<uint8_t>(sample), ModPeriod(note), 0, 0}; }

// One pattern over four chords of four rows × 4 (a chord every 16 rows).
ModPattern Pattern(const int (&chords)[4], const int (&melody)[16]) {
    ModPattern p{};
    p[0][3] = {0, 0, 0xF, 6};  // speed 6: a row lasts 120 ms
    for (int bar = 0; bar < 4; ++bar) {
        const int root = chords[bar];
        for (int step = 0; step < 16; ++step) {
            const int row = bar * 16 + step;
            if (step % 8 == 0) p[row][1] = Note(2, root);
            if (step % 2 == 0) p[row][2] = Note(1, root + 12 + (step / 2 % 3) * 4);
            if (step % 4 == 0) p[row][3] = Note(3, 24);
        }
        for (int n = 0; n < 4; ++n) p[bar * 16 + n * 4][0] = Note(1, melody[bar * 4 + n]);
    }
    return p;
}
}  // namespace

MidiSong TitleTune() {
    MidiSong song;
    song.Programs = {{0, 73}, {1, 48}, {2, 32}};  // flute, strings, bass
    const int melody[8][4] = {{72, 76, 79, 76}, {72, 76, 69, 72}, {69, 72, 77, 72},
                              {71, 74, 79, 74}, {76, 79, 84, 79}, {76, 72, 69, 72},
                              {77, 76, 74, 72}, {71, 74, 67, 72}};
    for (uint32_t bar = 0; bar < 8; ++bar) {
        const uint32_t at = bar * 4 * kBeat;
        const int root = kRoots[bar];
        for (int step = 0; step < 4; ++step) {
            Add(song, at + step * kBeat, kBeat - 40, 0, melody[bar][step], 100);
        }
        for (int key : {root + 12, root + (kMinor[bar] ? 15 : 16), root + 19}) {
            Add(song, at, 4 * kBeat - 60, 1, key, 60);
        }
        Add(song, at, 2 * kBeat - 40, 2, root - 12, 90);
        Add(song, at + 2 * kBeat, 2 * kBeat - 40, 2, root - 5, 80);
    }
    return song;
}

ModSong TrophyRoomTune() {
    ModSong song;
    song.Title = "trophy room";
    song.Samples = {Square(), Triangle(), NoiseHit()};
    const int first[4] = {12, 9, 5, 7};    // C, A, F, G
    const int second[4] = {5, 7, 12, 12};  // F, G, C, C
    const int melodyA[16] = {24, 28, 31, 28, 21, 24, 28, 24, 17, 21, 24, 21, 19, 23, 26, 23};
    const int melodyB[16] = {29, 28, 26, 24, 31, 29, 28, 26, 28, 31, 35, 31, 33, 31, 28, 24};
    song.Patterns = {Pattern(first, melodyA), Pattern(second, melodyB)};
    song.Order = {0, 1};
    return song;
}

}  // namespace demo
