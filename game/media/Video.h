// Full-window video: one file at a time decoded by the video service, its
// latest picture shown over the whole client area in place of the game's
// frame while VideoPlaying, its end told to the frame's poll (whether to loop
// it or end it is the clip code's to do), and the engine rebuilt when it
// stops.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Window;
}

// A video plays (also one that could not be decoded, until the next poll
// ends it). Cleared at start-up and by StopVideo and EndVideo.
extern uint8_t VideoPlaying;
// The loop flag of the clip whose video plays; set before it starts.
extern uint8_t LoopVideo;

// What the poll found at the video's end.
enum class VideoEnd : uint8_t {
    None,  // it plays on (or none plays)
    Loop,  // the stream reached its end and LoopVideo asks for it again
    Stop,  // the stream reached its end, or cannot be decoded: it is over
};

// Plays `file` over the window. A missing file shows "The video file "…" does
// not exist !" and starts nothing; a video playing already then stops (as
// CloseVideo does). Another video playing is replaced: only its decoder
// goes. A file that cannot be decoded counts as playing until the next poll.
void PlayVideo(const std::string& file, platform::Window& window);

// Ends the video: false, and nothing done, unless one plays; the decoder
// goes, the engine is reset and the HUD and bloc textures loaded again.
bool CloseVideo(platform::Window& window);

// Ends the video at shutdown: the decoder goes, without an engine reset or a
// next clip.
void EndVideo();

// The video part of the frame's poll: decodes what is due and tells whether
// the stream has ended; a video that cannot be decoded is over at once and
// never looped. It starts and stops nothing itself.
VideoEnd PollVideo();

// Plays the video again from its first picture.
void RestartVideo();

// Shows the video's latest picture stretched over the client area (nothing
// before its first picture).
void DrawVideoFrame(platform::Window& window);
