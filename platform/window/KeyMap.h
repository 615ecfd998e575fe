// Translation of SDL key events into the Windows virtual-key codes the game
// stores in its key bindings and key-state array.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// Virtual-key codes that the shell's dialogs and shortcuts name.
namespace vk {
constexpr uint8_t kTab = 0x09, kShift = 0x10, kControl = 0x11, kAlt = 0x12, kSpace = 0x20,
                  kPageUp = 0x21, kPageDown = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25,
                  kUp = 0x26, kRight = 0x27, kDown = 0x28;
}  // namespace vk

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
