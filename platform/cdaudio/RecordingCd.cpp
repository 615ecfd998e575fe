#include "platform/cdaudio/RecordingCd.h"

#include <string>

namespace platform::cdaudio {
namespace {

using platform::music::RecordingMusicLog;

class RecordingCd : public CdAudio {
  public:
    explicit RecordingCd(std::shared_ptr<RecordingMusicLog> log) : log_(std::move(log)) {}
    bool Open() override {
        Note("cd open");
        open_ = log_->CdDrive;
        return open_;
    }
    void SetTrackTimeFormat() override { Note("cd tmsf"); }
    std::string NumberOfTracks() override {
        Note("cd tracks?");
        return open_ ? log_->CdTracks : std::string();
    }
    void Play(int64_t from, std::optional<int64_t> to) override {
        Note("cd play " + std::to_string(from) + (to ? " to " + std::to_string(*to) : ""));
        if (open_) log_->CdMode = "playing";
    }
    std::string Mode() override {
        Note("cd mode?");
        return open_ ? log_->CdMode : std::string();
    }
    void Stop() override { Note("cd stop"); }
    void Close() override {
        Note("cd close");
        open_ = false;
    }

  private:
    void Note(const std::string& call) { log_->Calls.push_back(call); }
    std::shared_ptr<RecordingMusicLog> log_;
    bool open_ = false;
};

}  // namespace

std::unique_ptr<CdAudio> MakeRecordingCd(std::shared_ptr<RecordingMusicLog> log) {
    return std::make_unique<RecordingCd>(std::move(log));
}

}  // namespace platform::cdaudio
