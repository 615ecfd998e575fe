// make_demo: writes the demo game folder, a small game made from source by
// this program, into the folder named on its command line.
#include <cstdio>
#include <string>

#include "tools/demogame/DemoGame.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo <folder>\n");
        return 2;
    }
    std::string error;
    if (!demo::MakeDemoGame(argv[1], error)) {
        std::fprintf(stderr, "make_demo: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
