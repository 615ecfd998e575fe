// A music service for tests: plays nothing and records what each player was
// asked to do, in one log shared by all players.
#pragma once

#include <memory>
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
};

class RecordingMusic : public MusicService {
  public:
    RecordingMusic() : log_(std::make_shared<RecordingMusicLog>()) {}
    std::unique_ptr<ModulePlayer> CreatePlayer(bool loop) override;
    std::shared_ptr<RecordingMusicLog> Log() const { return log_; }

  private:
    std::shared_ptr<RecordingMusicLog> log_;
    int next_ = 1;
};

}  // namespace platform::music
