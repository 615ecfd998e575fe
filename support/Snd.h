// Positional sound: WAV sounds loaded once into sound buffers and played
// either directly (menu sounds, music in wave form, clip samples) or at a place
// in the world, on one of 256 channels whose volume and pan follow the engine
// camera, once at the start and again every frame while the sound plays.
// When no audio device can be opened every operation here does nothing and
// the game runs silent.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/G3DState.h"
#include "platform/audio/AudioDevice.h"

// The owner of the sound device; one instance, `Audio`, made by InitSound and
// destroyed by ShutDownSound.
class TAudio {
  public:
    std::unique_ptr<platform::audio::AudioDevice> Device;
};

extern std::unique_ptr<TAudio> Audio;

// True from a successful InitSound to ShutDownSound; while false every
// operation of this unit returns at once.
extern bool SoundReady;

// One loaded WAV sound. An empty sound (no device, missing or corrupt file,
// unplayable format) has no Buffer, and every operation on it does nothing.
// Game records hold these in std::unique_ptr and free them when they replace
// them.
class TSoundBuffer {
  public:
    // Loads `fileName` into a buffer of `device`. A missing file, a file that is
    // not a readable RIFF WAVE, or a format other than PCM 8/16-bit mono or
    // stereo gives an empty sound; no message, nothing thrown.
    TSoundBuffer(platform::audio::AudioDevice* device, const std::string& fileName);
    // Stops and releases the buffer.
    ~TSoundBuffer();
    TSoundBuffer(const TSoundBuffer&) = delete;
    TSoundBuffer& operator=(const TSoundBuffer&) = delete;

    bool Empty() const { return !Buffer; }
    // Plays once from the current position.
    void Play();
    // Stops, rewinds to 0 and plays once.
    void PlayFromStart();
    // Stops and plays looped from the current position (no rewind).
    void PlayLooped();
    void Stop();
    // Brings back lost samples (a play that finds them lost calls it).
    void Restore();
    // Moves the play position to byte `position` of the samples.
    void SetCurrentPosition(uint32_t position);

    std::unique_ptr<platform::audio::SoundBuffer> Buffer;  // null when empty
    uint32_t DataSize = 0;                                 // sample bytes of the WAV file
    int32_t Channels = 0;
    int32_t BitsPerSample = 0;

  private:
    void PlayWith(bool looping);
};

// One positional channel. Filled by PlaySound3D; a channel without a buffer,
// or whose buffer has ended, is free.
struct SoundChannel {
    std::unique_ptr<platform::audio::SoundBuffer> Buffer;  // the duplicate playing or last played
    int32_t X = 0, Y = 0, Z = 0;                           // world position of the sound
    int32_t Level = 0;  // loudness 0..255; 255: no distance attenuation
};

constexpr int kSoundChannelCount = 256;
extern std::array<SoundChannel, kSoundChannelCount> SoundChannels;

// Opens the sound device, once; SoundReady tells whether it worked.
void InitSound();
// The same with a device made elsewhere (tests); null leaves sound off.
void InitSound(std::unique_ptr<platform::audio::AudioDevice> device);
// Frees every loaded sound and every channel, then closes the device.
// Sounds destroyed afterwards do nothing. Call before the music closes.
void ShutDownSound();

// Stores `D` as the hearing distance of the engine state (0 stops the
// channels from following the camera).
void SetHearingDistance(int32_t D, TDStuff& Engine);
// Frees the sound held in `Snd` (owned; null when none) and puts a new one
// loaded from `Name` there (empty when the file is missing or corrupt).
// Nothing when sound is off.
void LoadSound(const std::string& Name, TSoundBuffer*& Snd);
// Frees the sound held in `Snd` and leaves null there.
void FreeSound(TSoundBuffer*& Snd);
// Plays `Snd` directly: looped from its current position, or once from 0.
void PlaySoundBuffer(TSoundBuffer* Snd, bool Loop);
// Plays a duplicate of `Snd` once at world position (X, Y, Z) with loudness
// `Level`, on the first free channel (255 when all others play).
void PlaySound3D(int32_t X, int32_t Y, int32_t Z, int32_t Level, TSoundBuffer* Snd,
                 const TDStuff& Engine);
// The channel PlaySound3D takes: the first of 0..254 not playing a sound
// once, else 255.
int ChooseSoundChannel();
// Recomputes channel `Index`'s volume and pan against the engine camera.
void UpdateSoundChannel(int Index, const TDStuff& Engine);
// UpdateSoundChannel for every channel that plays; once per play frame.
void UpdateAllSoundChannels(const TDStuff& Engine);
// Stops every channel that plays; on mode and level changes.
void StopAllSounds();

// Where the sounds are heard from: the camera position and rotation (rows of
// three) and the distance at which sounds fall silent.
struct TSoundListener {
    int32_t X = 0, Y = 0, Z = 0;
    std::array<float, 9> Rotation{};
    int32_t HearingDistance = 0;
};

// The listener that the engine's last camera set-up left in `Engine`.
TSoundListener ListenerOf(const TDStuff& Engine);

// Volume (hundredths of a decibel, -10000..0) and pan (-10000..10000).
struct TChannelMix {
    int32_t Volume = 0;
    int32_t Pan = 0;
};

// Volume and pan of a sound at (X, Y, Z) with loudness `Level` heard by
// `listener`: level 255 is full volume wherever the sound is; any other level,
// also one outside 0..255 from a definition file, scales the attenuation
// (the result held to -10000..0). The distance in camera space, rounded half
// to even, attenuates linearly to silence at the hearing distance; the camera's
// first axis pans (4 per unit, full at 2500). No value when the hearing
// distance is 0 or the rotation is not finite.
std::optional<TChannelMix> ChannelMix(const TSoundListener& listener, int32_t X, int32_t Y,
                                      int32_t Z, int32_t Level);
