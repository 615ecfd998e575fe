#include "game/world/BlocShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "game/level/BlocStuff.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"

std::array<TG3DMesh*, 6> CubeFaces{};

namespace {

// Corner (i, j, k) of a cell, each 0 (low side) or 1 (high side), as an index.
constexpr int32_t Corner(int32_t i, int32_t j, int32_t k) { return i + 2 * j + 4 * k; }
constexpr int32_t kCornerCount = 8;

// One of the six faces: its four corners and its two triangles.
struct FaceLayout {
    std::array<int32_t, 4> corners;
    std::array<uint16_t, 3> triangle1;
    uint16_t layout1;
    std::array<uint16_t, 3> triangle2;
    uint16_t layout2;
};

// Faces A (low Z), B (high X), C (high Z), D (low X), E (top), F (bottom).
constexpr std::array<FaceLayout, 6> kFaces = {{
    {{Corner(1, 1, 0), Corner(1, 0, 0), Corner(0, 0, 0), Corner(0, 1, 0)},
     {3, 0, 1},
     0,
     {1, 2, 3},
     1},
    {{Corner(1, 1, 0), Corner(1, 1, 1), Corner(1, 0, 1), Corner(1, 0, 0)},
     {0, 1, 2},
     0,
     {2, 3, 0},
     1},
    {{Corner(1, 1, 1), Corner(0, 1, 1), Corner(0, 0, 1), Corner(1, 0, 1)},
     {0, 1, 2},
     0,
     {2, 3, 0},
     1},
    {{Corner(0, 0, 1), Corner(0, 1, 1), Corner(0, 1, 0), Corner(0, 0, 0)},
     {1, 2, 3},
     0,
     {3, 0, 1},
     1},
    {{Corner(1, 1, 1), Corner(1, 1, 0), Corner(0, 1, 0), Corner(0, 1, 1)},
     {1, 2, 3},
     1,
     {3, 0, 1},
     0},
    {{Corner(0, 0, 1), Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 0, 1)},
     {1, 2, 3},
     0,
     {3, 0, 1},
     1},
}};

// Colour number every cube triangle starts with.
constexpr uint16_t kStartColour = 66;

// The eight corners of a cell, centred on it (±256 for an undeformed cube).
struct CubeCorners {
    std::array<int32_t, kCornerCount> x, y, z;
};

