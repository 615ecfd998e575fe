#include "platform/video/FfmpegHandles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace platform::video {

void FfmpegFreer::operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
void FfmpegFreer::operator()(AVFrame* frame) const { av_frame_free(&frame); }
void FfmpegFreer::operator()(AVPacket* packet) const { av_packet_free(&packet); }
void FfmpegFreer::operator()(SwrContext* context) const { swr_free(&context); }
void FfmpegFreer::operator()(SwsContext* context) const { sws_freeContext(context); }

void FfmpegInputCloser::operator()(AVFormatContext* context) const {
    avformat_close_input(&context);
}

void FfmpegOutputCloser::operator()(AVFormatContext* context) const {
    if (context == nullptr) return;
    // Custom outputs (AVFMT_FLAG_CUSTOM_IO) belong to whoever made them.
    if ((context->flags & AVFMT_FLAG_CUSTOM_IO) == 0 && context->oformat != nullptr &&
        (context->oformat->flags & AVFMT_NOFILE) == 0) {
        avio_closep(&context->pb);
    }
    avformat_free_context(context);
}

}  // namespace platform::video
