#include "platform/joystick/Joystick.h"

#include <SDL.h>

namespace platform {
namespace {

SDL_Joystick*& Joystick1() {
    static SDL_Joystick* joystick = nullptr;
    return joystick;
}

// SDL axes run from -32768 to 32767; the game expects 0 to 65535.
uint32_t ScaleAxis(Sint16 value) {
    return static_cast<uint32_t>(static_cast<int32_t>(value) + 32768);
}

}  // namespace

bool OpenJoystick1(JoystickCaps& caps) {
    caps = JoystickCaps{};
    CloseJoystick1();
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return false;
    if (SDL_NumJoysticks() < 1) return false;
    Joystick1() = SDL_JoystickOpen(0);
    return Joystick1() != nullptr;
}

bool ReadJoystick1(JoystickPosition& position) {
    SDL_Joystick* joystick = Joystick1();
    if (joystick == nullptr) return false;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick)) return false;
    position.x = ScaleAxis(SDL_JoystickGetAxis(joystick, 0));
    position.y = ScaleAxis(SDL_JoystickGetAxis(joystick, 1));
    position.buttons = 0;
    const int count = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < 4 && i < count; ++i) {
        if (SDL_JoystickGetButton(joystick, i)) position.buttons |= 1u << i;
    }
    return true;
}

void CloseJoystick1() {
    if (Joystick1() != nullptr) {
        if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) SDL_JoystickClose(Joystick1());
        Joystick1() = nullptr;
    }
}

}  // namespace platform
