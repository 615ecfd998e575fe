#include "support/Snd.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "platform/audio/MixerAudioDevice.h"
#include "platform/fs/FileSystem.h"
#include "support/WavUtil.h"

std::unique_ptr<TAudio> Audio;
bool SoundReady = false;
std::array<SoundChannel, kSoundChannelCount> SoundChannels;

namespace {

using platform::audio::PlayResult;

// Every TSoundBuffer alive, so that shutdown can free their buffers before the
// device closes, whoever holds them. Never destroyed: sounds held by static
// game records unregister during the program's exit.
std::vector<TSoundBuffer*>& LiveSounds() {
    static auto* sounds = new std::vector<TSoundBuffer*>;
    return *sounds;
}

constexpr uint16_t kPcmTag = 1;

// A channel whose duplicate plays once (looping duplicates never happen; a
// channel without a buffer is free).
bool ChannelPlaysOnce(const SoundChannel& channel) {
    return channel.Buffer && channel.Buffer->IsPlaying() && !channel.Buffer->IsLooping();
}

// Nearest integer, halves to even, held within the 64-bit range.
int64_t RoundHalfEven(double v) { return int64_t(std::nearbyint(std::clamp(v, -9.0e18, 9.0e18))); }

}  // namespace

TSoundBuffer::TSoundBuffer(platform::audio::AudioDevice* device, const std::string& fileName) {
    LiveSounds().push_back(this);
    if (device == nullptr || !platform::fs::FileExists(fileName)) return;
    try {
        TIWave wave(fileName);
        TWaveFormatHeader header;
        wave.GetFormat(header);
        DataSize = wave.DataSize;
        Channels = header.Channels;
        BitsPerSample = header.BitsPerSample;
        const platform::audio::PcmFormat format{header.Channels, header.SamplesPerSec,
                                                header.BitsPerSample, header.BlockAlign};
        if (header.FormatTag != kPcmTag || !platform::audio::IsPlayablePcm(format)) return;
        Buffer = device->CreateSoundBuffer(format, wave.Data);
    } catch (const std::exception&) {
        // A corrupt or unreadable sound file leaves the sound empty.
        Buffer.reset();
    }
}

TSoundBuffer::~TSoundBuffer() {
    Stop();
    Buffer.reset();
    auto& sounds = LiveSounds();
    sounds.erase(std::remove(sounds.begin(), sounds.end(), this), sounds.end());
}

void TSoundBuffer::PlayWith(bool looping) {
    if (!Buffer) return;
    // Lost samples are brought back; the play waits for the next attempt.
    if (Buffer->Play(looping) == PlayResult::BufferLost) Restore();
}

void TSoundBuffer::Play() { PlayWith(false); }

void TSoundBuffer::PlayFromStart() {
    Stop();
    SetCurrentPosition(0);
    PlayWith(false);
}

void TSoundBuffer::PlayLooped() {
    Stop();
    PlayWith(true);
}

void TSoundBuffer::Stop() {
    if (Buffer) Buffer->Stop();
}

void TSoundBuffer::Restore() {
    if (Buffer) Buffer->Restore();
}

void TSoundBuffer::SetCurrentPosition(uint32_t position) {
    if (Buffer) Buffer->SetCurrentPosition(position);
}

void InitSound() {
    if (SoundReady) return;
    InitSound(platform::audio::OpenMixerAudioDevice());
}

void InitSound(std::unique_ptr<platform::audio::AudioDevice> device) {
    if (SoundReady) return;
    Audio = std::make_unique<TAudio>();
    Audio->Device = std::move(device);
    if (!Audio->Device) return;
    for (SoundChannel& channel : SoundChannels) channel = SoundChannel{};
    SoundReady = true;
}

void ShutDownSound() {
    for (TSoundBuffer* sound : LiveSounds()) sound->Buffer.reset();
    for (SoundChannel& channel : SoundChannels) channel.Buffer.reset();
    Audio.reset();
    SoundReady = false;
}

void SetHearingDistance(int32_t D, TDStuff& Engine) { Engine.HearingDistance = D; }

void LoadSound(const std::string& Name, TSoundBuffer*& Snd) {
    if (!SoundReady) return;
    FreeSound(Snd);
    Snd = new TSoundBuffer(Audio->Device.get(), Name);
}

void FreeSound(TSoundBuffer*& Snd) {
    delete Snd;
    Snd = nullptr;
}

