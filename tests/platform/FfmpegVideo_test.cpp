// Video through FFmpeg: a few pictures of plain colours (and a sound) written
// with FFmpeg's own encoders, decoded as the clock runs: each picture at its
// time, the end once, a rewind back to the first picture; sound that a stall
// of the clock has made late is dropped, not heard after the picture; files
// that hold nothing to decode open as no stream.
#include "platform/video/FfmpegVideo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/audio/MixerSession.h"
#include "platform/fs/FileSystem.h"
#include "platform/video/MediaWriter.h"
#include "tests/common/ScratchFolder.h"

namespace {

constexpr int kWidth = 64, kHeight = 48;

// Picture i: red rising, green falling, over 5 pictures at 10 a second.
uint8_t Red(int i) { return uint8_t(20 + i * 50); }
uint8_t Green(int i) { return uint8_t(230 - i * 50); }

platform::video::MediaContent FivePictures() {
    platform::video::MediaContent content;
    content.Width = kWidth;
    content.Height = kHeight;
    content.FramesPerSecond = 10;
    for (int i = 0; i < 5; ++i) {
        std::vector<uint8_t> rgba;
        for (int p = 0; p < kWidth * kHeight; ++p)
            rgba.insert(rgba.end(), {Red(i), Green(i), 40, 255});
        content.Frames.push_back(rgba);
    }
    content.SampleRate = 22050;
    content.Samples.assign(22050 / 2, 3000);  // half a second
    return content;
}

// The picture shown is picture `i` (its centre within the codec's error).
void ExpectPicture(const platform::video::VideoStream& stream, int i) {
    const platform::video::Picture* picture = stream.CurrentPicture();
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->Width, kWidth);
    ASSERT_EQ(picture->Height, kHeight);
    const uint8_t* centre = &picture->Rgba[(size_t(kHeight / 2) * kWidth + kWidth / 2) * 4];
    EXPECT_NEAR(centre[0], Red(i), 12) << "picture " << i;
    EXPECT_NEAR(centre[1], Green(i), 12) << "picture " << i;
}

TEST(FfmpegVideo, PicturesComeAtTheirTimeAndTheEndOnce) {
    std::string bytes, error;
    ASSERT_TRUE(platform::video::EncodeMediaFile("clip.avi", FivePictures(), bytes, error))
        << error;
    testutil::ScratchFolder scratch;
    scratch.Write("Clip.AVI", bytes);
    auto service = platform::video::OpenFfmpegVideo();
    auto stream = service->Open(scratch.Path("clip.avi"));
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->CurrentPicture(), nullptr);

    stream->Rewind();
    stream->Run(1000);
    stream->Advance(1000);
    ExpectPicture(*stream, 0);
    stream->Advance(1250);
    ExpectPicture(*stream, 2);
    const uint64_t serial = stream->CurrentPicture()->Serial;
    stream->Advance(1499);
    ExpectPicture(*stream, 4);
    EXPECT_FALSE(stream->TakeCompletion()) << "the sound lasts to 500 ms";
    stream->Advance(1600);  // the sound encoder pads its last block
    EXPECT_TRUE(stream->TakeCompletion());
    EXPECT_FALSE(stream->TakeCompletion());
    EXPECT_FALSE(stream->Failed());

    stream->Rewind();
    stream->Run(9000);
    stream->Advance(9000);
    ExpectPicture(*stream, 0);
    EXPECT_GT(stream->CurrentPicture()->Serial, serial);
}

TEST(FfmpegVideo, SoundMadeLateByAStallIsDroppedNotHeardAfterThePicture) {
    // Two seconds of pictures and of a loud tone.
    platform::video::MediaContent content = FivePictures();
    content.Frames.resize(20, content.Frames[0]);
    content.Samples.resize(size_t(content.SampleRate) * 2);
    for (size_t i = 0; i < content.Samples.size(); ++i) {
        content.Samples[i] = int16_t(10000 * std::sin(double(i) * 440 * 2 * M_PI / 22050));
    }
    std::string bytes, error;
    ASSERT_TRUE(platform::video::EncodeMediaFile("tone.avi", content, bytes, error)) << error;
    testutil::ScratchFolder scratch;
    scratch.Write("tone.avi", bytes);
    const std::string capture = scratch.Path("out.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    {
        auto service = platform::video::OpenFfmpegVideo();
        auto stream = service->Open(scratch.Path("tone.avi"));
        ASSERT_TRUE(stream);
        if (!platform::audio::MixerSession::IsOpen()) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            GTEST_SKIP() << "the disk audio driver cannot be opened";
        }
        stream->Rewind();
        stream->Run(0);
        stream->Advance(0);
        // The frame loop stood still for 1.4 s; then 0.6 s of the video are
        // left, played as the clock runs, and a while after its end.
        const auto start = std::chrono::steady_clock::now();
        const auto since = [&start] {
            return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count());
        };
        while (!stream->TakeCompletion() && since() < 3000) {
            stream->Advance(1400 + since());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string heard;
    ASSERT_TRUE(platform::fs::ReadWholeFile(capture, heard));
    int64_t loud = 0;
    for (size_t i = 0; i + 4 <= heard.size(); i += 4) {
        int16_t left = 0;
        std::memcpy(&left, heard.data() + i, 2);
        if (std::abs(left) > 500) ++loud;
    }
    const int64_t loudMs = loud * 1000 / platform::audio::MixerSession::kFrequency;
    EXPECT_GT(loudMs, 250) << "the sound after the stall is heard";
    EXPECT_LT(loudMs, 1000) << "the sound of the stall is not";
}

TEST(FfmpegVideo, FilesWithNothingToDecodeOpenAsNoStream) {
    testutil::ScratchFolder scratch;
    scratch.Write("words.avi", std::string(4096, 'x'));
    scratch.Write("empty.avi", "");
    auto service = platform::video::OpenFfmpegVideo();
    for (const char* name : {"words.avi", "empty.avi", "missing.avi"}) {
        EXPECT_FALSE(service->Open(scratch.Path(name))) << name;
    }
}

}  // namespace
