// Full-window video over a recording video service and the recording engine
// backend: the end of the stream (looped, or stopped with the engine rebuilt
// and the next clip started), videos that cannot be decoded or are missing,
// a video that replaces another, the pictures shown, and the end at shutdown.
#include "game/media/Video.h"

#include <gtest/gtest.h>

#include "game/StartUp.h"
#include "platform/process/Halt.h"
#include "tests/game/media/MediaTestWorld.h"

namespace {

using Calls = std::vector<std::string>;

class VideoTest : public ::testing::Test, protected mediatest::MediaTestWorld {
  protected:
    void SetUp() override {
        folder.Write("a.avi", "a video file");
        folder.Write("b.avi", "another video file");
        MarkerClip(7);
    }
    // Clip `n` plays video `file`, looped or not, then clip `next`.
    void VideoClip(int32_t n, const std::string& file, bool loop, int32_t next) {
        ClipStuff& clip = MediaClip(n, "", false, file);
        clip.VideoLoop = loop ? 1 : 0;
        clip.NextClip = next;
    }
    int32_t Resets() const { return testutil::Backend().resets; }
};

TEST_F(VideoTest, TheEndOfTheStreamLoopsOrStopsAndStartsTheNextClip) {
    for (const bool loop : {true, false}) {
        VideoClip(3, "a.avi", loop, 7);
        MediaClip(5, "tune.mid", true);
        PlayClip(5, *window);  // music that the next clip stops
        MessageClip = -1;
        testutil::ClearBackendRecord();
        PlayClip(3, *window);
        EXPECT_EQ(VideoPlaying, 1);
        EXPECT_EQ(TakeVideoCalls(), (Calls{"open a.avi as " + std::to_string(loop ? 1 : 2),
                                           "rewind " + std::to_string(loop ? 1 : 2),
                                           "run " + std::to_string(loop ? 1 : 2)}));
        PollMedia(*window);
        EXPECT_EQ(TakeVideoCalls(), Calls{}) << "plays on";
        videos->Complete = true;
        PollMedia(*window);
        const std::string id = std::to_string(loop ? 1 : 2);
        if (loop) {
            EXPECT_EQ(TakeVideoCalls(), (Calls{"rewind " + id, "run " + id}));
            EXPECT_EQ(VideoPlaying, 1);
            EXPECT_EQ(Resets(), 0);
            EXPECT_EQ(MessageClip, -1);
            EndVideo();
            TakeVideoCalls();
        } else {
            EXPECT_EQ(TakeVideoCalls(), (Calls{"stop " + id, "release " + id}));
            EXPECT_EQ(VideoPlaying, 0);
            EXPECT_EQ(Resets(), 1) << "the engine is rebuilt after a video";
            EXPECT_EQ(testutil::Backend().videoReleases, 1);
            EXPECT_EQ(MessageClip, 7) << "the next clip starts";
            EXPECT_EQ(music->MidiFile, "") << "after the music stopped";
        }
        StopAllMusic();
    }
}

TEST_F(VideoTest, AVideoThatCannotBeDecodedEndsAtTheNextPollAndNeverLoops) {
    videos->Undecodable = {"b.avi"};
    VideoClip(3, "b.avi", true, 3);  // looped, and chaining to itself
    PlayClip(3, *window);
    EXPECT_EQ(VideoPlaying, 1) << "it counts as playing until the poll";
    EXPECT_EQ(Resets(), 0);
    for (int poll = 1; poll <= 3; ++poll) {
        PollMedia(*window);
        EXPECT_EQ(Resets(), poll) << "ended through StopVideo, once a poll";
        EXPECT_EQ(VideoPlaying, 1) << "and started again by its next clip";
    }
    const Calls calls = TakeVideoCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "open b.avi as 4"), 1);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.starts_with("rewind"); }),
              0);

    // One that goes wrong while it plays ends the same way, unlooped.
    VideoClip(4, "a.avi", true, 7);
    PlayClip(4, *window);
    videos->FailRunning = true;
    PollMedia(*window);
    EXPECT_EQ(MessageClip, 7);
    EXPECT_EQ(VideoPlaying, 0);
}

TEST_F(VideoTest, AMissingFileIsSaidAndStartsNoNextClip) {
    VideoClip(3, "gone.avi", false, 7);
    PlayClip(3, *window);
    EXPECT_EQ(messages.texts, Calls{"The video file \"gone.avi\" does not exist !"});
    EXPECT_EQ(VideoPlaying, 0);
    PollMedia(*window);
    EXPECT_EQ(MessageClip, -1);
    EXPECT_EQ(TakeVideoCalls(), Calls{});

    // A video playing then stops, without its clip's next clip either.
    VideoClip(4, "a.avi", false, 7);
    PlayClip(4, *window);
    PlayClip(3, *window);
    EXPECT_EQ(VideoPlaying, 0);
    EXPECT_EQ(Resets(), 1);
    EXPECT_EQ(MessageClip, -1);
}

TEST_F(VideoTest, ANewVideoReplacesOnlyTheOldDecoder) {
    VideoClip(3, "a.avi", false, 7);
    VideoClip(4, "b.avi", false, -1);
    PlayClip(3, *window);
    PlayClip(4, *window);
    EXPECT_EQ(TakeVideoCalls(), (Calls{"open a.avi as 1", "rewind 1", "run 1", "release 1",
                                       "open b.avi as 2", "rewind 2", "run 2"}));
    EXPECT_EQ(videos->Alive, 1);
    EXPECT_EQ(Resets(), 0) << "no engine reset";
    EXPECT_EQ(MessageClip, -1) << "and no next clip";
}

TEST_F(VideoTest, PicturesAreShownUntilTheEndAndShutdownEndsWithoutReset) {
    VideoClip(3, "a.avi", false, 7);
    DrawVideoFrame(*window);
    EXPECT_TRUE(testutil::Backend().videos.empty()) << "no video, no picture";
    PlayClip(3, *window);
    DrawVideoFrame(*window);
    ASSERT_EQ(testutil::Backend().videos.size(), 1u);
    EXPECT_EQ(testutil::Backend().videos[0].width, 2);
    EXPECT_EQ(testutil::Backend().videos[0].height, 2);
    EndVideo();
    EXPECT_EQ(VideoPlaying, 0);
    EXPECT_EQ(Resets(), 0);
    EXPECT_EQ(MessageClip, -1);
    EXPECT_EQ(videos->Alive, 0);
    StopVideo(*window);  // nothing plays: nothing happens
    EXPECT_EQ(Resets(), 0);
}

TEST_F(VideoTest, ShutdownStopsAPlayingVideoWithoutResetOrNextClip) {
    MediaClip(3, "tune.mid", false, "a.avi").NextClip = 7;
    PlayClip(3, *window);
    ASSERT_EQ(VideoPlaying, 1);
    TakeVideoCalls();
    int exitCode = -1;
    try {
        ShutDownGame(*window);
    } catch (const platform::HaltRequested& halt) {
        exitCode = halt.exitCode;
    }
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(VideoPlaying, 0);
    EXPECT_EQ(TakeVideoCalls(), (Calls{"stop 1", "release 1"}));
    EXPECT_EQ(videos->Alive, 0);
    EXPECT_EQ(Resets(), 0) << "the engine is done: no reset";
    EXPECT_EQ(MessageClip, -1) << "and no next clip";
    EXPECT_EQ(music->MidiFile, "") << "the music stopped";
}

}  // namespace
