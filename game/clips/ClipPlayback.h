// Starting clips and running key-frame cut-scenes frame by frame. Music, video
// and speech are started through the media layer, and what follows the end of
// a video or of looping music is chosen here; message clips run beside the
// game and are drawn by the frame loop.
#pragma once

#include <array>
#include <cstdint>

struct LevelStuff;
struct TDStuff;
class TSoundBuffer;

namespace platform {
class Window;
}

// Clip state, one instance for the run; a mode change and StopAllMusic end
// what they say.
extern int32_t CurrentClip;              // the media clip whose music or cut-scene runs; -1 none
extern uint8_t KeyFramesRunning;         // a cut-scene runs
extern int32_t KeyFrameIndex;            // current key frame of CurrentClip, 0..32
extern int32_t KeyFrameStart;            // FrameTime when that key frame began
extern std::array<float, 6> ClipCamera;  // the cut-scene camera of this frame
extern int32_t NextClip;                 // started when the cut-scene or video ends; -1 none
extern int32_t MessageClip;              // the message clip on screen; -1 none
extern int32_t MessageClipStart;         // FrameTime when it started
// Set while the title clip (34) is the one started last: a new game may start.
// Cleared by any other PlayClip and by every mode change.
extern uint8_t TitleClipRunning;
// The message clip's sound, owned; replaced by the next message clip with a WAV.
extern TSoundBuffer* MessageSound;

// Starts clip `n` (0..35); -1 and numbers outside -1..35 do nothing.
void PlayClip(int32_t n, platform::Window& window);

// Stops the music (StopClipMusic) and ends the current clip and the cut-scene
// (CurrentClip -1, KeyFramesRunning 0).
void StopAllMusic();

// Ends the video (CloseVideo); when one played and NextClip is not -1, the
// music stops and the next clip starts.
void StopVideo(platform::Window& window);

// Once per game frame: the end of the video (looped, or ended as StopVideo
// ends it), then the end of looping music: its clip is played again whole
// when it is the current clip and no cut-scene runs; otherwise only its music
// starts again, leaving the running cut-scene, its key frames and NextClip.
void PollMedia(platform::Window& window);

// One cut-scene step and its frame; nothing while no cut-scene runs.
void AdvanceClip(LevelStuff& level, TDStuff& engine, platform::Window& window);

// Draws the cut-scene frame of the current key frame from the given camera,
// with `ambient` percent of the hero's light range.
void DrawClipFrame(LevelStuff& level, TDStuff& engine, platform::Window& window, float ambient,
                   float cameraX, float cameraY, float cameraZ, float yaw, float pitch, float roll);
