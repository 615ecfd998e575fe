// fuzz_seeds: writes the fuzzers' seed corpus into the folder named on its
// command line, one subfolder per reader (mesh, pcx, wav, 3d, level,
// levelstate, ini, gameini, definition), using the demo game's own writers so that the seeds
// are well-formed files, plus a few small hand-written texts with CR LF, LF
// and CR line ends, "\" paths and odd letter case.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "tests/fuzz/LevelStateInput.h"
#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoGame.h"
#include "tools/demogame/DemoGameIni.h"
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
    for (const char* sub :
         {"mesh", "pcx", "wav", "3d", "level", "levelstate", "ini", "gameini", "definition"}) {
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

// INI texts: comments, blank lines, keys before any section, a section
// repeated in another letter case, values with "=", "\" paths, numbers in
// every form, a NUL that ends the text.
const char kIniOddities[] =
    "; settings\r\norphan=1\r\n[General]\r\nTop=10\r\n left = 20 \r\n\r\n[general]\r\n"
    "Top=99\r\n[Paths]\r\nData=DATA\\Levels\\One.LVL\r\nEmpty=\r\n=novalue\r\nnoequals\r\n"
    "k = v = w\r\n";
const char kIniNumbers[] =
    "[A]\nx=1\n[a]\ny=2\n[B]\rz=0x1F\rw=$FFFFFFFF\rn=-2147483648\r\n[C]\nf=-1.5e3\n"
    "g=.5\nb=TRUE\n\t[ D ]\t\n[E]]\n[]\nq=\x01\x02\n";
const char kIniNul[] = "[X]\r\nk=v\r\n\0[Y]\r\nj=1\r\n";

// game.ini texts: sections and paths in other letter cases, numbers in hex,
// LF-only lines and values out of their useful ranges.
const char kGameIniOddCase[] =
    "[general]\r\nWidth=800\r\nHeight=600\r\nFullscreen=1\r\nMouseMode=$1\r\n"
    "[CONTROL]\r\nKeyWeapon=0x57\r\nKeyLookUp=300\r\n"
    "[game]\r\nSmallFontBitmap=fonts\\SMALLFONT.pcx\r\nSmallFontWidth=5\r\n"
    "SmallFontHeight=7\r\nBigFontBitmap=FONTS\\bigfont.PCX\r\nBigFontWidth=10\r\n"
    "BigFontHeight=15\r\nLifeIcon=hud\\LIFE.pcx\r\nGolemIcon=Hud\\golem.PCX\r\n"
    "CrossIcon=HUD\\CROSS.PCX\r\nIntroMusic=Music\\Intro.MOD\r\nLifeLeft=0.5\r\n"
    "TimerHealth=1e1\r\nGameTitle=Odd Case\r\n";
const char kGameIniRanges[] =
    "[Game]\nSmallFontWidth=-3\nBigFontHeight=0\nSmallFontBitmap=Hud\\Life.pcx\n"
    "LifeLeft=abc\nStartSaveNumber=-1\n[General]\nWidth=-1\nDepthOfView=2147483647\n";

// Definition texts: a Root folder with ".." paths, cube and mesh types, a
// golem, behaviours and clips with keywords in other letter cases.
const char kDefinitionRoot[] =
    "[General]\r\nRoot=meshes\r\nTexture=..\\TEXTURES\\World.3d\r\nHero=hero.MSH\r\n"
    "Shadow=SHADOW.msh\r\nSky_0_Object=gem1.msh\r\nJumpSound=..\\sounds\\jump.WAV\r\n"
    "MeshSpeed=0.5\r\n\r\n[Object 1]\r\nCube=true\r\nFaceAColor=16\r\n"
    "InventoryIcon=..\\hud\\gem.pcx\r\n[Object 2]\r\nCube=FALSE\r\nMesh1=DOOR_WOOD.MSH\r\n"
    "Mesh2=door_open1.msh\r\nYmax=300\r\nSpeed=2\r\nDoor=True\r\nDefaultBehaviour=0\r\n"
    "Golem=TRUE\r\nMeshWalk1=golem_walk1.msh\r\nStepSound=..\\Sounds\\step.wav\r\n"
    "[Behaviour 0]\r\nName=Lift\r\n0=moveto (0,1,0),90,500\r\n1=Delay 200\r\n2=GOTO 0\r\n"
    "3=waitforplayer (-1,-1,-1),(1,1,1)\r\n4=PutLight 50,(0,0,0),(2,2,2)\r\n"
    "5=MOVENEARPLAYER (0,0,0),(3,3,3),180,1\r\n6=PlayTileAnimation (1,0,1),2\r\n"
    "[Clip 0]\r\nName=Intro\r\nCutscene=TRUE\r\nObject_0=CRATE.msh\r\n"
    "Frame_0_A=(0,0,0),(0,0,0)\r\nFrame_0_B=(100,0,0),(0,0,0)\r\nFrame_0_Duration=1000\r\n"
    "Frame_0_Mesh_0_Index_A=0\r\nFrame_0_Mesh_0_A=(0,0,0),(0,0,0)\r\n"
    "Frame_0_Mesh_0_Index_B=40\r\n[Clip 1]\r\nDisplayedMessage=Hello\r\n"
    "DisplayedBitmap=..\\Hud\\Key.pcx\r\n";
const char kDefinitionScripts[] =
    "[behaviour 5]\nName=x\n0=giveobjecttoplayer 3,2\n256=GameOver\n00=goto 1\n"
    "1=opendoor 2,(0,0,0),(1,1,1)\n2=SetSky 300\n[Behaviour 255]\nName=y\n"
    "0=addrotationabsolute -5,(1,2,3),(4,5,6)\n[object 256]\nCube=TRUE\n";

// The seed file of one section: "[Object 20]" gives "object20.def".
std::string SectionSeedName(const std::string& section) {
    std::string name;
    for (char c : section) {
        if (c >= 'A' && c <= 'Z') name += static_cast<char>(c - 'A' + 'a');
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) name += c;
    }
    return name + ".def";
}

