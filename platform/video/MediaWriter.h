// Media files made from generated pictures and sound with FFmpeg's own
// encoders, for the demo game's tool and for tests: a video (MPEG-4 part 2
// pictures, or Motion JPEG where that encoder is missing, with MP2 sound) in
// the container its name's extension names, or MP3 sound alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::video {

struct MediaContent {
    int32_t Width = 0, Height = 0;  // even sides
    int32_t FramesPerSecond = 0;
    std::vector<std::vector<uint8_t>> Frames;  // RGBA, Width × Height each, rows from the top
    int32_t SampleRate = 0;                    // 22050, 32000, 44100 or 48000
    std::vector<int16_t> Samples;              // mono; none: no sound
};

// Encodes `content` as a file named like `fileName` ("x.avi", "x.mp3": only
// the extension counts) into `bytes`. False, with the reason in `error`, when
// the container or an encoder is missing or encoding fails.
bool EncodeMediaFile(const std::string& fileName, const MediaContent& content, std::string& bytes,
                     std::string& error);

}  // namespace platform::video
