// PlayerD3D: the player over the software 3-D device's engine backend. The
// game folder is the current directory.
#include "shell/Program.h"

int main() { return RunPlayer("PlayerD3D", platform::Surface::Software); }
