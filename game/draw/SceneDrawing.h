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
