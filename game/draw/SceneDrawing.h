// One frame of 3-D drawing of a level seen from a camera: the world animation
// first, the clear and the sky, then every tile animation, golem, moving bloc
// and grid cell within the view distances into the engine's render list, lit
// from the light layer and fading with distance; loop sounds start on the way.
// The render list is left unflushed for the caller's own meshes.
#pragma once

#include <cstdint>

struct LevelStuff;
struct TDStuff;

namespace platform {
class Window;
}

// Draws `level` from camera (cameraX, cameraY, cameraZ) with angles yaw,
// pitch, roll (engine units); objects fade out at `lightRange` world units; a
// diggable bloc in cell (targetX, targetY, targetZ) is drawn darker.
void DrawScene(int32_t targetX, int32_t targetY, int32_t targetZ, float cameraX, float cameraY,
               float cameraZ, float yaw, float pitch, float roll, float lightRange,
               LevelStuff& level, TDStuff& engine, platform::Window& owner);

// The distance at which objects have faded out: `lightRange`, raised to 0.01
// when it is 0.01 or less (or not a number).
float FadeRange(float lightRange);

// Transparency in percent of an object of `transparency` at `distance` world
// units when objects fade out at `range` (FadeRange): it starts to fade at two
// thirds of the range and is gone at the range; at most 255.
int32_t DistanceFade(double distance, double range, int32_t transparency);

// The scene light's radius held to what the engine can store (radius + 1
// inside 32 bits).
int32_t SceneLightRadius(int64_t radius);
