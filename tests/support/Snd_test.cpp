// Positional sound over the recording device: volume and pan against the
// camera, channel choice, direct play, empty sounds and shutdown.
#include "support/Snd.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <unistd.h>

#include "platform/audio/RecordingAudioDevice.h"
#include "platform/fs/FileSystem.h"
#include "tests/common/ScratchFolder.h"
#include "tests/support/WaveBuilder.h"

using namespace wavetest;
using platform::audio::RecordingAudioDevice;
using platform::audio::RecordingLog;

namespace {

// Loads into a sound the test owns.
void LoadSound(const std::string& name, std::unique_ptr<TSoundBuffer>& snd) {
    TSoundBuffer* raw = snd.release();
    ::LoadSound(name, raw);
    snd.reset(raw);
}

TSoundListener Camera(int32_t x = 0, int32_t y = 0, int32_t z = 0) {
    TSoundListener l;
    l.X = x;
    l.Y = y;
    l.Z = z;
    l.Rotation = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    l.HearingDistance = 14336;
    return l;
}

TChannelMix MixAt(const TSoundListener& l, int32_t x, int32_t y, int32_t z, int32_t level) {
    const auto mix = ChannelMix(l, x, y, z, level);
    EXPECT_TRUE(mix.has_value());
    return mix.value_or(TChannelMix{1, 1});
}

}  // namespace

TEST(SndChannelMix, SoundAtTheCameraIsCentredAtItsLevel) {
    const TSoundListener cam = Camera(1000, 2000, 3000);
    EXPECT_EQ(MixAt(cam, 1000, 2000, 3000, 0).Volume, -2500);
    EXPECT_EQ(MixAt(cam, 1000, 2000, 3000, 254).Volume, -20);
    EXPECT_EQ(MixAt(cam, 1000, 2000, 3000, 100).Volume, (50 + 384) * 10000 / 512 - 10000);
    EXPECT_EQ(MixAt(cam, 1000, 2000, 3000, 255).Volume, 0);
    EXPECT_EQ(MixAt(cam, 1000, 2000, 3000, 77).Pan, 0);
}

TEST(SndChannelMix, DistanceAttenuatesToTheHearingDistance) {
    const TSoundListener cam = Camera();
    // Half the distance: att 5000; (127 + 384) * 5000 div 512 = 4990.
    EXPECT_EQ(MixAt(cam, 0, 7168, 0, 254).Volume, -5010);
    // Just inside: att 1, which the level scale truncates away.
    EXPECT_EQ(MixAt(cam, 0, 0, 14335, 254).Volume, -10000);
    for (int32_t level : {0, 128, 254}) {
        EXPECT_EQ(MixAt(cam, 14336, 0, 0, level).Volume, -10000);
        EXPECT_EQ(MixAt(cam, 0, -14336, 0, level).Volume, -10000);
        EXPECT_EQ(MixAt(cam, 0, 0, 90000, level).Volume, -10000);
        // Within reach on each axis but farther in all three together.
        EXPECT_EQ(MixAt(cam, 10000, 10000, 10000, level).Volume, -10000);
    }
    // Level 255 is never attenuated, but still panned.
    EXPECT_EQ(MixAt(cam, 50000, 0, 0, 255).Volume, 0);
    EXPECT_EQ(MixAt(cam, 50000, 0, 0, 255).Pan, 10000);
}

