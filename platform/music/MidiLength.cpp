#include "platform/music/MidiLength.h"

#include <algorithm>
#include <vector>

namespace platform::music {
namespace {

constexpr int64_t kDefaultTempo = 500000;  // microseconds per quarter note

struct TempoChange {
    int64_t Tick;
    int64_t MicrosPerQuarter;
};

// Reads big-endian and variable-length numbers from one chunk; every read
// past the end fails and leaves the reader failed.
class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    bool AtEnd() const { return at_ >= bytes_.size(); }
    size_t Offset() const { return at_; }

    uint32_t Byte() {
        if (at_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return static_cast<uint8_t>(bytes_[at_++]);
    }
    uint32_t Big(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) value = value << 8 | Byte();
        return value;
    }
    // At most four bytes, as the format allows.
    uint32_t Variable() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const uint32_t b = Byte();
            value = value << 7 | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        ok_ = false;
        return 0;
    }
    void Skip(uint64_t count) {
        if (count > bytes_.size() - std::min(at_, bytes_.size())) {
            ok_ = false;
            at_ = bytes_.size();
            return;
        }
        at_ += static_cast<size_t>(count);
    }
    std::string_view Take(uint64_t count) {
        const size_t from = std::min(at_, bytes_.size());
        const size_t length = static_cast<size_t>(std::min<uint64_t>(count, bytes_.size() - from));
        if (length < count) ok_ = false;
        at_ = from + length;
        return bytes_.substr(from, length);
    }

  private:
    std::string_view bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

// Data bytes after the status byte of a channel message.
int ChannelDataBytes(uint32_t status) {
    const uint32_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

enum class Event { Read, EndOfTrack, Bad };

// One event after its delta time, at `tick`.
Event ReadEvent(ByteReader& track, uint32_t& runningStatus, int64_t tick,
                std::vector<TempoChange>& tempos) {
    const uint32_t status = track.Byte();
    if (status == 0xFF) {
        const uint32_t type = track.Byte();
        const std::string_view data = track.Take(track.Variable());
        if (!track.Ok()) return Event::Bad;
        if (type == 0x2F) return Event::EndOfTrack;
        if (type == 0x51 && data.size() == 3) {
            const int64_t tempo = int64_t{static_cast<uint8_t>(data[0])} << 16 |
                                  int64_t{static_cast<uint8_t>(data[1])} << 8 |
                                  static_cast<uint8_t>(data[2]);
            if (tempo > 0) tempos.push_back({tick, tempo});
        }
        return Event::Read;
    }
    if (status == 0xF0 || status == 0xF7) {
        track.Skip(track.Variable());
    } else if (status >= 0x80 && status < 0xF0) {
        runningStatus = status;
        track.Skip(static_cast<uint64_t>(ChannelDataBytes(status)));
    } else if (status < 0x80 && runningStatus != 0) {
        track.Skip(static_cast<uint64_t>(ChannelDataBytes(runningStatus) - 1));
    } else {
        // Data without a status, or a system message that does not belong in a file.
        return Event::Bad;
    }
    return track.Ok() ? Event::Read : Event::Bad;
}

// The tick of the track's last whole event; its tempo changes go to `tempos`.
int64_t TrackEndTick(std::string_view bytes, std::vector<TempoChange>& tempos) {
    ByteReader track(bytes);
    uint32_t runningStatus = 0;  // 0: none yet
    int64_t tick = 0, lastTick = 0;
    while (!track.AtEnd()) {
        const int64_t next = tick + track.Variable();
        if (!track.Ok()) break;
        const Event event = ReadEvent(track, runningStatus, next, tempos);
        if (event == Event::Bad) break;
        tick = lastTick = next;
        if (event == Event::EndOfTrack) break;
    }
    return lastTick;
}

// A length in milliseconds held to what 64 bits hold.
int64_t HeldMs(double ms) { return ms >= 9.0e18 ? int64_t{9000000000000000000} : int64_t(ms); }

// Milliseconds of `ticks` at `division` ticks per quarter through `tempos`.
int64_t TicksToMs(int64_t ticks, uint32_t division, std::vector<TempoChange> tempos) {
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.Tick < b.Tick; });
    double micros = 0;
    int64_t tick = 0, tempo = kDefaultTempo;
    for (const TempoChange& change : tempos) {
        if (change.Tick >= ticks) break;
        micros += static_cast<double>(change.Tick - tick) * static_cast<double>(tempo) / division;
        tick = change.Tick;
        tempo = change.MicrosPerQuarter;
    }
    micros += static_cast<double>(ticks - tick) * static_cast<double>(tempo) / division;
    return HeldMs(micros / 1000.0);
}

}  // namespace

std::optional<int64_t> MidiFileLengthMs(std::string_view bytes) {
    ByteReader file(bytes);
    if (file.Take(4) != "MThd") return std::nullopt;
    const uint32_t headerLength = file.Big(4);
    const std::string_view header = file.Take(headerLength);
    if (!file.Ok() || header.size() < 6) return std::nullopt;
    ByteReader head(header);
    head.Big(2);  // format: tracks of every format are timed alike
    head.Big(2);  // the track count in the header; the chunks are what counts
    const uint32_t division = head.Big(2);
    if (division == 0) return std::nullopt;

    std::vector<TempoChange> tempos;
    int64_t endTick = 0;
    bool anyTrack = false;
    while (!file.AtEnd()) {
        const std::string_view id = file.Take(4);
        const uint32_t length = file.Big(4);
        if (!file.Ok()) break;
        const std::string_view chunk = file.Take(length);  // a cut chunk keeps what is there
        if (id != "MTrk") continue;
        anyTrack = true;
        endTick = std::max(endTick, TrackEndTick(chunk, tempos));
    }
    if (!anyTrack) return std::nullopt;
    if ((division & 0x8000) != 0) {
        // SMPTE: frames per second in the high byte (negative), ticks per frame.
        const int64_t fps = -static_cast<int64_t>(static_cast<int8_t>(division >> 8));
        const int64_t perFrame = division & 0xFF;
        if (fps <= 0 || perFrame == 0) return std::nullopt;
        return HeldMs(static_cast<double>(endTick) * 1000.0 / static_cast<double>(fps * perFrame));
    }
    return TicksToMs(endTick, division, std::move(tempos));
}

}  // namespace platform::music
