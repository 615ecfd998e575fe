// Joystick 1 over SDL's joystick service, in the shape the game reads it:
// axes from 0 to 65535 and the first four buttons as a bit mask.
#pragma once

#include <cstdint>

namespace platform {

struct JoystickCaps {
    uint32_t xMin = 0, xMax = 65535, yMin = 0, yMax = 65535;
};

struct JoystickPosition {
    uint32_t x = 0, y = 0;
    uint32_t buttons = 0;  // bit 0 = button 1 ... bit 3 = button 4
};

// Opens the first joystick SDL knows; false when there is none.
bool OpenJoystick1(JoystickCaps& caps);
// Reads joystick 1 now; false when it is not there (any more).
bool ReadJoystick1(JoystickPosition& position);
// Releases joystick 1.
void CloseJoystick1();

}  // namespace platform
