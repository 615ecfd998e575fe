// A music service for tests: plays nothing and records what each player was
// asked to do, in one log shared by all players. The recording MIDI
// sequencer, MP3 service and CD drive write into the same log, so that a test
// reads the commands of every kind of music in the order they came.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/music/MusicPlayer.h"

namespace platform::music {

struct RecordingMusicLog {
    // e.g. "create 1 loop", "load 1 song.mod", "rewind 1", "play 1", "volume 1 0",
    // "destroy 1"
    std::vector<std::string> Calls;
    int Alive = 0;           // players not destroyed
    bool FilesReady = true;  // whether loaded pieces become ready

    // The MIDI sequencer ("midi open a.mid", "midi play", "midi stop",
    // "midi close"): the open file, whether it plays, and the answers that
    // the test sets (the position goes back to 0 when a file opens).
    std::string MidiFile;  // empty: none open
    bool MidiPlaying = false;
    std::optional<int64_t> MidiPosition = 0, MidiLength = 60000;

    // MP3 pieces ("mp3 render a.mp3 as 1", "mp3 rewind 1", "mp3 run 1",
    // "mp3 stop 1", "mp3 release 1"); files named here cannot be rendered.
    std::vector<std::string> Mp3Unplayable;
    int Mp3Alive = 0;
    int Mp3Running = 0;         // pieces alive and running
    int Mp3MostRunning = 0;     // the most that ever ran at once
    bool Mp3Completed = false;  // the running pieces report their end once

    // The CD drive ("cd open", "cd tmsf", "cd tracks?", "cd play 3 to 4",
    // "cd mode?", "cd stop", "cd close"): the answers, none for a machine
    // without a drive.
    bool CdDrive = false;
    std::string CdTracks;
    std::string CdMode;
};

class RecordingMusic : public MusicService {
  public:
    RecordingMusic() : log_(std::make_shared<RecordingMusicLog>()) {}
    // Writes into a log shared with other recording music devices.
    explicit RecordingMusic(std::shared_ptr<RecordingMusicLog> log) : log_(std::move(log)) {}
    std::unique_ptr<ModulePlayer> CreatePlayer(bool loop) override;
    std::shared_ptr<RecordingMusicLog> Log() const { return log_; }

  private:
    std::shared_ptr<RecordingMusicLog> log_;
    int next_ = 1;
};

}  // namespace platform::music
