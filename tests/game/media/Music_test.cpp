// The game's music over recording back-ends: which back-end a name selects,
// the commands every kind receives as it starts, is switched, loops and
// stops, CD tracks on a machine with and without a drive, WAV music, and the
// handles that are never lost when clips follow one another.
#include "game/media/Music.h"

#include <gtest/gtest.h>

#include "game/clips/ClipPlayback.h"
#include "tests/game/media/MediaTestWorld.h"
#include "tests/support/WaveBuilder.h"

namespace {

using Calls = std::vector<std::string>;

class MusicTest : public ::testing::Test, protected mediatest::MediaTestWorld {};

TEST(MusicKindOf, TestsModuleMidiMp3AndCdInThatOrder) {
    const std::vector<std::pair<std::string, MusicKind>> cases = {
        {"song.mod", MusicKind::Module},
        {"SONG.S3M", MusicKind::Module},
        {"a.xm", MusicKind::Module},
        {"b.It", MusicKind::Module},
        {"bigmod", MusicKind::Module},
        {"tune.mid.mod", MusicKind::Module},
        {"MUSIC\\TUNE.MID", MusicKind::Midi},
        {"x.rmid", MusicKind::Midi},
        {"a.mp3", MusicKind::Mp3},
        {"MIDI.MP3", MusicKind::Mp3},
        {"CDAUDIO_03", MusicKind::Cd},
        {"cdaudio_xy", MusicKind::Cd},
        {"CDAUDIO_3", MusicKind::Wav},
        {"theme.wav", MusicKind::Wav},
        {"theme.ogg", MusicKind::Wav},
        {"", MusicKind::Wav},
        {"it", MusicKind::Wav},
        {"s3m", MusicKind::Wav},
    };
    for (const auto& [name, kind] : cases) EXPECT_EQ(MusicKindOf(name), kind) << name;
}

TEST_F(MusicTest, EveryKindStartsSwitchesAndStopsOnItsBackEnd) {
    struct Case {
        std::string name;
        Calls startOn, startOff, off, on, stop;
    };
    const std::vector<Case> cases = {
        {"song.mod",
         {"create 1 once", "load 1 song.mod", "rewind 1", "play 1", "volume 1 100"},
         {"destroy 1", "create 2 once", "load 2 song.mod", "rewind 2", "play 2", "volume 2 0"},
         {"volume 2 49"},  // a module's volume is the switch's value
         {"volume 2 50"},
         {"destroy 2"}},
        {"tune.mid",
         {"midi open tune.mid", "midi play", "midi play"},
         {"midi stop", "midi close", "midi open tune.mid", "midi play", "midi stop"},
         {"midi stop"},
         {"midi play"},
         {"midi stop", "midi close"}},
        {"song.mp3",
         {"mp3 render song.mp3 as 1", "mp3 rewind 1", "mp3 run 1", "mp3 run 1"},
         {"mp3 stop 1", "mp3 release 1", "mp3 render song.mp3 as 2", "mp3 rewind 2", "mp3 run 2",
          "mp3 stop 2"},
         {"mp3 stop 2"},
         {"mp3 run 2"},
         {"mp3 stop 2", "mp3 release 2"}},
        {"CDAUDIO_05",
         {"cd open", "cd tmsf", "cd tracks?", "cd play 5"},
         {"cd stop", "cd close", "cd open", "cd tmsf", "cd tracks?", "cd play 5"},
         {},
         {},
         {"cd stop", "cd close"}},
    };
    for (const Case& c : cases) {
        MediaClip(3, c.name);
        MusicOn = true;
        PlayClip(3, *window);
        EXPECT_EQ(TakeMusicCalls(), c.startOn) << c.name;
        MusicOn = false;
        PlayClip(3, *window);  // the track stops and starts again, switched off
        EXPECT_EQ(TakeMusicCalls(), c.startOff) << c.name;
        SwitchMusic(49);
        EXPECT_EQ(TakeMusicCalls(), c.off) << c.name;
        SwitchMusic(50);
        EXPECT_EQ(TakeMusicCalls(), c.on) << c.name;
        EXPECT_EQ(CurrentClip, 3);
        StopAllMusic();
        EXPECT_EQ(TakeMusicCalls(), c.stop) << c.name;
        EXPECT_EQ(CurrentClip, -1);
        StopAllMusic();
        EXPECT_EQ(TakeMusicCalls(), Calls{}) << "nothing holds music any more";
    }
    EXPECT_EQ(music->Alive, 0);
    EXPECT_EQ(music->Mp3Alive, 0);
}

TEST_F(MusicTest, EndedMusicReplaysItsClipOnlyWhenLoopedAndItsEndIsKnown) {
    struct Case {
        const char* what;
        std::string name;
        bool loop;
        std::function<void(platform::music::RecordingMusicLog&)> end;
        bool replays;
    };
    using Log = platform::music::RecordingMusicLog;
    const std::vector<Case> cases = {
        {"MIDI at its length", "a.mid", true, [](Log& l) { l.MidiPosition = l.MidiLength; }, true},
        {"MIDI past its length", "a.mid", true, [](Log& l) { l.MidiPosition = 70000; }, true},
        {"MIDI before its end", "a.mid", true, [](Log& l) { l.MidiPosition = 59999; }, false},
        {"MIDI not looped", "a.mid", false, [](Log& l) { l.MidiPosition = 60000; }, false},
        {"MIDI of length 0", "a.mid", true,
         [](Log& l) {
             l.MidiPosition = 0;
             l.MidiLength = 0;
         },
         false},
        {"MIDI that answers nothing", "a.mid", true,
         [](Log& l) {
             l.MidiPosition.reset();
             l.MidiLength.reset();
         },
         false},
        {"MP3 at its end", "a.mp3", true, [](Log& l) { l.Mp3Completed = true; }, true},
        {"MP3 playing", "a.mp3", true, [](Log&) {}, false},
        {"CD stopped", "CDAUDIO_02", true,
         [](Log& l) {
             l.CdDrive = true;
             l.CdMode = "stopped";
         },
         true},
        {"CD playing", "CDAUDIO_02", true,
         [](Log& l) {
             l.CdDrive = true;
             l.CdMode = "playing";
         },
         false},
        {"no CD drive", "CDAUDIO_02", true, [](Log&) {}, false},
        {"module (loops by itself)", "a.mod", true, [](Log&) {}, false},
    };
    for (const Case& c : cases) {
        *music = {};
        MediaClip(4, c.name, c.loop);
        c.end(*music);  // a CD drive is there from its opening
        PlayClip(4, *window);
        c.end(*music);  // and the music ends
        PollMedia(*window);
        PollMedia(*window);
        const size_t starts =
            std::count_if(music->Calls.begin(), music->Calls.end(), [](const std::string& call) {
                return call.starts_with("midi open") || call.starts_with("mp3 render") ||
                       call == "cd open" || call.starts_with("create");
            });
        EXPECT_EQ(starts, c.replays ? 2u : 1u) << c.what;
        EXPECT_EQ(CurrentClip, 4) << c.what;
        EXPECT_EQ(MusicClip, 4) << c.what;
        StopAllMusic();
    }
}

TEST_F(MusicTest, LoopingMusicStartsAgainUnderACutSceneThatGoesOnToItsNextClip) {
    MediaClip(1, "tune.mid", true);
    ClipStuff& scene = Level.Clips[2];
    scene.HasKeyFrames = 1;
    scene.KeyFrames[0].Duration = 5000;
    scene.NextClip = 7;
    MarkerClip(7);
    PlayClip(1, *window);
    PlayClip(2, *window);
    TakeMusicCalls();
    FrameTime = 1000;
    music->MidiPosition = music->MidiLength;
    PollMedia(*window);
    EXPECT_EQ(TakeMusicCalls(),
              (Calls{"midi stop", "midi close", "midi open tune.mid", "midi play", "midi play"}));
    EXPECT_EQ(KeyFramesRunning, 1);
    EXPECT_EQ(CurrentClip, 2);
    EXPECT_EQ(NextClip, 7);
    PollMedia(*window);
    EXPECT_EQ(TakeMusicCalls(), Calls{}) << "started once";
    FrameTime = 5100;
    AdvanceClip(Level, DStuff, *window);
    EXPECT_EQ(MessageClip, 7);
    EXPECT_EQ(MusicClip, 1);
}

TEST_F(MusicTest, LoopingMusicReplaysItsWholeClipOnlyOnceItsCutSceneHasEnded) {
    MediaClip(1, "tune.mid", true);
    Level.Clips[1].HasKeyFrames = 1;
    Level.Clips[1].KeyFrames[0].Duration = 500;
    PlayClip(1, *window);
    FrameTime = 100;
    music->MidiPosition = music->MidiLength;
    PollMedia(*window);
    EXPECT_EQ(KeyFrameStart, 0) << "the running cut-scene goes on";
    FrameTime = 700;
    AdvanceClip(Level, DStuff, *window);
    ASSERT_EQ(KeyFramesRunning, 0);
    music->MidiPosition = music->MidiLength;
    PollMedia(*window);
    EXPECT_EQ(KeyFramesRunning, 1) << "the whole clip plays again";
    EXPECT_EQ(KeyFrameStart, 700);
}

TEST_F(MusicTest, AClipWithoutMusicLeavesTheRunningMusicAndItsHandle) {
    folder.Write("film.avi", "a video file");
    for (const std::string name : {"tune.mid", "song.mp3"}) {
        MediaClip(1, name, true);
        MediaClip(2, "", false, "film.avi");  // only a video
        MediaClip(3, name == "tune.mid" ? "other.mid" : "other.mp3");
        PlayClip(1, *window);
        TakeMusicCalls();
        PlayClip(2, *window);
        EXPECT_EQ(TakeMusicCalls(), Calls{}) << "the video leaves the music alone";
        EXPECT_EQ(CurrentMusicKind, MusicKindOf(name));
        EXPECT_EQ(MusicClip, 1);
        EXPECT_EQ(LoopMusic, 1) << "its loop too";
        EXPECT_EQ(CurrentClip, 2);
        PlayClip(3, *window);
        if (name == "tune.mid") {
            EXPECT_EQ(TakeMusicCalls(), (Calls{"midi stop", "midi close", "midi open other.mid",
                                               "midi play", "midi play"}));
            EXPECT_EQ(music->MidiFile, "other.mid") << "the new file, not the old one again";
        } else {
            EXPECT_EQ(music->Mp3Alive, 1);
            EXPECT_EQ(music->Mp3MostRunning, 1) << "never two MP3 pieces at once";
        }
        StopVideo(*window);
        StopAllMusic();
        TakeMusicCalls();
    }
}

TEST_F(MusicTest, AMessageWithMusicReplacesTheMusicThatPlays) {
    MediaClip(1, "tune.mid");
    MediaClip(2, "other.mid").DisplayedMessage = "hello";
    PlayClip(1, *window);
    TakeMusicCalls();
    PlayClip(2, *window);
    EXPECT_EQ(TakeMusicCalls(),
              (Calls{"midi stop", "midi close", "midi open other.mid", "midi play", "midi play"}));
    EXPECT_EQ(MessageClip, 2);
}

TEST_F(MusicTest, CdTracksPlayToTheNextTrackOrTheEndOfTheDisc) {
    struct Case {
        std::string name;
        bool drive;
        std::string tracks;
        Calls calls;
    };
    const std::vector<Case> cases = {
        {"CDAUDIO_03", true, "12", {"cd open", "cd tmsf", "cd tracks?", "cd play 3 to 4"}},
        {"cdaudio_12", true, "12", {"cd open", "cd tmsf", "cd tracks?", "cd play 12"}},
        {"CDAUDIO_3x", true, "12", {}},
        {"CDAUDIO_1-2", true, "12", {}},
        {"CDAUDIO_99999999999", true, "12", {}},
        {"CDAUDIO_03", true, "many", {"cd open", "cd tmsf", "cd tracks?", "cd play 3"}},
        {"CDAUDIO_03", false, "", {"cd open", "cd tmsf", "cd tracks?", "cd play 3"}},
    };
    folder.Write("film.avi", "a video file");
    for (const Case& c : cases) {
        music->CdDrive = c.drive;
        music->CdTracks = c.tracks;
        MediaClip(6, c.name, false, "film.avi");
        FrameStep = 40;
        PlayClip(6, *window);
        EXPECT_EQ(TakeMusicCalls(), c.calls) << c.name;
        // A track number that is no number ends the clip: no video, no frame reset.
        EXPECT_EQ(VideoPlaying, c.calls.empty() ? 0 : 1) << c.name;
        EXPECT_EQ(FrameStep, c.calls.empty() ? 40 : 1) << c.name;
        EndVideo();
        StopAllMusic();
        TakeMusicCalls();
    }
}

TEST_F(MusicTest, WavMusicLoopsInItsBufferIsReplacedAndIsNotSwitched) {
    folder.Write("theme.wav", wavetest::PcmWave(1, 22050, 8, std::string(400, '\x90')));
    folder.Write("theme.ogg", "OggS not a wave file at all");
    folder.Write("film.avi", "a video file");
    MediaClip(1, "theme.wav", true);
    PlayClip(1, *window);
    ASSERT_NE(WavMusic, nullptr);
    ASSERT_EQ(sounds->Buffers.size(), 1u);
    EXPECT_TRUE(sounds->Buffers[0]->Playing);
    EXPECT_TRUE(sounds->Buffers[0]->Looping);
    SwitchMusic(0);
    EXPECT_TRUE(sounds->Buffers[0]->Playing) << "WAV music is not switched";

    MediaClip(2, "", false, "film.avi");  // only a video: the WAV track stops
    PlayClip(2, *window);
    EXPECT_TRUE(sounds->Buffers[0]->Released);
    EndVideo();

    MediaClip(3, "theme.ogg", true);
    PlayClip(3, *window);
    EXPECT_EQ(sounds->Buffers.size(), 1u) << "a file that is not a wave file stays silent";
    MediaClip(4, "theme.wav", false);
    PlayClip(4, *window);
    ASSERT_EQ(sounds->Buffers.size(), 2u);
    EXPECT_TRUE(sounds->Buffers[1]->Playing);
    EXPECT_FALSE(sounds->Buffers[1]->Looping);
    StopAllMusic();
    EXPECT_TRUE(sounds->Buffers[1]->Released);
    EXPECT_EQ(WavMusic, nullptr);
}

}  // namespace
