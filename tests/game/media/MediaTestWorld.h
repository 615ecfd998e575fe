// The media layer as the game runs it in a test: a scratch game folder and a
// hidden window (LevelTestWorld), the recording engine backend, and recording
// services in place of every outside one: module player, MIDI sequencer, MP3
// service and CD drive writing into one music log, a video service and a
// speech engine with logs of their own, and a recording sound device.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/G3DCamera.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/clips/ClipPlayback.h"
#include "game/clips/ClipStuff.h"
#include "game/level/CellGrid.h"
#include "game/media/Media.h"
#include "game/media/Music.h"
#include "game/media/Video.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "platform/cdaudio/RecordingCd.h"
#include "platform/music/RecordingMusic.h"
#include "platform/music/RecordingMusicDevices.h"
#include "platform/speech/RecordingSpeech.h"
#include "platform/video/RecordingVideo.h"
#include "support/ModPlay.h"
#include "support/Snd.h"
#include "tests/common/RecordingBackend.h"
#include "tests/game/LevelTestWorld.h"

namespace mediatest {

class MediaTestWorld : public leveltest::LevelTestWorld {
  public:
    explicit MediaTestWorld(std::vector<std::string> voices = {}) {
        auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
        sounds = device->Log();
        InitSound(std::move(device));
        InitMusic(std::make_unique<platform::music::RecordingMusic>(music));
        auto video = std::make_unique<platform::video::RecordingVideo>();
        videos = video->Log();
        auto speaker = std::make_unique<platform::speech::RecordingSpeech>(voices, 100, 201);
        speech = speaker->Log();
        MediaServices services;
        services.Midi = platform::music::MakeRecordingMidi(music);
        services.Mp3 = platform::music::MakeRecordingMp3(music);
        services.Cd = platform::cdaudio::MakeRecordingCd(music);
        services.Video = std::move(video);
        services.Speech = std::move(speaker);
        InitMedia(std::move(services));
        MusicOn = true;
        CurrentClip = NextClip = MessageClip = -1;
        KeyFramesRunning = TitleClipRunning = 0;
        LoopMusic = LoopVideo = 0;
        FrameTime = 0;
        FrameStep = 40;
        AllocLevelGrid(4, 4, 4, Level);  // cut-scene frames draw the level
        G3DSetViewport(DStuff, 160, 120, 256, 256, 64, 1, 4, 1000);
        testutil::ClearBackendRecord();
    }
    ~MediaTestWorld() {
        CloseMedia();
        CloseMusic();
        FreeSound(MessageSound);
        FreeSound(Level.ClipSound);
        ShutDownSound();
        for (ClipStuff& clip : Level.Clips) ClearClip(clip);
        AllocLevelGrid(0, 0, 0, Level);
    }

    // The music calls since the last look, and a fresh start for the next.
    std::vector<std::string> TakeMusicCalls() { return std::exchange(music->Calls, {}); }
    std::vector<std::string> TakeVideoCalls() { return std::exchange(videos->Calls, {}); }

    // A media clip of music `name` (and a video when given).
    ClipStuff& MediaClip(int32_t n, const std::string& name, bool loop = false,
                         const std::string& video = "") {
        ClipStuff& clip = Level.Clips[n];
        clip.Music = name;
        clip.MusicLoop = loop ? 1 : 0;
        clip.Video = video;
        return clip;
    }
    // A message clip that marks when it starts.
    void MarkerClip(int32_t n) { Level.Clips[n].DisplayedMessage = "clip " + std::to_string(n); }

    std::shared_ptr<platform::music::RecordingMusicLog> music =
        std::make_shared<platform::music::RecordingMusicLog>();
    std::shared_ptr<platform::video::RecordingVideoLog> videos;
    std::shared_ptr<platform::speech::RecordingSpeechLog> speech;
    std::shared_ptr<platform::audio::RecordingLog> sounds;
};

}  // namespace mediatest
