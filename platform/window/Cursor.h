// The mouse cursor of the player's windows.
#pragma once

namespace platform {

void ShowSystemCursor(bool visible);
bool SystemCursorShown();

}  // namespace platform
