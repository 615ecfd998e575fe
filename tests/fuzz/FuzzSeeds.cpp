// fuzz_seeds: writes the fuzzers' seed corpus into the folder named on its
// command line, one subfolder per reader (mesh, pcx, wav, 3d, level), using
// the demo game's own writers so that the seeds are well-formed files.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "tools/demogame/DemoGame.h"
#include "tools/demogame/DemoLevels.h"
#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/DemoPictures.h"
#include "tools/demogame/DemoSounds.h"
#include "tools/demogame/FigureMeshes.h"
#include "tools/demogame/FontSheet.h"
#include "tools/demogame/LevelWriter.h"
#include "tools/demogame/MeshWriter.h"
#include "tools/demogame/PropMeshes.h"
#include "tools/demogame/WavWriter.h"

namespace {

bool Write(const std::string& path, const std::string& bytes) {
    if (platform::fs::WriteFileAtomic(path, bytes)) return true;
    std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", path.c_str());
    return false;
}

bool Folders(const std::string& root) {
    for (const char* sub : {"mesh", "pcx", "wav", "3d", "level"}) {
        if (!platform::fs::CreateFolders(root + "/" + sub)) return false;
    }
    return true;
}

bool Pictures(const std::string& root) {
    bool ok =
        Write(root + "/pcx/icon.pcx", demo::PcxFileBytes(demo::LifeIcon(), demo::DemoPalette()));
    ok = ok && Write(root + "/pcx/font.pcx",
                     demo::PcxFileBytes(demo::MakeFontSheet(demo::SmallFontStyle()),
                                        demo::DemoPalette()));
    const std::vector<demo::TexturePicture> textures = demo::TexturePictures();
    ok = ok && Write(root + "/pcx/texture.pcx",
                     demo::PcxFileBytes(textures.front().Picture, demo::DemoPalette()));
    return ok && Write(root + "/3d/world.3d", demo::ThreeDFileText());
}

bool MeshesAndSounds(const std::string& root) {
    bool ok = true;
    for (const auto& list : {demo::HeroMeshes(), demo::PropMeshes()}) {
        const demo::NamedMesh& m = list.front();
        ok = ok && Write(root + "/mesh/" + m.Name + ".msh", demo::MeshFileBytes(m.Mesh));
    }
    for (const demo::NamedSound& s : demo::DemoSounds()) {
        ok = ok && Write(root + "/wav/" + s.Name + ".wav", demo::WaveFileBytes(s.Samples));
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    if (!Folders(root) || !Pictures(root) || !MeshesAndSounds(root)) return 1;
    // A small level: the fuzzer spends its time in the tables and lists, not
    // in megabytes of cells.
    demo::LevelPlan small(2, 2, 2);
    small.Put(0, 0, 0, 1);
    const bool ok = demo::WriteLevelPlan(small, root + "/level/small.lvl") &&
                    demo::WriteLevelPlan(demo::Level2Plan(), root + "/level/demo2.lvl");
    return ok ? 0 : 1;
}
