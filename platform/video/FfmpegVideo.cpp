#include "platform/video/FfmpegVideo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/audio/MixerSession.h"
#include "platform/audio/PcmStream.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/video/FfmpegHandles.h"

namespace platform::video {
namespace {

using platform::audio::MixerSession;

constexpr int32_t kMaxPictureSide = 1024;
// A stream of sound only is decoded this far ahead of the clock (ms).
constexpr int64_t kSoundLeadMs = 1000;
// Sound that would be heard later than this behind the picture (ms) is
// dropped up to the picture's time: after a stall of the frame loop the
// picture jumps to the clock, and the sound of the time passed must not be
// queued behind it. Less lateness, from a slow frame loop, is played as it is.
constexpr int64_t kSoundSlackMs = 200;
// Bytes of one output frame of sound (16-bit samples).
constexpr int64_t kOutputFrameBytes = int64_t{MixerSession::kOutputChannels} * 2;

int64_t ToMs(int64_t timestamp, AVRational timeBase) {
    return av_rescale_q(timestamp, timeBase, AVRational{1, 1000});
}

// The decoder of one stream of the file.
struct Decoder {
    int Index = -1;
    CodecContext Codec;
    AVRational TimeBase{1, 1000};
    int64_t Start = 0;  // the stream's first timestamp
    bool Drained = false;

    bool Open(AVFormatContext* format, AVMediaType type) {
        const AVCodec* codec = nullptr;
        const int index = av_find_best_stream(format, type, -1, -1, &codec, 0);
        if (index < 0 || codec == nullptr) return false;
        const AVStream* stream = format->streams[index];
        CodecContext context(avcodec_alloc_context3(codec));
        if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0 ||
            avcodec_open2(context.get(), codec, nullptr) < 0) {
            return false;
        }
        Index = index;
        Codec = std::move(context);
        TimeBase = stream->time_base;
        Start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
        return true;
    }
    // Milliseconds from the stream's start of a frame's timestamp; `otherwise`
    // when it has none.
    int64_t FrameMs(const AVFrame& frame, int64_t otherwise) const {
        const int64_t ts = frame.best_effort_timestamp;
        if (ts == AV_NOPTS_VALUE) return otherwise;
        return std::max<int64_t>(0, ToMs(ts - Start, TimeBase));
    }
};

// Everything one opening of the file holds; a rewind opens the file afresh.
struct Decoding {
    InputFormat Format;
    Decoder Video, Sound;
    PacketPtr Packet{av_packet_alloc()};
    FramePtr Received{av_frame_alloc()};    // the video decoder's output
    FramePtr Next{av_frame_alloc()};        // the next picture, not yet due
    FramePtr Due{av_frame_alloc()};         // the latest picture due, not yet shown
    FramePtr SoundFrame{av_frame_alloc()};  // the sound decoder's output
    bool HasNext = false, HasDue = false;
    int64_t NextMs = 0;
    int64_t LastVideoMs = -1;
    int64_t SoundMs = 0;  // the end of the sound decoded so far
    int64_t EndMs = 0;    // the end of everything decoded so far
    int64_t FrameMs = 40;
    bool Eof = false;
    bool DecodedAny = false;

    bool Ready() const { return Packet && Received && Next && Due && SoundFrame; }
    bool VideoDone() const { return !Video.Codec || Video.Drained; }
};

// Opens `path` (real) for decoding; null when nothing in it can be decoded.
std::unique_ptr<Decoding> OpenDecoding(const std::string& path, bool wantSound) {
    auto d = std::make_unique<Decoding>();
    AVFormatContext* format = nullptr;
    if (!d->Ready() || avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) {
        return nullptr;
    }
    d->Format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0) return nullptr;
    const bool video = d->Video.Open(format, AVMEDIA_TYPE_VIDEO);
    const bool sound = wantSound && d->Sound.Open(format, AVMEDIA_TYPE_AUDIO);
    if (!video && !sound) return nullptr;
    if (video) {
        const AVRational rate = format->streams[d->Video.Index]->avg_frame_rate;
        if (rate.num > 0 && rate.den > 0) {
            d->FrameMs = std::max<int64_t>(1, av_rescale(1000, rate.den, rate.num));
        }
    }
    return d;
}

class FfmpegStream : public VideoStream {
  public:
    FfmpegStream(std::string path, std::unique_ptr<Decoding> decoding,
                 std::unique_ptr<platform::audio::PcmStream> sound)
        : path_(std::move(path)), d_(std::move(decoding)), sound_(std::move(sound)) {}

