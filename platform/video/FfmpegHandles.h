// Owning wrappers of FFmpeg's handles: each frees its handle once, with the
// library's own release call, and is empty when creation gave none.
#pragma once

#include <memory>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;
struct SwsContext;

namespace platform::video {

struct FfmpegFreer {
    void operator()(AVCodecContext* context) const;
    void operator()(AVFrame* frame) const;
    void operator()(AVPacket* packet) const;
    void operator()(SwrContext* context) const;
    void operator()(SwsContext* context) const;
};

// A demuxer opened on a file (avformat_open_input).
struct FfmpegInputCloser {
    void operator()(AVFormatContext* context) const;
};

// A muxer with its output (avformat_alloc_output_context2): the output is
// closed or freed with it.
struct FfmpegOutputCloser {
    void operator()(AVFormatContext* context) const;
};

using CodecContext = std::unique_ptr<AVCodecContext, FfmpegFreer>;
using FramePtr = std::unique_ptr<AVFrame, FfmpegFreer>;
using PacketPtr = std::unique_ptr<AVPacket, FfmpegFreer>;
using Resampler = std::unique_ptr<SwrContext, FfmpegFreer>;
using Scaler = std::unique_ptr<SwsContext, FfmpegFreer>;
using InputFormat = std::unique_ptr<AVFormatContext, FfmpegInputCloser>;
using OutputFormat = std::unique_ptr<AVFormatContext, FfmpegOutputCloser>;

}  // namespace platform::video
