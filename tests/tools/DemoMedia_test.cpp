// The demo game's media as the player takes them: the trophy room's module,
// the developer video and the title and end cards decode for real (SDL's
// dummy audio driver), and entering the second level runs its cut-scene to
// the spoken message that follows it, over recording music, video and speech
// services.
#include "tools/demogame/DemoMedia.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/level/LevelFile.h"
#include "game/media/Speech.h"
#include "platform/fs/FileSystem.h"
#include "platform/music/MixerMusic.h"
#include "platform/video/FfmpegVideo.h"
#include "tests/game/media/MediaTestWorld.h"
#include "tools/demogame/DemoGame.h"
#include "tools/demogame/DemoLayout.h"

namespace {

class DemoMediaTest : public ::testing::Test, protected mediatest::MediaTestWorld {
  protected:
    DemoMediaTest() : MediaTestWorld({"English (Great Britain)", "French"}) {}
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(demo::MakeDemoGame(folder.Root(), error)) << error;
    }
    static std::string Real(const std::string& ref) { return platform::fs::Resolve(ref); }
};

TEST_F(DemoMediaTest, TheModuleAndTheVideoDecode) {
    auto modules = platform::music::OpenMixerMusic();
    if (!modules) GTEST_SKIP() << "no audio device";
    auto player = modules->CreatePlayer(false);
    EXPECT_TRUE(player->Load(Real(demo::kTrophyMusicRef)));

    auto video = platform::video::OpenFfmpegVideo();
    ASSERT_TRUE(video);
    // The developer video, then the title and end cards.
    for (const char* ref : {demo::kDeveloperVideoRef, demo::kTitleVideoRef, demo::kEndVideoRef}) {
        auto stream = video->Open(Real(ref));
        ASSERT_TRUE(stream) << ref;
        stream->Rewind();
        stream->Run(0);
        bool pictured = false, ended = false;
        for (uint32_t ms = 0; ms <= 20000 && !ended && !stream->Failed(); ms += 40) {
            stream->Advance(ms);
            pictured = pictured || stream->CurrentPicture() != nullptr;
            ended = stream->TakeCompletion();
        }
        EXPECT_TRUE(pictured) << ref;
        EXPECT_TRUE(ended) << ref << ": a short video";
        EXPECT_FALSE(stream->Failed()) << ref;
    }
}

TEST_F(DemoMediaTest, EnteringTheSecondLevelPlaysItsCutSceneThenASpokenMessage) {
    ReadLevelState(Real("LEVEL\\" + demo::LevelName(2)), "High", Level, *window, DStuff);
    ASSERT_TRUE(messages.texts.empty()) << messages.texts.front();
    const auto zone =
        std::find_if(Level.ClipZones.begin(), Level.ClipZones.end(), [](const ClipZoneStuff& z) {
            return z.ZoneX == Level.StartX && z.ZoneY == Level.StartY && z.ZoneZ == Level.StartZ;
        });
    ASSERT_NE(zone, Level.ClipZones.end()) << "a clip zone on the start cell";
    ASSERT_EQ(zone->ZoneClip, demo::kClipArrival);

    PlayClip(zone->ZoneClip, *window);
    EXPECT_EQ(KeyFramesRunning, 1);
    EXPECT_EQ(CurrentMusicKind, MusicKind::Module);
    EXPECT_TRUE(music->Calls.size() > 1 && music->Calls[1].starts_with("load 1 "))
        << "the module starts";
    int frames = 0;
    for (; KeyFramesRunning != 0 && frames < 200; ++frames) {
        FrameTime += 40;
        AdvanceClip(Level, DStuff, *window);
    }
    EXPECT_GT(frames * 40, 3000) << "two key frames of 1.5 s";
    EXPECT_EQ(KeyFramesRunning, 0);
    EXPECT_FALSE(testutil::Backend().flushes.empty()) << "the cut-scene was drawn";
    EXPECT_EQ(MessageClip, demo::kClipArrivalWords);
    const auto& said = speech->Calls;
    EXPECT_NE(std::find_if(said.begin(), said.end(),
                           [](const std::string& c) { return c.starts_with("speak Welcome"); }),
              said.end());
    EXPECT_EQ(speech->CurrentMode, 1) << "the English voice";
}

}  // namespace