    void Rewind() override {
        // A stream that has decoded nothing yet is at its start already.
        if (touched_ || !d_) d_ = OpenDecoding(path_, sound_ != nullptr);
        touched_ = false;
        if (!d_) failed_ = true;
        if (sound_) sound_->Clear();
        catchingUp_ = false;
        played_ = 0;
        since_ = lastNow_;
        completed_ = false;
    }

    void Run(uint32_t now) override {
        if (running_) return;
        running_ = true;
        since_ = lastNow_ = now;
    }

    void Stop() override {
        if (!running_) return;
        played_ = Position(lastNow_);
        running_ = false;
        if (sound_) sound_->Clear();
    }

    void Advance(uint32_t now) override;

    bool TakeCompletion() override { return std::exchange(completed_, false); }
    bool Failed() const override { return failed_; }
    const Picture* CurrentPicture() const override {
        return picture_.Serial == 0 ? nullptr : &picture_;
    }

  private:
    int64_t Position(uint32_t now) const {
        return running_ ? played_ + int64_t{static_cast<uint32_t>(now - since_)} : played_;
    }
    bool TakeVideoFrame();
    void ReadPacket();
    void DecodeSound(const AVPacket* packet);
    void QueueSound(const AVFrame& frame);
    int64_t LateSoundFrames(int64_t startMs, int64_t made);
    void ShowDue();

    std::string path_;
    std::unique_ptr<Decoding> d_;
    std::unique_ptr<platform::audio::PcmStream> sound_;
    Scaler scaler_;
    Resampler resampler_;
    Picture picture_;
    bool running_ = false, completed_ = false, failed_ = false;
    bool touched_ = false;     // the decoding has moved from the file's start
    bool catchingUp_ = false;  // late sound is being dropped up to the picture's time
    int64_t played_ = 0;       // ms played before the current run
    uint32_t since_ = 0;       // tick count when the current run began
    uint32_t lastNow_ = 0;
};

void FfmpegStream::Advance(uint32_t now) {
    lastNow_ = now;
    if (!running_ || failed_ || !d_) return;
    touched_ = true;
    const int64_t position = Position(now);
    Decoding& d = *d_;
    for (;;) {
        if (d.HasNext) {
            if (d.NextMs > position) break;
            std::swap(d.Next, d.Due);  // only the latest due picture is converted
            d.HasNext = false;
            d.HasDue = true;
            continue;
        }
        if (d.Video.Codec && TakeVideoFrame()) continue;
        if (!d.Video.Codec && d.SoundMs > position + kSoundLeadMs) break;
        if (d.Eof) break;
        ReadPacket();
    }
    if (d.HasDue) ShowDue();
    if (!d.Eof || d.HasNext || !d.VideoDone() || position < d.EndMs) return;
    if (!d.DecodedAny) {
        failed_ = true;
        return;
    }
    played_ = d.EndMs;
    running_ = false;
    completed_ = true;
}

// A decoded picture becomes the next one; false when the decoder needs input
// or has given all it had.
bool FfmpegStream::TakeVideoFrame() {
    Decoding& d = *d_;
    const int result = avcodec_receive_frame(d.Video.Codec.get(), d.Received.get());
    if (result == AVERROR_EOF) d.Video.Drained = true;
    if (result < 0) return false;
    const int64_t ms = d.Video.FrameMs(*d.Received, d.LastVideoMs + d.FrameMs);
    d.LastVideoMs = ms;
    d.EndMs = std::max(d.EndMs, ms + d.FrameMs);
    std::swap(d.Received, d.Next);
    d.HasNext = true;
    d.NextMs = ms;
    d.DecodedAny = true;
    return true;
}

// One packet of the file to its decoder; at the end of the file (or a read
// error) the decoders are told that nothing more comes.
void FfmpegStream::ReadPacket() {
    Decoding& d = *d_;
    if (av_read_frame(d.Format.get(), d.Packet.get()) < 0) {
        if (d.Video.Codec) avcodec_send_packet(d.Video.Codec.get(), nullptr);
        DecodeSound(nullptr);
        d.Eof = true;
        return;
    }
    // A packet that does not decode is left out, as players do.
    if (d.Packet->stream_index == d.Video.Index && d.Video.Codec) {
        avcodec_send_packet(d.Video.Codec.get(), d.Packet.get());
    } else if (d.Packet->stream_index == d.Sound.Index) {
        DecodeSound(d.Packet.get());
    }
    av_packet_unref(d.Packet.get());
}

void FfmpegStream::DecodeSound(const AVPacket* packet) {
    Decoding& d = *d_;
    if (!d.Sound.Codec || d.Sound.Drained) return;
    if (avcodec_send_packet(d.Sound.Codec.get(), packet) < 0 && packet != nullptr) return;
    int result = 0;
    while ((result = avcodec_receive_frame(d.Sound.Codec.get(), d.SoundFrame.get())) >= 0) {
        QueueSound(*d.SoundFrame);
    }
    if (result == AVERROR_EOF) d.Sound.Drained = true;
}