// A shaped cell: its corners and the bounds they give its type.
struct CubeShape {
    CubeCorners corners;
    int32_t Xmin, Xmax, Ymin, Zmin, Zmax, Ymax1, Ymax2, Ymax3, Ymax4;
};

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Trunc toward zero, held to 32 bits; a NaN (from a NaN point) gives 0.
int32_t TruncToInt(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// The corner coordinate, centred on the cell, that byte p gives on the low
// (side 0) or high (side 1) side of an axis: moved p % of a cell inward.
int32_t InwardCorner(int32_t side, int32_t p) {
    const int32_t shift = p * 512 / 100;
    return side == 0 ? shift - 256 : 256 - shift;
}

// Index of cell (x, y, z) of `level`, or -1 outside, for coordinates that may
// lie one past a 32-bit cell number.
int32_t CornerCellIndex(int64_t x, int64_t y, int64_t z, const LevelStuff& level) {
    if (x < 0 || y < 0 || z < 0 || x >= level.SizeX || y >= level.SizeY || z >= level.SizeZ) {
        return -1;
    }
    return CellIndex(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(z),
                     level);
}

void SetCorner(int32_t n, int32_t i, int32_t j, int32_t k, int32_t cell, const LevelStuff& level,
               CubeCorners& c) {
    c.x[n] = InwardCorner(i, cell < 0 ? 0 : level.CornerXLayer[cell]);
    c.y[n] = InwardCorner(j, cell < 0 ? 0 : level.CornerYLayer[cell]);
    c.z[n] = InwardCorner(k, cell < 0 ? 0 : level.CornerZLayer[cell]);
}

// Reads the corners of cell (x, y, z): corner (i, j, k) is the vertex stored
// by cell (x - 1 + i, y - 1 + j, z - 1 + k); cells outside the grid give 0.
void ReadCorners(int32_t x, int32_t y, int32_t z, const LevelStuff& level, CubeCorners& c) {
    if (x >= 1 && y >= 1 && z >= 1 && x < level.SizeX && y < level.SizeY && z < level.SizeZ) {
        // All eight corner cells lie inside: step through them from the first.
        const int32_t first = CellIndex(x - 1, y - 1, z - 1, level);
        const int64_t layer = int64_t{level.SizeX} * level.SizeY;
        for (int32_t k = 0; k < 2; ++k) {
            for (int32_t j = 0; j < 2; ++j) {
                for (int32_t i = 0; i < 2; ++i) {
                    const int64_t cell = first + i + j * int64_t{level.SizeX} + k * layer;
                    SetCorner(Corner(i, j, k), i, j, k, static_cast<int32_t>(cell), level, c);
                }
            }
        }
        return;
    }
    for (int32_t k = 0; k < 2; ++k) {
        for (int32_t j = 0; j < 2; ++j) {
            for (int32_t i = 0; i < 2; ++i) {
                const int32_t cell = CornerCellIndex(int64_t{x} - 1 + i, int64_t{y} - 1 + j,
                                                     int64_t{z} - 1 + k, level);
                SetCorner(Corner(i, j, k), i, j, k, cell, level, c);
            }
        }
    }
}

// Works out the shape of cell (x, y, z) of `level` from its corners.
void ComputeShape(int32_t x, int32_t y, int32_t z, const LevelStuff& level, CubeShape& s) {
    CubeCorners& c = s.corners;
    ReadCorners(x, y, z, level, c);
    s.Ymax1 = c.y[Corner(0, 1, 0)] + 256;
    s.Ymax2 = c.y[Corner(1, 1, 0)] + 256;
    s.Ymax3 = c.y[Corner(1, 1, 1)] + 256;
    s.Ymax4 = c.y[Corner(0, 1, 1)] + 256;
    const int32_t bottoms =
        c.y[Corner(0, 0, 0)] + c.y[Corner(1, 0, 0)] + c.y[Corner(1, 0, 1)] + c.y[Corner(0, 0, 1)];
    s.Ymin = bottoms / 4 + 256;
    s.Xmin = std::min({c.x[Corner(0, 0, 0)], c.x[Corner(0, 1, 0)], c.x[Corner(0, 0, 1)],
                       c.x[Corner(0, 1, 1)]}) +
             256;
    s.Xmax = std::max({c.x[Corner(1, 0, 0)], c.x[Corner(1, 1, 0)], c.x[Corner(1, 0, 1)],
                       c.x[Corner(1, 1, 1)]}) +
             256;
    s.Zmin = std::min({c.z[Corner(0, 0, 0)], c.z[Corner(1, 0, 0)], c.z[Corner(0, 1, 0)],
                       c.z[Corner(1, 1, 0)]}) +
             256;
    s.Zmax = std::max({c.z[Corner(0, 0, 1)], c.z[Corner(1, 0, 1)], c.z[Corner(0, 1, 1)],
                       c.z[Corner(1, 1, 1)]}) +
             256;
}

void ApplyBounds(const CubeShape& s, BlocStuff& bloc) {
    bloc.Xmin = s.Xmin;
    bloc.Xmax = s.Xmax;
    bloc.Ymin = s.Ymin;
    bloc.Zmin = s.Zmin;
    bloc.Zmax = s.Zmax;
    bloc.Ymax1 = s.Ymax1;
    bloc.Ymax2 = s.Ymax2;
    bloc.Ymax3 = s.Ymax3;
    bloc.Ymax4 = s.Ymax4;
}

// Writes the corners into the four vertices of each face mesh.
void PourCorners(const CubeCorners& c) {
    for (size_t m = 0; m < kFaces.size(); ++m) {
        TG3DMesh* mesh = CubeFaces[m];
        if (mesh == nullptr || mesh->X.size() < 4 || mesh->Y.size() < 4 || mesh->Z.size() < 4) {
            continue;
        }
        for (size_t v = 0; v < 4; ++v) {
            const int32_t n = kFaces[m].corners[v];
            mesh->X[v] = c.x[n];
            mesh->Y[v] = c.y[n];
            mesh->Z[v] = c.z[n];
        }
    }
}

CubeCorners UnitCorners() {
    CubeCorners c{};
    for (int32_t n = 0; n < kCornerCount; ++n) {
        c.x[n] = (n & 1) ? 256 : -256;
        c.y[n] = (n & 2) ? 256 : -256;
        c.z[n] = (n & 4) ? 256 : -256;
    }
    return c;
}

// The state of an open ShapeQueryRun: shapes worked out so far (a small table
// keyed by level and cell), the one CubeFaces are owed when the run ends, and
// which shape's bounds a type holds already.
struct QueryRunState {
    struct Entry {
        uint64_t run = 0;  // the run that worked it out
        const LevelStuff* level = nullptr;
        int32_t x = 0, y = 0, z = 0;
        CubeShape shape{};
    };
    static constexpr uint32_t kSlots = 32;
    bool open = false;
    uint64_t run = 0;  // number of the open run; entries of earlier runs are stale
    const CubeShape* owedFaces = nullptr;
    const Entry* last = nullptr;  // shaped last
    // appliedBloc holds the bounds of appliedShape.
    const BlocStuff* appliedBloc = nullptr;
    const CubeShape* appliedShape = nullptr;
    std::array<Entry, kSlots> entries{};

    Entry& SlotOf(int32_t x, int32_t y, int32_t z) {
        const uint32_t h = static_cast<uint32_t>(x) * 73856093u ^
                           static_cast<uint32_t>(y) * 19349663u ^
                           static_cast<uint32_t>(z) * 83492791u;
        return entries[(h * 2654435761u) >> 27];
    }
    bool Holds(const Entry& e, const LevelStuff& l, int32_t x, int32_t y, int32_t z) const {
        return e.run == run && e.level == &l && e.x == x && e.y == y && e.z == z;
    }
    // The entry holding the shape of cell (x, y, z), worked out when missing.
    const Entry& Find(int32_t x, int32_t y, int32_t z, const LevelStuff& level) {
        if (last != nullptr && Holds(*last, level, x, y, z)) return *last;
        Entry& entry = SlotOf(x, y, z);
        if (!Holds(entry, level, x, y, z)) {
            if (appliedShape == &entry.shape) appliedBloc = nullptr;
            ComputeShape(x, y, z, level, entry.shape);
            entry.run = run;
            entry.level = &level;
            entry.x = x, entry.y = y, entry.z = z;
        }
        last = &entry;
        return entry;
    }
};
static_assert(QueryRunState::kSlots == 32, "SlotOf takes the top 5 bits of the hash");

QueryRunState queryRun;

// ShapeCube when the cell is not the one an open run shaped last.
void ShapeCubeAnew(int32_t x, int32_t y, int32_t z, const LevelStuff& level, BlocStuff& bloc) {
    if (!queryRun.open) {
        CubeShape shape;
        ComputeShape(x, y, z, level, shape);
        ApplyBounds(shape, bloc);
        PourCorners(shape.corners);
        return;
    }
    const CubeShape& shape = queryRun.Find(x, y, z, level).shape;
    if (queryRun.appliedBloc != &bloc || queryRun.appliedShape != &shape) {
        ApplyBounds(shape, bloc);
        queryRun.appliedBloc = &bloc;
        queryRun.appliedShape = &shape;
    }
    queryRun.owedFaces = &shape;
}

// Shapes the Cube cell (x, y, z) of `level`, of type record `bloc`. In a run,
// the cell shaped last, whose bounds `bloc` still holds, needs nothing more.
inline void ShapeCube(int32_t x, int32_t y, int32_t z, const LevelStuff& level, BlocStuff& bloc) {
    const QueryRunState::Entry* last = queryRun.last;
    if (queryRun.open && last != nullptr && queryRun.Holds(*last, level, x, y, z) &&
        queryRun.appliedBloc == &bloc && queryRun.appliedShape == &last->shape &&
        queryRun.owedFaces == &last->shape) {
        return;
    }
    ShapeCubeAnew(x, y, z, level, bloc);
}

// Shapes cell (x, y, z) of `level` when it holds a Cube type; returns the
// type's record, or nullptr for a type outside 0..256.
BlocStuff* ShapeIfCube(int32_t x, int32_t y, int32_t z, LevelStuff& level) {
    const int32_t type = GetLevelCellType(x, y, z, level);
    if (!IsBlocType(type)) return nullptr;
    BlocStuff& bloc = level.Blocs[type];
    if (bloc.Cube) ShapeCube(x, y, z, level, bloc);
    return &bloc;
}

// Cell-local coordinate of world coordinate w in cell c.
double LocalCoordinate(float w, int32_t c) {
    return static_cast<double>(w) - static_cast<double>(int64_t{c} * 512);
}

// The point test shared by the Point* queries: `colliding` asks for the
// Collision flag; the vertical range is lowered by `margin`. When inside,
// `hit` gets the bloc and `top` its top height at the point.
bool PointInShape(float x, float y, float z, bool colliding, int32_t margin, const BlocStuff*& hit,
                  int32_t& top) {
    const int32_t cx = CellOfCoordinate(x);
    const int32_t cy = CellOfCoordinate(y);
    const int32_t cz = CellOfCoordinate(z);
    const int32_t i = CellIndex(cx, cy, cz, Level);
    if (i < 0) return false;
    const int32_t type = Level.CellTypes[i];
    if (!IsBlocType(type)) return false;
    BlocStuff& bloc = Level.Blocs[type];
    if (colliding && !bloc.Collision) return false;
    if (bloc.Cube) ShapeCube(cx, cy, cz, Level, bloc);
    const double lx = LocalCoordinate(x, cx);
    const double ly = LocalCoordinate(y, cy);
    const double lz = LocalCoordinate(z, cz);
    if (!(bloc.Xmin <= lx) || !(lx <= bloc.Xmax)) return false;
    if (!(static_cast<double>(int64_t{bloc.Ymin} - margin) <= ly)) return false;
    // Z before the top: the result is the same, and the top costs divisions.
    if (!(bloc.Zmin <= lz) || !(lz <= bloc.Zmax)) return false;
    top = BoundsTopHeight(bloc, static_cast<float>(lx), static_cast<float>(lz));
    if (!(ly <= static_cast<double>(int64_t{top} - margin))) return false;
    hit = &bloc;
    return true;
}

bool PointInShape(float x, float y, float z, bool colliding, int32_t margin) {
    const BlocStuff* hit = nullptr;
    int32_t top = 0;
    return PointInShape(x, y, z, colliding, margin, hit, top);
}

}  // namespace

