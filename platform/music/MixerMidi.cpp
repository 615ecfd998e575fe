#include "platform/music/MixerMidi.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>

#include "platform/audio/MixerHandles.h"
#include "platform/audio/MixerSession.h"
#include "platform/clock/Ticks.h"
#include "platform/fs/FileSystem.h"
#include "platform/music/MidiLength.h"
#include "platform/music/MixerMusicSlot.h"

namespace platform::music {
namespace {

using platform::audio::MixerSession;
using platform::audio::MusicHandle;

// Points the MIDI decoders at a General MIDI sound font when the user has not
// named one and the mixer's own default is missing.
void ChooseSoundFont() {
    if (std::getenv("SDL_SOUNDFONTS") != nullptr) return;
    const char* const fonts[] = {
        "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/FluidR3_GM.sf2"};
    const char* current = Mix_GetSoundFonts();
    if (current != nullptr && platform::fs::FileExists(current)) return;
    for (const char* font : fonts) {
        if (platform::fs::FileExists(font)) {
            Mix_SetSoundFonts(font);
            break;
        }
    }
    // The other MIDI decoder reads a Timidity configuration.
    if (std::getenv("TIMIDITY_CFG") == nullptr && !platform::fs::FileExists("/etc/timidity.cfg") &&
        platform::fs::FileExists("/etc/timidity/timgm6mb.cfg")) {
        Mix_SetTimidityCfg("/etc/timidity/timgm6mb.cfg");
    }
}

class MixerMidi : public MidiSequencer {
  public:
    explicit MixerMidi(std::shared_ptr<MixerSession> session) : session_(std::move(session)) {}
    ~MixerMidi() override { Close(); }

    bool Open(const std::string& fileName) override {
        if (music_) return false;
        auto bytes = std::make_unique<std::string>();  // stays where the decoder reads it
        if (!platform::fs::ReadWholeFile(fileName, *bytes)) return false;
        // The decoders take almost anything for MIDI; a file must be one.
        const std::optional<int64_t> length = MidiFileLengthMs(*bytes);
        if (!length) return false;
        MusicHandle music = LoadMusicBytes(*bytes, MUS_MID);
        if (!music) return false;
        bytes_ = std::move(bytes);
        music_ = std::move(music);
        length_ = length;
        played_ = 0;
        playing_ = false;
        return true;
    }

    void Play() override {
        if (!music_ || playing_ || AtEnd()) return;
        const bool resumes = OwnsMusicStream(music_.Get()) && Mix_PausedMusic() != 0;
        if (resumes) {
            Mix_VolumeMusic(MIX_MAX_VOLUME);
            Mix_ResumeMusic();
        } else {
            // Taken over by another piece meanwhile: it starts again.
            played_ = 0;
            if (!PlayOnMusicStream(music_.Get(), 1, MIX_MAX_VOLUME)) return;
        }
        playing_ = true;
        since_ = platform::TickCount();
    }

    void Stop() override {
        if (!playing_) return;
        played_ = Played();
        playing_ = false;
        if (OwnsMusicStream(music_.Get())) Mix_PauseMusic();
    }

    void Close() override {
        if (!music_) return;
        Stop();
        LeaveMusicStream(music_.Get());
        music_.Reset();
        bytes_.reset();
        length_.reset();
    }

    std::optional<int64_t> PositionMs() const override {
        if (!music_) return std::nullopt;
        return length_ ? std::min(Played(), *length_) : Played();
    }

    std::optional<int64_t> LengthMs() const override {
        if (!music_) return std::nullopt;
        return length_;
    }

  private:
    int64_t Played() const {
        if (!playing_) return played_;
        return played_ + int64_t{static_cast<uint32_t>(platform::TickCount() - since_)};
    }
    bool AtEnd() const { return length_ && Played() >= *length_; }

    std::shared_ptr<MixerSession> session_;
    std::unique_ptr<std::string> bytes_;  // the file; the decoder reads from it
    MusicHandle music_;
    std::optional<int64_t> length_;
    int64_t played_ = 0;  // ms played before the current run
    bool playing_ = false;
    uint32_t since_ = 0;  // tick count when the current run began
};

}  // namespace

std::unique_ptr<MidiSequencer> OpenMixerMidi() {
    auto session = MixerSession::Acquire();
    if (!session) return nullptr;
    ChooseSoundFont();
    return std::make_unique<MixerMidi>(std::move(session));
}

}  // namespace platform::music
