#include "tools/demogame/MidiWriter.h"

#include <algorithm>
#include <tuple>

#include "tools/demogame/Bytes.h"

namespace demo {

namespace {
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
    AppendBigEndian(track, song.MicrosPerQuarter, 3);
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
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, 0, 2);  // format 0: one track
    AppendBigEndian(file, 1, 2);
    AppendBigEndian(file, song.TicksPerQuarter, 2);
    file += "MTrk";
    AppendBigEndian(file, static_cast<uint32_t>(track.size()), 4);
    return file + track;
}

}  // namespace demo
