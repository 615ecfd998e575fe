// A stream of 16-bit samples played on one mixer channel kept for it (the
// speech channel, the video's sound channel): samples are queued from the main
// thread as they are made and played in order, converted to the output's
// rate and layout on the way. What has not been played yet can be dropped.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace platform::audio {

class PcmStream {
  public:
    // A stream on mixer channel `channel` (kSpeechChannel or kVideoSoundChannel)
    // of samples at `rate` Hz with `channels` (1 or 2) interleaved channels;
    // null when the output cannot be opened or the format is not playable. A
    // channel plays one stream: a newer stream on it silences the older.
    static std::unique_ptr<PcmStream> Open(int channel, int rate, int channels);

    // Stops the channel.
    virtual ~PcmStream() = default;
    // Appends whole frames of samples (a trailing partial frame is dropped).
    virtual void Queue(std::span<const int16_t> samples) = 0;
    // Marks the end of one piece: what has been queued is all playable.
    virtual void Finish() = 0;
    // Drops every sample not played yet; the channel falls silent.
    virtual void Clear() = 0;
    // Output bytes queued and not played yet.
    virtual int64_t PendingBytes() const = 0;
};

}  // namespace platform::audio
