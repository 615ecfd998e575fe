#include "platform/audio/RecordingAudioDevice.h"

#include <algorithm>

namespace platform::audio {
namespace {

class RecordingBuffer : public SoundBuffer {
  public:
    RecordingBuffer(std::shared_ptr<RecordingLog> log, std::shared_ptr<RecordedBuffer> state)
        : log_(std::move(log)), state_(std::move(state)) {}
    ~RecordingBuffer() override {
        if (log_->DeviceClosed) return;
        state_->Playing = false;
        state_->Released = true;
        Note("release");
    }

    std::unique_ptr<SoundBuffer> Duplicate(int channel) override {
        if (log_->DeviceClosed || log_->RefuseBuffers || channel < 0 ||
            channel >= kPositionalChannels) {
            return nullptr;
        }
        auto copy = std::make_shared<RecordedBuffer>(*state_);
        copy->Id = int(log_->Buffers.size()) + 1;
        copy->Channel = channel;
        copy->Playing = copy->Looping = copy->Lost = false;
        copy->Position = 0;
        copy->Volume = copy->Pan = 0;
        log_->Buffers.push_back(copy);
        log_->Calls.push_back("duplicate " + std::to_string(state_->Id) + " as " +
                              std::to_string(copy->Id) + " on " + std::to_string(channel));
        return std::make_unique<RecordingBuffer>(log_, copy);
    }

    PlayResult Play(bool looping) override {
        if (log_->DeviceClosed) return PlayResult::Failed;
        Note(looping ? "play looped" : "play once");
        if (state_->Lost) return PlayResult::BufferLost;
        state_->Playing = true;
        state_->Looping = looping;
        return PlayResult::Played;
    }
    void Stop() override {
        if (log_->DeviceClosed) return;
        state_->Playing = false;
        Note("stop");
    }
    void SetCurrentPosition(uint32_t byteOffset) override {
        if (log_->DeviceClosed) return;
        if (byteOffset < state_->Bytes) state_->Position = byteOffset;
        Note("position", byteOffset);
    }
    bool Restore() override {
        if (log_->DeviceClosed) return false;
        state_->Lost = false;
        Note("restore");
        return true;
    }
    bool IsPlaying() const override { return !log_->DeviceClosed && state_->Playing; }
    bool IsLooping() const override { return IsPlaying() && state_->Looping; }
    void SetVolume(int32_t volume) override {
        if (log_->DeviceClosed) return;
        state_->Volume = std::clamp(volume, kVolumeMin, kVolumeMax);
        Note("volume", state_->Volume);
    }
    void SetPan(int32_t pan) override {
        if (log_->DeviceClosed) return;
        state_->Pan = std::clamp(pan, kPanLeft, kPanRight);
        Note("pan", state_->Pan);
    }

  private:
    void Note(const std::string& what) {
        log_->Calls.push_back(what + " " + std::to_string(state_->Id));
    }
    void Note(const std::string& what, int64_t value) {
        log_->Calls.push_back(what + " " + std::to_string(state_->Id) + " " +
                              std::to_string(value));
    }

    std::shared_ptr<RecordingLog> log_;
    std::shared_ptr<RecordedBuffer> state_;
};

}  // namespace

RecordingAudioDevice::RecordingAudioDevice() : log_(std::make_shared<RecordingLog>()) {}

RecordingAudioDevice::~RecordingAudioDevice() {
    log_->Calls.push_back("close");
    log_->DeviceClosed = true;
}

std::unique_ptr<SoundBuffer> RecordingAudioDevice::CreateSoundBuffer(
    const PcmFormat& format, std::span<const uint8_t> samples) {
    if (log_->RefuseBuffers || !IsPlayablePcm(format) || samples.empty()) return nullptr;
    auto state = std::make_shared<RecordedBuffer>();
    state->Id = int(log_->Buffers.size()) + 1;
    state->Format = format;
    state->Bytes = samples.size();
    log_->Buffers.push_back(state);
    log_->Calls.push_back("create " + std::to_string(state->Id));
    return std::make_unique<RecordingBuffer>(log_, state);
}

void RecordingAudioDevice::FinishPlaying() {
    for (auto& buffer : log_->Buffers) {
        if (!buffer->Playing || buffer->Looping) continue;
        buffer->Playing = false;
        buffer->Position = 0;
    }
}

}  // namespace platform::audio
