#include "game/media/Speech.h"

#include <algorithm>

#include "game/level/DefinitionSection.h"
#include "game/media/Media.h"

uint8_t SpeechAvailable = 0;

namespace {

// The last mode whose name contains the voice; 0 when none does or the voice
// is empty.
int32_t ModeOfVoice(const platform::speech::SpeechEngine& speech, const std::string& voice) {
    if (voice.empty()) return 0;
    const std::string wanted = UpperAscii(voice);
    int32_t chosen = 0;
    for (int32_t mode = 1; mode <= speech.ModeCount(); ++mode) {
        if (UpperAscii(speech.ModeName(mode)).find(wanted) != std::string::npos) chosen = mode;
    }
    return chosen;
}

}  // namespace

int32_t SpeechPitch(int32_t minPitch, int32_t maxPitch, int32_t percent) {
    const int64_t pitch = (int64_t{maxPitch} - minPitch) * percent / 100 + minPitch;
    const int64_t low = std::min(minPitch, maxPitch), high = std::max(minPitch, maxPitch);
    return static_cast<int32_t>(std::clamp(pitch, low, high));
}

void SpeakText(const std::string& text, const std::string& voice, int32_t pitchPercent) {
    platform::speech::SpeechEngine* speech = Media().Speech.get();
    if (SpeechAvailable == 0 || speech == nullptr) return;
    const int32_t mode = ModeOfVoice(*speech, voice);
    if (mode != speech->CurrentMode()) speech->SelectMode(mode);  // a refusal is ignored
    speech->Reset();
    speech->SetPitch(SpeechPitch(speech->MinPitch(), speech->MaxPitch(), pitchPercent));
    speech->Speak(text);
}
