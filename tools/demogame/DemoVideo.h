// The demo game's developer video, made here: three seconds of pictures
// (colour bars sweeping under the game's title mark, fading in and out) with
// a rising jingle, encoded with FFmpeg's own encoders.
#pragma once

#include <string>

#include "platform/video/MediaWriter.h"

namespace demo {

constexpr int kDeveloperVideoWidth = 160;
constexpr int kDeveloperVideoHeight = 120;
constexpr int kDeveloperVideoFps = 12;
constexpr int kDeveloperVideoFrames = 36;

// The pictures and the sound.
platform::video::MediaContent DeveloperVideoContent();

// The bytes of the AVI file, encoded once per process; false with the reason
// when no encoder can make it.
bool DeveloperVideoBytes(std::string& bytes, std::string& error);

}  // namespace demo
