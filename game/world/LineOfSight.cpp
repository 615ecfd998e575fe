#include "game/world/LineOfSight.h"

#include <algorithm>
#include <cmath>

#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"

namespace {

// Cells are walked in 64 bits: a walk from a cell near the 32-bit limit may
// step past it, and such cells lie outside the grid.
struct Cell64 {
    int64_t x, y, z;
};

bool InsideGrid(const Cell64& c) {
    return c.x >= 0 && c.y >= 0 && c.z >= 0 && c.x < Level.SizeX && c.y < Level.SizeY &&
           c.z < Level.SizeZ;
}

// The bloc type of a cell; 0 outside the grid, as every grid read gives.
int32_t TypeAt(const Cell64& c) {
    if (!InsideGrid(c)) return 0;
    return GetCellType(static_cast<int32_t>(c.x), static_cast<int32_t>(c.y),
                       static_cast<int32_t>(c.z));
}

// The bloc record of a cell, or nullptr for a type out of range (damaged grid).
const BlocStuff* BlocAt(const Cell64& c) {
    const int32_t type = TypeAt(c);
    return IsBlocType(type) ? &Level.Blocs[type] : nullptr;
}

// True when the cell's bloc stops a straight cell walk: a defined, colliding type.
bool StopsWalk(const Cell64& c) {
    const BlocStuff* bloc = BlocAt(c);
    return bloc != nullptr && !bloc->Undefined && bloc->Collision;
}

// True when the cell is a full cube that hides what lies behind it: a defined
// Cube type whose own vertical corner byte (layer C) is 0.
bool IsOpaque(const Cell64& c) {
    const BlocStuff* bloc = BlocAt(c);
    if (bloc == nullptr || bloc->Undefined || !bloc->Cube) return false;
    return GetCorner2(static_cast<int32_t>(c.x), static_cast<int32_t>(c.y),
                      static_cast<int32_t>(c.z)) == 0;
}

int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

int64_t Sign64(int64_t v) { return (v > 0) - (v < 0); }

// The walk's length n limited to the view distance.
int64_t LimitToView(int64_t n) { return std::min<int64_t>(n, DepthOfView); }

// x1 + Round(i × d / n), halves to even; n > 0, |i × d| stays within 64 bits.
int64_t WalkStep(int64_t from, int64_t d, int64_t i, int64_t n) {
    return from + static_cast<int64_t>(
                      std::nearbyint(static_cast<double>(i * d) / static_cast<double>(n)));
}

// Trunc(d × i / n) for 0 < i ≤ n without forming d × i, which may pass 64 bits
// when d is a long world distance: d = q × n + r with r of d's sign.
int64_t ScaledToward(int64_t d, int64_t i, int64_t n) {
    const int64_t q = d / n;
    const int64_t r = d % n;
    return q * i + r * i / n;
}

// The cell containing world point q on each axis (toward zero).
Cell64 CellOfPoint(int64_t qx, int64_t qy, int64_t qz) {
    return {CellOfCoordinate(static_cast<double>(qx)), CellOfCoordinate(static_cast<double>(qy)),
            CellOfCoordinate(static_cast<double>(qz))};
}

// True when the view through sample cell e is closed: e and the four cells
// beside it toward the target (one along X, one along Z, and one step down or
// up on each of those) are all opaque.
bool ViewClosedAt(const Cell64& e, int64_t sx, int64_t sy, int64_t sz) {
    return IsOpaque(e) && IsOpaque({e.x + sx, e.y, e.z}) && IsOpaque({e.x, e.y, e.z + sz}) &&
           IsOpaque({e.x + sx, e.y + sy, e.z}) && IsOpaque({e.x, e.y + sy, e.z + sz});
}

}  // namespace

bool GridLineOfSight(int32_t x1, int32_t y1, int32_t z1, int32_t x2, int32_t y2, int32_t z2) {
    const int64_t dx = int64_t{x2} - x1;
    const int64_t dy = int64_t{y2} - y1;
    const int64_t dz = int64_t{z2} - z1;
    const int64_t n = std::max({Abs64(dx), Abs64(dy), Abs64(dz)});
    if (n < 2) return true;
    const int64_t steps = LimitToView(n);
    for (int64_t i = 1; i <= steps; ++i) {
        const Cell64 c{WalkStep(x1, dx, i, steps), WalkStep(y1, dy, i, steps),
                       WalkStep(z1, dz, i, steps)};
        if (StopsWalk(c)) return false;
    }
    // A walk cut at the view distance never reaches its target.
    return steps < DepthOfView;
}

bool CellVisibleFrom(int32_t px, int32_t py, int32_t pz, int32_t cx, int32_t cy, int32_t cz) {
    const int64_t dx = px - (int64_t{cx} * 512 + 256);
    const int64_t dy = py - (int64_t{cy} * 512 + 256);
    const int64_t dz = pz - (int64_t{cz} * 512 + 256);
    const int64_t n = std::max({Abs64(dx / 512), Abs64(dy / 512), Abs64(dz / 512)});
    if (n < 2) return true;
    const int64_t steps = LimitToView(n);
    const int64_t sx = Sign64(dx), sy = Sign64(dy), sz = Sign64(dz);
    for (int64_t i = 1; i <= steps; ++i) {
        const Cell64 e =
            CellOfPoint(px - ScaledToward(dx, i, steps), py - ScaledToward(dy, i, steps),
                        pz - ScaledToward(dz, i, steps));
        if (e.x == cx && e.y == cy && e.z == cz) return true;
        if (ViewClosedAt(e, sx, sy, sz)) return false;
    }
    // Far targets are seen: the samples then spread over the whole line.
    return true;
}