TEST(SndChannelMix, PanFollowsTheCameraFirstAxis) {
    TSoundListener cam = Camera();
    EXPECT_EQ(MixAt(cam, 1000, 0, 0, 0).Pan, 4000);
    EXPECT_EQ(MixAt(cam, -1000, 0, 0, 0).Pan, -4000);
    EXPECT_EQ(MixAt(cam, 2500, 0, 0, 0).Pan, 10000);
    EXPECT_EQ(MixAt(cam, -9000, 0, 0, 0).Pan, -10000);
    EXPECT_EQ(MixAt(cam, 0, 0, 1000, 0).Pan, 0);
    // A quarter turn: world +Z is now the camera's first axis, world +X its
    // third.
    cam.Rotation = {0, 0, 1, 0, 1, 0, -1, 0, 0};
    EXPECT_EQ(MixAt(cam, 0, 0, 1000, 0).Pan, 4000);
    EXPECT_EQ(MixAt(cam, 0, 0, -1000, 0).Pan, -4000);
    EXPECT_EQ(MixAt(cam, 1000, 0, 0, 0).Pan, 0);
    EXPECT_EQ(MixAt(cam, 1000, 0, 0, 0).Volume, MixAt(cam, 0, 0, 1000, 0).Volume);
}

TEST(SndChannelMix, RotatedCoordinatesRoundHalfToEven) {
    TSoundListener cam = Camera();
    cam.Rotation = {0.5f, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(MixAt(cam, 1, 0, 0, 0).Pan, 0);  // 0.5 -> 0
    EXPECT_EQ(MixAt(cam, 3, 0, 0, 0).Pan, 8);  // 1.5 -> 2
    EXPECT_EQ(MixAt(cam, 5, 0, 0, 0).Pan, 8);  // 2.5 -> 2
    EXPECT_EQ(MixAt(cam, -5, 0, 0, 0).Pan, -8);
    EXPECT_EQ(MixAt(cam, 7, 0, 0, 0).Pan, 16);  // 3.5 -> 4
}

TEST(SndChannelMix, OutOfRangeInputsAreHeldInRange) {
    TSoundListener cam = Camera(INT32_MIN, INT32_MIN, INT32_MIN);
    const TChannelMix far = MixAt(cam, INT32_MAX, INT32_MAX, INT32_MAX, 200);
    EXPECT_EQ(far.Volume, -10000);
    EXPECT_EQ(far.Pan, 10000);
    cam = Camera();
    // Levels outside 0..255 follow the formula, held to what a channel plays.
    struct LevelCase {
        int32_t z, level, volume;
    };
    for (const LevelCase& t : std::initializer_list<LevelCase>{{7168, 256, -5000},
                                                               {7168, -10, -6299},
                                                               {7168, 254, -5010},
                                                               {0, 300, 0},
                                                               {0, -40, -2891},
                                                               {0, INT32_MIN, -10000},
                                                               {0, INT32_MAX, 0}}) {
        EXPECT_EQ(MixAt(cam, 0, 0, t.z, t.level).Volume, t.volume) << t.level << " at " << t.z;
    }
    cam.HearingDistance = INT32_MAX;
    EXPECT_EQ(MixAt(cam, 0, 0, 0, 254).Volume, -20);
    cam.HearingDistance = 0;
    EXPECT_FALSE(ChannelMix(cam, 10, 0, 0, 0).has_value());
    cam = Camera();
    cam.Rotation[0] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(ChannelMix(cam, 10, 0, 0, 0).has_value());
}

class SndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto device = std::make_unique<RecordingAudioDevice>();
        device_ = device.get();
        log_ = device->Log();
        InitSound(std::move(device));
        ASSERT_TRUE(SoundReady);
        engine_.CamMatrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        SetHearingDistance(14336, engine_);
        LoadSound(Write("beep.wav", PcmWave(1, 22050, 16, Sine16(2205, 1, 440, 22050))), beep_);
        ASSERT_TRUE(beep_ && !beep_->Empty());
        log_->Calls.clear();
    }
    void TearDown() override {
        beep_.reset();
        ShutDownSound();
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        return scratch_.Write(name, bytes);
    }
    int Calls(const std::string& prefix) const {
        return int(std::count_if(log_->Calls.begin(), log_->Calls.end(),
                                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
    }
    int ChannelOfLastPlay() const {
        for (int i = 0; i < kSoundChannelCount; ++i) {
            if (SoundChannels[i].Buffer && log_->Calls.back() == "play once " + IdOf(i)) return i;
        }
        return -1;
    }
    std::string IdOf(int channel) const {
        for (const auto& b : log_->Buffers) {
            if (b->Channel == channel && !b->Released) return std::to_string(b->Id);
        }
        return "?";
    }

    static inline TDStuff engine_;
    testutil::ScratchFolder scratch_;
    const std::string dir_ = scratch_.Root();
    RecordingAudioDevice* device_ = nullptr;
    std::shared_ptr<RecordingLog> log_;
    std::unique_ptr<TSoundBuffer> beep_;
};

TEST_F(SndTest, LoadedSoundKeepsItsWaveFigures) {
    EXPECT_EQ(beep_->DataSize, 4410u);
    EXPECT_EQ(beep_->Channels, 1);
    EXPECT_EQ(beep_->BitsPerSample, 16);
    EXPECT_EQ(log_->Buffers.front()->Format.SamplesPerSecond, 22050u);
    // Loading again frees the sound held first.
    LoadSound(dir_ + "/BEEP.WAV", beep_);
    EXPECT_EQ(log_->Calls, (std::vector<std::string>{"stop 1", "release 1", "create 2"}));
}

TEST_F(SndTest, ChannelChoiceTakesTheFirstFreeElseTheLast) {
    EXPECT_EQ(ChooseSoundChannel(), 0);  // no channel has played yet: all free
    for (int i = 0; i < 255; ++i) {
        PlaySound3D(0, 0, 0, 100, beep_.get(), engine_);
        ASSERT_EQ(ChannelOfLastPlay(), i);
    }
    for (int i = 0; i < 3; ++i) {
        PlaySound3D(0, 0, 0, 100, beep_.get(), engine_);
        EXPECT_EQ(ChannelOfLastPlay(), 255);
    }
    device_->FinishPlaying();
    PlaySound3D(0, 0, 0, 100, beep_.get(), engine_);
    EXPECT_EQ(ChannelOfLastPlay(), 0);
    PlaySound3D(0, 0, 0, 100, beep_.get(), engine_);
    EXPECT_EQ(ChannelOfLastPlay(), 1);
    StopAllSounds();
    PlaySound3D(0, 0, 0, 100, beep_.get(), engine_);
    EXPECT_EQ(ChannelOfLastPlay(), 0);
}

TEST_F(SndTest, PositionalPlaySetsLevelsBeforePlaying) {
    PlaySound3D(1000, 0, 0, 254, beep_.get(), engine_);
    const std::vector<std::string> expected = {"duplicate 1 as 2 on 0", "volume 2 -716",
                                               "pan 2 4000", "play once 2"};
    // att = 10000 - 1000 * 10000 div 14336 = 9303; (127 + 384) * 9303 div 512 = 9284.
    EXPECT_EQ(log_->Calls, expected);
    EXPECT_EQ(SoundChannels[0].X, 1000);
    EXPECT_EQ(SoundChannels[0].Level, 254);
}

TEST_F(SndTest, FrameUpdateFollowsTheCameraOnPlayingChannelsOnly) {
    PlaySound3D(1000, 0, 0, 255, beep_.get(), engine_);
    PlaySound3D(-1000, 0, 0, 255, beep_.get(), engine_);
    SoundChannels[1].Buffer->Stop();
    log_->Calls.clear();
    engine_.CamX = 2000;  // the camera moved past the first sound
    UpdateAllSoundChannels(engine_);
    EXPECT_EQ(log_->Calls, (std::vector<std::string>{"volume 2 0", "pan 2 -4000"}));
    // A hearing distance of 0 leaves the levels as they were.
    log_->Calls.clear();
    SetHearingDistance(0, engine_);
    UpdateAllSoundChannels(engine_);
    EXPECT_TRUE(log_->Calls.empty());
    SetHearingDistance(14336, engine_);
    engine_.CamX = 0;
}

TEST_F(SndTest, DirectPlayRewindsOnlyWhenNotLooping) {
    PlaySoundBuffer(beep_.get(), false);
    EXPECT_EQ(log_->Calls, (std::vector<std::string>{"stop 1", "position 1 0", "play once 1"}));
    log_->Calls.clear();
    beep_->SetCurrentPosition(100);
    PlaySoundBuffer(beep_.get(), true);
    EXPECT_EQ(log_->Calls, (std::vector<std::string>{"position 1 100", "stop 1", "play looped 1"}));
    EXPECT_EQ(log_->Buffers[0]->Position, 100u);
    PlaySoundBuffer(nullptr, true);  // nothing
    // Looping channels do not count as busy for the positional search.
    EXPECT_EQ(ChooseSoundChannel(), 0);
}

TEST_F(SndTest, LostSamplesAreRestoredWithoutReplaying) {
    log_->Buffers[0]->Lost = true;
    PlaySoundBuffer(beep_.get(), false);
    EXPECT_EQ(log_->Calls,
              (std::vector<std::string>{"stop 1", "position 1 0", "play once 1", "restore 1"}));
    EXPECT_FALSE(log_->Buffers[0]->Playing);
    PlaySoundBuffer(beep_.get(), false);
    EXPECT_TRUE(log_->Buffers[0]->Playing);
}

TEST_F(SndTest, UnusableFilesGiveEmptySoundsThatDoNothing) {
    std::string nonPcm = FmtBody(3, 1, 8000, 32);
    PutU16(nonPcm, 0);
    const std::vector<std::string> files = {
        dir_ + "/missing.wav",
        "",
        Write("text.wav", "Not a sound at all, just some words.\n"),
        Write("float.wav", Riff(Chunk("fmt ", nonPcm) + Chunk("data", "12345678"))),
        Write("align.wav", Riff(Chunk("fmt ", FmtBody(1, 2, 8000, 16, 2)) + Chunk("data", "1234"))),
        Write("24bit.wav", PcmWave(1, 8000, 24, "123456")),
        Write("quad.wav", PcmWave(4, 8000, 8, "1234")),
        Write("rate.wav", PcmWave(1, 0, 8, "1234")),
        Write("nodata.wav", Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8)))),
        Write("short.wav", PcmWave(1, 8000, 8, std::string(64, 'x')).substr(0, 50)),
        Write("zero.wav", PcmWave(1, 8000, 8, "")),
    };
    for (const std::string& name : files) {
        std::unique_ptr<TSoundBuffer> snd;
        LoadSound(name, snd);
        ASSERT_TRUE(snd) << name;
        EXPECT_TRUE(snd->Empty()) << name;
        PlaySoundBuffer(snd.get(), false);
        PlaySoundBuffer(snd.get(), true);
        PlaySound3D(0, 0, 0, 0, snd.get(), engine_);
        snd->Play();
        snd->Restore();
        snd->SetCurrentPosition(4);
    }
    EXPECT_EQ(Calls("create"), 0);
    EXPECT_EQ(Calls("play"), 0);
    // The figures of a wave that did parse are still given.
    std::unique_ptr<TSoundBuffer> quad;
    LoadSound(dir_ + "/quad.wav", quad);
    EXPECT_EQ(quad->Channels, 4);
}

