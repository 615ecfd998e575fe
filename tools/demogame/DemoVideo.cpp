#include "tools/demogame/DemoVideo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/demogame/FontGlyphs.h"
#include "tools/demogame/WavWriter.h"

namespace demo {

namespace {
constexpr float kPi = 3.14159265f;

// The title mark: a ring with a bar through it, centred, of radius `r`.
bool InMark(float dx, float dy, float r) {
    const float d = std::sqrt(dx * dx + dy * dy);
    return (d > r * 0.7f && d < r) || (std::fabs(dy) < r * 0.12f && std::fabs(dx) < r * 1.3f);
}

std::vector<uint8_t> Picture(int frame) {
    const int w = kDeveloperVideoWidth, h = kDeveloperVideoHeight;
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    const float t = static_cast<float>(frame) / kDeveloperVideoFrames;
    const float fade = std::min({1.0f, t * 4.0f, (1.0f - t) * 4.0f});  // in and out
    const float radius = 20.0f + 14.0f * std::sin(t * kPi);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float band = std::sin((x + frame * 6) * 0.08f) * 0.5f + 0.5f;
            float r = 40 + 180 * band, g = 60 + 120 * (1 - band), b = 140 + 100 * (y / float(h));
            if (InMark(x - w / 2.0f, y - h / 2.0f, radius)) r = g = b = 255;
            uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>(std::clamp(r * fade, 0.0f, 255.0f));
            p[1] = static_cast<uint8_t>(std::clamp(g * fade, 0.0f, 255.0f));
            p[2] = static_cast<uint8_t>(std::clamp(b * fade, 0.0f, 255.0f));
            p[3] = 255;
        }
    }
    return rgba;
}

// Three rising notes and a held chord.
std::vector<int16_t> Jingle() {
    const float notes[] = {523.25f, 659.25f, 783.99f};
    const int total =
        static_cast<int>(kDemoSampleRate) * kDeveloperVideoFrames / kDeveloperVideoFps;
    std::vector<int16_t> samples(static_cast<size_t>(total));
    for (int i = 0; i < total; ++i) {
        const float s = static_cast<float>(i) / kDemoSampleRate;
        float v = 0;
        for (int n = 0; n < 3; ++n) {
            const float start = 0.25f + 0.3f * n;
            if (s < start) continue;
            const float age = s - start;
            v += std::sin(2 * kPi * notes[n] * age) * std::exp(-age * 1.2f) * 0.3f;
        }
        const float tail = std::min(1.0f, (total - i) / (0.2f * kDemoSampleRate));
        samples[static_cast<size_t>(i)] =
            static_cast<int16_t>(std::clamp(v * tail * 32767.0f, -32767.0f, 32767.0f));
    }
    return samples;
}
}  // namespace

platform::video::MediaContent DeveloperVideoContent() {
    platform::video::MediaContent content;
    content.Width = kDeveloperVideoWidth;
    content.Height = kDeveloperVideoHeight;
    content.FramesPerSecond = kDeveloperVideoFps;
    for (int f = 0; f < kDeveloperVideoFrames; ++f) content.Frames.push_back(Picture(f));
    content.SampleRate = static_cast<int32_t>(kDemoSampleRate);
    content.Samples = Jingle();
    return content;
}

namespace {
struct Encoded {
    bool ok = false;
    std::string bytes, error;
};

Encoded Encode(const platform::video::MediaContent& content) {
    Encoded e;
    e.ok = platform::video::EncodeMediaFile("video.avi", content, e.bytes, e.error);
    return e;
}

bool Give(const Encoded& encoded, std::string& bytes, std::string& error) {
    bytes = encoded.bytes;
    error = encoded.error;
    return encoded.ok;
}

constexpr int kCardFps = 12;
constexpr int kCardFrames = 24;

// Draws `line` centred on row `top` of a card picture.
void DrawLine(std::vector<uint8_t>& rgba, const CardLine& line, int top) {
    const int advance = (kGlyphColumns + 1) * line.Scale;
    const int width = static_cast<int>(line.Text.size()) * advance - line.Scale;
    const int left = (kCardWidth - width) / 2;
    for (size_t i = 0; i < line.Text.size(); ++i) {
        const int code = static_cast<unsigned char>(line.Text[i]);
        for (int y = 0; y < kGlyphRows * line.Scale; ++y) {
            for (int x = 0; x < kGlyphColumns * line.Scale; ++x) {
                const int px = left + static_cast<int>(i) * advance + x, py = top + y;
                if (px < 0 || px >= kCardWidth || py < 0 || py >= kCardHeight) continue;
                if (!GlyphDot(code, x / line.Scale, y / line.Scale)) continue;
                uint8_t* p = &rgba[(static_cast<size_t>(py) * kCardWidth + px) * 4];
                p[0] = line.Red, p[1] = line.Green, p[2] = line.Blue;
            }
        }
    }
}
}  // namespace

bool DeveloperVideoBytes(std::string& bytes, std::string& error) {
    static const Encoded encoded = Encode(DeveloperVideoContent());
    return Give(encoded, bytes, error);
}

platform::video::MediaContent CardVideoContent(const std::vector<CardLine>& lines) {
    platform::video::MediaContent content;
    content.Width = kCardWidth;
    content.Height = kCardHeight;
    content.FramesPerSecond = kCardFps;
    int height = 0;
    for (const CardLine& line : lines) height += (kGlyphRows + 4) * line.Scale;
    for (int f = 0; f < kCardFrames; ++f) {
        std::vector<uint8_t> rgba(static_cast<size_t>(kCardWidth) * kCardHeight * 4, 255);
        for (size_t i = 0; i < rgba.size(); i += 4) std::copy_n(kCardGround, 3, &rgba[i]);
        int top = (kCardHeight - height) / 2;
        for (const CardLine& line : lines) {
            // A blinking line shows in the first half of the loop.
            if (!line.Blinks || f < kCardFrames / 2) DrawLine(rgba, line, top);
            top += (kGlyphRows + 4) * line.Scale;
        }
        content.Frames.push_back(std::move(rgba));
    }
    return content;
}

bool TitleCardBytes(std::string& bytes, std::string& error) {
    static const Encoded encoded = Encode(CardVideoContent({
        {"DEMO QUEST", 5, 255, 200, 60, false},
        {"", 2, 0, 0, 0, false},
        {"PRESS SPACE TO START", 2, 255, 255, 255, true},
    }));
    return Give(encoded, bytes, error);
}

bool EndCardBytes(std::string& bytes, std::string& error) {
    static const Encoded encoded = Encode(CardVideoContent({
        {"YOU WON!", 5, 255, 200, 60, false},
        {"THE QUEST IS DONE", 2, 255, 255, 255, false},
        {"", 2, 0, 0, 0, false},
        {"PRESS SPACE", 2, 255, 255, 255, true},
    }));
    return Give(encoded, bytes, error);
}

}  // namespace demo
