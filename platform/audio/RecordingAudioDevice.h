// A sound device for tests: plays nothing, keeps every buffer's state (playing,
// looping, position, volume, pan) and a log of the calls, and lets the test end
// plays or make buffers lose their samples.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioDevice.h"

namespace platform::audio {

// The state of one buffer made by the recording device.
struct RecordedBuffer {
    int Id = 0;
    int Channel = -1;  // positional channel of a duplicate; -1 for a created buffer
    PcmFormat Format;
    size_t Bytes = 0;
    bool Playing = false;
    bool Looping = false;
    bool Lost = false;  // Play answers BufferLost until Restore
    bool Released = false;
    uint32_t Position = 0;
    int32_t Volume = 0;
    int32_t Pan = 0;
};

// Everything the device and its buffers share; outlives the device.
struct RecordingLog {
    std::vector<std::string> Calls;  // e.g. "create 1", "duplicate 1 as 2 on 5", "play 2 once"
    std::vector<std::shared_ptr<RecordedBuffer>> Buffers;  // by Id - 1
    bool RefuseBuffers = false;  // CreateSoundBuffer and Duplicate answer null
    bool DeviceClosed = false;
};

class RecordingAudioDevice : public AudioDevice {
  public:
    RecordingAudioDevice();
    ~RecordingAudioDevice() override;

    std::unique_ptr<SoundBuffer> CreateSoundBuffer(const PcmFormat& format,
                                                   std::span<const uint8_t> samples) override;

    std::shared_ptr<RecordingLog> Log() const { return log_; }
    // Every buffer that plays once comes to its end (position 0).
    void FinishPlaying();

  private:
    std::shared_ptr<RecordingLog> log_;
};

}  // namespace platform::audio
