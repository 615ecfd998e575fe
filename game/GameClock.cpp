#include "game/GameClock.h"

#include <cmath>
#include <limits>

#include "platform/clock/Ticks.h"

float GameTime = 0.0f;
uint32_t LastTickCount = 0;
int32_t FrameTime = 0;
int32_t FrameStep = 1;

int32_t GameTimeMs() {
    // A clock read from a damaged file must not overflow the conversion.
    if (!(GameTime > static_cast<float>(std::numeric_limits<int32_t>::min()))) {
        return std::isnan(GameTime) ? 0 : std::numeric_limits<int32_t>::min();
    }
    if (GameTime >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(GameTime));
}

void AdvanceGameTime(double factor) {
    const uint32_t now = platform::TickCount();
    // Unsigned difference: the counter's wrap-around gives the true small step.
    const uint32_t elapsed = now - LastTickCount;
    LastTickCount = now;
    GameTime = static_cast<float>(static_cast<double>(GameTime) + elapsed * factor);
}

float FrameStepScale(float x) {
    if (FrameStep > 150) FrameStep = 150;
    // Product and quotient in double, rounded to float once.
    return static_cast<float>(static_cast<double>(FrameStep) * x / 90.0);
}

void ResetFrameStep() {
    FrameTime = GameTimeMs();
    FrameStep = 1;
}

void StartFrameStep() {
    const int64_t step = static_cast<int64_t>(GameTimeMs()) - FrameTime;
    FrameStep = step < 1 ? 1 : (step > INT32_MAX ? INT32_MAX : static_cast<int32_t>(step));
    FrameTime = GameTimeMs();
}