void FfmpegStream::QueueSound(const AVFrame& frame) {
    Decoding& d = *d_;
    if (frame.sample_rate <= 0 || frame.nb_samples <= 0) return;
    d.DecodedAny = true;
    const int64_t start = d.Sound.FrameMs(frame, d.SoundMs);
    d.SoundMs = std::max(d.SoundMs, start + int64_t{frame.nb_samples} * 1000 / frame.sample_rate);
    d.EndMs = std::max(d.EndMs, d.SoundMs);
    if (!sound_) return;
    if (!resampler_) {
        SwrContext* swr = nullptr;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        AVChannelLayout source = frame.ch_layout;  // the call takes them writable
        if (swr_alloc_set_opts2(&swr, &stereo, AV_SAMPLE_FMT_S16, MixerSession::kFrequency, &source,
                                static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0,
                                nullptr) < 0) {
            return;
        }
        resampler_.reset(swr);
        if (swr_init(swr) < 0) {
            resampler_.reset();
            sound_.reset();  // the picture plays on without sound
            return;
        }
    }
    const int room = swr_get_out_samples(resampler_.get(), frame.nb_samples);
    if (room <= 0) return;
    std::vector<int16_t> out(static_cast<size_t>(room) * 2);
    auto* target = reinterpret_cast<uint8_t*>(out.data());
    const int made =
        swr_convert(resampler_.get(), &target, room,
                    const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    if (made <= 0) return;
    const int64_t late = LateSoundFrames(start, made);
    if (late >= made) return;
    constexpr int64_t channels = MixerSession::kOutputChannels;
    sound_->Queue({out.data() + late * channels, static_cast<size_t>((made - late) * channels)});
}

// How many of the `made` output frames of sound starting at `startMs` come
// too late to be heard with the picture: none while the lateness stays within
// the slack; beyond it, the late part, until the sound has caught up.
int64_t FfmpegStream::LateSoundFrames(int64_t startMs, int64_t made) {
    const int64_t queuedMs =
        sound_->PendingBytes() / kOutputFrameBytes * 1000 / MixerSession::kFrequency;
    const int64_t lateMs = Position(lastNow_) + queuedMs - startMs;
    if (lateMs > kSoundSlackMs) catchingUp_ = true;
    if (!catchingUp_) return 0;
    const int64_t late = std::max<int64_t>(0, lateMs * MixerSession::kFrequency / 1000);
    if (late < made) catchingUp_ = false;  // this piece reaches the picture's time
    return late;
}

// The latest due picture converted to RGBA, scaled down to fit the largest
// side.
void FfmpegStream::ShowDue() {
    Decoding& d = *d_;
    d.HasDue = false;
    const AVFrame& frame = *d.Due;
    if (frame.width <= 0 || frame.height <= 0) return;
    const double scale =
        std::min(1.0, static_cast<double>(kMaxPictureSide) / std::max(frame.width, frame.height));
    const int width = std::max(1, static_cast<int>(frame.width * scale));
    const int height = std::max(1, static_cast<int>(frame.height * scale));
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame.width, frame.height,
                                       static_cast<AVPixelFormat>(frame.format), width, height,
                                       AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler_) return;
    picture_.Rgba.resize(static_cast<size_t>(width) * height * 4);
    uint8_t* planes[4] = {picture_.Rgba.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {width * 4, 0, 0, 0};
    sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
    picture_.Width = width;
    picture_.Height = height;
    ++picture_.Serial;
}

class FfmpegVideoService : public VideoService {
  public:
    FfmpegVideoService() { av_log_set_level(AV_LOG_ERROR); }

    std::unique_ptr<VideoStream> Open(const std::string& fileName) override {
        const std::string path = platform::fs::Resolve(fileName);
        if (!platform::fs::FileExists(path)) return nullptr;
        auto sound = platform::audio::PcmStream::Open(platform::audio::kVideoSoundChannel,
                                                      MixerSession::kFrequency, 2);
        auto decoding = OpenDecoding(path, sound != nullptr);
        if (!decoding) return nullptr;
        if (!decoding->Sound.Codec) sound.reset();
        return std::make_unique<FfmpegStream>(path, std::move(decoding), std::move(sound));
    }
};

}  // namespace

std::unique_ptr<VideoService> OpenFfmpegVideo() { return std::make_unique<FfmpegVideoService>(); }

}  // namespace platform::video
