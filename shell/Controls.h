// Mouse buttons as the frame reads them: a click counts for exactly one frame.
#pragma once

#include <cstdint>

// Set by the main window's button events, cleared at the end of every frame.
extern uint8_t MouseLeftDown;
extern uint8_t MouseRightDown;
