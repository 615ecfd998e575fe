// A video service for tests: decodes nothing, records what its streams were
// asked to do ("open a.avi as 1", "rewind 1", "run 1", "stop 1",
// "release 1"), shows one 2 × 2 picture once run, and ends or fails a stream
// when the test says so.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/video/VideoPlayer.h"

namespace platform::video {

struct RecordingVideoLog {
    std::vector<std::string> Calls;
    std::vector<std::string> Undecodable;  // files that open as no stream
    int Alive = 0;                         // streams not released
    bool Complete = false;                 // the running streams report their end once
    bool FailRunning = false;              // the running streams go wrong
};

class RecordingVideo : public VideoService {
  public:
    RecordingVideo() : log_(std::make_shared<RecordingVideoLog>()) {}
    std::unique_ptr<VideoStream> Open(const std::string& fileName) override;
    std::shared_ptr<RecordingVideoLog> Log() const { return log_; }

  private:
    std::shared_ptr<RecordingVideoLog> log_;
    int next_ = 1;
};

}  // namespace platform::video