// The demo definition cut into its sections, each a definition of its own,
// and its 3-D file named alone: every input then loads a few files at most.
// Whole, the definition names 133 files, and the inputs made from it and
// with it (up to its length) would take most of the fuzzer's time.
bool DefinitionSections(const std::string& root) {
    std::string text = demo::DefinitionText();
    const size_t texture = text.find("Texture=");
    if (texture != std::string::npos) {
        const size_t end = text.find('\n', texture) + 1;
        if (!Write(root + "/definition/texture.def",
                   "[General]\r\n" + text.substr(texture, end - texture))) {
            return false;
        }
        text.erase(texture, end - texture);
    }
    for (size_t start = text.find('['); start != std::string::npos;) {
        const size_t end = text.find("\r\n[", start);
        const std::string section = text.substr(start, text.find(']', start) - start);
        if (!Write(root + "/definition/" + SectionSeedName(section),
                   text.substr(start, end == std::string::npos ? end : end + 2 - start))) {
            return false;
        }
        start = end == std::string::npos ? end : end + 2;
    }
    return true;
}

bool Texts(const std::string& root) {
    bool ok = Write(root + "/ini/game.ini", demo::GameIniText()) &&
              Write(root + "/ini/quest.def", demo::DefinitionText()) &&
              Write(root + "/ini/oddities.ini", kIniOddities) &&
              Write(root + "/ini/numbers.ini", kIniNumbers) &&
              Write(root + "/ini/nul.ini", std::string(kIniNul, sizeof kIniNul - 1));
    ok = ok && Write(root + "/gameini/game.ini", demo::GameIniText()) &&
         Write(root + "/gameini/oddcase.ini", kGameIniOddCase) &&
         Write(root + "/gameini/ranges.ini", kGameIniRanges);
    return ok && Write(root + "/definition/root.def", kDefinitionRoot) &&
           Write(root + "/definition/scripts.def", kDefinitionScripts) && DefinitionSections(root);
}

// The level seeds without their tables, for the level-state fuzzer.
bool LevelStates(const std::string& root) {
    for (const char* name : {"small.lvl", "demo1.lvl", "demo2.lvl"}) {
        std::string file;
        if (!platform::fs::ReadWholeFile(root + "/level/" + name, file) ||
            !Write(root + "/levelstate/" + name, fuzzutil::WithoutTables(file))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    if (!Folders(root) || !Pictures(root) || !MeshesAndSounds(root) || !Texts(root)) return 1;
    // A small level: the fuzzer spends its time in the tables and lists, not
    // in megabytes of cells.
    demo::LevelPlan small(2, 2, 2);
    small.Put(0, 0, 0, 1);
    const bool ok = demo::WriteLevelPlan(small, root + "/level/small.lvl") &&
                    demo::WriteLevelPlan(demo::Level1Plan(), root + "/level/demo1.lvl") &&
                    demo::WriteLevelPlan(demo::Level2Plan(), root + "/level/demo2.lvl") &&
                    LevelStates(root);
    return ok ? 0 : 1;
}
