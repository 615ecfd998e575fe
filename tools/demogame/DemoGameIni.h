// game.ini of the demo game: window and controls ([General], [Control]) and the
// game's own constants ([Game]: title, fonts, HUD icons and layout, first
// level, camera limits, interface sounds).
#pragma once

#include <string>

namespace demo {

// Windows virtual-key codes of the demo's controls.
constexpr int kVkTab = 0x09, kVkReturn = 0x0D, kVkShift = 0x10, kVkControl = 0x11;
constexpr int kVkSpace = 0x20, kVkPageUp = 0x21, kVkPageDown = 0x22;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;
constexpr int kVkA = 0x41, kVkD = 0x44, kVkF = 0x46, kVkW = 0x57;

std::string GameIniText();

}  // namespace demo
