#include "platform/window/Cursor.h"

#include <SDL.h>

namespace platform {

void ShowSystemCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

bool SystemCursorShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

void CursorScreenPosition(int& x, int& y) { SDL_GetGlobalMouseState(&x, &y); }

void MoveCursorTo(int x, int y) { SDL_WarpMouseGlobal(x, y); }

}  // namespace platform
