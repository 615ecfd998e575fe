// Translation of SDL key events into the Windows virtual-key codes the game
// stores in its key bindings and key-state array.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// The virtual-key code of a key given by its SDL key code and scan code, or 0
// when the key has none. Letters follow the key code (the layout's letter, so
// AZERTY and QWERTY both give "A" for the key marked A); digits, the keypad
// and punctuation follow the scan code (the key's position); left and right
// modifiers fold into one code each.
uint8_t VirtualKeyOf(int32_t sdlKeycode, int sdlScancode);

// The virtual-key codes of the keys held down now, as the window system last
// told (whichever window had the keyboard): held[code] is true for each.
std::array<bool, 256> VirtualKeysHeld();

}  // namespace platform
