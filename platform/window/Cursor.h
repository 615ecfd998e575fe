// The mouse cursor of the player's windows: shown or hidden, and where it is
// on the screen (read and moved by the mouse mode, which holds it in the
// window).
#pragma once

namespace platform {

void ShowSystemCursor(bool visible);
bool SystemCursorShown();

// The cursor's position in screen pixels.
void CursorScreenPosition(int& x, int& y);
// Moves the cursor to a position in screen pixels.
void MoveCursorTo(int x, int y);

}  // namespace platform
