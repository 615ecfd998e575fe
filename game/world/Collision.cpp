#include "game/world/Collision.h"

#include <algorithm>
#include <cmath>

#include "game/GameClock.h"
#include "game/level/BlocStuff.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"

float OverlapVolume = 0.0f;
float CarryOverlap = 0.0f;
int32_t FirstTouchedType = -1;
int32_t LastTouchedMovingBloc = -1;

namespace {

// Largest velocity a body moves with in one frame, per axis.
constexpr float kMaxVelocity = 510.0f;

// Axes, as indices of the body's coordinate arrays.
constexpr int32_t kX = 0, kY = 1, kZ = 2;

// One overlap test on one axis; `length` gets the overlap length or 0.
inline bool AxisOverlap(double a, double sa, double b, double sb, double& length) {
    const bool later = b >= a;  // B starts at or after A
    const bool on = later ? b < a + sa : a <= b + sb;
    length = on ? (later ? a + sa - b : b + sb - a) : 0.0;
    return on;
}

// BoxesOverlap without touching OverlapVolume: the volume goes to `volume`.
inline bool OverlapBoxes(float ax, float ay, float az, float asx, float asy, float asz, float bx,
                         float by, float bz, float bsx, float bsy, float bsz, float& volume) {
    double lx, ly, lz;
    const bool onX = AxisOverlap(ax, asx, bx, bsx, lx);
    const bool onY = AxisOverlap(ay, asy, by, bsy, ly);
    const bool onZ = AxisOverlap(az, asz, bz, bsz, lz);
    volume = static_cast<float>(lx * ly * lz);
    return onX && onY && onZ;
}

// The caller's X, Y and Z, changed in place as the move goes: a moving bloc
// moved as the body stays exactly at its own row's position through every
// correction, so that the row is never met.
struct Centre {
    float* axis[3];
    float& operator[](int32_t a) { return *axis[a]; }
    float operator[](int32_t a) const { return *axis[a]; }
};

// The body being moved, with the working values of one MoveWithCollision.
struct Body {
    Centre pos;  // centre X, Y, Z
    float v[3];  // velocity of this frame
    int32_t width, height, step;
    int32_t hw, hh;      // half width, half height
    float carriedX = 0;  // horizontal velocity of the moving bloc stood on
    float carriedZ = 0;
    float d[3] = {0, 0, 0};  // displacements
    int32_t cell[3] = {0, 0, 0};
    float local[3] = {0, 0, 0};
    bool contact = false;
    bool landed = false;
    int32_t touchedType = -1;  // type of the moving bloc met last
};

// Cell-local coordinate of world coordinate w in cell c.
double LocalCoordinate(float w, int32_t c) {
    return static_cast<double>(w) - static_cast<double>(int64_t{c} * 512);
}

float GridExtent(int32_t size) { return static_cast<float>(int64_t{size} * 512); }

// Keeps velocity `v` against a moving bloc of velocity `w` beside the body: the
// bloc's when they oppose, none when the body is the faster, else the bloc's.
float Push(float v, float w) {
    if (v * w < 0) return w;
    if (std::fabs(v) > std::fabs(w)) return 0;
    return w;
}

// Clamp of `v` to lo..hi that keeps a NaN a NaN and never asserts lo <= hi.
double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

// ---- Step 1 to 3: reset, clamp, start cell ----

void ResetResults(Body& body) {
    FirstTouchedType = -1;
    CarryOverlap = 0;
    LastTouchedMovingBloc = -1;
    body.carriedX = body.carriedZ = 0;
    body.contact = false;
    body.touchedType = -1;
}

void ClampVelocity(Body& body) {
    for (float& v : body.v) {
        if (v > kMaxVelocity) v = kMaxVelocity;
        if (v < -kMaxVelocity) v = -kMaxVelocity;
    }
}

void LocateOnAxis(Body& body, int32_t axis) {
    body.cell[axis] = CellOfCoordinate(body.pos[axis]);
    body.local[axis] = static_cast<float>(static_cast<double>(body.pos[axis]) -
                                          static_cast<double>(int64_t{body.cell[axis]} * 512));
}

void LocateBody(Body& body) {
    for (int32_t axis = kX; axis <= kZ; ++axis) LocateOnAxis(body, axis);
}

// ---- Steps 4 and 5: blocs placed anywhere in the world ----

// The body's box moved by (mx, my, mz), as BoxesOverlap takes a box.
struct BodyBox {
    float min[3], size[3];
};

BodyBox BoxOfBody(const Body& body, float mx, float my, float mz) {
    const double hw = body.hw, hh = body.hh;
    const double x = body.pos[kX], y = body.pos[kY], z = body.pos[kZ];
    return {{static_cast<float>(x + mx - hw), static_cast<float>(y + my - hh),
             static_cast<float>(z + mz - hw)},
            {static_cast<float>(2 * hw), static_cast<float>(2 * hh), static_cast<float>(2 * hw)}};
}

// Tests `box` against the box of a bloc of type record `bloc` placed at
// (px, py, pz), as BoxesOverlap does.
bool MeetsPlacedBloc(const BodyBox& box, const BlocStuff& bloc, float px, float py, float pz) {
    return OverlapBoxes(box.min[kX], box.min[kY], box.min[kZ], box.size[kX], box.size[kY],
                        box.size[kZ], static_cast<float>(px + static_cast<double>(bloc.Xmin) - 256),
                        static_cast<float>(py + static_cast<double>(bloc.Ymin) - 256),
                        static_cast<float>(pz + static_cast<double>(bloc.Zmin) - 256),
                        static_cast<float>(static_cast<double>(bloc.Xmax) - bloc.Xmin),
                        static_cast<float>(static_cast<double>(bloc.Ymax1) - bloc.Ymin),
                        static_cast<float>(static_cast<double>(bloc.Zmax) - bloc.Zmin),
                        OverlapVolume);
}

// The body centre seen from a bloc placed at (px, py, pz), and the bloc's top
// there (the point held to the bloc's extent).
struct PlacedView {
    double x, y, z;
    double top;
};

PlacedView ViewFromPlaced(const Body& body, int32_t type, const BlocStuff& bloc, float px, float py,
                          float pz) {
    PlacedView p;
    p.x = body.pos[kX] + 256.0 - px;
    p.y = body.pos[kY] + 256.0 - py;
    p.z = body.pos[kZ] + 256.0 - pz;
    p.top = BlocTypeTopHeight(type, static_cast<float>(Clamp(p.x, bloc.Xmin, bloc.Xmax)),
                              static_cast<float>(Clamp(p.z, bloc.Zmin, bloc.Zmax)));
    return p;
}

// A colliding tile animation that the body overlaps holds it: it cannot walk
// into the bloc's sides unless it can step onto it, and it does not move on Y.
void HeldByTileAnimation(Body& body, int32_t type, const BlocStuff& bloc,
                         const TileAnimationStuff& row) {
    body.contact = true;
    const PlacedView p = ViewFromPlaced(body, type, bloc, row.X, row.Y, row.Z);
    if (bloc.Ymin <= p.y + body.hh && p.y - body.hh + body.step <= p.top) {
        if (p.x <= bloc.Xmin || p.x >= bloc.Xmax) body.v[kX] = 0;
        if (p.z <= bloc.Zmin || p.z >= bloc.Zmax) body.v[kZ] = 0;
    }
    body.v[kY] = 0;
}

void MeetTileAnimations(Body& body) {
    const TileAnimationList& rows = Level.TileAnimations;
    const BodyBox box = BoxOfBody(body, 0, 0, 0);  // the body does not move here
    for (int32_t r = 0; r <= rows.High(); ++r) {
        const TileAnimationStuff& row = rows[r];
        if (!IsBlocType(row.AnimType)) continue;
        const BlocStuff& bloc = Level.Blocs[row.AnimType];
        if (!MeetsPlacedBloc(box, bloc, row.X, row.Y, row.Z)) continue;
        if (FirstTouchedType == -1) FirstTouchedType = row.AnimType;
        if (bloc.Collision) HeldByTileAnimation(body, row.AnimType, bloc, row);
    }
}

// A colliding moving bloc that the moved body meets: the body stands on it and
// rides it, hangs under it, or is pushed by it from the side.
void MeetCollidingMovingBloc(Body& body, int32_t type, const BlocStuff& bloc,
                             const MovingBlocStuff& row) {
    CarryOverlap = std::max(CarryOverlap, OverlapVolume);
    const PlacedView p = ViewFromPlaced(body, type, bloc, row.X, row.Y, row.Z);
    if (p.y - body.hh + body.step > p.top) {
        body.pos[kY] = static_cast<float>(row.Y + p.top + body.hh - 256.0);
        body.v[kY] = row.VelocityY;
        body.carriedX = row.VelocityX;
        body.carriedZ = row.VelocityZ;
        body.contact = true;
    } else if (p.y + body.hh < bloc.Ymin + 256.0) {
        body.pos[kY] = static_cast<float>(row.Y + static_cast<double>(bloc.Ymin) - body.hh - 256.0);
        body.v[kY] = row.VelocityY;
        body.contact = true;
    } else {
        if (bloc.Xmin < p.x + body.hw) body.v[kX] = Push(body.v[kX], row.VelocityX);
        if (bloc.Xmax > p.x - body.hw) body.v[kX] = Push(body.v[kX], row.VelocityX);
        if (bloc.Zmin < p.z + body.hw) body.v[kZ] = Push(body.v[kZ], row.VelocityZ);
        if (bloc.Zmax > p.z - body.hw) body.v[kZ] = Push(body.v[kZ], row.VelocityZ);
    }
}

void MeetMovingBlocs(Body& body) {
    const MovingBlocList& rows = Level.MovingBlocs;
    for (int32_t r = 0; r <= rows.High(); ++r) {
        const MovingBlocStuff& row = rows[r];
        // The moving bloc moved by this call stands exactly where the body is.
        if (row.X == body.pos[kX] && row.Y == body.pos[kY] && row.Z == body.pos[kZ]) continue;
        const int32_t type = row.BlocType;
        if (!IsBlocType(type)) continue;
        const BlocStuff& bloc = Level.Blocs[type];
        const BodyBox box = BoxOfBody(body, body.v[kX], body.v[kY], body.v[kZ]);
        if (!MeetsPlacedBloc(box, bloc, row.X, row.Y, row.Z)) continue;
        body.touchedType = type;
        if (FirstTouchedType == -1) FirstTouchedType = type;
        LastTouchedMovingBloc = r;
        if (bloc.Collision) MeetCollidingMovingBloc(body, type, bloc, row);
    }
}

// ---- Step 6: conveyors ----

// Takes `speed` into `current` when it is strictly stronger.
void TakeStronger(int32_t speed, int32_t& current) {
    if (std::llabs(int64_t{speed}) > std::llabs(int64_t{current})) current = speed;
}

// The distinct cells of c - half, c and c + half (half = one body size) on
// one axis, in that order of first appearance; returns how many.
int32_t DistinctCells(float c, int32_t size, int32_t cells[3]) {
    int32_t n = 0;
    for (int32_t i = -1; i <= 1; ++i) {
        const int32_t cell = CellOfCoordinate(c + static_cast<double>(i) * size);
        if (std::find(cells, cells + n, cell) == cells + n) cells[n++] = cell;
    }
    return n;
}

void ApplyConveyors(Body& body) {
    int32_t s[3] = {0, 0, 0};
    if (body.touchedType >= 0) {
        const BlocStuff& bloc = Level.Blocs[body.touchedType];
        s[kX] = bloc.SpeedX, s[kY] = bloc.SpeedY, s[kZ] = bloc.SpeedZ;
    }
    // A cell met again cannot change the speeds (none of its is stronger than
    // what it already gave), so each distinct cell is read once, in the order
    // of the 27 samples.
    int32_t cx[3], cy[3], cz[3];
    const int32_t nx = DistinctCells(body.pos[kX], body.width, cx);
    const int32_t ny = DistinctCells(body.pos[kY], body.height, cy);
    const int32_t nz = DistinctCells(body.pos[kZ], body.width, cz);
    for (int32_t i = 0; i < nx; ++i) {
        for (int32_t j = 0; j < ny; ++j) {
            for (int32_t k = 0; k < nz; ++k) {
                const int32_t type = GetCellType(cx[i], cy[j], cz[k]);
                if (!IsBlocType(type)) continue;
                const BlocStuff& bloc = Level.Blocs[type];
                TakeStronger(bloc.SpeedX, s[kX]);
                TakeStronger(bloc.SpeedY, s[kY]);
                TakeStronger(bloc.SpeedZ, s[kZ]);
            }
        }
    }
    body.d[kX] = body.v[kX] + body.carriedX + FrameStepScale(static_cast<float>(s[kX]));
    body.d[kY] = body.v[kY] + FrameStepScale(static_cast<float>(s[kY]));
    body.d[kZ] = body.v[kZ] + body.carriedZ + FrameStepScale(static_cast<float>(s[kZ]));
}

// ---- Steps 7 and 8: the horizontal axes ----

// Extent of a bloc on the horizontal axis kX or kZ.
int32_t MinBound(const BlocStuff& bloc, int32_t axis) { return axis == kX ? bloc.Xmin : bloc.Zmin; }
int32_t MaxBound(const BlocStuff& bloc, int32_t axis) { return axis == kX ? bloc.Xmax : bloc.Zmax; }

// The world point of sample (i, j) of the horizontal move along `axis`, with
// `lead` on that axis: Y + i·hh, and the other horizontal axis + j·hw.
void HorizontalSample(const Body& body, int32_t axis, float lead, int32_t i, int32_t j,
                      float point[3]) {
    const int32_t other = kX + kZ - axis;
    point[axis] = lead;
    point[kY] = static_cast<float>(body.pos[kY] + static_cast<double>(i) * body.hh);
    point[other] = static_cast<float>(body.pos[other] + static_cast<double>(j) * body.hw);
}

// The colliding bloc of sample cell c that lies level with the body (it can
// neither step onto it nor pass under it) and across its path; nullptr else.
// `along` is the body's coordinate on `axis` in the column's frame.
const BlocStuff* WallInColumn(const Body& body, int32_t axis, const int32_t c[3],
                              const float point[3], double along) {
    const BlocStuff* bloc = CollidingBlocAt(c[kX], c[kY], c[kZ]);
    if (bloc == nullptr) return nullptr;
    const int32_t other = kX + kZ - axis;
    const double across = body.local[other];
    if (!(MinBound(*bloc, other) <= across + body.hw)) return nullptr;
    if (!(MaxBound(*bloc, other) >= across - body.hw)) return nullptr;
    const double bottom = static_cast<double>(int64_t{bloc->Ymin} - body.step);
    if (!(body.local[kY] + body.hh >= bottom)) return nullptr;
    float topAt[3];
    topAt[axis] = static_cast<float>(along);
    topAt[other] = static_cast<float>(LocalCoordinate(point[other], c[other]));
    const double top =
        static_cast<double>(int64_t{BoundsTopHeight(*bloc, topAt[kX], topAt[kZ])} - body.step);
    if (!(body.local[kY] - body.hh <= top)) return nullptr;
    return bloc;
}

// Shortens the displacement on `axis` when the bloc lies wholly inside the
// span swept by the leading face `a`, so that no thin bloc is passed through.
void ShortenForWall(Body& body, int32_t axis, const BlocStuff& bloc, double a) {
    const double lo = MinBound(bloc, axis), hi = MaxBound(bloc, axis);
    const double d = body.d[axis];
    if (d > 0) {
        if (lo >= a && hi <= a + d && d > lo - a) body.d[axis] = static_cast<float>(lo - a);
    } else if (hi <= a && lo >= a + d && d < hi - a) {
        body.d[axis] = static_cast<float>(hi - a);
    }
}

// The face of the moved box that leads a move of d (the low face when d ≤ 0).
float LeadingEdge(float centre, float d, int32_t half) {
    const double c = centre;
    return static_cast<float>(d > 0 ? c + d + half : c + d - half);
}

// Sweep over the start column and the target column of the move on `axis`.
void SweepHorizontal(Body& body, int32_t axis) {
    const float lead = LeadingEdge(body.pos[axis], body.d[axis], body.hw);
    const int32_t target = CellOfCoordinate(lead);
    // A second pass over the same column could shorten nothing more, and it
    // would shape the same cells in the same order.
    const int32_t columns[2] = {body.cell[axis], target};
    const int32_t passes = target == body.cell[axis] ? 1 : 2;
    for (int32_t pass = 0; pass < passes; ++pass) {
        const int32_t column = columns[pass];
        const double along =
            column == body.cell[axis] ? body.local[axis] : LocalCoordinate(body.pos[axis], column);
        for (int32_t i = -1; i <= 1; ++i) {
            for (int32_t j = -1; j <= 1; ++j) {
                float point[3];
                HorizontalSample(body, axis, 0, i, j, point);
                int32_t c[3];
                for (int32_t n = kX; n <= kZ; ++n) c[n] = CellOfCoordinate(point[n]);
                c[axis] = column;
                const BlocStuff* wall = WallInColumn(body, axis, c, point, along);
                if (wall == nullptr) continue;
                const double a = body.d[axis] > 0 ? along + body.hw : along - body.hw;
                ShortenForWall(body, axis, *wall, a);
            }
        }
    }
}

// True when the leading face of the move on `axis` ends inside a bloc that is
// too high to step onto.
bool HorizontalEndBlocked(const Body& body, int32_t axis) {
    const float lead = LeadingEdge(body.pos[axis], body.d[axis], body.hw);
    for (int32_t i = -1; i <= 1; ++i) {
        for (int32_t j = -1; j <= 1; ++j) {
            float point[3];
            HorizontalSample(body, axis, lead, i, j, point);
            if (PointInCollidingBlockMargin(body.step, point[kX], point[kY], point[kZ])) {
                return true;
            }
        }
    }
    return false;
}

void HoldOnAxis(Body& body, int32_t axis, int32_t size) {
    const float extent = GridExtent(size);
    if (body.pos[axis] < 0) body.pos[axis] = 0;
    if (body.pos[axis] > extent) body.pos[axis] = extent;
}

// True when a sample cell of the sweep on `axis` holds a colliding bloc. When
// none does, the sweep shortens nothing and the end test (whose cells are
// those of the target column) finds nothing.
bool MeetsCollidingCell(const Body& body, int32_t axis) {
    const int32_t other = kX + kZ - axis;
    int32_t columns[2] = {body.cell[axis],
                          CellOfCoordinate(LeadingEdge(body.pos[axis], body.d[axis], body.hw))};
    int32_t rows[3], across[3];
    int32_t nc = columns[1] == columns[0] ? 1 : 2, nr = 0, na = 0;
    for (int32_t i = -1; i <= 1; ++i) {
        float point[3];
        HorizontalSample(body, axis, 0, i, i, point);
        const int32_t row = CellOfCoordinate(point[kY]);
        const int32_t a = CellOfCoordinate(point[other]);
        if (std::find(rows, rows + nr, row) == rows + nr) rows[nr++] = row;
        if (std::find(across, across + na, a) == across + na) across[na++] = a;
    }
    for (int32_t c = 0; c < nc; ++c) {
        for (int32_t r = 0; r < nr; ++r) {
            for (int32_t a = 0; a < na; ++a) {
                int32_t cell[3];
                cell[axis] = columns[c], cell[kY] = rows[r], cell[other] = across[a];
                if (IsCollidingCell(cell[kX], cell[kY], cell[kZ])) return true;
            }
        }
    }
    return false;
}

void MoveHorizontal(Body& body, int32_t axis, int32_t size) {
    bool blocked = false;
    if (MeetsCollidingCell(body, axis)) {
        SweepHorizontal(body, axis);
        blocked = HorizontalEndBlocked(body, axis);
    }
    if (body.d[axis] != 0 && !blocked) {
        body.pos[axis] = static_cast<float>(static_cast<double>(body.pos[axis]) + body.d[axis]);
    }
    HoldOnAxis(body, axis, size);
    LocateOnAxis(body, axis);
}

// ---- Step 9: the vertical axis ----

// The world point of sample (i, j) of the vertical move: X + j·inset,
// Z + i·inset.
void VerticalSample(const Body& body, int32_t inset, int32_t i, int32_t j, float& x, float& z) {
    x = static_cast<float>(body.pos[kX] + static_cast<double>(j) * inset);
    z = static_cast<float>(body.pos[kZ] + static_cast<double>(i) * inset);
}

// The top of `bloc`, shaped for cell (cx, ., cz), at world sample (x, z).
double TopAtSample(const BlocStuff& bloc, int32_t cx, int32_t cz, float x, float z) {
    return BoundsTopHeight(bloc, static_cast<float>(LocalCoordinate(x, cx)),
                           static_cast<float>(LocalCoordinate(z, cz)));
}

// Shortens dy when a colliding bloc of cell (cx, row, cz), across the body's
// footprint, lies wholly inside the span its bottom or top sweeps.
void ShortenForFloorOrCeiling(Body& body, int32_t cx, int32_t row, int32_t cz, float x, float z) {
    const BlocStuff* bloc = CollidingBlocAt(cx, row, cz);
    if (bloc == nullptr) return;
    const double lx = body.local[kX], lz = body.local[kZ];
    if (!(bloc->Zmin <= lz + body.hw && bloc->Zmax >= lz - body.hw)) return;
    if (!(bloc->Xmin <= lx + body.hw && bloc->Xmax >= lx - body.hw)) return;
    const double by = LocalCoordinate(body.pos[kY], row);
    const double ymin = bloc->Ymin;
    const double dy = body.d[kY];
    // The conditions without the top first: the top costs divisions.
    if (dy > 0) {
        const double head = by + body.hh;
        if (!(ymin >= head && dy > ymin - head)) return;
        if (TopAtSample(*bloc, cx, cz, x, z) <= head + dy) {
            body.d[kY] = static_cast<float>(ymin - head);
        }
    } else {
        const double feet = by - body.hh;
        if (!(ymin >= feet + dy)) return;
        const double top = TopAtSample(*bloc, cx, cz, x, z);
        if (top <= feet && dy < top - feet) body.d[kY] = static_cast<float>(top - feet);
    }
}

void SweepVertical(Body& body) {
    const int32_t rows[2] = {body.cell[kY],
                             CellOfCoordinate(LeadingEdge(body.pos[kY], body.d[kY], body.hh))};
    // As for the horizontal sweep, one pass when both rows are the same.
    const int32_t passes = rows[1] == rows[0] ? 1 : 2;
    for (int32_t pass = 0; pass < passes; ++pass) {
        const int32_t row = rows[pass];
        for (int32_t i = -1; i <= 1; ++i) {
            for (int32_t j = -1; j <= 1; ++j) {
                float x, z;
                VerticalSample(body, body.hw, i, j, x, z);
                ShortenForFloorOrCeiling(body, CellOfCoordinate(x), row, CellOfCoordinate(z), x, z);
            }
        }
    }
}

// Ends the vertical move: where the moved top or bottom lies inside a colliding
// bloc, the body is put 1 unit under the ceiling or above the floor.
void LandVertical(Body& body) {
    const float dy = body.d[kY];
    const float e = LeadingEdge(body.pos[kY], dy, body.hh);
    const int32_t r = CellOfCoordinate(e);
    double m = dy > 0 ? 512 : 0;
    bool landed = false;
    for (int32_t i = -1; i <= 1; ++i) {
        for (int32_t j = -1; j <= 1; ++j) {
            float x, z;
            VerticalSample(body, body.hw - 1, i, j, x, z);
            const BlocStuff* bloc = nullptr;
            int32_t top = 0;
            // The point's cell is (x, r, z): its bloc and top there.
            if (!PointInCollidingBlockTop(x, e, z, bloc, top)) continue;
            landed = true;
            if (dy > 0) {
                m = std::min(m, static_cast<double>(bloc->Ymin) - body.hh - 1);
            } else {
                m = std::max(m, static_cast<double>(top) + body.hh + 1);
            }
        }
    }
    if (landed) {
        body.landed = true;
        body.pos[kY] = static_cast<float>(static_cast<double>(int64_t{r} * 512) + m);
    } else {
        body.pos[kY] = static_cast<float>(static_cast<double>(body.pos[kY]) + dy);
    }
}

// After a fall, the body's bottom rests on the highest floor under it.
void SettleOnFloor(Body& body) {
    if (body.d[kY] > 0) return;
    const int32_t b =
        CellOfCoordinate(static_cast<float>(static_cast<double>(body.pos[kY]) - body.hh));
    for (int32_t i = -1; i <= 1; ++i) {
        for (int32_t j = -1; j <= 1; ++j) {
            float x, z;
            VerticalSample(body, body.hw - 1, i, j, x, z);
            const float feet = static_cast<float>(static_cast<double>(body.pos[kY]) - body.hh);
            const BlocStuff* bloc = nullptr;
            int32_t found = 0;
            if (!PointInCollidingBlockTop(x, feet, z, bloc, found)) continue;
            body.landed = true;
            // The floor is the cell of row b under the sample; once the body has
            // risen the point may lie in the row above.
            double top = found;
            if (CellOfCoordinate(feet) != b) {
                const int32_t cx = CellOfCoordinate(x), cz = CellOfCoordinate(z);
                top = BlockTopHeight(cx, b, cz, static_cast<float>(LocalCoordinate(x, cx)),
                                     static_cast<float>(LocalCoordinate(z, cz)));
            }
            const double rest = static_cast<double>(int64_t{b} * 512) + top + body.hh;
            if (rest > body.pos[kY]) body.pos[kY] = static_cast<float>(rest);
        }
    }
}

// Y stays between 256 and the top of the grid; being held there is contact.
void HoldVertical(Body& body) {
    const float top = GridExtent(Level.SizeY);
    if (body.pos[kY] < 256) {
        body.pos[kY] = 256;
        body.landed = true;
    }
    if (body.pos[kY] > top) {
        body.pos[kY] = top;
        body.landed = true;
    }
}

void MoveVertical(Body& body) {
    body.landed = false;
    SweepVertical(body);
    LandVertical(body);
    SettleOnFloor(body);
    HoldVertical(body);
}

}  // namespace

bool BoxesOverlap(float ax, float ay, float az, float asx, float asy, float asz, float bx, float by,
                  float bz, float bsx, float bsy, float bsz) {
    return OverlapBoxes(ax, ay, az, asx, asy, asz, bx, by, bz, bsx, bsy, bsz, OverlapVolume);
}

bool MoveWithCollision(float& X, float& Y, float& Z, float vx, float vy, float vz, int32_t width,
                       int32_t height, int32_t step) {
    // Nothing but this move shapes cells until it returns.
    const ShapeQueryRun run;
    Body body{{{&X, &Y, &Z}}, {vx, vy, vz}, width, height, step, width / 2, height / 2};
    ResetResults(body);
    ClampVelocity(body);
    LocateBody(body);
    MeetTileAnimations(body);
    MeetMovingBlocs(body);
    ApplyConveyors(body);
    MoveHorizontal(body, kX, Level.SizeX);
    MoveHorizontal(body, kZ, Level.SizeZ);
    MoveVertical(body);
    return body.landed || body.contact;
}
