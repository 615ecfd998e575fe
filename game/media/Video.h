// Full-window video: one file at a time decoded by the video service, its
// latest picture shown over the whole client area in place of the game's
// frame while VideoPlaying, its end seen by the frame's poll (looping or
// ending the video), and the engine rebuilt when it stops.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Window;
}

// A video plays (also one that could not be decoded, until the next poll
// ends it). Cleared at start-up and by StopVideo and EndVideo.
extern uint8_t VideoPlaying;

// Plays `file` over the window. A missing file shows "The video file "…" does
// not exist !" and starts nothing; a video playing already then stops without
// starting a next clip. Another video playing is replaced: only its decoder
// goes. A file that cannot be decoded counts as playing until the next poll.
void PlayVideo(const std::string& file, platform::Window& window);

// Ends the video: nothing unless one plays; the decoder goes, the engine is
// reset and the HUD and bloc textures loaded again, then, when NextClip is
// not -1, the music stops and the next clip starts.
void StopVideo(platform::Window& window);

// Ends the video at shutdown: the decoder goes, without an engine reset or a
// next clip.
void EndVideo();

// The video part of the frame's poll: decodes what is due; at the end of the
// stream loops it (LoopVideo) or stops it; a video that cannot be decoded
// stops and is never looped.
void PollVideo(platform::Window& window);

// Shows the video's latest picture stretched over the client area (nothing
// before its first picture).
void DrawVideoFrame(platform::Window& window);
