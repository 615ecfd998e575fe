#include "platform/music/Mp3Music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/audio/MixerHandles.h"
#include "platform/audio/MixerSession.h"
#include "platform/fs/FileSystem.h"
#include "platform/music/MixerMusicSlot.h"

namespace platform::music {
namespace {

using platform::audio::MixerSession;
using platform::audio::MusicHandle;

class MixerMp3Piece : public Mp3Piece {
  public:
    MixerMp3Piece(std::shared_ptr<MixerSession> session, std::unique_ptr<std::string> bytes,
                  MusicHandle music)
        : session_(std::move(session)), bytes_(std::move(bytes)), music_(std::move(music)) {}
    ~MixerMp3Piece() override { LeaveMusicStream(music_.Get()); }

    void Rewind() override {
        if (OwnsMusicStream(music_.Get())) {
            Mix_RewindMusic();
        } else {
            fromStart_ = true;
        }
    }

    void Run() override {
        if (OwnsMusicStream(music_.Get()) && !fromStart_ && Mix_PlayingMusic() != 0) {
            Mix_VolumeMusic(MIX_MAX_VOLUME);
            Mix_ResumeMusic();
        } else if (!PlayOnMusicStream(music_.Get(), 1, MIX_MAX_VOLUME)) {
            return;
        }
        fromStart_ = false;
        running_ = true;
    }

    void Stop() override {
        if (OwnsMusicStream(music_.Get())) Mix_PauseMusic();
        running_ = false;
    }

    bool TakeCompletion() override {
        if (!running_ || !OwnsMusicStream(music_.Get()) || Mix_PlayingMusic() != 0) return false;
        running_ = false;
        fromStart_ = true;
        return true;
    }

  private:
    std::shared_ptr<MixerSession> session_;
    std::unique_ptr<std::string> bytes_;  // the file; the decoder reads from it
    MusicHandle music_;
    bool running_ = false;
    bool fromStart_ = true;  // the next Run starts the piece afresh
};

class MixerMp3Service : public Mp3Service {
  public:
    explicit MixerMp3Service(std::shared_ptr<MixerSession> session)
        : session_(std::move(session)) {}

    std::unique_ptr<Mp3Piece> Render(const std::string& fileName) override {
        auto bytes = std::make_unique<std::string>();  // stays where the decoder reads it
        if (!platform::fs::ReadWholeFile(fileName, *bytes)) return nullptr;
        MusicHandle music = LoadMusicBytes(*bytes, MUS_MP3);
        if (!music) return nullptr;
        return std::make_unique<MixerMp3Piece>(session_, std::move(bytes), std::move(music));
    }

  private:
    std::shared_ptr<MixerSession> session_;
};

}  // namespace

std::unique_ptr<Mp3Service> OpenMixerMp3() {
    auto session = MixerSession::Acquire();
    if (!session) return nullptr;
    return std::make_unique<MixerMp3Service>(std::move(session));
}

}  // namespace platform::music
