// The speech synthesiser of the game: its voices as modes 1..ModeCount with
// their names (mode 0 is the default voice), a pitch within the engine's
// range, and texts spoken one at a time on the mixer's speech channel.
// Implemented over espeak-ng (EspeakSpeech) and by a recording engine for
// tests.
#pragma once

#include <cstdint>
#include <string>

namespace platform::speech {

class SpeechEngine {
  public:
    virtual ~SpeechEngine() = default;
    virtual int32_t ModeCount() const = 0;
    // The name of mode 1..ModeCount; empty for any other number.
    virtual std::string ModeName(int32_t mode) const = 0;
    virtual int32_t CurrentMode() const = 0;
    // Selects mode 0..ModeCount; false, with the mode unchanged, when it cannot.
    virtual bool SelectMode(int32_t mode) = 0;
    virtual int32_t MinPitch() const = 0;
    virtual int32_t MaxPitch() const = 0;
    // The pitch of the next texts, held to MinPitch..MaxPitch.
    virtual void SetPitch(int32_t pitch) = 0;
    // Stops the text being spoken.
    virtual void Reset() = 0;
    // Speaks `cp1252Text` in the selected mode and pitch.
    virtual void Speak(const std::string& cp1252Text) = 0;
};

}  // namespace platform::speech
