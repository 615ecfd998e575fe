// Module music: the player's life cycle over the recording service, and a
// tiny MOD written here playing once and looped through the mixer.
#include "support/ModPlay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/music/RecordingMusic.h"
#include "tests/common/ScratchFolder.h"

using platform::music::RecordingMusic;
using platform::music::RecordingMusicLog;
using Calls = std::vector<std::string>;

class ModPlayRecorded : public ::testing::Test {
  protected:
    void SetUp() override {
        auto service = std::make_unique<RecordingMusic>();
        log_ = service->Log();
        InitMusic(std::move(service));
    }
    void TearDown() override { CloseMusic(); }
    std::shared_ptr<RecordingMusicLog> log_;
};

TEST_F(ModPlayRecorded, PlayLoadsRewindsAndStarts) {
    PlayMusic("MUSIC\\theme.xm", 0, false);
    EXPECT_EQ(log_->Calls,
              (Calls{"create 1 once", "load 1 MUSIC\\theme.xm", "rewind 1", "play 1"}));
    log_->Calls.clear();
    PlayMusic("b.it", 0, true);  // the first player goes before the second comes
    EXPECT_EQ(log_->Calls,
              (Calls{"destroy 1", "create 2 loop", "load 2 b.it", "rewind 2", "play 2"}));
    EXPECT_EQ(log_->Alive, 1);
}

TEST_F(ModPlayRecorded, PieceThatIsNotReadyStaysSilentUntilReplaced) {
    log_->FilesReady = false;
    PlayMusic("broken.s3m", 0, true);
    EXPECT_EQ(log_->Calls, (Calls{"create 1 loop", "load 1 broken.s3m", "rewind 1"}));
    EXPECT_EQ(log_->Alive, 1);
    SetMusicVolume(0);  // the silent player still takes the volume
    EXPECT_EQ(log_->Calls.back(), "volume 1 0");
}

TEST_F(ModPlayRecorded, StopAndVolumeWithoutPlayerDoNothing) {
    SetMusicVolume(100);
    StopMusic();
    EXPECT_TRUE(log_->Calls.empty());
    PlayMusic("a.mod", 0, false);
    SetMusicVolume(100);
    StopMusic();
    StopMusic();
    SetMusicVolume(0);
    EXPECT_EQ(std::count(log_->Calls.begin(), log_->Calls.end(), "destroy 1"), 1);
    EXPECT_EQ(log_->Calls.back(), "destroy 1");
    EXPECT_EQ(log_->Alive, 0);
}

TEST(ModPlayWithoutService, EveryCallDoesNothing) {
    InitMusic(nullptr);
    PlayMusic("a.mod", 0, true);
    EXPECT_FALSE(MusicPlayer);
    SetMusicVolume(100);
    CloseMusic();
}

namespace {

void PutBE16(std::string& s, int v) {
    s += char((v >> 8) & 0xFF);
    s += char(v & 0xFF);
}

// A four-channel "M.K." module of one pattern: a looped square wave on
// channel 1, speed 2 set on row 0 and a pattern break on row 7, so the whole
// song lasts 8 rows of 40 ms.
std::string TinyMod() {
    std::string s(20, '\0');
    s.replace(0, 4, "tiny");
    for (int i = 0; i < 31; ++i) {
        std::string header(22, '\0');
        PutBE16(header, i == 0 ? 32 : 0);  // length in words
        header += '\0';                    // finetune
        header += char(i == 0 ? 64 : 0);   // volume
        PutBE16(header, 0);                // loop start
        PutBE16(header, i == 0 ? 32 : 1);  // loop length
        s += header;
    }
    s += char(1);    // song length
    s += char(127);  // restart
    s += std::string(128, '\0');
    s += "M.K.";
    std::string pattern(64 * 4 * 4, '\0');
    auto cell = [&](int row, int channel, int sample, int period, int effect, int param) {
        const size_t at = size_t(row * 16 + channel * 4);
        pattern[at] = char((sample & 0xF0) | (period >> 8));
        pattern[at + 1] = char(period & 0xFF);
        pattern[at + 2] = char(((sample & 0x0F) << 4) | effect);
        pattern[at + 3] = char(param);
    };
    cell(0, 0, 1, 428, 0, 0);
    cell(0, 1, 0, 0, 0xF, 2);
    cell(7, 1, 0, 0, 0xD, 0);
    s += pattern;
    for (int i = 0; i < 64; ++i) s += char(i < 32 ? 100 : -100);
    return s;
}

bool PlaysAfter(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return MusicPlayer && MusicPlayer->IsPlaying();
}

}  // namespace

class ModPlayMixer : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_.Write("Tiny.MOD", TinyMod());
        InitMusic();
    }
    void TearDown() override { CloseMusic(); }
    testutil::ScratchFolder scratch_;
    const std::string dir_ = scratch_.Root();
};

TEST_F(ModPlayMixer, ModulePlaysOnceThenEnds) {
    PlayMusic(dir_ + "/tiny.mod", 0, false);
    ASSERT_TRUE(MusicPlayer);
    if (!MusicPlayer->IsReady()) GTEST_SKIP() << "no audio device or no module decoder";
    EXPECT_TRUE(MusicPlayer->IsPlaying());
    bool ended = false;
    for (int i = 0; i < 40 && !ended; ++i) ended = !PlaysAfter(100);
    EXPECT_TRUE(ended);
}

TEST_F(ModPlayMixer, LoopedModuleGoesOnAndStopsOnRequest) {
    PlayMusic(dir_ + "/tiny.mod", 0, true);
    ASSERT_TRUE(MusicPlayer);
    if (!MusicPlayer->IsReady()) GTEST_SKIP() << "no audio device or no module decoder";
    SetMusicVolume(0);  // silenced, still playing
    EXPECT_TRUE(PlaysAfter(1200));
    SetMusicVolume(100);
    StopMusic();
    EXPECT_FALSE(MusicPlayer);
}

TEST_F(ModPlayMixer, FilesThatAreNotModulesStaySilent) {
    scratch_.Write("text.mod", "just words, no music");
    PlayMusic(dir_ + "/text.mod", 0, true);
    ASSERT_TRUE(MusicPlayer);
    EXPECT_FALSE(MusicPlayer->IsReady());
    EXPECT_FALSE(MusicPlayer->IsPlaying());
    PlayMusic(dir_ + "/missing.mod", 0, true);
    EXPECT_FALSE(MusicPlayer->IsReady());
}
