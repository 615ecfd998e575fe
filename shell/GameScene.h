// The 3-D part of a play-mode frame: target cell, clip zones, the camera
// behind the hero or at a camera point, the scene, heroes and shadows, the
// level banner, the frame's damage to the hero, the won test and the sound
// update; and the present of the finished frame.
#pragma once

#include <cstdint>

namespace platform {
class Window;
}

// Largest overlap volume with a colliding moving bloc during the hero's last
// move; set by the play frame, read by HeroDamage.
extern float HeroCarryOverlap;

// The level-title banner started by a level change.
struct LevelBannerStuff {
    float y = 0;            // vertical offset
    int32_t startTime = 0;  // FrameTime when it started
    uint8_t on = 0;
};
extern LevelBannerStuff LevelBanner;

// One play-mode scene frame (camera, scene, heroes, shadows, banner, damage,
// death and won tests, sound update).
void RenderGameFrame(platform::Window& owner);

// Applies this frame's health change to the current hero; true when its health
// is below 0.
bool HeroDamage();

// Draws hero `heroIndex`'s shadow mesh on the highest floor below (x, y, z).
void DrawOnFloor(int32_t heroIndex, float transparency, float x, float y, float z, float yaw);

// Shows the engine's frame centred in the window's client area.
void PresentFrame(platform::Window& form);