TEST_F(SndTest, RefusedDuplicatePlaysNothing) {
    log_->RefuseBuffers = true;
    PlaySound3D(0, 0, 0, 0, beep_.get(), engine_);
    EXPECT_EQ(Calls("play"), 0);
    EXPECT_FALSE(SoundChannels[0].Buffer);
}

TEST_F(SndTest, ShutdownFreesEverySoundBeforeClosing) {
    std::unique_ptr<TSoundBuffer> other;
    LoadSound(dir_ + "/beep.wav", other);
    PlaySound3D(0, 0, 0, 0, other.get(), engine_);
    ShutDownSound();
    EXPECT_FALSE(SoundReady);
    const auto close = std::find(log_->Calls.begin(), log_->Calls.end(), "close");
    ASSERT_NE(close, log_->Calls.end());
    EXPECT_EQ(close + 1, log_->Calls.end());
    for (const auto& b : log_->Buffers) EXPECT_TRUE(b->Released) << b->Id;
    EXPECT_TRUE(beep_->Empty());
    // After shutdown every operation is harmless and does nothing.
    const size_t calls = log_->Calls.size();
    PlaySoundBuffer(beep_.get(), false);
    PlaySound3D(0, 0, 0, 0, other.get(), engine_);
    UpdateAllSoundChannels(engine_);
    StopAllSounds();
    LoadSound(dir_ + "/beep.wav", other);
    other.reset();
    EXPECT_EQ(log_->Calls.size(), calls);
}

