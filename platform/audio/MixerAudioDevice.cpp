#include "platform/audio/MixerAudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/audio/Gains.h"
#include "platform/audio/MixerHandles.h"
#include "platform/audio/MixerSession.h"

namespace platform::audio {
namespace {

constexpr int kTotalChannels = kPositionalChannels + kDirectChannels;
constexpr int kCarrierFrames = 2048;

// A buffer's samples in the mixer's format, shared by its duplicates.
struct MixerSamples {
    std::vector<int16_t> Frames;  // interleaved left, right
    uint64_t FrameCount = 0;
    uint64_t SourceFrames = 0;  // frames of the samples as given
    uint32_t SourceBlockAlign = 0;
};

// What one buffer plays; read by the audio thread under the core's lock.
struct Voice {
    std::shared_ptr<const MixerSamples> Samples;
    uint64_t Frame = 0;
    bool Playing = false;
    bool Looping = false;
    double LeftGain = 1.0, RightGain = 1.0;
    int Channel = -1;  // the mixer channel this voice is bound to, or -1
};

// State shared by the device, its buffers and the mixer's audio thread.
struct MixerCore {
    std::mutex Lock;
    std::array<std::shared_ptr<Voice>, kTotalChannels> Bound;  // guarded by Lock
    std::array<bool, kTotalChannels> CarrierRunning{};         // main thread only
    std::vector<int16_t> Silence = std::vector<int16_t>(kCarrierFrames * 2, 0);
    ChunkHandle Carrier;
    std::shared_ptr<MixerSession> Session;
    bool Open = false;
};

int16_t Scale(int16_t sample, double gain) {
    const double v = std::nearbyint(sample * gain);
    return int16_t(std::clamp(v, -32768.0, 32767.0));
}

// The effect of every channel of ours: writes the bound voice's samples over
// the silent carrier.
void RenderChannel(int channel, void* stream, int length, void* data) {
    auto* core = static_cast<MixerCore*>(data);
    auto* out = static_cast<int16_t*>(stream);
    const int frames = length / 4;
    std::memset(stream, 0, size_t(length));
    std::lock_guard<std::mutex> lock(core->Lock);
    if (channel < 0 || channel >= kTotalChannels) return;
    Voice* voice = core->Bound[channel].get();
    if (voice == nullptr) return;
    const MixerSamples& s = *voice->Samples;
    for (int i = 0; i < frames && voice->Playing; ++i) {
        out[2 * i] = Scale(s.Frames[2 * voice->Frame], voice->LeftGain);
        out[2 * i + 1] = Scale(s.Frames[2 * voice->Frame + 1], voice->RightGain);
        if (++voice->Frame < s.FrameCount) continue;
        voice->Frame = 0;
        if (!voice->Looping) voice->Playing = false;
    }
}

SDL_AudioFormat SourceFormat(const PcmFormat& format) {
    return format.BitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

// Converts whole frames of `samples` to the mixer's format; null on failure.
std::shared_ptr<MixerSamples> Convert(const PcmFormat& format, std::span<const uint8_t> samples) {
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, SourceFormat(format), uint8_t(format.Channels),
                          int(format.SamplesPerSecond), AUDIO_S16SYS, MixerSession::kOutputChannels,
                          MixerSession::kFrequency) < 0) {
        return nullptr;
    }
    const uint64_t bytes = samples.size() / format.BlockAlign * format.BlockAlign;
    const uint64_t mult = uint64_t(std::max(cvt.len_mult, 1));
    if (bytes == 0 || bytes > uint64_t(INT_MAX) / mult) return nullptr;
    std::vector<uint8_t> work(bytes * mult);
    std::memcpy(work.data(), samples.data(), bytes);
    cvt.buf = work.data();
    cvt.len = int(bytes);
    if (cvt.needed != 0 && SDL_ConvertAudio(&cvt) != 0) return nullptr;
    const uint64_t outBytes = cvt.needed != 0 ? uint64_t(cvt.len_cvt) : bytes;
    auto result = std::make_shared<MixerSamples>();
    result->FrameCount = outBytes / 4;
    if (result->FrameCount == 0) return nullptr;
    result->Frames.resize(result->FrameCount * 2);
    std::memcpy(result->Frames.data(), work.data(), result->FrameCount * 4);
    result->SourceFrames = bytes / format.BlockAlign;
    result->SourceBlockAlign = format.BlockAlign;
    return result;
}

class MixerSoundBuffer : public SoundBuffer {
  public:
    MixerSoundBuffer(std::shared_ptr<MixerCore> core, std::shared_ptr<const MixerSamples> samples,
                     int reservedChannel)
        : core_(std::move(core)), voice_(std::make_shared<Voice>()), channel_(reservedChannel) {
        voice_->Samples = std::move(samples);
    }
    ~MixerSoundBuffer() override { Unbind(); }

