#include "platform/d3d8/BandPool.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <system_error>

namespace d3d8 {
namespace {

// More bands than this gain nothing on the frame sizes the device draws.
constexpr int32_t kMaxBands = 32;

int32_t BandsFor(int32_t asked) {
    if (asked <= 0) asked = static_cast<int32_t>(std::thread::hardware_concurrency());
    return std::clamp(asked, 1, kMaxBands);
}

// Blocks every signal in the calling thread while it lives (threads started
// meanwhile inherit the mask), then restores the old mask.
class SignalsBlocked {
  public:
    SignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &old_);
    }
    ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

  private:
    sigset_t old_;
};

}  // namespace

BandPool::BandPool(int32_t bands) : bands_(BandsFor(bands)) {
    const SignalsBlocked blocked;
    threads_.reserve(static_cast<size_t>(bands_ - 1));
    try {
        for (int32_t band = 1; band < bands_; ++band)
            threads_.emplace_back(&BandPool::Work, this, band);
    } catch (const std::system_error&) {
        bands_ = static_cast<int32_t>(threads_.size()) + 1;  // draw with the threads there are
    }
}

BandPool::~BandPool() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void BandPool::Run(const std::function<void(int32_t)>& job) {
    if (bands_ == 1) {
        job(0);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        job_ = &job;
        busy_ = bands_ - 1;
        ++generation_;
    }
    wake_.notify_all();
    job(0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return busy_ == 0; });
    job_ = nullptr;
}

void BandPool::Work(int32_t band) {
    uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_) return;
        seen = generation_;
        const std::function<void(int32_t)>* job = job_;
        lock.unlock();
        (*job)(band);
        lock.lock();
        if (--busy_ == 0) done_.notify_one();
    }
}

}  // namespace d3d8
