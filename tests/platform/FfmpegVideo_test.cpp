// Video through FFmpeg: a few pictures of plain colours (and a sound) written
// with FFmpeg's own encoders, decoded as the clock runs: each picture at its
// time, the end once, a rewind back to the first picture; files that hold
// nothing to decode open as no stream.
#include "platform/video/FfmpegVideo.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
