// Module music over SDL2_mixer's music stream: the module file is read whole
// through the file-system layer and decoded by the mixer's module decoder.
// SDL2_mixer plays one piece at a time, which is all the game asks for.
#pragma once

#include <memory>

#include "platform/music/MusicPlayer.h"

namespace platform::music {

// Opens the service on the shared mixer output; null when no audio device can
// be opened.
std::unique_ptr<MusicService> OpenMixerMusic();

}  // namespace platform::music
