// The video service of the game: a file's picture and sound decoded as the
// player's millisecond clock runs, the latest picture kept as RGBA pixels for
// the engine to show, the sound played on the mixer channel kept for it, and
// the end of the stream told once. Implemented over FFmpeg (FfmpegVideo) and
// by a recording service for tests (RecordingVideo).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::video {

// One decoded picture: Width × Height RGBA pixels, rows from the top.
struct Picture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Rgba;
    uint64_t Serial = 0;  // changes with every new picture
};

class VideoStream {
  public:
    // Destroying a stream stops its picture and sound.
    virtual ~VideoStream() = default;
    // Back to the start of the stream (its first picture comes again).
    virtual void Rewind() = 0;
    // Plays from where the stream stands; `now` is the tick count (ms).
    virtual void Run(uint32_t now) = 0;
    virtual void Stop() = 0;
    // Decodes what is due by `now`: the picture of that time, and the sound.
    virtual void Advance(uint32_t now) = 0;
    // True once each time the stream has played to its end.
    virtual bool TakeCompletion() = 0;
    // The stream went wrong (nothing in it could be decoded): it cannot play on.
    virtual bool Failed() const = 0;
    // The picture of the time last advanced to; null before the first one (a
    // stream of sound only has none).
    virtual const Picture* CurrentPicture() const = 0;
};

class VideoService {
  public:
    virtual ~VideoService() = default;
    // A stopped stream at its start from `fileName` (a data path); null when
    // the file holds no picture or sound that can be decoded.
    virtual std::unique_ptr<VideoStream> Open(const std::string& fileName) = 0;
};

}  // namespace platform::video
