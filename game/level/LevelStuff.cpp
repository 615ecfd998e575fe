#include "game/level/LevelStuff.h"

#include "platform/fs/PathResolver.h"

LevelStuff Level;

std::string GameFolder;
std::string ProgramBaseName;
uint8_t DesignMode = 0;
uint8_t HighTextures = 0;
uint8_t GameWon = 0;
int32_t DepthOfView = 14;
int32_t VerticalDepthOfView = 14;

void ReleaseEntry(GolemStuff& golem) { G3DFreeMesh(golem.GolemMesh); }

void ReleaseEntry(TileAnimationStuff& row) { G3DFreeMesh(row.AnimMesh); }

namespace {

// The file name of `path` without its folder (either separator) and without a
// four-character extension such as ".exe".
std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && name[name.size() - 4] == '.') name.resize(name.size() - 4);
    return name;
}

}  // namespace

void InitGameGlobals(const std::string& programPath) {
    GameFolder = platform::fs::CurrentFolder();
    ProgramBaseName = BaseName(programPath);
    DepthOfView = 14;
    VerticalDepthOfView = 14;
    for (BlocStuff& bloc : Level.Blocs) {
        bloc.LoopSoundDue = 1;
        bloc.LoopSoundTime = 0;
    }
}
