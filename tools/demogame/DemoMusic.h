// The demo game's music, composed here: the title tune as a MIDI file and
// the trophy room's tune as a four-channel module.
#pragma once

#include "tools/demogame/MidiWriter.h"
#include "tools/demogame/ModWriter.h"

namespace demo {

// Eight bars at 120 beats a minute (16 s): flute over strings and a bass.
MidiSong TitleTune();

// Two patterns of lead, bass, arpeggio and a noise beat.
ModSong TrophyRoomTune();

}  // namespace demo
