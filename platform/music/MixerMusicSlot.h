// SDL2_mixer's one music stream, shared by the module, MIDI and MP3 players:
// the piece started last owns it, and starting another takes it over. A
// player asks whether it still owns the stream before it changes the volume,
// pauses or rewinds, so that it never touches another player's piece.
#pragma once

#include <string>

#include "platform/audio/MixerHandles.h"

namespace platform::music {

// A piece decoded from `bytes` by the decoder of SDL_mixer music type `type`
// alone; the bytes must outlive the piece. Null when that decoder refuses
// them.
platform::audio::MusicHandle LoadMusicBytes(const std::string& bytes, int type);

// Starts `music` on the stream (whatever played there stops) at `volume`
// (0..128), `loops` times (-1: for ever); true when it plays.
bool PlayOnMusicStream(Mix_Music* music, int loops, int volume);
// True while `music` is the piece started last and not given up.
bool OwnsMusicStream(const Mix_Music* music);
// Gives the stream up, halting the piece, when `music` owns it; called before
// a piece is freed.
void LeaveMusicStream(const Mix_Music* music);

}  // namespace platform::music
