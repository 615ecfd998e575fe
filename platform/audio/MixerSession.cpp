#include "platform/audio/MixerSession.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/audio/AudioDevice.h"

namespace platform::audio {
namespace {

std::weak_ptr<MixerSession>& Current() {
    static std::weak_ptr<MixerSession> current;
    return current;
}

bool OpenOutput() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MOD | MIX_INIT_MID | MIX_INIT_MP3);  // music; sound effects need none
    // No change allowed: every buffer and effect works in exactly this format.
    if (Mix_OpenAudioDevice(MixerSession::kFrequency, AUDIO_S16SYS, MixerSession::kOutputChannels,
                            1024, nullptr, 0) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    static_assert(kSpeechChannel == kPositionalChannels + kDirectChannels);
    const int total = kPositionalChannels + kDirectChannels;
    Mix_AllocateChannels(kMixerChannelCount);
    Mix_ReserveChannels(kPositionalChannels);
    Mix_GroupChannels(kPositionalChannels, total - 1, kDirectGroup);
    return true;
}

}  // namespace

std::shared_ptr<MixerSession> MixerSession::Acquire() {
    if (auto session = Current().lock()) return session;
    if (!OpenOutput()) return nullptr;
    std::shared_ptr<MixerSession> session(new MixerSession());
    Current() = session;
    return session;
}

bool MixerSession::IsOpen() { return !Current().expired(); }

MixerSession::~MixerSession() {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform::audio
