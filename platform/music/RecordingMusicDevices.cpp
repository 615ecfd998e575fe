#include "platform/music/RecordingMusicDevices.h"

#include <algorithm>
#include <string>

namespace platform::music {
namespace {

class RecordingMidi : public MidiSequencer {
  public:
    explicit RecordingMidi(std::shared_ptr<RecordingMusicLog> log) : log_(std::move(log)) {}
    bool Open(const std::string& fileName) override {
        log_->Calls.push_back("midi open " + fileName);
        if (!log_->MidiFile.empty()) return false;
        log_->MidiFile = fileName;
        log_->MidiPosition = 0;
        return true;
    }
    void Play() override {
        log_->Calls.push_back("midi play");
        if (!log_->MidiFile.empty()) log_->MidiPlaying = true;
    }
    void Stop() override {
        log_->Calls.push_back("midi stop");
        log_->MidiPlaying = false;
    }
    void Close() override {
        log_->Calls.push_back("midi close");
        log_->MidiFile.clear();
        log_->MidiPlaying = false;
    }
    std::optional<int64_t> PositionMs() const override {
        return log_->MidiFile.empty() ? std::nullopt : log_->MidiPosition;
    }
    std::optional<int64_t> LengthMs() const override {
        return log_->MidiFile.empty() ? std::nullopt : log_->MidiLength;
    }

  private:
    std::shared_ptr<RecordingMusicLog> log_;
};

class RecordingMp3Piece : public Mp3Piece {
  public:
    RecordingMp3Piece(std::shared_ptr<RecordingMusicLog> log, int id)
        : log_(std::move(log)), id_(std::to_string(id)) {
        ++log_->Mp3Alive;
    }
    ~RecordingMp3Piece() override {
        if (running_) --log_->Mp3Running;
        log_->Calls.push_back("mp3 release " + id_);
        --log_->Mp3Alive;
    }
    void Rewind() override { log_->Calls.push_back("mp3 rewind " + id_); }
    void Run() override {
        log_->Calls.push_back("mp3 run " + id_);
        if (running_) return;
        running_ = true;
        log_->Mp3MostRunning = std::max(log_->Mp3MostRunning, ++log_->Mp3Running);
    }
    void Stop() override {
        log_->Calls.push_back("mp3 stop " + id_);
        if (running_) --log_->Mp3Running;
        running_ = false;
    }
    bool TakeCompletion() override {
        if (!running_ || !log_->Mp3Completed) return false;
        log_->Mp3Completed = false;
        return true;
    }

  private:
    std::shared_ptr<RecordingMusicLog> log_;
    std::string id_;
    bool running_ = false;
};

class RecordingMp3 : public Mp3Service {
  public:
    explicit RecordingMp3(std::shared_ptr<RecordingMusicLog> log) : log_(std::move(log)) {}
    std::unique_ptr<Mp3Piece> Render(const std::string& fileName) override {
        const int id = next_++;
        log_->Calls.push_back("mp3 render " + fileName + " as " + std::to_string(id));
        const auto& refused = log_->Mp3Unplayable;
        if (std::find(refused.begin(), refused.end(), fileName) != refused.end()) return nullptr;
        return std::make_unique<RecordingMp3Piece>(log_, id);
    }

  private:
    std::shared_ptr<RecordingMusicLog> log_;
    int next_ = 1;
};

}  // namespace

std::unique_ptr<MidiSequencer> MakeRecordingMidi(std::shared_ptr<RecordingMusicLog> log) {
    return std::make_unique<RecordingMidi>(std::move(log));
}

std::unique_ptr<Mp3Service> MakeRecordingMp3(std::shared_ptr<RecordingMusicLog> log) {
    return std::make_unique<RecordingMp3>(std::move(log));
}

}  // namespace platform::music
