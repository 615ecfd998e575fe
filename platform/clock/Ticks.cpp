#include "platform/clock/Ticks.h"

#include <SDL.h>

namespace platform {
namespace {
std::function<uint32_t()>& Source() {
    static std::function<uint32_t()> source;
    return source;
}
}  // namespace

uint32_t TickCount() {
    if (Source()) return Source()();
    // The 64-bit count cut to 32 bits wraps like the system's tick counter.
    return static_cast<uint32_t>(SDL_GetTicks64());
}

void SetTickSource(std::function<uint32_t()> source) { Source() = std::move(source); }

}  // namespace platform
