// Speech over espeak-ng: its voices are the modes (named as espeak-ng names
// them, "English (Great Britain)"), its pitch runs 0..100, and each text is
// synthesised to 16-bit samples at once and played on the mixer's speech
// channel. espeak-ng is one engine per process: only one EspeakSpeech lives
// at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/speech/SpeechEngine.h"

namespace platform::speech {

class EspeakSpeech : public SpeechEngine {
  public:
    // The engine with its voice list and punctuation left unspoken; null when
    // espeak-ng or its data cannot be started, or one is running already. The
    // speech stays silent when no audio device can be opened.
    static std::unique_ptr<EspeakSpeech> Open();
    ~EspeakSpeech() override;

    int32_t ModeCount() const override;
    std::string ModeName(int32_t mode) const override;
    int32_t CurrentMode() const override { return mode_; }
    bool SelectMode(int32_t mode) override;
    int32_t MinPitch() const override { return 0; }
    int32_t MaxPitch() const override { return 100; }
    void SetPitch(int32_t pitch) override;
    void Reset() override;
    void Speak(const std::string& cp1252Text) override;

    // The samples of `cp1252Text` spoken as Speak would, mono at SampleRate().
    std::vector<int16_t> Synthesize(const std::string& cp1252Text);
    int32_t SampleRate() const { return rate_; }

  private:
    struct Voice {
        std::string Name, Identifier;
    };
    struct Output;
    EspeakSpeech();

    std::vector<Voice> voices_;
    int32_t mode_ = 0;
    int32_t rate_ = 22050;
    std::unique_ptr<Output> output_;
};

}  // namespace platform::speech
