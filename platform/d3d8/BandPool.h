// The device's drawing threads: Run hands one job to every band at once (the
// calling thread takes band 0) and returns when all bands are done. The
// threads are started once and wait between jobs; they take no signals, so
// that stop signals reach the program's main thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace d3d8 {

class BandPool {
  public:
    // `bands` bands (at least 1); 0 means one per processor.
    explicit BandPool(int32_t bands);
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    int32_t Bands() const { return bands_; }
    // Calls job(band) for every band, in parallel; returns when all are done.
    void Run(const std::function<void(int32_t band)>& job);

  private:
    void Work(int32_t band);

    int32_t bands_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(int32_t)>* job_ = nullptr;
    uint64_t generation_ = 0;
    int32_t busy_ = 0;
    bool stopping_ = false;
};

}  // namespace d3d8
