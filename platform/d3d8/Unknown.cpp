#include "platform/d3d8/Unknown.h"

#include <atomic>

namespace d3d8 {
namespace {

std::atomic<int64_t> liveObjects{0};

}  // namespace

Unknown::Unknown() { ++liveObjects; }

Unknown::~Unknown() { --liveObjects; }

uint32_t Unknown::Release() {
    if (refs_ == 0) return 0;  // a release too many is ignored
    const uint32_t left = --refs_;
    if (left == 0) LastRelease();
    return left;
}

int64_t LiveObjects() { return liveObjects.load(); }

}  // namespace d3d8
