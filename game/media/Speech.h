// Spoken texts of the clips: the voice chosen among the speech engine's modes
// by name, the pitch as a percentage of the engine's range.
#pragma once

#include <cstdint>
#include <string>

// The speech engine started at start-up; while 0 nothing is spoken.
extern uint8_t SpeechAvailable;

// Speaks `text` in the last mode whose name contains `voice` (any case; mode
// 0 when none does or the voice is empty) at `pitchPercent` of the engine's
// pitch range; the text being spoken stops first.
void SpeakText(const std::string& text, const std::string& voice, int32_t pitchPercent);

// (maxPitch − minPitch) × percent div 100 + minPitch, in 64 bits, held to the
// range.
int32_t SpeechPitch(int32_t minPitch, int32_t maxPitch, int32_t percent);
