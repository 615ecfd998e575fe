#include "engine/G3DAngles.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}

float G3DAngleToRadians(int64_t a) {
    return static_cast<float>(static_cast<double>(a) * 3.1415 / 16384.0);
}

float G3DCos(int64_t a) {
    return static_cast<float>(std::cos(static_cast<double>(G3DAngleToRadians(a))));
}

float G3DSin(int64_t a) {
    return static_cast<float>(std::sin(static_cast<double>(G3DAngleToRadians(a))));
}

int32_t G3DAngleOf(int64_t dx, int64_t dy) {
    float a;
    if (dx == 0) {
        a = dy >= 0 ? 1.5707964f : -1.5707964f;
    } else {
        const float ratio = static_cast<float>(static_cast<double>(dy) / static_cast<double>(dx));
        a = static_cast<float>(std::atan(static_cast<double>(ratio)));
        if (dx < 0) a = static_cast<float>(static_cast<double>(a) + kPi);
    }
    float g = static_cast<float>(static_cast<double>(a) * 180.0 / kPi);
    if (g < 0) g += 360.0f;
    return static_cast<int32_t>(std::nearbyint(g));
}
