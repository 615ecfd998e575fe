// The system's millisecond tick count, replaceable so tests can drive time.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds since an arbitrary start; wraps at 2^32.
uint32_t TickCount();

// Replaces the tick source (tests); an empty function restores the real clock.
void SetTickSource(std::function<uint32_t()> source);

}  // namespace platform
