#include "game/media/Media.h"

#include "game/media/Music.h"
#include "game/media/Speech.h"
#include "game/media/Video.h"
#include "platform/music/MixerMidi.h"
#include "platform/speech/EspeakSpeech.h"
#include "platform/video/FfmpegVideo.h"

MediaServices& Media() {
    static MediaServices services;
    return services;
}

void InitMedia() {
    CloseMedia();  // espeak-ng runs once per process: the old engine goes first
    MediaServices services;
    services.Midi = platform::music::OpenMixerMidi();
    services.Mp3 = platform::music::OpenMixerMp3();
    services.Cd = platform::cdaudio::OpenNoCdDrive();
    services.Video = platform::video::OpenFfmpegVideo();
    services.Speech = platform::speech::EspeakSpeech::Open();
    InitMedia(std::move(services));
}

void InitMedia(MediaServices services) {
    CloseMedia();
    Media() = std::move(services);
    SpeechAvailable = Media().Speech ? 1 : 0;
}

void CloseMedia() {
    StopClipMusic();
    EndVideo();
    Media() = MediaServices{};
    SpeechAvailable = 0;
}
