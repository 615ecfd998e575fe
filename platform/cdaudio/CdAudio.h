// The CD audio drive of the game's music: opened, set to track-based time,
// asked for its number of tracks, told to play from one track to another,
// asked for its mode (stopped, playing) and closed. Answers are the drive's
// texts; a machine without a drive answers nothing. This platform has no CD
// audio: OpenNoCdDrive gives a drive that is never there. A recording drive
// serves tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform::cdaudio {

class CdAudio {
  public:
    virtual ~CdAudio() = default;
    // False when there is no drive.
    virtual bool Open() = 0;
    // Positions count in tracks, minutes, seconds and frames from now on.
    virtual void SetTrackTimeFormat() = 0;
    // The number of tracks as the drive writes it; empty when it answers nothing.
    virtual std::string NumberOfTracks() = 0;
    // Plays from the start of track `from` to the start of track `to`, or to
    // the end of the disc.
    virtual void Play(int64_t from, std::optional<int64_t> to) = 0;
    // "stopped", "playing", "paused", ... as the drive writes it; empty when it
    // answers nothing.
    virtual std::string Mode() = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
};

// The drive of a machine without one: Open fails, questions get no answer,
// commands do nothing.
std::unique_ptr<CdAudio> OpenNoCdDrive();

}  // namespace platform::cdaudio
