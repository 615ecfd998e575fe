#include "platform/audio/MixerHandles.h"

#include <SDL_mixer.h>

namespace platform::audio {

void FreeMixerHandle(Mix_Chunk* chunk) { Mix_FreeChunk(chunk); }

void FreeMixerHandle(Mix_Music* music) { Mix_FreeMusic(music); }

}  // namespace platform::audio
