#include "platform/music/RecordingMusic.h"

#include <algorithm>

namespace platform::music {
namespace {

class RecordingPlayer : public ModulePlayer {
  public:
    RecordingPlayer(std::shared_ptr<RecordingMusicLog> log, int id)
        : log_(std::move(log)), id_(std::to_string(id)) {
        ++log_->Alive;
    }
    ~RecordingPlayer() override {
        --log_->Alive;
        Note("destroy " + id_);
    }
    bool Load(const std::string& fileName) override {
        Note("load " + id_ + " " + fileName);
        ready_ = log_->FilesReady;
        return ready_;
    }
    void Rewind() override { Note("rewind " + id_); }
    bool IsReady() const override { return ready_; }
    void Play() override {
        Note("play " + id_);
        playing_ = ready_;
    }
    void SetVolume(int volume) override {
        Note("volume " + id_ + " " + std::to_string(std::clamp(volume, 0, 100)));
    }
    bool IsPlaying() const override { return playing_; }

  private:
    void Note(const std::string& call) { log_->Calls.push_back(call); }

    std::shared_ptr<RecordingMusicLog> log_;
    std::string id_;
    bool ready_ = false;
    bool playing_ = false;
};

}  // namespace

std::unique_ptr<ModulePlayer> RecordingMusic::CreatePlayer(bool loop) {
    const int id = next_++;
    log_->Calls.push_back("create " + std::to_string(id) + (loop ? " loop" : " once"));
    return std::make_unique<RecordingPlayer>(log_, id);
}

}  // namespace platform::music
