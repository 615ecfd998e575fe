#include "platform/audio/PcmStream.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio/MixerHandles.h"
#include "platform/audio/MixerSession.h"

namespace platform::audio {
namespace {

constexpr int kCarrierFrames = 1024;

// What the main thread and the mixer's audio thread share: output frames
// (interleaved at the output's layout) not played yet.
struct StreamCore {
    std::mutex Lock;
    std::deque<int16_t> Output;  // guarded by Lock
};

// Converts frames at one rate and layout to the output's, by linear
// interpolation; the position between two input frames carries over from one
// piece to the next, so pieces join without a seam.
class RateConverter {
  public:
    RateConverter(int rate, int channels)
        : step_(static_cast<double>(rate) / MixerSession::kFrequency), channels_(channels) {}

    void Convert(std::span<const int16_t> in, std::deque<int16_t>& out) {
        const int64_t frames = static_cast<int64_t>(in.size()) / channels_;
        if (frames == 0) return;
        if (step_ == 1.0 && channels_ == MixerSession::kOutputChannels) {
            // Already the output's rate and layout (a video's sound): as it is.
            out.insert(out.end(), in.begin(), in.begin() + frames * channels_);
            return;
        }
        const auto sample = [&](int64_t frame, int c) -> double {
            return frame < 0 ? previous_[size_t(c)] : in[size_t(frame * channels_ + c)];
        };
        for (; at_ <= static_cast<double>(frames - 1); at_ += step_) {
            const auto i = static_cast<int64_t>(std::floor(at_));
            const double fraction = at_ - static_cast<double>(i);
            int16_t made[2] = {0, 0};
            for (int c = 0; c < channels_; ++c) {
                const double a = sample(i, c);
                const double b = i + 1 < frames ? sample(i + 1, c) : a;
                made[c] = static_cast<int16_t>(std::lround(a + (b - a) * fraction));
            }
            if (channels_ == 1) made[1] = made[0];
            out.insert(out.end(), made, made + MixerSession::kOutputChannels);
        }
        at_ -= static_cast<double>(frames);
        for (int c = 0; c < channels_; ++c) previous_[size_t(c)] = sample(frames - 1, c);
    }

  private:
    double step_;
    int channels_;
    double at_ = 0;  // the next output frame's place, in input frames from this piece's first
    double previous_[2] = {0, 0};  // the last frame of the piece before
};

// The stream that holds each stream channel now; a newer stream on a channel
// takes it over, and the older one then leaves the channel alone.
const void*& ChannelOwner(int channel) {
    static const void* owners[kMixerChannelCount - kSpeechChannel] = {};
    return owners[channel - kSpeechChannel];
}

// The channel's effect: the queued samples written over the silent carrier.
void RenderStream(int /*channel*/, void* stream, int length, void* data) {
    auto* core = static_cast<StreamCore*>(data);
    auto* out = static_cast<int16_t*>(stream);
    const size_t wanted = size_t(length) / sizeof(int16_t);
    std::lock_guard<std::mutex> lock(core->Lock);
    const size_t taken = std::min(wanted, core->Output.size());
    std::copy_n(core->Output.begin(), taken, out);
    core->Output.erase(core->Output.begin(), core->Output.begin() + std::ptrdiff_t(taken));
    std::fill(out + taken, out + wanted, int16_t{0});
}

class MixerPcmStream : public PcmStream {
  public:
    MixerPcmStream(std::shared_ptr<MixerSession> session, int channel, int rate, int channels)
        : session_(std::move(session)), channel_(channel), converter_(rate, channels) {}
    ~MixerPcmStream() override {
        if (ChannelOwner(channel_) != this) return;
        Mix_HaltChannel(channel_);
        Mix_UnregisterAllEffects(channel_);  // no effect may outlive the core it reads
        ChannelOwner(channel_) = nullptr;
    }

    bool Start() {
        carrier_ = ChunkHandle(Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(silence_.data()),
                                                 Uint32(silence_.size() * 2)));
        if (!carrier_) return false;
        Mix_HaltChannel(channel_);
        Mix_UnregisterAllEffects(channel_);
        ChannelOwner(channel_) = this;
        if (Mix_RegisterEffect(channel_, RenderStream, nullptr, &core_) == 0) return false;
        return Mix_PlayChannel(channel_, carrier_.Get(), -1) == channel_;
    }

    void Queue(std::span<const int16_t> samples) override {
        std::deque<int16_t> made;  // converted outside the lock the audio thread waits on
        converter_.Convert(samples, made);
        if (made.empty()) return;
        std::lock_guard<std::mutex> lock(core_.Lock);
        core_.Output.insert(core_.Output.end(), made.begin(), made.end());
    }

    void Finish() override {}  // every piece is converted whole as it comes

    void Clear() override {
        std::lock_guard<std::mutex> lock(core_.Lock);
        core_.Output.clear();
    }

    int64_t PendingBytes() const override {
        std::lock_guard<std::mutex> lock(core_.Lock);
        return static_cast<int64_t>(core_.Output.size() * sizeof(int16_t));
    }

  private:
    std::shared_ptr<MixerSession> session_;  // released after the channel halts
    int channel_;
    RateConverter converter_;
    std::vector<int16_t> silence_ = std::vector<int16_t>(kCarrierFrames * 2, 0);
    ChunkHandle carrier_;
    mutable StreamCore core_;
};

}  // namespace

std::unique_ptr<PcmStream> PcmStream::Open(int channel, int rate, int channels) {
    if (channel < kSpeechChannel || channel >= kMixerChannelCount) return nullptr;
    if ((channels != 1 && channels != 2) || rate < 1000 || rate > 384000) return nullptr;
    auto session = MixerSession::Acquire();
    if (!session) return nullptr;
    auto stream = std::make_unique<MixerPcmStream>(std::move(session), channel, rate, channels);
    if (!stream->Start()) return nullptr;
    return stream;
}

}  // namespace platform::audio
