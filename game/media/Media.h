// The platform services under the game's music, video and speech (the MIDI
// sequencer, the MP3 service, the CD drive, the video service and the speech
// engine), opened once at start-up and closed at shutdown. Module music has
// its own unit (support/ModPlay) and sound effects theirs (support/Snd).
#pragma once

#include <memory>

#include "platform/cdaudio/CdAudio.h"
#include "platform/music/MidiSequencer.h"
#include "platform/music/Mp3Music.h"
#include "platform/speech/SpeechEngine.h"
#include "platform/video/VideoPlayer.h"

// One of each; a service that could not be opened is null and what it would
// play stays silent.
struct MediaServices {
    std::unique_ptr<platform::music::MidiSequencer> Midi;
    std::unique_ptr<platform::music::Mp3Service> Mp3;
    std::unique_ptr<platform::cdaudio::CdAudio> Cd;
    std::unique_ptr<platform::video::VideoService> Video;
    std::unique_ptr<platform::speech::SpeechEngine> Speech;
};

// The services in use: filled by InitMedia, emptied by CloseMedia.
MediaServices& Media();

// Opens this platform's services (SDL2_mixer, no CD drive, FFmpeg,
// espeak-ng); SpeechAvailable tells whether speech started.
void InitMedia();
// The same with services made elsewhere (tests); what was open before is
// closed first.
void InitMedia(MediaServices services);
// Stops the music and the video (no engine reset, no next clip) and closes
// the services; once at shutdown.
void CloseMedia();
