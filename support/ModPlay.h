// Module music (MOD, XM, IT, S3M) for the game's music: at most one player at
// a time; starting a piece always destroys the previous player first. A piece
// that cannot be loaded stays silent; without an audio device nothing plays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/music/MusicPlayer.h"

// The current player; null when none. Replaced by PlayMusic, freed by
// StopMusic.
extern std::unique_ptr<platform::music::ModulePlayer> MusicPlayer;

// Opens the module-music service on the mixer output, once at start, before
// any piece; no player exists afterwards.
void InitMusic();
// The same with a service made elsewhere (tests); null leaves music off.
void InitMusic(std::unique_ptr<platform::music::MusicService> service);
// Stops the current piece and starts `FileName`, looped or once. `Unused` is
// kept for the callers, who pass 0.
void PlayMusic(const std::string& FileName, int32_t Unused, bool Loop);
// Volume of the current player: 100 for music on, 0 for off (the piece goes on
// silently). Nothing without a player.
void SetMusicVolume(uint8_t Volume);
// Destroys the current player, which stops its piece; nothing without one.
void StopMusic();
// StopMusic and the release of the music service; once at shutdown.
void CloseMusic();
