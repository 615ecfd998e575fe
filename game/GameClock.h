// The game's clock: scaled milliseconds of game time, advanced once per frame
// from the system tick count, saved in level-state files and restored when a
// level is read. Simulation rates are given per 90 ms and turned into this
// frame's amounts by FrameStepScale.
#pragma once

#include <cstdint>

// Game time in milliseconds. Set by the level reader and the save-game loader,
// otherwise only advanced.
extern float GameTime;
// System tick count at the previous AdvanceGameTime (0 before the first).
extern uint32_t LastTickCount;
// Whole milliseconds of game time at the start of the current frame.
extern int32_t FrameTime;
// Milliseconds of game time since the previous frame: at least 1 as the frame
// loop sets it, at most 150 once FrameStepScale has run in the frame.
extern int32_t FrameStep;

// GameTime truncated towards zero to whole milliseconds.
int32_t GameTimeMs();

// Adds the real time since the previous call, times factor, to GameTime.
void AdvanceGameTime(double factor);

// This frame's amount of a per-90-ms quantity x; caps FrameStep at 150 first.
float FrameStepScale(float x);

// Starts frame timing afresh after a load or a mode change.
void ResetFrameStep();

// The frame loop's step: FrameStep := time since FrameTime (at least 1), then
// FrameTime := now.
void StartFrameStep();
