// The sound-effect device of the game: buffers of decoded PCM samples that
// play once or looped, each with its own volume, pan and play position, and
// duplicates that share a buffer's samples. Volume and pan use the units the
// game computes with (hundredths of a decibel). Implemented over SDL2_mixer
// (MixerAudioDevice) and by a recording device for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace platform::audio {

// Channels kept for positional sounds, numbered 0..255; direct plays use a
// pool of channels of their own.
constexpr int kPositionalChannels = 256;

// Loudness in hundredths of a decibel: 0 full, -10000 silent.
constexpr int32_t kVolumeMin = -10000;
constexpr int32_t kVolumeMax = 0;
// Pan in hundredths of a decibel taken from one side: -10000 right silent,
// 10000 left silent.
constexpr int32_t kPanLeft = -10000;
constexpr int32_t kPanRight = 10000;

// Layout of PCM samples as a wave file gives it.
struct PcmFormat {
    uint16_t Channels = 0;
    uint32_t SamplesPerSecond = 0;
    uint16_t BitsPerSample = 0;
    uint16_t BlockAlign = 0;  // bytes of one frame (all channels)
};

// True for what the device plays: mono or stereo, unsigned 8-bit or signed
// 16-bit little-endian samples, a block alignment that matches, and a rate
// between 1000 and 384000 Hz.
bool IsPlayablePcm(const PcmFormat& format);

enum class PlayResult {
    Played,
    BufferLost,  // the samples are gone; Restore() before playing again
    Failed,      // nothing plays (no free channel, device closed)
};

// One playable buffer. Destroying it stops it. Every call does nothing once
// the device has been closed.
class SoundBuffer {
  public:
    virtual ~SoundBuffer() = default;
    // A new buffer sharing these samples, with its own volume, pan and play
    // position, that plays on positional channel `channel` (0..255); null when
    // none can be made.
    virtual std::unique_ptr<SoundBuffer> Duplicate(int channel) = 0;
    // Starts playing from the current position (or changes the looping of a
    // buffer that plays). A buffer played once ends at its last sample and
    // goes back to position 0.
    virtual PlayResult Play(bool looping) = 0;
    // Stops; the position stays where it was.
    virtual void Stop() = 0;
    // Moves the play position to `byteOffset` in the source samples; an
    // offset past the end is ignored.
    virtual void SetCurrentPosition(uint32_t byteOffset) = 0;
    // Brings lost samples back; true when the buffer is usable.
    virtual bool Restore() = 0;
    virtual bool IsPlaying() const = 0;
    virtual bool IsLooping() const = 0;  // true only while playing looped
    // kVolumeMin..kVolumeMax; values outside are clamped.
    virtual void SetVolume(int32_t volume) = 0;
    // kPanLeft..kPanRight; values outside are clamped.
    virtual void SetPan(int32_t pan) = 0;
};

class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
    // A buffer holding a copy of `samples` (whole frames of `format`); null
    // when the format is not playable, there are no samples, or the device
    // refuses. Such buffers play on the pool of direct channels.
    virtual std::unique_ptr<SoundBuffer> CreateSoundBuffer(const PcmFormat& format,
                                                           std::span<const uint8_t> samples) = 0;
};

}  // namespace platform::audio
