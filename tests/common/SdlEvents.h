// Mouse events put into the window system's queue as a user's would be.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace testutil {

// Button `button` pressed (SDL_MOUSEBUTTONDOWN) or released (SDL_MOUSEBUTTONUP)
// at (x, y) of the window with id `window`.
inline void PushButton(uint32_t type, uint8_t button, int x, int y, uint32_t window) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = window;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

// The pointer moved to (x, y) and button `button` pressed and released there.
inline void PushClick(int x, int y, uint32_t window, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = window;
    move.motion.x = x;
    move.motion.y = y;
    SDL_PushEvent(&move);
    for (const uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
        PushButton(type, button, x, y, window);
}

}  // namespace testutil
