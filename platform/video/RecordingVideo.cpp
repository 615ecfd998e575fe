#include "platform/video/RecordingVideo.h"

#include <algorithm>

namespace platform::video {
namespace {

class RecordingStream : public VideoStream {
  public:
    RecordingStream(std::shared_ptr<RecordingVideoLog> log, int id)
        : log_(std::move(log)), id_(std::to_string(id)) {
        ++log_->Alive;
    }
    ~RecordingStream() override {
        log_->Calls.push_back("release " + id_);
        --log_->Alive;
    }
    void Rewind() override { log_->Calls.push_back("rewind " + id_); }
    void Run(uint32_t) override {
        log_->Calls.push_back("run " + id_);
        running_ = true;
        if (picture_.Serial == 0) {
            picture_ = {2, 2, std::vector<uint8_t>(16, 0x80), 1};
        }
    }
    void Stop() override {
        log_->Calls.push_back("stop " + id_);
        running_ = false;
    }
    void Advance(uint32_t) override {}
    bool TakeCompletion() override {
        if (!running_ || !log_->Complete) return false;
        log_->Complete = false;
        running_ = false;
        return true;
    }
    bool Failed() const override { return running_ && log_->FailRunning; }
    const Picture* CurrentPicture() const override {
        return picture_.Serial == 0 ? nullptr : &picture_;
    }

  private:
    std::shared_ptr<RecordingVideoLog> log_;
    std::string id_;
    bool running_ = false;
    Picture picture_;
};

}  // namespace

std::unique_ptr<VideoStream> RecordingVideo::Open(const std::string& fileName) {
    const int id = next_++;
    log_->Calls.push_back("open " + fileName + " as " + std::to_string(id));
    const auto& refused = log_->Undecodable;
    if (std::find(refused.begin(), refused.end(), fileName) != refused.end()) return nullptr;
    return std::make_unique<RecordingStream>(log_, id);
}

}  // namespace platform::video
