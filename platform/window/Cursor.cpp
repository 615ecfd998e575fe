#include "platform/window/Cursor.h"

#include <SDL.h>

namespace platform {

void ShowSystemCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

bool SystemCursorShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

}  // namespace platform
