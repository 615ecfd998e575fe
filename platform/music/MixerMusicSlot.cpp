#include "platform/music/MixerMusicSlot.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>

namespace platform::music {
namespace {

const Mix_Music*& Owner() {
    static const Mix_Music* owner = nullptr;
    return owner;
}

}  // namespace

platform::audio::MusicHandle LoadMusicBytes(const std::string& bytes, int type) {
    if (bytes.size() > INT_MAX) return {};
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (rw == nullptr) return {};
    return platform::audio::MusicHandle(
        Mix_LoadMUSType_RW(rw, static_cast<Mix_MusicType>(type), 1));
}

bool PlayOnMusicStream(Mix_Music* music, int loops, int volume) {
    if (music == nullptr) return false;
    Mix_ResumeMusic();  // a paused stream would hold the new piece paused too
    Mix_VolumeMusic(volume);
    if (Mix_PlayMusic(music, loops) != 0) return false;
    Owner() = music;
    return true;
}

bool OwnsMusicStream(const Mix_Music* music) { return music != nullptr && Owner() == music; }

void LeaveMusicStream(const Mix_Music* music) {
    if (!OwnsMusicStream(music)) return;
    Mix_HaltMusic();
    Mix_ResumeMusic();
    Owner() = nullptr;
}

}  // namespace platform::music
