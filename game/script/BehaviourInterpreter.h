// The behaviour interpreter: once per play frame, one step of every live
// behaviour instance of the level, in list order, each seeing what the ones
// before it did. A step recomputes the instance's cell from its moving bloc
// and executes at most one command, which either moves the program counter on
// or leaves it (a wait), to be tried again in the next frame. Time is
// FrameTime, the game time at the start of the frame.
//
// What indexes a table is checked first: an instance whose program counter
// has left 0..256 does nothing any more, one whose behaviour number is
// outside 0..255 idles while it stays so (a TRANSFORMBEHAVIOUR or a hit may
// bring it back), and cells outside the grid read as empty and take no
// writes.
#pragma once

struct LevelStuff;

namespace platform {
class Window;
}

// One step of every live instance of `level` (the level the bloc dynamics
// work on, `Level`); clips start in `form`.
void RunBehaviours(LevelStuff& level, platform::Window& form);
