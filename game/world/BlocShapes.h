// The solid shape of a bloc inside its grid cell, the point queries that
// collision, bloc dynamics, the scene frame and the drawing ask of it, and the
// six shared cube-face meshes with which every Cube cell is shaped and drawn.
// Bounds are cell-local integers (0 at the low face of the cell, 512 at the
// high face); a Cube type's bounds are shared scratch values that describe the
// cell shaped last.
#pragma once

#include <array>
#include <cstdint>

#include "engine/G3DMesh.h"

struct BlocStuff;
struct LevelStuff;

// The six faces of a Cube cell (A low Z, B high X, C high Z, D low X, E top,
// F bottom), 4 vertices and 2 triangles each, centred on the cell. Allocated
// once by BuildCubeFaces at start-up and kept for the whole run; reshaped by
// every shaping of a Cube cell and reset by the drawing at each frame.
extern std::array<TG3DMesh*, 6> CubeFaces;

// Allocates and fills CubeFaces (unit cube, colour 66, flat, layouts as the
// faces want them). A second call keeps the meshes and resets them.
void BuildCubeFaces();

// Puts the 24 vertices of CubeFaces back to the unit cube (±256); bounds stay.
void ResetBlocCube();

// When the cell of `Level` holds a Cube type: shapes CubeFaces and that type's
// bounds from the cell's eight corners (corner layers of the neighbour cells).
void ShapeCellBounds(int32_t x, int32_t y, int32_t z);

// The same, reading the cell's type and corner layers from `level`.
void ShapeBlocCube(int32_t x, int32_t y, int32_t z, LevelStuff& level);

// Texture (HighTextures set: kind textured) or colour (kind flat) of both
// triangles of face `face` (0..5) of CubeFaces, from bloc type `blocType` of
// `level`. Faces or types out of range do nothing.
void SetBlocFaceTexture(int32_t face, uint16_t blocType, const LevelStuff& level);

// Top height (cell-local) of the bloc in cell (x, y, z) of `Level` at local
// point (lx, lz): the bilinear surface through Ymax1..Ymax4; 512 for an
// Undefined type. A Cube cell is shaped first.
int32_t BlockTopHeight(int32_t x, int32_t y, int32_t z, float lx, float lz);

// The same from a type's current bounds, without a cell.
int32_t BlocTypeTopHeight(int32_t type, float lx, float lz);

// BlockTopHeight - margin.
int32_t BlockTopHeightLess(int32_t x, int32_t y, int32_t z, float lx, float lz, int32_t margin);

// The bottom (Ymin) of the cell's bloc - margin, a Cube shaped first.
int32_t BlockBottomLess(int32_t x, int32_t y, int32_t z, int32_t margin);

// True when world point (x, y, z) lies inside the shape of a Collision bloc of
// its cell; false outside the grid.
bool PointInCollidingBlock(float x, float y, float z);

// The same for the bloc of any type (Collision not asked).
bool PointInBlock(float x, float y, float z);

// As PointInCollidingBlock, with the vertical range lowered by `margin`
// (Ymin - margin .. top - margin): a point `margin` units higher is tested
// against the same cell.
bool PointInCollidingBlockMargin(int32_t margin, float x, float y, float z);

// True when cell (x, y, z) of `Level` holds a Collision type (never outside
// the grid nor for a value outside 0..256 in a damaged grid). Shapes nothing.
bool IsCollidingCell(int32_t x, int32_t y, int32_t z);

// The type of cell (x, y, z) of `Level` when IsCollidingCell, shaped first when
// it is a Cube; nullptr, shaping nothing, otherwise.
const BlocStuff* CollidingBlocAt(int32_t x, int32_t y, int32_t z);

// As PointInCollidingBlock; when true, also gives the bloc's record (its bounds
// as shaped for that cell) and its top height at the point (BlockTopHeight of
// the cell at the point's local x, z).
bool PointInCollidingBlockTop(float x, float y, float z, const BlocStuff*& bloc, int32_t& top);

// The top height at local (lx, lz) from the bounds `bloc` holds now; 512 for an
// Undefined type. BlockTopHeight is this after shaping the cell.
int32_t BoundsTopHeight(const BlocStuff& bloc, float lx, float lz);

// A run of shape queries during which nothing but the queries reads CubeFaces
// or changes the grid or the bloc types (one collision move). Inside it the
// shapes worked out are kept for the cells met again, and CubeFaces are
// written once, when the run ends, from the cell shaped last: bounds and faces
// end as if every query had shaped on its own. Runs do not nest (an inner one
// does nothing).
class ShapeQueryRun {
  public:
    ShapeQueryRun();
    ~ShapeQueryRun();
    ShapeQueryRun(const ShapeQueryRun&) = delete;
    ShapeQueryRun& operator=(const ShapeQueryRun&) = delete;

  private:
    bool owner_;
};
