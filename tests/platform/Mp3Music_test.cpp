// MP3 music through SDL2_mixer on SDL's dummy audio driver: a short piece
// encoded with FFmpeg's MP3 encoder plays to its end and says so once; files
// that are not MP3 are refused.
#include "platform/music/Mp3Music.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "platform/video/MediaWriter.h"
#include "tests/common/ScratchFolder.h"

namespace {

TEST(MixerMp3, APiecePlaysToItsEndAndSaysSoOnce) {
    platform::video::MediaContent content;
    content.SampleRate = 44100;
    for (int i = 0; i < 44100 / 5; ++i) {
        content.Samples.push_back(int16_t(8000 * std::sin(i * 0.06)));
    }
    std::string bytes, error;
    if (!platform::video::EncodeMediaFile("tone.mp3", content, bytes, error)) {
        GTEST_SKIP() << "no MP3 encoder: " << error;
    }
    testutil::ScratchFolder scratch;
    scratch.Write("Tone.mp3", bytes);
    scratch.Write("words.mp3", "just words");
    auto service = platform::music::OpenMixerMp3();
    if (!service) GTEST_SKIP() << "no audio device";
    EXPECT_FALSE(service->Render(scratch.Path("words.mp3")));
    EXPECT_FALSE(service->Render(scratch.Path("missing.mp3")));
    auto piece = service->Render(scratch.Path("TONE.MP3"));
    ASSERT_TRUE(piece);
    EXPECT_FALSE(piece->TakeCompletion()) << "not run yet";
    piece->Rewind();
    piece->Run();
    bool ended = false;
    for (int i = 0; i < 125 && !ended; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        ended = piece->TakeCompletion();
    }
    EXPECT_TRUE(ended);
    EXPECT_FALSE(piece->TakeCompletion()) << "once";
}

}  // namespace
