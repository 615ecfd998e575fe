// The video service over FFmpeg: the file (found through the path resolver)
// is demuxed and decoded as the clock runs; pictures are scaled to RGBA of at
// most 1024 pixels a side, the sound resampled to the mixer's format and
// played on its video-sound channel.
#pragma once

#include <memory>

#include "platform/video/VideoPlayer.h"

namespace platform::video {

// The service; the sound stays silent when no audio device can be opened.
std::unique_ptr<VideoService> OpenFfmpegVideo();

}  // namespace platform::video
