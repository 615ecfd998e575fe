// The SDL2_mixer sound device, its output captured through SDL's disk audio
// driver: exact gains, play positions, conversion of other formats; the pool
// of direct channels and buffers that outlive the device.
#include "platform/audio/MixerAudioDevice.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/audio/MixerSession.h"
#include "platform/fs/FileSystem.h"
#include "tests/common/ScratchFolder.h"

using namespace platform::audio;

namespace {

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits up to 5 s for `buffer` to have played out (a loaded machine mixes
// late), then for the mixer to write the silence after it.
void PlayOut(const SoundBuffer& buffer) {
    for (int i = 0; i < 250 && buffer.IsPlaying(); ++i) Sleep(20);
    Sleep(100);
}

std::vector<uint8_t> Frames16(const std::vector<std::pair<int16_t, int16_t>>& frames) {
    std::vector<uint8_t> bytes;
    for (auto [l, r] : frames) {
        for (int16_t v : {l, r}) {
            bytes.push_back(uint8_t(uint16_t(v) & 0xFF));
            bytes.push_back(uint8_t(uint16_t(v) >> 8));
        }
    }
    return bytes;
}

const PcmFormat kStereo16{2, 44100, 16, 4};

// Opens the device on the disk driver writing to a file of its own, and reads
// the captured stereo frames back once the device is closed.
class MixerCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        file_ = scratch_.Path("out.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
        device_ = OpenMixerAudioDevice();
        if (!device_) GTEST_SKIP() << "the disk audio driver cannot be opened";
    }
    void TearDown() override {
        device_.reset();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    // Closes the device and gives the captured frames from the first one
    // that is not silent.
    std::vector<std::pair<int, int>> Captured() {
        device_.reset();
        EXPECT_FALSE(MixerSession::IsOpen());
        std::string bytes;
        EXPECT_TRUE(platform::fs::ReadWholeFile(file_, bytes));
        std::vector<std::pair<int, int>> frames;
        for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
            int16_t l, r;
            std::memcpy(&l, bytes.data() + i, 2);
            std::memcpy(&r, bytes.data() + i + 2, 2);
            if (frames.empty() && l == 0 && r == 0) continue;
            frames.emplace_back(l, r);
        }
        return frames;
    }
    testutil::ScratchFolder scratch_;
    std::string file_;
    std::unique_ptr<AudioDevice> device_;
};

}  // namespace

TEST_F(MixerCapture, VolumeAndPanScaleTheSamplesExactly) {
    auto buffer = device_->CreateSoundBuffer(kStereo16, Frames16({{10000, 10000}, {-8000, 8000}}));
    ASSERT_TRUE(buffer);
    buffer->SetVolume(-2000);
    buffer->SetPan(2000);
    ASSERT_EQ(buffer->Play(true), PlayResult::Played);
    EXPECT_TRUE(buffer->IsLooping());
    Sleep(150);
    buffer->Stop();
    EXPECT_FALSE(buffer->IsPlaying());
    const auto frames = Captured();
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(frames[0], std::make_pair(100, 1000));
    EXPECT_EQ(frames[1], std::make_pair(-80, 800));
    EXPECT_EQ(frames[2], std::make_pair(100, 1000));  // looped
}

TEST_F(MixerCapture, PlayStartsAtTheBufferPositionAndEndsAtZero) {
    std::vector<std::pair<int16_t, int16_t>> ramp;
    for (int i = 1; i <= 400; ++i) ramp.emplace_back(int16_t(i), int16_t(-i));
    auto buffer = device_->CreateSoundBuffer(kStereo16, Frames16(ramp));
    ASSERT_TRUE(buffer);
    buffer->SetCurrentPosition(300 * 4);
    buffer->SetCurrentPosition(5000 * 4);  // past the end: ignored
    ASSERT_EQ(buffer->Play(false), PlayResult::Played);
    PlayOut(*buffer);
    EXPECT_FALSE(buffer->IsPlaying());  // 100 frames are soon over
    const auto frames = Captured();
    ASSERT_GE(frames.size(), 101u);
    EXPECT_EQ(frames[0], std::make_pair(301, -301));
    EXPECT_EQ(frames[99], std::make_pair(400, -400));
    EXPECT_EQ(frames[100], std::make_pair(0, 0));
}

TEST_F(MixerCapture, EightBitMonoIsConvertedToTheMixerFormat) {
    const std::vector<uint8_t> samples(2205, uint8_t(0xC0));  // +0.5 at 22050 Hz
    auto buffer = device_->CreateSoundBuffer(PcmFormat{1, 22050, 8, 1}, samples);
    ASSERT_TRUE(buffer);
    buffer->Play(false);
    PlayOut(*buffer);
    const auto frames = Captured();
    ASSERT_GT(frames.size(), 4600u);
    EXPECT_EQ(frames[1000].first, frames[1000].second);
    EXPECT_NEAR(frames[1000].first, 16384, 200);
    // 0.1 s at 22050 Hz: about 4410 output frames, then silence.
    EXPECT_NE(frames[4000].first, 0);
    EXPECT_EQ(frames[4600], std::make_pair(0, 0));
}

TEST(MixerAudioDevice, DirectPlaysShareAPoolOfChannels) {
    auto device = OpenMixerAudioDevice();
    if (!device) GTEST_SKIP() << "no audio device";
    const std::vector<uint8_t> bytes(4 * 44100, 1);
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    for (int i = 0; i <= kDirectChannels; ++i) {
        buffers.push_back(device->CreateSoundBuffer(kStereo16, bytes));
        ASSERT_TRUE(buffers.back());
    }
    for (int i = 0; i < kDirectChannels; ++i)
        EXPECT_EQ(buffers[i]->Play(false), PlayResult::Played);
    EXPECT_EQ(buffers.back()->Play(false), PlayResult::Failed);
    // Playing again a buffer that plays keeps its channel.
    EXPECT_EQ(buffers[0]->Play(false), PlayResult::Played);
    buffers[5]->Stop();
    EXPECT_EQ(buffers.back()->Play(false), PlayResult::Played);
    EXPECT_TRUE(buffers.back()->IsPlaying());
    buffers[7].reset();  // freeing a buffer frees its channel
    buffers[5]->Play(false);
    EXPECT_TRUE(buffers[5]->IsPlaying());
}

TEST(MixerAudioDevice, BuffersOutlivingTheDeviceAreHarmless) {
    auto device = OpenMixerAudioDevice();
    if (!device) GTEST_SKIP() << "no audio device";
    auto buffer = device->CreateSoundBuffer(kStereo16, std::vector<uint8_t>(4000, 1));
    ASSERT_TRUE(buffer);
    buffer->Play(true);
    device.reset();
    EXPECT_FALSE(MixerSession::IsOpen());
    EXPECT_EQ(buffer->Play(false), PlayResult::Failed);
    EXPECT_FALSE(buffer->IsPlaying());
    EXPECT_FALSE(buffer->Duplicate(0));
    buffer->Stop();
    buffer->SetVolume(-100);
    buffer->SetCurrentPosition(0);
    buffer.reset();
}
