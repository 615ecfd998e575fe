// The module-music service of the game: one player per piece (MOD, XM, IT or
// S3M), loaded from a file, started once and left to play by itself, looped or
// once, with a volume of 0..100 that changes at once. Implemented over
// SDL2_mixer's music stream (MixerMusic) and by a recording service for tests.
#pragma once

#include <memory>
#include <string>

namespace platform::music {

class ModulePlayer {
  public:
    // Destroying a player stops its piece.
    virtual ~ModulePlayer() = default;
    // Loads the module file `fileName` (a data path); false when it cannot be
    // read or is not a module.
    virtual bool Load(const std::string& fileName) = 0;
    // Puts the piece back to its start.
    virtual void Rewind() = 0;
    // True when a piece is loaded and can play.
    virtual bool IsReady() const = 0;
    // Starts the piece; it then plays by itself.
    virtual void Play() = 0;
    // 0 (silent, still playing) to 100 (full); values outside are clamped.
    virtual void SetVolume(int volume) = 0;
    // True while the piece sounds (a piece played once ends by itself).
    virtual bool IsPlaying() const = 0;
};

class MusicService {
  public:
    virtual ~MusicService() = default;
    // A new player without a piece, that repeats its piece when `loop`.
    virtual std::unique_ptr<ModulePlayer> CreatePlayer(bool loop) = 0;
};

}  // namespace platform::music