void BuildCubeFaces() {
    for (size_t m = 0; m < kFaces.size(); ++m) {
        TG3DMesh*& mesh = CubeFaces[m];
        if (mesh == nullptr) G3DAllocMesh(mesh, 3, 1);
        if (mesh == nullptr || mesh->Faces.size() < 2) continue;
        const FaceLayout& face = kFaces[m];
        mesh->LastVertex = 3;
        mesh->LastFace = 1;
        mesh->Faces[0] = {face.triangle1[0], face.triangle1[1],
                          face.triangle1[2], kStartColour,
                          face.layout1,      0,
                          kG3DFaceFlat,      0};
        mesh->Faces[1] = {face.triangle2[0], face.triangle2[1],
                          face.triangle2[2], kStartColour,
                          face.layout2,      0,
                          kG3DFaceFlat,      0};
    }
    ResetBlocCube();
}

void ResetBlocCube() {
    // Faces owed by an open run would undo the reset when it ends.
    queryRun.owedFaces = nullptr;
    PourCorners(UnitCorners());
}

void ShapeCellBounds(int32_t x, int32_t y, int32_t z) { ShapeBlocCube(x, y, z, Level); }

void ShapeBlocCube(int32_t x, int32_t y, int32_t z, LevelStuff& level) {
    ShapeIfCube(x, y, z, level);
}

