// PlayerGL: the player over the OpenGL engine backend. The game folder is the
// current directory.
#include "shell/Program.h"

int main() { return RunPlayer("PlayerGL", platform::Surface::OpenGL); }
