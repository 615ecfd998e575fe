// The demo game's videos, made here and encoded with FFmpeg's own encoders:
// the developer video, three seconds of pictures (colour bars sweeping under
// the game's title mark, fading in and out) with a rising jingle; and the
// title and end cards, lines of text on a dark ground that loop while the
// title or end music plays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

constexpr int kCardWidth = 320;
constexpr int kCardHeight = 240;
// The ground of the cards.
constexpr uint8_t kCardGround[3] = {16, 20, 64};

// One line of a card: its text (the font's characters 32..131), the size of
// a font dot in pixels, its colour, and whether it blinks.
struct CardLine {
    std::string Text;
    int Scale;
    uint8_t Red, Green, Blue;
    bool Blinks;
};

// Two seconds of a card: the lines centred one under the other, without sound.
platform::video::MediaContent CardVideoContent(const std::vector<CardLine>& lines);

// The title card (the game's name and the key that starts a game) and the end
// card (the game won), as DeveloperVideoBytes gives its video.
bool TitleCardBytes(std::string& bytes, std::string& error);
bool EndCardBytes(std::string& bytes, std::string& error);

}  // namespace demo
