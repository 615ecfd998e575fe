#include "platform/speech/RecordingSpeech.h"

#include <algorithm>

namespace platform::speech {

std::string RecordingSpeech::ModeName(int32_t mode) const {
    if (mode < 1 || mode > ModeCount()) return {};
    return modes_[static_cast<size_t>(mode) - 1];
}

bool RecordingSpeech::SelectMode(int32_t mode) {
    log_->Calls.push_back("select " + std::to_string(mode));
    if (mode < 0 || mode > ModeCount()) return false;
    log_->CurrentMode = mode;
    return true;
}

void RecordingSpeech::SetPitch(int32_t pitch) {
    log_->LastPitch = std::clamp(pitch, min_, max_);
    log_->Calls.push_back("pitch " + std::to_string(pitch));
}

}  // namespace platform::speech
