#include "support/ModPlay.h"

#include "platform/music/MixerMusic.h"

std::unique_ptr<platform::music::ModulePlayer> MusicPlayer;

namespace {

// The service that makes players; set by InitMusic, released by CloseMusic.
std::unique_ptr<platform::music::MusicService>& Service() {
    static std::unique_ptr<platform::music::MusicService> service;
    return service;
}

}  // namespace

void InitMusic() { InitMusic(platform::music::OpenMixerMusic()); }

void InitMusic(std::unique_ptr<platform::music::MusicService> service) {
    MusicPlayer.reset();
    Service() = std::move(service);
}

void PlayMusic(const std::string& FileName, int32_t /*Unused*/, bool Loop) {
    StopMusic();
    if (!Service()) return;
    MusicPlayer = Service()->CreatePlayer(Loop);
    if (!MusicPlayer) return;
    MusicPlayer->Load(FileName);
    MusicPlayer->Rewind();
    // A piece that is not ready keeps its silent player until the next
    // StopMusic or PlayMusic.
    if (MusicPlayer->IsReady()) MusicPlayer->Play();
}

void SetMusicVolume(uint8_t Volume) {
    if (MusicPlayer) MusicPlayer->SetVolume(Volume);
}

void StopMusic() { MusicPlayer.reset(); }

void CloseMusic() {
    StopMusic();
    Service().reset();
}
