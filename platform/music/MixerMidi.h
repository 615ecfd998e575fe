// The MIDI sequencer over SDL2_mixer's music stream: the file is read whole
// through the file-system layer and synthesised with a General MIDI sound
// font (the system's default one, TimGM6mb on Debian). Its position follows
// the player's millisecond clock while it plays; its length comes from the
// file's events and tempo changes.
#pragma once

#include <memory>

#include "platform/music/MidiSequencer.h"

namespace platform::music {

// A sequencer on the shared mixer output; null when no audio device can be
// opened.
std::unique_ptr<MidiSequencer> OpenMixerMidi();

}  // namespace platform::music
