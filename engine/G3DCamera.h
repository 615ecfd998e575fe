// The camera: projection parameters, the per-frame camera set-up, the
// visibility test callers use to skip what cannot be seen, and the stereo
// relief mode's settings.
#pragma once

#include <cstdint>

#include "engine/G3DState.h"

namespace platform {
class Window;
}

// Projection centre and scales, near limit and render-list capacity (a new,
// empty list and sort buffer). HearingDistance becomes 10000 when it is 0.
void G3DSetViewport(TDStuff& state, int32_t centreX, int32_t centreY, int32_t scaleX,
                    int32_t scaleY, int32_t unused1, int32_t nearLimit, int32_t unused2,
                    int32_t capacity);

// Starts a frame from this camera: angles, rotation matrix, no lights, an empty
// render list, then the backend's view and projection.
void G3DSetCamera(int32_t x, int32_t y, int32_t z, int32_t yaw, int32_t pitch, int32_t roll,
                  TDStuff& state);

// True when (x, y, z) lies within `margin` of the camera on all three axes, or
// projects in front of the camera within half a frame width of the screen.
bool G3DIsVisible(int32_t margin, const TDStuff& state, float x, float y, float z);

// The perspective's vertical field of view in degrees:
// arctan(ClipWidth / (ProjectionBase × ClipWidth div 320)) × 180 / 3.1415.
double G3DFieldOfView(const TDStuff& state);

// Relief (anaglyph) mode on: the first eye drawn in red, the second in green
// when g1 is not 0, else in blue; `separation` in engine units.
void G3DSetReliefMode(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t r2, uint8_t g2, uint8_t b2,
                      int32_t separation, TDStuff& state, platform::Window& form);
// Relief mode off; full colour output again.
void G3DReliefOff(TDStuff& state, platform::Window& form);

// The second eye's offset for the current camera yaw.
void G3DSecondEyeOffset(const TDStuff& state, float& dx, float& dz);
// Moves every vertex of the first `count` render-list entries by (dx, 0, dz).
void G3DShiftRenderList(TDStuff& state, int32_t count, float dx, float dz);
