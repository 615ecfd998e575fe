#include "platform/cdaudio/CdAudio.h"

namespace platform::cdaudio {
namespace {

class NoCdDrive : public CdAudio {
  public:
    bool Open() override { return false; }
    void SetTrackTimeFormat() override {}
    std::string NumberOfTracks() override { return {}; }
    void Play(int64_t, std::optional<int64_t>) override {}
    std::string Mode() override { return {}; }
    void Stop() override {}
    void Close() override {}
};

}  // namespace

std::unique_ptr<CdAudio> OpenNoCdDrive() { return std::make_unique<NoCdDrive>(); }

}  // namespace platform::cdaudio