TEST(SndWithoutDevice, EveryOperationDoesNothing) {
    InitSound(nullptr);
    EXPECT_FALSE(SoundReady);
    std::unique_ptr<TSoundBuffer> snd;
    LoadSound("anything.wav", snd);
    EXPECT_FALSE(snd);
    TSoundBuffer direct(nullptr, "anything.wav");
    EXPECT_TRUE(direct.Empty());
    static TDStuff engine;
    PlaySound3D(0, 0, 0, 0, &direct, engine);
    PlaySoundBuffer(&direct, true);
    UpdateAllSoundChannels(engine);
    StopAllSounds();
    ShutDownSound();
}

// The whole path on the real mixer, captured by SDL's disk audio driver.
class SndOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_.Write("tone.wav", PcmWave(1, 44100, 16, Sine16(4410, 1, 440, 44100)));
        engine_.CamMatrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        SetHearingDistance(14336, engine_);
    }
    void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

    // Plays the tone at (x, 0, 0) and gives the energy heard on the left and
    // on the right.
    std::pair<double, double> Capture(int32_t x) {
        const std::string file = dir_ + "/out" + std::to_string(x) + ".raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        InitSound();
        if (!SoundReady) return {-1, -1};
        std::unique_ptr<TSoundBuffer> tone;
        LoadSound(dir_ + "/tone.wav", tone);
        PlaySound3D(x, 0, 0, 254, tone.get(), engine_);
        for (int i = 0; i < 50 && SoundChannels[0].Buffer && SoundChannels[0].Buffer->IsPlaying();
             ++i) {
            UpdateAllSoundChannels(engine_);
            usleep(10000);
        }
        ShutDownSound();
        std::string bytes;
        EXPECT_TRUE(platform::fs::ReadWholeFile(file, bytes));
        double left = 0, right = 0;
        for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
            int16_t l, r;
            std::memcpy(&l, bytes.data() + i, 2);
            std::memcpy(&r, bytes.data() + i + 2, 2);
            left += double(l) * l;
            right += double(r) * r;
        }
        return {left, right};
    }

    static inline TDStuff engine_;
    testutil::ScratchFolder scratch_;
    const std::string dir_ = scratch_.Root();
};

TEST_F(SndOnDisk, PositionalSoundIsLouderOnItsSide) {
    const auto [rightLeft, rightRight] = Capture(1000);  // pan 4000: left 40 dB down
    if (rightLeft < 0) GTEST_SKIP() << "the disk audio driver cannot be opened";
    EXPECT_GT(rightRight, 1e6);
    EXPECT_GT(rightRight, 1000 * rightLeft);
    const auto [leftLeft, leftRight] = Capture(-1000);
    EXPECT_GT(leftLeft, 1000 * leftRight);
    EXPECT_NEAR(leftLeft / rightRight, 1.0, 0.05);
    // Beyond the hearing distance nothing is heard.
    const auto [farLeft, farRight] = Capture(20000);
    EXPECT_EQ(farLeft + farRight, 0.0);
}
