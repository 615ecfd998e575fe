#include "engine/G3DCamera.h"

#include <algorithm>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DBackend.h"

namespace {

// Largest render list G3DSetViewport allocates.
constexpr int32_t kMaxCapacity = 4000000;

int64_t RoundedRow(const TDStuff& s, int row, double dx, double dy, double dz) {
    const float* m = &s.CamMatrix[row * 3];
    return G3DRound64(m[0] * dx + m[1] * dy + m[2] * dz);
}

}  // namespace

void G3DSetViewport(TDStuff& state, int32_t centreX, int32_t centreY, int32_t scaleX,
                    int32_t scaleY, int32_t /*unused1*/, int32_t nearLimit, int32_t /*unused2*/,
                    int32_t capacity) {
    state.CentreX = static_cast<uint16_t>(centreX);
    state.CentreY = static_cast<uint16_t>(centreY);
    state.ScaleX = static_cast<uint16_t>(scaleX);
    state.ScaleY = static_cast<uint16_t>(scaleY);
    state.NearLimit = nearLimit;
    if (state.HearingDistance == 0) state.HearingDistance = 10000;
    state.ClipWidth = static_cast<uint16_t>(2 * state.CentreX);
    state.ClipBottom = static_cast<uint16_t>(2 * state.CentreY - 1);
    const size_t entries = static_cast<size_t>(std::clamp(capacity, 0, kMaxCapacity));
    state.RenderList.assign(entries, TG3DTriangle{});
    state.SortBuffer.assign(entries, TG3DSortEntry{});
    state.TriangleCount = 0;
}

void G3DSetCamera(int32_t x, int32_t y, int32_t z, int32_t yaw, int32_t pitch, int32_t roll,
                  TDStuff& state) {
    state.CamX = x, state.CamY = y, state.CamZ = z;
    state.CamYaw = yaw, state.CamPitch = pitch, state.CamRoll = roll;
    const float cy = G3DCos(yaw), sy = G3DSin(yaw);
    const float cp = G3DCos(pitch), sp = G3DSin(pitch);
    state.CosRoll = G3DCos(roll);
    state.SinRoll = G3DSin(roll);
    state.LastLight = -1;
    state.CamMatrix = G3DTurnMatrix(cy, sy, cp, sp, state.CosRoll, state.SinRoll);
    state.CosYaw = cy, state.SinYaw = sy, state.CosPitch = cp, state.SinPitch = sp;
    state.TriangleCount = 0;
    G3DBackendSetCamera(state);
}

bool G3DIsVisible(int32_t margin, const TDStuff& state, float x, float y, float z) {
    const float dx = static_cast<float>(static_cast<double>(x) - state.CamX);
    const float dy = static_cast<float>(static_cast<double>(y) - state.CamY);
    const float dz = static_cast<float>(static_cast<double>(z) - state.CamZ);
    if (std::fabs(dx) < margin && std::fabs(dy) < margin && std::fabs(dz) < margin) return true;
    const int64_t rx = RoundedRow(state, 0, dx, dy, dz);
    const int64_t ry = RoundedRow(state, 1, dx, dy, dz);
    const int64_t rz = RoundedRow(state, 2, dx, dy, dz);
    if (rz < state.NearLimit || rz <= 0) return false;
    const int64_t centreX = state.CentreX;
    const int64_t sx = int64_t{state.ScaleX} * rx / rz + centreX;
    const int64_t sy = int64_t{state.CentreY} - int64_t{state.ScaleY} * ry / rz;
    return -centreX < sx && sx < state.ClipWidth + centreX && -centreX < sy &&
           sy < state.ClipBottom + centreX;
}

double G3DFieldOfView(const TDStuff& state) {
    const int64_t base =
        std::max<int64_t>(1, int64_t{state.ProjectionBase} * state.ClipWidth / 320);
    return std::atan(static_cast<double>(state.ClipWidth) / static_cast<double>(base)) * 180.0 /
           3.1415;
}

void G3DSetReliefMode(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t r2, uint8_t g2, uint8_t b2,
                      int32_t separation, TDStuff& state, platform::Window& /*form*/) {
    state.ReliefOn = true;
    state.EyeSeparation = separation;
    state.EyeMaskR = 0;
    state.EyeMaskG = g1 != 0 ? 1 : 0;
    state.EyeMaskB = g1 != 0 ? 0 : 1;
    state.FirstEyeColour = {r1, g1, b1};
    state.SecondEyeColour = {r2, g2, b2};
}

void G3DReliefOff(TDStuff& state, platform::Window& /*form*/) {
    state.ReliefOn = false;
    G3DBackendReliefOff(state);
}

void G3DSecondEyeOffset(const TDStuff& state, float& dx, float& dz) {
    const float cy = G3DCos(state.CamYaw), sy = G3DSin(state.CamYaw);
    const float s = static_cast<float>(state.EyeSeparation);
    dx = s * sy + s * cy;
    dz = s * cy - s * sy;
}

void G3DShiftRenderList(TDStuff& state, int32_t count, float dx, float dz) {
    count = std::min(count, static_cast<int32_t>(state.RenderList.size()));
    for (int32_t i = 0; i < count; ++i) {
        TG3DTriangle& t = state.RenderList[i];
        t.X0 += dx, t.X1 += dx, t.X2 += dx;
        t.Z0 += dz, t.Z1 += dz, t.Z2 += dz;
    }
}
