// Whether something can be seen from a place, by walks over the cell grid
// limited by the view distance DepthOfView (cells).
#pragma once

#include <cstdint>

// True when no colliding bloc lies on the straight cell walk from cell
// (x1, y1, z1) to cell (x2, y2, z2); touching cells always see each other, and
// a target DepthOfView cells away or more on any axis is never seen.
bool GridLineOfSight(int32_t x1, int32_t y1, int32_t z1, int32_t x2, int32_t y2, int32_t z2);

// True when cell (cx, cy, cz) can be seen from world point (px, py, pz): the
// view is blocked only where five cubes around a sample point are opaque (a
// single cube or a wall one cell thick does not block); a far target is seen.
bool CellVisibleFrom(int32_t px, int32_t py, int32_t pz, int32_t cx, int32_t cy, int32_t cz);
