// Engine angles (32768 units to a full turn) and the rounding rules the engine
// computes with: Round goes half to even, results are kept inside 32 bits.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

// a × 3.1415 / 16384 (the engine's own value of pi), as a single.
float G3DAngleToRadians(int64_t a);
// Single-precision cosine and sine of an engine angle.
float G3DCos(int64_t a);
float G3DSin(int64_t a);

// The turn by yaw, then pitch, then roll, row by row, from the cosines and
// sines of the three angles. Shared by the camera and the meshes it draws.
inline std::array<float, 9> G3DTurnMatrix(float cy, float sy, float cp, float sp, float cr,
                                          float sr) {
    return {cy * cr + sy * sp * sr,
            -cp * sr,
            sp * sr * cy - sy * cr,
            cy * sr - cr * sy * sp,
            cp * cr,
            -sy * sr - cy * cr * sp,
            sy * cp,
            sp,
            cy * cp};
}

// Direction of (dx, dy) in whole degrees 0..360, 0 along +dx, 90 along +dy.
int32_t G3DAngleOf(int64_t dx, int64_t dy);

// Rounds half to even, saturating at the 64-bit range.
inline int64_t G3DRound64(double v) {
    if (!(v > -9.2e18)) return v != v ? 0 : INT64_MIN;
    if (v > 9.2e18) return INT64_MAX;
    return static_cast<int64_t>(std::nearbyint(v));
}

// Saturates a 64-bit value into 32 bits.
inline int32_t G3DClamp32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Truncates toward zero, saturating at the 32-bit range (NaN gives 0).
inline int32_t G3DTrunc32(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}
