// The MIDI sequencer of the game's music: one file open at a time, played,
// stopped (where it stands) and closed, and asked for its position and length
// so that the game sees the end and can start it again. Implemented over
// SDL2_mixer's MIDI decoder with a General MIDI sound font (MixerMidi) and by
// a recording sequencer for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::music {

class MidiSequencer {
  public:
    // Closing is left to the owner: destroying an open sequencer closes it.
    virtual ~MidiSequencer() = default;
    // Opens `fileName` (a data path) at position 0. False, with nothing
    // changed, when a file is open already or this one cannot be read as MIDI.
    virtual bool Open(const std::string& fileName) = 0;
    // Plays the open file from its position; nothing when none is open or it
    // stands at its end.
    virtual void Play() = 0;
    // Stops playing; the position stays.
    virtual void Stop() = 0;
    // Stops and closes the open file; nothing when none is open.
    virtual void Close() = 0;
    // Milliseconds played, at most the length; none when no file is open.
    virtual std::optional<int64_t> PositionMs() const = 0;
    // The open file's length in milliseconds; none when no file is open or its
    // length cannot be told.
    virtual std::optional<int64_t> LengthMs() const = 0;
};

}  // namespace platform::music