    std::unique_ptr<SoundBuffer> Duplicate(int channel) override {
        if (!core_->Open || channel < 0 || channel >= kPositionalChannels) return nullptr;
        return std::make_unique<MixerSoundBuffer>(core_, voice_->Samples, channel);
    }

    PlayResult Play(bool looping) override;

    void Stop() override {
        std::lock_guard<std::mutex> lock(core_->Lock);
        voice_->Playing = false;
    }

    void SetCurrentPosition(uint32_t byteOffset) override {
        const MixerSamples& s = *voice_->Samples;
        const uint64_t sourceFrame = byteOffset / s.SourceBlockAlign;
        if (sourceFrame >= s.SourceFrames) return;
        std::lock_guard<std::mutex> lock(core_->Lock);
        voice_->Frame = std::min(sourceFrame * s.FrameCount / s.SourceFrames, s.FrameCount - 1);
    }

    bool Restore() override { return core_->Open; }

    bool IsPlaying() const override {
        std::lock_guard<std::mutex> lock(core_->Lock);
        return BoundLocked() && voice_->Playing;
    }

    bool IsLooping() const override {
        std::lock_guard<std::mutex> lock(core_->Lock);
        return BoundLocked() && voice_->Playing && voice_->Looping;
    }

    void SetVolume(int32_t volume) override {
        volume_ = std::clamp(volume, kVolumeMin, kVolumeMax);
        ApplyGains();
    }

    void SetPan(int32_t pan) override {
        pan_ = std::clamp(pan, kPanLeft, kPanRight);
        ApplyGains();
    }

  private:
    bool BoundLocked() const {
        return voice_->Channel >= 0 && core_->Bound[voice_->Channel] == voice_;
    }
    void ApplyGains() {
        const StereoGains gains = GainsFromVolumeAndPan(volume_, pan_);
        std::lock_guard<std::mutex> lock(core_->Lock);
        voice_->LeftGain = gains.Left;
        voice_->RightGain = gains.Right;
    }
    int FreeDirectChannel();
    bool StartCarrier(int channel);
    void HaltIdleChannels();
    void Unbind();

