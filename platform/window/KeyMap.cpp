#include "platform/window/KeyMap.h"

#include <SDL.h>

namespace platform {
namespace {

struct ScanEntry {
    SDL_Scancode scancode;
    uint8_t vk;
};

// Keys identified by their position on the keyboard.
constexpr ScanEntry kByScancode[] = {
    // Top-row digits (AZERTY types symbols there unshifted: the position counts).
    {SDL_SCANCODE_1, '1'},
    {SDL_SCANCODE_2, '2'},
    {SDL_SCANCODE_3, '3'},
    {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},
    {SDL_SCANCODE_6, '6'},
    {SDL_SCANCODE_7, '7'},
    {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'},
    {SDL_SCANCODE_0, '0'},
    // Keypad.
    {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_KP_1, 97},
    {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},
    {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},
    {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    // Punctuation keys, by their place on a US keyboard.
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSHASH, 220},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
    // Editing and navigation.
    {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_RETURN2, 13},
    {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_CLEAR, 12},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    // Modifiers: left and right give the same code.
    {SDL_SCANCODE_LSHIFT, 16},
    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},
    {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},
};

}  // namespace

uint8_t VirtualKeyOf(int32_t sdlKeycode, int sdlScancode) {
    // Letters as the layout names them.
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z)
        return static_cast<uint8_t>('A' + (sdlKeycode - SDLK_a));
    // Function keys F1..F24.
    if (sdlScancode >= SDL_SCANCODE_F1 && sdlScancode <= SDL_SCANCODE_F12)
        return static_cast<uint8_t>(112 + (sdlScancode - SDL_SCANCODE_F1));
    if (sdlScancode >= SDL_SCANCODE_F13 && sdlScancode <= SDL_SCANCODE_F24)
        return static_cast<uint8_t>(124 + (sdlScancode - SDL_SCANCODE_F13));
    for (const ScanEntry& entry : kByScancode) {
        if (entry.scancode == sdlScancode) return entry.vk;
    }
    // A letter key whose layout types no Latin letter: its position decides.
    if (sdlScancode >= SDL_SCANCODE_A && sdlScancode <= SDL_SCANCODE_Z)
        return static_cast<uint8_t>('A' + (sdlScancode - SDL_SCANCODE_A));
    return 0;
}

std::array<bool, 256> VirtualKeysHeld() {
    std::array<bool, 256> held{};
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int s = 0; state != nullptr && s < count; ++s) {
        if (state[s] == 0) continue;
        const auto scancode = static_cast<SDL_Scancode>(s);
        if (const uint8_t vk = VirtualKeyOf(SDL_GetKeyFromScancode(scancode), scancode))
            held[vk] = true;
    }
    return held;
}

}  // namespace platform
