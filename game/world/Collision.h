// Moving bodies through the level: the one box test of the game world and
// the routine that moves a box for one frame against tile animations, moving
// blocs, conveyors and the grid's blocs, with sliding, steps, landing and
// carrying. The globals describe the last call only; a caller that needs them
// reads them right after its own call.
#pragma once

#include <cstdint>

// Product of the three overlap lengths of the last BoxesOverlap; 0 when an axis
// does not overlap.
extern float OverlapVolume;
// Largest OverlapVolume with a colliding moving bloc during the last
// MoveWithCollision; 0 when none.
extern float CarryOverlap;
// Bloc type of the first tile animation or moving bloc that the body met during
// the last MoveWithCollision; -1 when none.
extern int32_t FirstTouchedType;
// Row of the last moving bloc that the moved body met during the last
// MoveWithCollision; -1 when none.
extern int32_t LastTouchedMovingBloc;

// True when box A (min corner ax, ay, az; size asx, asy, asz) and box B overlap
// on all three axes; always sets OverlapVolume. Per axis, with b ≥ a the axis
// overlaps when b < a + sa; with b < a when a ≤ b + sb.
bool BoxesOverlap(float ax, float ay, float az, float asx, float asy, float asz, float bx, float by,
                  float bz, float bsx, float bsy, float bsz);

// Moves the body centred on (X, Y, Z), of `width` (X and Z) and `height`, by
// (vx, vy, vz) this frame, climbing steps up to `step`. True when it has
// vertical contact: landed on or stopped by a bloc on Y, stands on or hangs
// under a colliding moving bloc, overlaps a colliding tile animation, or was
// held at the bottom or top of the grid. X, Y and Z change in place as the
// move goes: a moving bloc moved through its own row's position never meets
// itself, whatever the rows before it did to it.
bool MoveWithCollision(float& X, float& Y, float& Z, float vx, float vy, float vz, int32_t width,
                       int32_t height, int32_t step);

// Offset on one axis from a placed bloc's cell centre to the centre of its
// bounds `low`..`high`: a body the bloc moves by is shifted by it before the
// move and back after it.
inline double BoxCentreShift(int32_t low, int32_t high) {
    return static_cast<double>(512 - int64_t{high} - low) / 2.0;
}