    std::shared_ptr<MixerCore> core_;
    std::shared_ptr<Voice> voice_;
    int channel_;  // reserved positional channel, or -1 for the direct pool
    int32_t volume_ = 0;
    int32_t pan_ = 0;
};

PlayResult MixerSoundBuffer::Play(bool looping) {
    if (!core_->Open) return PlayResult::Failed;
    {
        std::lock_guard<std::mutex> lock(core_->Lock);
        if (BoundLocked() && core_->CarrierRunning[voice_->Channel]) {
            voice_->Playing = true;
            voice_->Looping = looping;
            return PlayResult::Played;
        }
    }
    HaltIdleChannels();
    const int channel = channel_ >= 0 ? channel_ : FreeDirectChannel();
    if (channel < 0) return PlayResult::Failed;
    {
        std::lock_guard<std::mutex> lock(core_->Lock);
        if (BoundLocked()) core_->Bound[voice_->Channel].reset();  // leaves a halted channel
        if (auto& previous = core_->Bound[channel]; previous && previous != voice_) {
            previous->Playing = false;
            previous->Channel = -1;
        }
        core_->Bound[channel] = voice_;
        voice_->Channel = channel;
        voice_->Playing = true;
        voice_->Looping = looping;
    }
    if (!StartCarrier(channel)) {
        std::lock_guard<std::mutex> lock(core_->Lock);
        core_->Bound[channel].reset();
        voice_->Channel = -1;
        voice_->Playing = false;
        return PlayResult::Failed;
    }
    return PlayResult::Played;
}

// A direct channel with no voice playing on it, or -1.
int MixerSoundBuffer::FreeDirectChannel() {
    std::lock_guard<std::mutex> lock(core_->Lock);
    for (int c = kPositionalChannels; c < kTotalChannels; ++c) {
        if (!core_->Bound[c] || !core_->Bound[c]->Playing) return c;
    }
    return -1;
}

bool MixerSoundBuffer::StartCarrier(int channel) {
    if (core_->CarrierRunning[channel]) return true;
    Mix_HaltChannel(channel);  // clears any effect left on the channel
    if (Mix_RegisterEffect(channel, RenderChannel, nullptr, core_.get()) == 0) return false;
    if (Mix_PlayChannel(channel, core_->Carrier.Get(), -1) != channel) {
        Mix_HaltChannel(channel);
        return false;
    }
    core_->CarrierRunning[channel] = true;
    return true;
}

// Halts the carriers of channels whose voice has ended, so that idle
// channels cost the mixer nothing.
void MixerSoundBuffer::HaltIdleChannels() {
    std::array<bool, kTotalChannels> idle{};
    {
        std::lock_guard<std::mutex> lock(core_->Lock);
        for (int c = 0; c < kTotalChannels; ++c) {
            idle[c] = core_->CarrierRunning[c] && (!core_->Bound[c] || !core_->Bound[c]->Playing);
        }
    }
    for (int c = 0; c < kTotalChannels; ++c) {
        if (!idle[c]) continue;
        Mix_HaltChannel(c);
        core_->CarrierRunning[c] = false;
    }
}

void MixerSoundBuffer::Unbind() {
    if (!core_->Open) return;
    int channel = -1;
    {
        std::lock_guard<std::mutex> lock(core_->Lock);
        if (!BoundLocked()) return;
        channel = voice_->Channel;
        core_->Bound[channel].reset();
        voice_->Playing = false;
        voice_->Channel = -1;
    }
    Mix_HaltChannel(channel);
    core_->CarrierRunning[channel] = false;
}

class MixerAudioDevice : public AudioDevice {
  public:
    explicit MixerAudioDevice(std::shared_ptr<MixerCore> core) : core_(std::move(core)) {}
    ~MixerAudioDevice() override;

    std::unique_ptr<SoundBuffer> CreateSoundBuffer(const PcmFormat& format,
                                                   std::span<const uint8_t> samples) override {
        if (!core_->Open || !IsPlayablePcm(format)) return nullptr;
        auto converted = Convert(format, samples);
        if (!converted) return nullptr;
        return std::make_unique<MixerSoundBuffer>(core_, std::move(converted), -1);
    }

  private:
    std::shared_ptr<MixerCore> core_;
};

MixerAudioDevice::~MixerAudioDevice() {
    for (int c = 0; c < kTotalChannels; ++c) {
        if (core_->CarrierRunning[c]) Mix_HaltChannel(c);
        core_->CarrierRunning[c] = false;
    }
    {
        std::lock_guard<std::mutex> lock(core_->Lock);
        for (auto& voice : core_->Bound) {
            if (voice) voice->Channel = -1;
            voice.reset();
        }
    }
    core_->Open = false;
    core_->Carrier.Reset();
    core_->Session.reset();  // closes the output unless the music holds it
}

}  // namespace

std::unique_ptr<AudioDevice> OpenMixerAudioDevice() {
    auto core = std::make_shared<MixerCore>();
    core->Session = MixerSession::Acquire();
    if (!core->Session) return nullptr;
    core->Carrier = ChunkHandle(Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(core->Silence.data()),
                                                  Uint32(core->Silence.size() * 2)));
    if (!core->Carrier) return nullptr;
    core->Open = true;
    return std::make_unique<MixerAudioDevice>(std::move(core));
}

}  // namespace platform::audio
