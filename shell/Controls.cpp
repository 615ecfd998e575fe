#include "shell/Controls.h"

uint8_t MouseLeftDown = 0;
uint8_t MouseRightDown = 0;
