// MP3 music: a piece made ready from a file, then run, stopped and rewound,
// that tells once when it has played to its end. Implemented over SDL2_mixer's
// MP3 decoder (MixerMp3) and by a recording service for tests.
#pragma once

#include <memory>
#include <string>

namespace platform::music {

class Mp3Piece {
  public:
    // Destroying a piece stops it.
    virtual ~Mp3Piece() = default;
    // Back to the start of the piece.
    virtual void Rewind() = 0;
    // Plays from where the piece stands (after Stop, from where it stopped).
    virtual void Run() = 0;
    virtual void Stop() = 0;
    // True once each time the piece has played to its end.
    virtual bool TakeCompletion() = 0;
};

class Mp3Service {
  public:
    virtual ~Mp3Service() = default;
    // A stopped piece at its start made from `fileName` (a data path); null
    // when the file cannot be read or decoded.
    virtual std::unique_ptr<Mp3Piece> Render(const std::string& fileName) = 0;
};

// The service on the shared mixer output; null when no audio device can be
// opened.
std::unique_ptr<Mp3Service> OpenMixerMp3();

}  // namespace platform::music
