// Samples queued on the speech channel, captured through SDL's disk audio
// driver: played once, in order, converted to the output's rate and layout;
// a stream cleared falls silent.
#include "platform/audio/PcmStream.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/audio/MixerSession.h"
#include "platform/fs/FileSystem.h"
#include "tests/common/ScratchFolder.h"

using namespace platform::audio;

namespace {

// Frames of the capture whose left sample is not silent.
int64_t LoudFrames(const std::string& bytes) {
    int64_t loud = 0;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        const auto left = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        if (left > 500) ++loud;
    }
    return loud;
}

TEST(PcmStream, QueuedSamplesPlayOnceConvertedAndClearedOnesNot) {
    testutil::ScratchFolder scratch;
    const std::string file = scratch.Path("out.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    {
        auto stream = PcmStream::Open(kSpeechChannel, 22050, 1);
        if (!stream) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            GTEST_SKIP() << "the disk audio driver cannot be opened";
        }
        EXPECT_FALSE(PcmStream::Open(kSpeechChannel - 1, 22050, 1)) << "not a stream channel";
        EXPECT_FALSE(PcmStream::Open(kSpeechChannel, 22050, 3));
        const std::vector<int16_t> tone(22050 / 10, 4000);  // 100 ms
        stream->Queue(tone);
        stream->Finish();
        // Played out within 400 ms, or a few seconds on a loaded machine.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (stream->PendingBytes() != 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_EQ(stream->PendingBytes(), 0);
        stream->Queue(tone);
        stream->Clear();
        EXPECT_EQ(stream->PendingBytes(), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_FALSE(MixerSession::IsOpen());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string bytes;
    ASSERT_TRUE(platform::fs::ReadWholeFile(file, bytes));
    EXPECT_NEAR(LoudFrames(bytes), 4410, 200) << "100 ms at 44100 Hz, once";
}

}  // namespace
