// The one opening of the audio output through SDL2_mixer, shared by the
// sound effects and the music: 44100 Hz, signed 16-bit, stereo, exactly (SDL
// converts for the hardware), with the module, MIDI and MP3 decoders of the
// music stream. The output stays open while anyone holds the
// session and is closed when the last holder lets it go.
#pragma once

#include <memory>

namespace platform::audio {

// Mixer channels after the positional ones, for sounds played directly.
constexpr int kDirectChannels = 32;
// The channel group that holds the direct channels.
constexpr int kDirectGroup = 1;
// Channels after the direct ones, each kept for one stream of samples queued
// as they are made: spoken text, and the sound of the video that plays.
constexpr int kSpeechChannel = 256 + kDirectChannels;
constexpr int kVideoSoundChannel = kSpeechChannel + 1;
constexpr int kMixerChannelCount = kVideoSoundChannel + 1;

class MixerSession {
  public:
    static constexpr int kFrequency = 44100;
    static constexpr int kOutputChannels = 2;

    // The open session, opening the output first when nobody holds it; null
    // when no audio device can be opened (SDL's audio driver is chosen by
    // SDL_AUDIODRIVER, as always).
    static std::shared_ptr<MixerSession> Acquire();
    // True while a session is held somewhere.
    static bool IsOpen();

    ~MixerSession();
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;

  private:
    MixerSession() = default;
};

}  // namespace platform::audio
