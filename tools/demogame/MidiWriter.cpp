#include "tools/demogame/MidiWriter.h"

#include <algorithm>
#include <tuple>

namespace demo {

namespace {
void BigEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void Variable(std::string& out, uint32_t value) {
    std::string groups(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    out += groups;
}

struct TimedEvent {
    uint32_t Tick;
    int Order;  // offs (0) before ons (1) at one tick
    std::string Bytes;
};

uint32_t SongEnd(const MidiSong& song) {
    uint32_t end = 0;
    for (const MidiNote& n : song.Notes) end = std::max(end, n.Start + n.Length);
    return end;
}
}  // namespace

std::string MidiFileBytes(const MidiSong& song) {
    std::vector<TimedEvent> events;
    for (const MidiNote& n : song.Notes) {
        const char channel = static_cast<char>(n.Channel & 0x0F);
        events.push_back({n.Start,
                          1,
                          {static_cast<char>(0x90 | channel), static_cast<char>(n.Key & 0x7F),
                           static_cast<char>(n.Velocity & 0x7F)}});
        events.push_back({n.Start + n.Length,
                          0,
                          {static_cast<char>(0x80 | channel), static_cast<char>(n.Key & 0x7F), 0}});
    }
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return std::tie(a.Tick, a.Order) < std::tie(b.Tick, b.Order);
    });
    std::string track;
    Variable(track, 0);
    track += "\xFF\x51\x03";
    BigEndian(track, song.MicrosPerQuarter, 3);
    for (const auto& [channel, program] : song.Programs) {
        Variable(track, 0);
        track.push_back(static_cast<char>(0xC0 | (channel & 0x0F)));
        track.push_back(static_cast<char>(program & 0x7F));
    }
    uint32_t tick = 0;
    for (const TimedEvent& e : events) {
        Variable(track, e.Tick - tick);
        track += e.Bytes;
        tick = e.Tick;
    }
    Variable(track, SongEnd(song) - tick);
    track += std::string("\xFF\x2F\x00", 3);

    std::string file = "MThd";
    BigEndian(file, 6, 4);
    BigEndian(file, 0, 2);  // one track
    BigEndian(file, 1, 2);
    BigEndian(file, song.TicksPerQuarter, 2);
    file += "MTrk";
    BigEndian(file, static_cast<uint32_t>(track.size()), 4);
    return file + track;
}

int64_t MidiSongMs(const MidiSong& song) {
    if (song.TicksPerQuarter == 0) return 0;
    return int64_t{SongEnd(song)} * song.MicrosPerQuarter / song.TicksPerQuarter / 1000;
}

}  // namespace demo