void SetBlocFaceTexture(int32_t face, uint16_t blocType, const LevelStuff& level) {
    if (face < 0 || face >= static_cast<int32_t>(CubeFaces.size()) || !IsBlocType(blocType)) {
        return;
    }
    TG3DMesh* mesh = CubeFaces[static_cast<size_t>(face)];
    if (mesh == nullptr || mesh->Faces.size() < 2) return;
    // FaceColor and FaceTexture only locate the field; nothing is written.
    BlocStuff& bloc = const_cast<BlocStuff&>(level.Blocs[blocType]);
    const int32_t value = HighTextures ? *bloc.FaceTexture(face) : *bloc.FaceColor(face);
    const uint16_t kind = HighTextures ? kG3DFaceTextured : kG3DFaceFlat;
    for (size_t t = 0; t < 2; ++t) {
        mesh->Faces[t].Texture = static_cast<uint16_t>(value);  // low 16 bits, as stored
        mesh->Faces[t].Kind = kind;
    }
}

int32_t BoundsTopHeight(const BlocStuff& bloc, float lx, float lz) {
    if (bloc.Undefined) return 512;
    // At a finite point an edge without slope gives its height exactly, as the
    // full sums below would (a level top needs no division at all).
    const bool finite = std::isfinite(lx) && std::isfinite(lz);
    const double zSpan = static_cast<double>(bloc.Zmax) - bloc.Zmin + 0.01;
    const double dz = static_cast<double>(lz) - bloc.Zmin;
    const int32_t high =
        finite && bloc.Ymax3 == bloc.Ymax2
            ? bloc.Ymax2
            : TruncToInt(dz * (static_cast<double>(bloc.Ymax3) - bloc.Ymax2) / zSpan + bloc.Ymax2);
    const int32_t low =
        finite && bloc.Ymax4 == bloc.Ymax1
            ? bloc.Ymax1
            : TruncToInt(dz * (static_cast<double>(bloc.Ymax4) - bloc.Ymax1) / zSpan + bloc.Ymax1);
    if (finite && high == low) return low;
    const double xSpan = static_cast<double>(bloc.Xmax) - bloc.Xmin + 0.01;
    return TruncToInt(
        (static_cast<double>(lx) - bloc.Xmin) * (static_cast<double>(high) - low) / xSpan + low);
}

