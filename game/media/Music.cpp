#include "game/media/Music.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "game/GameIni.h"
#include "game/level/ArgParse.h"
#include "game/level/DefinitionSection.h"
#include "game/media/Media.h"
#include "support/ModPlay.h"
#include "support/Snd.h"

MusicKind CurrentMusicKind = MusicKind::Wav;
int32_t MusicClip = -1;
TSoundBuffer* WavMusic = nullptr;
uint8_t LoopMusic = 0;

namespace {

constexpr size_t kCdPrefixLength = 8;  // "CDAUDIO_"

// The MP3 music piece; null when none. Replaced by the next MP3 track.
std::unique_ptr<platform::music::Mp3Piece>& Mp3Music() {
    static std::unique_ptr<platform::music::Mp3Piece> piece;
    return piece;
}

void StartMidi(const std::string& music) {
    platform::music::MidiSequencer* midi = Media().Midi.get();
    if (midi == nullptr) return;
    // A file left open would refuse the new one and the old would play again.
    if (midi->PositionMs()) midi->Close();
    midi->Open(music);
    midi->Play();
}

void StartMp3(const std::string& music) {
    Mp3Music().reset();  // never two pieces at once
    if (!Media().Mp3) return;
    Mp3Music() = Media().Mp3->Render(music);
    if (!Mp3Music()) return;
    Mp3Music()->Rewind();
    Mp3Music()->Run();
}

// False when the track number is no number: the clip goes no further.
bool StartCd(const std::string& music) {
    int32_t track = 0;
    const std::string number = music.substr(kCdPrefixLength);
    if (!IsNumberText(number) || !ParseWholeInteger(number, track)) return false;
    platform::cdaudio::CdAudio* cd = Media().Cd.get();
    if (cd == nullptr) return true;
    cd->Open();
    cd->SetTrackTimeFormat();
    int32_t tracks = 0;
    std::optional<int64_t> to;
    if (ParseWholeInteger(cd->NumberOfTracks(), tracks) && track < tracks) {
        to = int64_t{track} + 1;
    }
    cd->Play(track, to);
    return true;
}

void StartWav(const std::string& music) {
    LoadSound(music, WavMusic);  // frees the WAV music that played
    PlaySoundBuffer(WavMusic, LoopMusic != 0);
}

}  // namespace

bool IsMidiFile(const std::string& name) { return UpperAscii(name).ends_with("MID"); }

bool IsModuleFile(const std::string& name) {
    const std::string upper = UpperAscii(name);
    return upper.ends_with("MOD") || upper.ends_with(".XM") || upper.ends_with(".IT") ||
           upper.ends_with(".S3M");
}

bool IsMp3File(const std::string& name) { return UpperAscii(name).ends_with("MP3"); }

bool IsCdAudioTrack(const std::string& name) {
    return name.size() >= kCdPrefixLength + 2 &&
           UpperAscii(name.substr(0, kCdPrefixLength)) == "CDAUDIO_";
}

MusicKind MusicKindOf(const std::string& name) {
    if (IsModuleFile(name)) return MusicKind::Module;
    if (IsMidiFile(name)) return MusicKind::Midi;
    if (IsMp3File(name)) return MusicKind::Mp3;
    if (IsCdAudioTrack(name)) return MusicKind::Cd;
    return MusicKind::Wav;
}

bool StartClipMusic(int32_t clip, const std::string& music) {
    if (music.empty()) {
        // Only a video: the WAV music buffer is replaced, other music plays on
        // untouched.
        StartWav(music);
        return true;
    }
    CurrentMusicKind = MusicKindOf(music);
    MusicClip = clip;
    switch (CurrentMusicKind) {
        case MusicKind::Module:
            PlayMusic(music, 0, LoopMusic != 0);
            break;
        case MusicKind::Midi:
            StartMidi(music);
            break;
        case MusicKind::Mp3:
            StartMp3(music);
            break;
        case MusicKind::Cd:
            return StartCd(music);
        case MusicKind::Wav:
            StartWav(music);
            break;
    }
    SwitchMusic(MusicOn ? 100 : 0);
    return true;
}

void StopClipMusic() {
    switch (CurrentMusicKind) {
        case MusicKind::Module:
            StopMusic();
            break;
        case MusicKind::Midi:
            if (Media().Midi) {
                Media().Midi->Stop();
                Media().Midi->Close();
            }
            break;
        case MusicKind::Mp3:
            if (Mp3Music()) Mp3Music()->Stop();
            Mp3Music().reset();
            break;
        case MusicKind::Cd:
            if (Media().Cd) {
                Media().Cd->Stop();
                Media().Cd->Close();
            }
            break;
        case MusicKind::Wav:
            if (WavMusic != nullptr) WavMusic->Stop();
            FreeSound(WavMusic);
            break;
    }
    CurrentMusicKind = MusicKind::Wav;
    MusicClip = -1;
}

void SwitchMusic(int32_t value) {
    const bool on = value >= 50;
    switch (CurrentMusicKind) {
        case MusicKind::Module:
            SetMusicVolume(static_cast<uint8_t>(std::clamp(value, 0, 100)));
            break;
        case MusicKind::Midi:
            if (!Media().Midi) break;
            if (on) {
                Media().Midi->Play();
            } else {
                Media().Midi->Stop();
            }
            break;
        case MusicKind::Mp3:
            if (!Mp3Music()) break;
            if (on) {
                Mp3Music()->Run();
            } else {
                Mp3Music()->Stop();
            }
            break;
        case MusicKind::Cd:
        case MusicKind::Wav:
            break;  // not switched
    }
}

bool PollMusic() {
    if (LoopMusic == 0) return false;
    bool ended = false;
    if (CurrentMusicKind == MusicKind::Midi && Media().Midi) {
        const int64_t position = Media().Midi->PositionMs().value_or(-1);
        const int64_t length = Media().Midi->LengthMs().value_or(0);
        ended = length > 0 && position >= length;
    } else if (CurrentMusicKind == MusicKind::Mp3 && Mp3Music()) {
        ended = Mp3Music()->TakeCompletion();
    } else if (CurrentMusicKind == MusicKind::Cd && Media().Cd) {
        ended = Media().Cd->Mode() == "stopped";
    }
    // Module music loops in its player and WAV music in its buffer.
    return ended;
}
