// The render list: meshes turned, placed relative to the camera, stripped of
// back faces, lit per vertex and appended as triangles; point lights; the depth
// sort; and the flush that hands the sorted list to the backend.
#pragma once

#include <cstdint>

#include "engine/G3DMesh.h"
#include "engine/G3DState.h"

// Appends the mesh's visible triangles, the mesh placed at (x, y, z) and turned
// by yaw (about Y, towards -X), then pitch (about X), then roll (about Z).
// brightness 0..255 is the light of its own; transparency is in percent.
// Triangles past the render list's capacity are dropped.
void G3DDrawMesh(const TG3DMesh* mesh, int32_t x, int32_t y, int32_t z, int32_t yaw, int32_t roll,
                 int32_t pitch, int32_t brightness, int32_t transparency, int32_t unused,
                 TDStuff& state);

// Adds a point light at (x, y, z) div 256 with radius + 1; ignored when 256
// lights are set or the radius would not be positive.
void G3DAddLight(int32_t x, int32_t y, int32_t z, int32_t radius, TDStuff& state);

// Light 0..1 at a camera-relative point: own / 256 plus, for every light,
// 1 - min(1, (Round(distance) + 1) / radius), clamped to 0..1. Without lights
// the result is own / 256, not clamped.
float G3DLightAt(int32_t own, const TDStuff& state, float x, float y, float z);

// Sorts SortBuffer[low..high] by key, largest first (quicksort with the last
// entry as pivot; recursion only into the smaller part).
void G3DSortTriangles(int32_t low, int32_t high, TDStuff& state);

// Sorts the render list farthest first, draws it through the backend and
// empties list and lights.
void G3DFlush(TDStuff& state);