int32_t BlockTopHeight(int32_t x, int32_t y, int32_t z, float lx, float lz) {
    const int32_t type = GetCellType(x, y, z);
    if (!IsBlocType(type)) return 512;  // no bloc type: nothing to stand on, as Undefined
    BlocStuff& bloc = Level.Blocs[type];
    if (bloc.Undefined) return 512;
    if (bloc.Cube) ShapeCube(x, y, z, Level, bloc);
    return BoundsTopHeight(bloc, lx, lz);
}

int32_t BlocTypeTopHeight(int32_t type, float lx, float lz) {
    if (!IsBlocType(type)) return 512;
    return BoundsTopHeight(Level.Blocs[type], lx, lz);
}

int32_t BlockTopHeightLess(int32_t x, int32_t y, int32_t z, float lx, float lz, int32_t margin) {
    return Saturate(int64_t{BlockTopHeight(x, y, z, lx, lz)} - margin);
}

int32_t BlockBottomLess(int32_t x, int32_t y, int32_t z, int32_t margin) {
    const BlocStuff* bloc = ShapeIfCube(x, y, z, Level);
    return Saturate(int64_t{bloc == nullptr ? 0 : bloc->Ymin} - margin);
}

bool PointInCollidingBlock(float x, float y, float z) { return PointInShape(x, y, z, true, 0); }

bool PointInBlock(float x, float y, float z) { return PointInShape(x, y, z, false, 0); }

bool PointInCollidingBlockMargin(int32_t margin, float x, float y, float z) {
    return PointInShape(x, y, z, true, margin);
}

bool IsCollidingCell(int32_t x, int32_t y, int32_t z) {
    const int32_t i = CellIndex(x, y, z, Level);
    if (i < 0) return false;
    const int32_t type = Level.CellTypes[i];
    return IsBlocType(type) && Level.Blocs[type].Collision;
}

bool PointInCollidingBlockTop(float x, float y, float z, const BlocStuff*& bloc, int32_t& top) {
    return PointInShape(x, y, z, true, 0, bloc, top);
}

const BlocStuff* CollidingBlocAt(int32_t x, int32_t y, int32_t z) {
    const int32_t i = CellIndex(x, y, z, Level);
    if (i < 0) return nullptr;
    const int32_t type = Level.CellTypes[i];
    if (!IsBlocType(type)) return nullptr;
    BlocStuff& bloc = Level.Blocs[type];
    if (!bloc.Collision) return nullptr;
    if (bloc.Cube) ShapeCube(x, y, z, Level, bloc);
    return &bloc;
}

ShapeQueryRun::ShapeQueryRun() : owner_(!queryRun.open) {
    if (!owner_) return;
    queryRun.open = true;
    queryRun.owedFaces = nullptr;
    queryRun.last = nullptr;
    queryRun.appliedBloc = nullptr;
    queryRun.appliedShape = nullptr;
    ++queryRun.run;
}

ShapeQueryRun::~ShapeQueryRun() {
    if (!owner_) return;
    if (queryRun.owedFaces != nullptr) PourCorners(queryRun.owedFaces->corners);
    queryRun.owedFaces = nullptr;
    queryRun.open = false;
}
