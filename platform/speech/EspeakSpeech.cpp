#include "platform/speech/EspeakSpeech.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>

#include "platform/audio/MixerSession.h"
#include "platform/audio/PcmStream.h"
#include "platform/text/Cp1252.h"

namespace platform::speech {
namespace {

// The samples of the utterance being synthesised; set around each synthesis.
std::vector<int16_t>* SynthesisTarget = nullptr;

int CollectSamples(short* samples, int count, espeak_EVENT* /*events*/) {
    if (SynthesisTarget != nullptr && samples != nullptr && count > 0) {
        SynthesisTarget->insert(SynthesisTarget->end(), samples, samples + count);
    }
    return 0;  // go on
}

// espeak-ng's one engine of the process: initialised once and kept to the
// process's end (its termination can wait forever on its own thread); one
// speech object at a time uses it.
class EspeakSession {
  public:
    static bool Start() {
        if (inUse_) return false;
        if (!initialised_) {
            espeak_ng_InitializePath(nullptr);
            if (espeak_ng_Initialize(nullptr) != ENS_OK) return false;
            if (espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK) {
                return false;
            }
            initialised_ = true;
        }
        inUse_ = true;
        return true;
    }
    static void Stop() { inUse_ = false; }

  private:
    static inline bool initialised_ = false;
    static inline bool inUse_ = false;
};

constexpr const char* kDefaultVoice = "en";

}  // namespace

struct EspeakSpeech::Output {
    std::unique_ptr<platform::audio::PcmStream> Stream;
};

EspeakSpeech::EspeakSpeech() : output_(std::make_unique<Output>()) {}

EspeakSpeech::~EspeakSpeech() {
    output_.reset();
    EspeakSession::Stop();
}

std::unique_ptr<EspeakSpeech> EspeakSpeech::Open() {
    if (!EspeakSession::Start()) return nullptr;
    std::unique_ptr<EspeakSpeech> speech(new EspeakSpeech());
    espeak_SetSynthCallback(CollectSamples);
    speech->rate_ = espeak_ng_GetSampleRate();
    // The start-up setting: punctuation is not read out.
    espeak_ng_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
    if (espeak_ng_SetVoiceByName(kDefaultVoice) != ENS_OK) return nullptr;
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v != nullptr && *v != nullptr; ++v) {
        if ((*v)->name != nullptr && (*v)->identifier != nullptr) {
            speech->voices_.push_back({(*v)->name, (*v)->identifier});
        }
    }
    speech->output_->Stream =
        platform::audio::PcmStream::Open(platform::audio::kSpeechChannel, speech->rate_, 1);
    return speech;
}

int32_t EspeakSpeech::ModeCount() const { return static_cast<int32_t>(voices_.size()); }

std::string EspeakSpeech::ModeName(int32_t mode) const {
    if (mode < 1 || mode > ModeCount()) return {};
    return voices_[static_cast<size_t>(mode) - 1].Name;
}

bool EspeakSpeech::SelectMode(int32_t mode) {
    if (mode < 0 || mode > ModeCount()) return false;
    const char* voice =
        mode == 0 ? kDefaultVoice : voices_[static_cast<size_t>(mode) - 1].Identifier.c_str();
    if (espeak_ng_SetVoiceByName(voice) != ENS_OK) return false;
    mode_ = mode;
    return true;
}

void EspeakSpeech::SetPitch(int32_t pitch) {
    espeak_ng_SetParameter(espeakPITCH, std::clamp(pitch, MinPitch(), MaxPitch()), 0);
}

void EspeakSpeech::Reset() {
    if (output_->Stream) output_->Stream->Clear();
}

std::vector<int16_t> EspeakSpeech::Synthesize(const std::string& cp1252Text) {
    std::vector<int16_t> samples;
    const std::string text = platform::Cp1252ToUtf8(cp1252Text);
    SynthesisTarget = &samples;
    espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                         nullptr, nullptr);
    SynthesisTarget = nullptr;
    return samples;
}

void EspeakSpeech::Speak(const std::string& cp1252Text) {
    const std::vector<int16_t> samples = Synthesize(cp1252Text);
    if (!output_->Stream) return;
    output_->Stream->Queue(samples);
    output_->Stream->Finish();
}

}  // namespace platform::speech
