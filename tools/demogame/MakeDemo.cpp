// make_demo: writes the demo game folder, a small game made from source by
// this program, into the folder named on its command line.
#include <cstdio>
#include <string>

#include "platform/fs/FileSystem.h"

namespace {

bool MakeFolders(const std::string& root) {
    for (const char* sub : {"", "/LEVEL", "/CURRENT_GAME", "/SAVEGAME"}) {
        if (!platform::fs::CreateFolders(root + sub)) {
            std::fprintf(stderr, "make_demo: cannot create %s%s\n", root.c_str(), sub);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo <folder>\n");
        return 2;
    }
    return MakeFolders(argv[1]) ? 0 : 1;
}
