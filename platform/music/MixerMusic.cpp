#include "platform/music/MixerMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

#include "platform/audio/MixerHandles.h"
#include "platform/audio/MixerSession.h"
#include "platform/fs/FileSystem.h"
#include "platform/music/MixerMusicSlot.h"

namespace platform::music {
namespace {

using platform::audio::MixerSession;
using platform::audio::MusicHandle;

class MixerModulePlayer : public ModulePlayer {
  public:
    MixerModulePlayer(std::shared_ptr<MixerSession> session, bool loop)
        : session_(std::move(session)), loop_(loop) {}
    ~MixerModulePlayer() override { Forget(); }

    bool Load(const std::string& fileName) override {
        Forget();
        if (!platform::fs::ReadWholeFile(fileName, bytes_)) return false;
        // Only the module decoder is asked: files it cannot read are refused
        // (it reads the module formats and, like any ModPlug, MIDI files).
        music_ = LoadMusicBytes(bytes_, MUS_MOD);
        return bool(music_);
    }

    void Rewind() override {
        if (OwnsMusicStream(music_.Get())) Mix_RewindMusic();
    }

    bool IsReady() const override { return bool(music_); }

    void Play() override { PlayOnMusicStream(music_.Get(), loop_ ? -1 : 1, MixerVolume()); }

    void SetVolume(int volume) override {
        volume_ = std::clamp(volume, 0, 100);
        if (OwnsMusicStream(music_.Get())) Mix_VolumeMusic(MixerVolume());
    }

    bool IsPlaying() const override {
        return OwnsMusicStream(music_.Get()) && Mix_PlayingMusic() != 0;
    }

  private:
    void Forget() {
        LeaveMusicStream(music_.Get());
        music_.Reset();
    }
    int MixerVolume() const { return volume_ * MIX_MAX_VOLUME / 100; }

    std::shared_ptr<MixerSession> session_;
    bool loop_;
    int volume_ = 100;
    std::string bytes_;  // the module file; the decoder reads from it
    MusicHandle music_;
};

class MixerMusicService : public MusicService {
  public:
    explicit MixerMusicService(std::shared_ptr<MixerSession> session)
        : session_(std::move(session)) {}
    std::unique_ptr<ModulePlayer> CreatePlayer(bool loop) override {
        return std::make_unique<MixerModulePlayer>(session_, loop);
    }

  private:
    std::shared_ptr<MixerSession> session_;
};

}  // namespace

std::unique_ptr<MusicService> OpenMixerMusic() {
    auto session = MixerSession::Acquire();
    if (!session) return nullptr;
    return std::make_unique<MixerMusicService>(std::move(session));
}

}  // namespace platform::music
