// A speech engine for tests: speaks nothing, offers the modes it was given
// and records what it was asked ("select 2", "reset", "pitch 150",
// "speak Hello").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/speech/SpeechEngine.h"

namespace platform::speech {

struct RecordingSpeechLog {
    std::vector<std::string> Calls;
    int32_t CurrentMode = 0;
    int32_t LastPitch = -1;
};

class RecordingSpeech : public SpeechEngine {
  public:
    RecordingSpeech(std::vector<std::string> modes, int32_t minPitch, int32_t maxPitch)
        : modes_(std::move(modes)),
          min_(minPitch),
          max_(maxPitch),
          log_(std::make_shared<RecordingSpeechLog>()) {}
    std::shared_ptr<RecordingSpeechLog> Log() const { return log_; }

    int32_t ModeCount() const override { return static_cast<int32_t>(modes_.size()); }
    std::string ModeName(int32_t mode) const override;
    int32_t CurrentMode() const override { return log_->CurrentMode; }
    bool SelectMode(int32_t mode) override;
    int32_t MinPitch() const override { return min_; }
    int32_t MaxPitch() const override { return max_; }
    void SetPitch(int32_t pitch) override;
    void Reset() override { log_->Calls.push_back("reset"); }
    void Speak(const std::string& cp1252Text) override {
        log_->Calls.push_back("speak " + cp1252Text);
    }

  private:
    std::vector<std::string> modes_;
    int32_t min_, max_;
    std::shared_ptr<RecordingSpeechLog> log_;
};

}  // namespace platform::speech
