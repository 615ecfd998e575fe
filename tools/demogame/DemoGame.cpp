#include "tools/demogame/DemoGame.h"

#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoDictionary.h"
#include "tools/demogame/DemoGameIni.h"
#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoLevels.h"
#include "tools/demogame/DemoMedia.h"
#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/DemoPictures.h"
#include "tools/demogame/DemoSounds.h"
#include "tools/demogame/FigureMeshes.h"
#include "tools/demogame/FontSheet.h"
#include "tools/demogame/LevelWriter.h"
#include "tools/demogame/MeshWriter.h"
#include "tools/demogame/PcxWriter.h"
#include "tools/demogame/PropMeshes.h"
#include "tools/demogame/ScriptProps.h"
#include "tools/demogame/WavWriter.h"

namespace demo {

namespace {
// Writes files under one root folder and remembers the first failure.
class GameWriter {
  public:
    GameWriter(const std::string& root, std::string& error) : root_(root), error_(error) {}

    bool Ok() const { return error_.empty(); }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

    void Folder(const std::string& relative) {
        if (Ok() && !platform::fs::CreateFolders(Path(relative))) {
            error_ = "cannot create the folder " + Path(relative);
        }
    }
    void File(const std::string& relative, const std::string& bytes) {
        if (Ok() && !platform::fs::WriteFileAtomic(Path(relative), bytes)) {
            error_ = "cannot write " + Path(relative);
        }
    }
    void Picture(const std::string& relative, const IndexedPicture& picture) {
        File(relative, PcxFileBytes(picture, DemoPalette()));
    }

  private:
    std::string root_;
    std::string& error_;
};

void WriteFolders(GameWriter& w) {
    for (const char* folder : {"", "LEVEL", "CURRENT_GAME", "SAVEGAME", "Textures", "Meshes",
                               "Sounds", "Hud", "Fonts", "Definitions", "Media"}) {
        w.Folder(folder);
    }
}

void WritePictures(GameWriter& w) {
    w.Picture(kSmallFontFile, MakeFontSheet(SmallFontStyle()));
    w.Picture(kBigFontFile, MakeFontSheet(BigFontStyle()));
    w.Picture(HudFile("Life"), LifeIcon());
    w.Picture(HudFile("Golem"), GolemIcon());
    w.Picture(HudFile("Cross"), CrossIcon());
    w.Picture(HudFile("Key"), KeyIcon());
    w.Picture(HudFile("Gem"), GemIcon());
    w.Picture(HudFile("Coin"), CoinIcon());
    w.Picture(HudFile("Bolt"), BoltIcon());
    for (const TexturePicture& t : TexturePictures()) w.Picture(TextureFile(t.Name), t.Picture);
    w.File(k3DFile, ThreeDFileText());
}

void WriteMeshesAndSounds(GameWriter& w) {
    for (const auto& list : {HeroMeshes(), GolemMeshes(), PropMeshes(), ScriptPropMeshes()}) {
        for (const NamedMesh& m : list) w.File(MeshFile(m.Name), MeshFileBytes(m.Mesh));
    }
    for (const NamedSound& s : DemoSounds()) w.File(SoundFile(s.Name), WaveFileBytes(s.Samples));
}

void WriteMedia(GameWriter& w, std::string& error) {
    std::vector<MediaFile> files;
    if (!w.Ok() || !DemoMediaFiles(files, error)) return;
    for (const MediaFile& f : files) w.File(f.File, f.Bytes);
}

void WriteLevels(GameWriter& w, std::string& error) {
    const LevelPlan plans[kLevelCount] = {Level1Plan(), Level2Plan()};
    for (int i = 0; i < kLevelCount && w.Ok(); ++i) {
        if (!WriteLevelPlan(plans[i], w.Path(LevelFile(i + 1)))) {
            error = "cannot write " + w.Path(LevelFile(i + 1));
        }
    }
}
}  // namespace

std::string ThreeDFileText() {
    std::string text = "#IMAGES\r\n";
    const std::vector<TexturePicture> pictures = TexturePictures();
    for (size_t i = 0; i < pictures.size(); ++i) {
        text += std::to_string(i) + " = " + TextureRef(pictures[i].Name) + "\r\n";
    }
    text += "\r\n#TEXTURES\r\n";
    for (const TextureRange& r : TextureRanges()) {
        text += std::to_string(r.Texture) + "=" + std::to_string(r.First) + "-" +
                std::to_string(r.Last) + "\r\n";
    }
    return text;
}

bool MakeDemoGame(const std::string& folder, std::string& error) {
    error.clear();
    GameWriter w(folder, error);
    WriteFolders(w);
    w.File("game.ini", GameIniText());
    w.File(kDictionaryFile, DictionaryText());
    w.File(kHelpFile, HelpText());
    WritePictures(w);
    WriteMeshesAndSounds(w);
    WriteMedia(w, error);
    w.File(kDefinitionFile, DefinitionText());
    if (w.Ok()) WriteLevels(w, error);
    return w.Ok();
}

}  // namespace demo