void PlaySoundBuffer(TSoundBuffer* Snd, bool Loop) {
    if (!SoundReady || Snd == nullptr) return;
    if (Loop) {
        Snd->PlayLooped();
    } else {
        Snd->PlayFromStart();
    }
}

int ChooseSoundChannel() {
    for (int i = 0; i < kSoundChannelCount - 1; ++i) {
        if (!ChannelPlaysOnce(SoundChannels[i])) return i;
    }
    return kSoundChannelCount - 1;
}

void PlaySound3D(int32_t X, int32_t Y, int32_t Z, int32_t Level, TSoundBuffer* Snd,
                 const TDStuff& Engine) {
    if (!SoundReady || Snd == nullptr || !Snd->Buffer) return;
    const int index = ChooseSoundChannel();
    SoundChannel& channel = SoundChannels[index];
    channel.Buffer.reset();
    channel.Buffer = Snd->Buffer->Duplicate(index);
    if (!channel.Buffer) return;
    channel.X = X;
    channel.Y = Y;
    channel.Z = Z;
    channel.Level = Level;
    UpdateSoundChannel(index, Engine);
    channel.Buffer->Play(false);
}

TSoundListener ListenerOf(const TDStuff& Engine) {
    TSoundListener listener;
    listener.X = Engine.CamX;
    listener.Y = Engine.CamY;
    listener.Z = Engine.CamZ;
    listener.Rotation = Engine.CamMatrix;
    listener.HearingDistance = Engine.HearingDistance;
    return listener;
}

std::optional<TChannelMix> ChannelMix(const TSoundListener& listener, int32_t X, int32_t Y,
                                      int32_t Z, int32_t Level) {
    const int64_t h = listener.HearingDistance;
    if (h == 0) return std::nullopt;
    const double d[3] = {double(int64_t(X) - listener.X), double(int64_t(Y) - listener.Y),
                         double(int64_t(Z) - listener.Z)};
    int64_t axis[3];
    for (int row = 0; row < 3; ++row) {
        const float* r = &listener.Rotation[3 * row];
        const double v = double(r[0]) * d[0] + double(r[1]) * d[1] + double(r[2]) * d[2];
        if (!std::isfinite(v)) return std::nullopt;
        axis[row] = RoundHalfEven(v);
    }
    const int64_t a = axis[0], b = axis[1], c = axis[2];
    int64_t dist = h;
    if (std::llabs(a) <= h && std::llabs(b) <= h && std::llabs(c) <= h) {
        dist = RoundHalfEven(std::sqrt(double(a) * a + double(b) * b + double(c) * c));
    }
    const int64_t att = std::max<int64_t>(0, 10000 - dist * 10000 / h);
    // Integer division truncates toward zero, for negative levels too.
    const int64_t volume = Level == 255 ? 0 : (int64_t{Level} / 2 + 384) * att / 512 - 10000;
    TChannelMix mix;
    mix.Volume = int32_t(std::clamp<int64_t>(volume, -10000, 0));
    mix.Pan = int32_t(std::clamp<int64_t>(4 * a, -10000, 10000));
    return mix;
}

namespace {

// Sets a channel's volume and pan for `listener`.
void MixChannel(SoundChannel& channel, const TSoundListener& listener) {
    if (!channel.Buffer) return;
    const auto mix = ChannelMix(listener, channel.X, channel.Y, channel.Z, channel.Level);
    if (!mix) return;
    channel.Buffer->SetVolume(mix->Volume);
    channel.Buffer->SetPan(mix->Pan);
}

}  // namespace

void UpdateSoundChannel(int Index, const TDStuff& Engine) {
    if (!SoundReady || Index < 0 || Index >= kSoundChannelCount) return;
    MixChannel(SoundChannels[Index], ListenerOf(Engine));
}

void UpdateAllSoundChannels(const TDStuff& Engine) {
    if (!SoundReady) return;
    // The camera is the same for every channel of the frame.
    const TSoundListener listener = ListenerOf(Engine);
    for (SoundChannel& channel : SoundChannels) {
        if (ChannelPlaysOnce(channel)) MixChannel(channel, listener);
    }
}

void StopAllSounds() {
    if (!SoundReady) return;
    for (SoundChannel& channel : SoundChannels) {
        if (ChannelPlaysOnce(channel)) channel.Buffer->Stop();
    }
}
