#include "platform/video/MediaWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

#include "platform/video/FfmpegHandles.h"

namespace platform::video {
namespace {

constexpr int kIoBufferSize = 4096;

// The bytes of the file being written, with a write position the muxer moves
// (the AVI muxer goes back to fill in its sizes).
struct MemoryFile {
    std::string Bytes;
    int64_t At = 0;
};

int WriteBytes(void* opaque, uint8_t* data, int size) {
    auto* file = static_cast<MemoryFile*>(opaque);
    if (size <= 0) return 0;
    const auto end = static_cast<size_t>(file->At) + static_cast<size_t>(size);
    if (file->Bytes.size() < end) file->Bytes.resize(end);
    std::memcpy(file->Bytes.data() + file->At, data, static_cast<size_t>(size));
    file->At += size;
    return size;
}

int64_t SeekBytes(void* opaque, int64_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(opaque);
    const auto size = static_cast<int64_t>(file->Bytes.size());
    if ((whence & AVSEEK_SIZE) != 0) return size;
    whence &= ~AVSEEK_FORCE;
    int64_t to = offset;
    if (whence == SEEK_CUR) to = file->At + offset;
    if (whence == SEEK_END) to = size + offset;
    if (to < 0) return -1;
    file->At = to;
    return to;
}

struct IoFreer {
    void operator()(AVIOContext* io) const {
        if (io != nullptr) av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
using IoContext = std::unique_ptr<AVIOContext, IoFreer>;

struct Encoder {
    AVStream* Stream = nullptr;
    CodecContext Codec;
};

bool Fail(std::string& error, const std::string& why) {
    error = why;
    return false;
}

// Sends `frame` (null: the end) to the encoder and writes every packet out.
bool Encode(AVFormatContext* output, Encoder& encoder, AVFrame* frame) {
    if (avcodec_send_frame(encoder.Codec.get(), frame) < 0) return false;
    PacketPtr packet(av_packet_alloc());
    if (!packet) return false;
    int result = 0;
    while ((result = avcodec_receive_packet(encoder.Codec.get(), packet.get())) >= 0) {
        av_packet_rescale_ts(packet.get(), encoder.Codec->time_base, encoder.Stream->time_base);
        packet->stream_index = encoder.Stream->index;
        if (av_interleaved_write_frame(output, packet.get()) < 0) return false;
    }
    return result == AVERROR(EAGAIN) || result == AVERROR_EOF;
}

bool AddStream(AVFormatContext* output, const AVCodec* codec, Encoder& encoder) {
    if ((output->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
        encoder.Codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (avcodec_open2(encoder.Codec.get(), codec, nullptr) < 0) return false;
    encoder.Stream = avformat_new_stream(output, nullptr);
    if (encoder.Stream == nullptr) return false;
    encoder.Stream->time_base = encoder.Codec->time_base;
    return avcodec_parameters_from_context(encoder.Stream->codecpar, encoder.Codec.get()) >= 0;
}

bool OpenPictureEncoder(AVFormatContext* output, const MediaContent& content, Encoder& encoder) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVPixelFormat format = AV_PIX_FMT_YUV420P;
    if (codec == nullptr) {
        codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
        format = AV_PIX_FMT_YUVJ420P;
    }
    if (codec == nullptr) return false;
    encoder.Codec.reset(avcodec_alloc_context3(codec));
    if (!encoder.Codec) return false;
    AVCodecContext& c = *encoder.Codec;
    c.width = content.Width;
    c.height = content.Height;
    c.time_base = AVRational{1, content.FramesPerSecond};
    c.framerate = AVRational{content.FramesPerSecond, 1};
    c.pix_fmt = format;
    c.gop_size = 12;
    c.bit_rate = 800000;
    return AddStream(output, codec, encoder);
}

bool OpenSoundEncoder(AVFormatContext* output, AVCodecID id, int32_t rate, Encoder& encoder) {
    const AVCodec* codec = avcodec_find_encoder(id);
    if (codec == nullptr || codec->sample_fmts == nullptr) return false;
    encoder.Codec.reset(avcodec_alloc_context3(codec));
    if (!encoder.Codec) return false;
    AVCodecContext& c = *encoder.Codec;
    c.sample_fmt = codec->sample_fmts[0];
    c.sample_rate = rate;
    const AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    if (av_channel_layout_copy(&c.ch_layout, &mono) < 0) return false;
    c.bit_rate = 64000;
    c.time_base = AVRational{1, rate};
    return AddStream(output, codec, encoder);
}

bool WritePictures(AVFormatContext* output, const MediaContent& content, Encoder& encoder) {
    AVCodecContext& c = *encoder.Codec;
    Scaler scaler(sws_getContext(c.width, c.height, AV_PIX_FMT_RGBA, c.width, c.height, c.pix_fmt,
                                 SWS_BILINEAR, nullptr, nullptr, nullptr));
    FramePtr frame(av_frame_alloc());
    if (!scaler || !frame) return false;
    const size_t bytes = static_cast<size_t>(c.width) * c.height * 4;
    for (size_t i = 0; i < content.Frames.size(); ++i) {
        if (content.Frames[i].size() != bytes) return false;
        av_frame_unref(frame.get());
        frame->format = c.pix_fmt;
        frame->width = c.width;
        frame->height = c.height;
        if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
        const uint8_t* source[4] = {content.Frames[i].data(), nullptr, nullptr, nullptr};
        const int strides[4] = {c.width * 4, 0, 0, 0};
        sws_scale(scaler.get(), source, strides, 0, c.height, frame->data, frame->linesize);
        frame->pts = static_cast<int64_t>(i);
        if (!Encode(output, encoder, frame.get())) return false;
    }
    return Encode(output, encoder, nullptr);
}

bool WriteSound(AVFormatContext* output, const MediaContent& content, Encoder& encoder) {
    AVCodecContext& c = *encoder.Codec;
    SwrContext* swr = nullptr;
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    if (swr_alloc_set_opts2(&swr, &c.ch_layout, c.sample_fmt, c.sample_rate, &mono,
                            AV_SAMPLE_FMT_S16, content.SampleRate, 0, nullptr) < 0) {
        return false;
    }
    Resampler resampler(swr);
    FramePtr frame(av_frame_alloc());
    if (swr_init(swr) < 0 || !frame) return false;
    const int perFrame = c.frame_size > 0 ? c.frame_size : 1024;
    std::vector<int16_t> samples = content.Samples;
    samples.resize((samples.size() + perFrame - 1) / perFrame * perFrame, 0);  // whole frames
    for (size_t at = 0; at < samples.size(); at += static_cast<size_t>(perFrame)) {
        av_frame_unref(frame.get());
        frame->format = c.sample_fmt;
        frame->sample_rate = c.sample_rate;
        frame->nb_samples = perFrame;
        if (av_channel_layout_copy(&frame->ch_layout, &c.ch_layout) < 0 ||
            av_frame_get_buffer(frame.get(), 0) < 0) {
            return false;
        }
        const auto* source = reinterpret_cast<const uint8_t*>(samples.data() + at);
        if (swr_convert(swr, frame->data, perFrame, &source, perFrame) < 0) return false;
        frame->pts = static_cast<int64_t>(at);
        if (!Encode(output, encoder, frame.get())) return false;
    }
    return Encode(output, encoder, nullptr);
}

bool ContentIsWhole(const MediaContent& content, bool pictures) {
    if (pictures && (content.Width <= 0 || content.Height <= 0 || content.Width % 2 != 0 ||
                     content.Height % 2 != 0 || content.FramesPerSecond <= 0)) {
        return false;
    }
    return content.Samples.empty() || content.SampleRate > 0;
}

// The streams, the header, the pictures and sound, and the trailer.
bool WriteStreams(AVFormatContext* output, const MediaContent& content, bool soundOnly,
                  std::string& error) {
    const bool pictures = !soundOnly && !content.Frames.empty();
    const bool sound = !content.Samples.empty();
    if (!ContentIsWhole(content, pictures)) return Fail(error, "the content is not whole");
    Encoder picture, voice;
    if (pictures && !OpenPictureEncoder(output, content, picture)) {
        return Fail(error, "no picture encoder");
    }
    const AVCodecID soundCodec = soundOnly ? AV_CODEC_ID_MP3 : AV_CODEC_ID_MP2;
    if (sound && !OpenSoundEncoder(output, soundCodec, content.SampleRate, voice)) {
        return Fail(error, "no sound encoder");
    }
    if (!pictures && !sound) return Fail(error, "nothing to write");
    if (avformat_write_header(output, nullptr) < 0) return Fail(error, "cannot write the header");
    if (pictures && !WritePictures(output, content, picture)) {
        return Fail(error, "cannot encode the pictures");
    }
    if (sound && !WriteSound(output, content, voice)) return Fail(error, "cannot encode the sound");
    if (av_write_trailer(output) < 0) return Fail(error, "cannot write the trailer");
    return true;
}

}  // namespace

bool EncodeMediaFile(const std::string& fileName, const MediaContent& content, std::string& bytes,
                     std::string& error) {
    error.clear();
    AVFormatContext* made = nullptr;
    if (avformat_alloc_output_context2(&made, nullptr, nullptr, fileName.c_str()) < 0) {
        return Fail(error, "no container for " + fileName);
    }
    OutputFormat output(made);
    MemoryFile file;
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    IoContext io(
        avio_alloc_context(buffer, kIoBufferSize, 1, &file, nullptr, WriteBytes, SeekBytes));
    if (!io) {
        av_free(buffer);
        return Fail(error, "out of memory");
    }
    output->pb = io.get();
    output->flags |= AVFMT_FLAG_CUSTOM_IO;
    const bool soundOnly = std::string(output->oformat->name) == "mp3";
    if (!WriteStreams(output.get(), content, soundOnly, error)) return false;
    avio_flush(io.get());
    output.reset();
    bytes = std::move(file.Bytes);
    return true;
}

}  // namespace platform::video
