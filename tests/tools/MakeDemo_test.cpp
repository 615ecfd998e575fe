// The demo game as the player sees it: every file its data names exists
// (letter case and separators resolved), and every picture, mesh, sound,
// definition and level loads through the engine's and the game's own code
// without a single message.
#include "tools/demogame/DemoGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

#include "engine/G3D3DFile.h"
#include "engine/G3DImages.h"
#include "engine/G3DPcx.h"
#include "engine/G3DState.h"
#include "game/GameIni.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/draw/HudText.h"
#include "game/level/LevelFile.h"
#include "platform/fs/FileSystem.h"
#include "support/IniFiles32.h"
#include "support/WavUtil.h"
#include "tests/game/LevelTestWorld.h"
#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoDictionary.h"
#include "tools/demogame/DemoLayout.h"

namespace {

// Keys of the level definition whose values are file names.
std::vector<std::string> DefinitionFileKeys() {
    std::vector<std::string> keys = {"Texture",
                                     "Shadow",
                                     "MeshStand",
                                     "SeenSound",
                                     "LostSound",
                                     "WalkSound",
                                     "BlockSound",
                                     "StepSound",
                                     "LoopSound",
                                     "ActionSound",
                                     "InventoryIcon",
                                     "WeaponIcon",
                                     "WeaponFireIcon",
                                     "InventorySound",
                                     "WeaponSound",
                                     "JumpSound",
                                     "LongJumpSound",
                                     "HurtSound",
                                     "GolemHurtSound",
                                     "DeathSound",
                                     "GolemStopSound",
                                     "GolemCoucoucheSound",
                                     "DisplayedMessageWAV",
                                     "DisplayedBitmap",
                                     "Hero",
                                     "Hero_Fall",
                                     "Hero_Crouch",
                                     "Hero_Dead",
                                     "Hero_Action",
                                     "Hero_Shoot",
                                     "Hero_GolemStop",
                                     "Hero_GolemCoucouche"};
    for (int i = 1; i <= 4; ++i) {
        keys.push_back("Hero_Walk" + std::to_string(i));
        keys.push_back("MeshWalk" + std::to_string(i));
        keys.push_back("MeshBlock" + std::to_string(i));
    }
    for (int i = 1; i <= 32; ++i) keys.push_back("Mesh" + std::to_string(i));
    for (int i = 0; i <= 32; ++i) {
        keys.push_back("Object_" + std::to_string(i));
        keys.push_back("Frame_" + std::to_string(i) + "_Sample");
    }
    return keys;
}

class MakeDemoTest : public ::testing::Test, protected leveltest::LevelTestWorld {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(demo::MakeDemoGame(folder.Root(), error)) << error;
    }
    // The real file a data reference names, relative to the game folder.
    static std::string Real(const std::string& ref) { return platform::fs::Resolve(ref); }
    static bool Exists(const std::string& ref) { return platform::fs::FileExists(Real(ref)); }
    static std::string Bytes(const std::string& ref) {
        std::string bytes;
        EXPECT_TRUE(platform::fs::ReadWholeFile(Real(ref), bytes)) << ref;
        return bytes;
    }
    // Every file of a folder of the game.
    std::vector<std::string> FilesIn(const std::string& sub) const {
        std::vector<std::string> files;
        for (const auto& e : platform::fs::ListFolder(folder.Path(sub))) {
            if (e.kind == platform::fs::EntryKind::File)
                files.push_back(folder.Path(sub + "/" + e.name));
        }
        return files;
    }
    // Counts the file names the sections of an INI file give under `keys`,
    // failing for every one that does not exist.
    static int CheckNamedFiles(const TIniFile32& ini, const std::vector<std::string>& keys) {
        int named = 0;
        for (const TIniSection& section : ini.Sections()) {
            const std::string name = section.Header.substr(1, section.Header.size() - 2);
            for (const std::string& key : keys) {
                const std::string file = ini.ReadString(name, key, "");
                if (file.empty()) continue;
                ++named;
                EXPECT_TRUE(Exists(file)) << "[" << name << "] " << key << "=" << file;
            }
        }
        return named;
    }
};

TEST_F(MakeDemoTest, GameIniNamesExistingFiles) {
    const TIniFile32 ini(Real("GAME.INI"));
    EXPECT_EQ(ini.ReadString("Game", "GameTitle", ""), "Demo Quest");
    const int named = CheckNamedFiles(
        ini, {"SmallFontBitmap", "BigFontBitmap", "LifeIcon", "GolemIcon", "CrossIcon", "MenuSound",
              "TimerSound", "CameraSound", "IntroVideo", "ExtroVideo"});
    EXPECT_EQ(named, 10);
    const std::string start = ini.ReadString("Game", "StartLevel", "");
    EXPECT_TRUE(Exists("LEVEL\\" + start)) << start;
}

TEST_F(MakeDemoTest, EveryControlHasItsOwnKey) {
    const TIniFile32 ini(Real("game.ini"));
    std::set<int> keys;
    for (const char* k : {"KeyWeapon", "KeyInventory", "KeyLookUp", "KeyLookDown", "KeyMoveUp",
                          "KeyMoveDown", "KeyLookLeft", "KeyLookRight", "KeyMoveLeft",
                          "KeyMoveRight", "KeyButton1", "KeyButton2", "KeyButton3", "KeyButton4"}) {
        const int code = ini.ReadInteger("Control", k, 0);
        EXPECT_GT(code, 0) << k;
        EXPECT_LT(code, 256) << k;
        keys.insert(code);
    }
    EXPECT_EQ(keys.size(), 14u);
    EXPECT_EQ(ini.ReadInteger("Control", "KeyButton1", 0), 0x20);  // space jumps
    EXPECT_EQ(ini.ReadInteger("Control", "KeyMoveUp", 0), 0x26);   // up arrow
}

TEST_F(MakeDemoTest, DefinitionNamesExistingFilesInAnotherLetterCase) {
    const TIniFile32 ini(Real(demo::kDefinitionRef));
    EXPECT_GT(CheckNamedFiles(ini, DefinitionFileKeys()), 60);
    EXPECT_EQ(Real("MESHES\\HERO.MSH"), folder.Path("Meshes/Hero.msh"));
}

TEST_F(MakeDemoTest, ThreeDFileListsDecodablePicturesAndTheWaterAnimation) {
    const G3D3DFileContents contents = G3DParse3DFile(Bytes(demo::k3DRef));
    ASSERT_GE(contents.Pictures.size(), 10u);
    for (const G3DPictureLine& line : contents.Pictures) {
        G3DPicture p;
        ASSERT_TRUE(G3DDecodePcx(Bytes(line.File), p)) << line.File;
        EXPECT_EQ(p.Width, 128) << line.File;
        EXPECT_EQ(p.Height, 128) << line.File;
    }
    G3DLoad3DFile(demo::k3DRef, DStuff);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    EXPECT_EQ(DStuff.AnimTextures[4].First, 4);
    EXPECT_EQ(DStuff.AnimTextures[4].Last, 7);
}

TEST_F(MakeDemoTest, FontSheetsHaveTheGlyphSizesOfGameIni) {
    const TIniFile32 ini(Real("game.ini"));
    for (const std::string font : {"Small", "Big"}) {
        const int w = ini.ReadInteger("Game", font + "FontWidth", 0);
        const int h = ini.ReadInteger("Game", font + "FontHeight", 0);
        G3DPicture sheet;
        ASSERT_TRUE(G3DDecodePcx(Bytes(ini.ReadString("Game", font + "FontBitmap", "")), sheet));
        // Twenty glyphs a row: the cutter wraps after the twentieth, not before.
        EXPECT_LT(19 * (w + 1), sheet.Width - w) << font;
        EXPECT_GE(20 * (w + 1), sheet.Width - w) << font;
        EXPECT_EQ(sheet.Height, 5 * (h + 1)) << font;
    }
}

// Whether any pixel of an image slot is opaque.
bool HasInk(const TG3DImage& image) {
    for (size_t i = 3; i < image.Pixels.size(); i += 4) {
        if (image.Pixels[i] != 0) return true;
    }
    return false;
}

TEST_F(MakeDemoTest, PlayerCutsTheFontSheetsIntoGlyphs) {
    ReadGameSection();
    LoadHudTextures(HudSettings.Pictures, DStuff);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    for (int32_t slot : {kLifeIconSlot, kGolemIconSlot, kCrossIconSlot}) {
        EXPECT_EQ(G3DImages[slot].Width, 32);
        EXPECT_TRUE(HasInk(G3DImages[slot]));
    }
    const TG3DImage& smallA = G3DImages[GlyphSlot(0, 'A')];
    EXPECT_EQ(smallA.Width, 5);
    EXPECT_EQ(smallA.Height, 7);
    EXPECT_TRUE(HasInk(smallA));
    const TG3DImage& bigZ = G3DImages[GlyphSlot(1, 'z')];
    EXPECT_EQ(bigZ.Width, 10);
    EXPECT_EQ(bigZ.Height, 15);
    EXPECT_TRUE(HasInk(bigZ));
    EXPECT_FALSE(HasInk(G3DImages[GlyphSlot(0, ' ')]));
    EXPECT_FALSE(HasInk(G3DImages[GlyphSlot(1, ' ')]));
    EXPECT_TRUE(HasInk(G3DImages[GlyphSlot(1, 131)]));  // the last glyph, a star
}

TEST_F(MakeDemoTest, SoundsAreSixteenBitMonoPcm) {
    const auto files = FilesIn("Sounds");
    EXPECT_GE(files.size(), 5u);
    for (const std::string& file : files) {
        const TIWave wave(file);
        EXPECT_EQ(wave.Channels(), 1) << file;
        EXPECT_EQ(wave.BitsPerSample(), 16) << file;
        EXPECT_GT(wave.DataSize, 1000u) << file;
    }
}

TEST_F(MakeDemoTest, MeshesReadWhole) {
    const auto files = FilesIn("Meshes");
    EXPECT_GE(files.size(), 20u);
    for (const std::string& file : files) {
        std::string bytes;
        ASSERT_TRUE(platform::fs::ReadWholeFile(file, bytes));
        TG3DMesh* mesh = nullptr;
        ASSERT_TRUE(G3DReadMesh(bytes, mesh)) << file;
        EXPECT_EQ(bytes.size(), 4u + 12u * (mesh->LastVertex + 1) + 16u * (mesh->LastFace + 1));
        G3DFreeMesh(mesh);
    }
}

TEST_F(MakeDemoTest, FirstLevelLoadsWithItsDefinition) {
    ReadLevelState(Real("LEVEL\\" + demo::LevelName(1)), "High", Level, *window, DStuff);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    EXPECT_EQ(Level.SizeX, 16);
    EXPECT_EQ(Level.DefinitionFile, demo::kDefinitionRef);
    EXPECT_EQ(Level.LevelExits[demo::kBlocExit].ExitLevel, demo::LevelName(2));
    EXPECT_EQ(Level.Banner1, "Level 1");
    // Bloc types with their meshes.
    EXPECT_EQ(Level.Blocs[demo::kBlocCrate].CanPush, 1);
    EXPECT_EQ(Level.Blocs[demo::kBlocCrate].MeshCount, 1);
    EXPECT_EQ(Level.Blocs[demo::kBlocDoorOpening].MeshCount, 4);
    EXPECT_EQ(Level.Blocs[demo::kBlocStone].Cube, 1);
    EXPECT_EQ(Level.Blocs[demo::kBlocLever].Lever, 1);
    EXPECT_EQ(Level.Blocs[demo::kBlocKeyDoor].DoorKey, demo::kBlocKey);
    EXPECT_NE(Level.Blocs[demo::kBlocGolem].GolemType.MeshWalk1, nullptr);
    EXPECT_NE(Heroes[0].AnimMeshes[0], nullptr);
    EXPECT_EQ(G3DImages[kInventoryIconSlot + demo::kBlocKey].Width, 32);
    EXPECT_EQ(G3DImages[kInventoryIconSlot + demo::kBlocGem].Width, 32);
    // The golem comes from the file's golem list, on an exit; the lift, the
    // hint and the gem watcher run their behaviours.
    ASSERT_EQ(Level.GolemCount(), 1);
    const GolemStuff& golem = *Level.Golems.begin();
    EXPECT_EQ(golem.GolemBloc, demo::kBlocGolem);
    EXPECT_EQ(Level.CellTypes[CellIndex(golem.CellX, golem.CellY, golem.CellZ, Level)],
              demo::kBlocExit);
    EXPECT_EQ(Level.BehaviourCount(), 3);
    EXPECT_EQ(Level.Behaviours[demo::kLift].BehaviourName, "Lift");
    EXPECT_EQ(Level.Behaviours[demo::kLift].Commands[1].Opcode, kOpMoveTo);
    EXPECT_EQ(Level.Clips[demo::kClipIntro].HasKeyFrames, 1);
    EXPECT_FALSE(Level.Clips[demo::kClipWelcome].DisplayedMessage.empty());
}

TEST_F(MakeDemoTest, SecondLevelLoadsAndLeadsBack) {
    ReadLevelState(Real("LEVEL\\" + demo::LevelName(2)), "High", Level, *window, DStuff);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    EXPECT_EQ(Level.SizeX, 12);
    EXPECT_EQ(Level.GolemCount(), 0);
    // The lamp and the scripted rooms: three switches, the vault's lock and
    // watch, the ram, the turret, the drone, the lift, the beacon's motor and
    // the coin counter and the spikes.
    EXPECT_EQ(Level.BehaviourCount(), 13);
    EXPECT_EQ(Level.LevelExits[demo::kBlocExit].ExitLevel, demo::LevelName(1));
    EXPECT_EQ(Level.Blocs[demo::kBlocTrophy].GameEnd, 1);
}

// The HUD of a 640 x 480 frame (a text screen 240 high) as the player lays
// it out: its icons and counts, the frame counter and the timer lie apart,
// and no message (the HUD messages, the message clips, the level banners,
// which glide through the middle from above and below) lies over them.
TEST_F(MakeDemoTest, HudItemsAndMessagesKeepApartAt640x480) {
    struct Box {
        std::string what;
        float l = 2, t = 2, r = -1, b = -1;
    };
    const auto add = [](Box box, const std::vector<GlyphPlacement>& glyphs) {
        for (const GlyphPlacement& g : glyphs) {
            box.l = std::min(box.l, g.x), box.t = std::min(box.t, g.y);
            box.r = std::max(box.r, g.x + g.w), box.b = std::max(box.b, g.y + g.h);
        }
        return box;
    };
    const auto text = [&](const std::string& what, const std::string& s, int32_t font, float x,
                          float y) { return add({what}, LayoutFontText(s, font, x, y, 240)); };
    ReadGameSection();
    const HudSettingsStuff& h = HudSettings;
    FontSizes[0] = h.Pictures.smallFont;
    FontSizes[1] = h.Pictures.bigFont;
    std::vector<Box> hud = {
        {"life icon", h.LifeLeft, h.LifeTop, h.LifeLeft + h.LifeWidth, h.LifeTop + h.LifeHeight},
        text("life count", "100", 1, h.LifeStringLeft, h.LifeStringTop),
        {"golem icon", h.GolemLeft, h.GolemTop, h.GolemLeft + h.GolemWidth,
         h.GolemTop + h.GolemHeight},
        text("golem count", "12", 1, h.GolemStringLeft, h.GolemStringTop),
        text("frame counter", "FPS:1000", 0, 0.91f, 0.005f),  // where the frame loop puts it
        text("timer", "00:00", 0, h.TimerLeft, h.TimerTop)};
    std::vector<Box> messages;
    const TIniFile32 dictionary(Real(demo::kDictionaryFile));
    const auto entry = [&](int n) {
        return dictionary.ReadString(demo::kDictionaryLanguage, std::to_string(n), "");
    };
    for (int n = 39; n <= 52; ++n)
        messages.push_back(text(entry(n), entry(n) + " 1024x768", 0, 0.01f, 0.01f));
    std::vector<Box> banners;  // only their columns count
    for (int level = 1; level <= 2; ++level) {
        ReadLevelState(Real("LEVEL\\" + demo::LevelName(level)), "High", Level, *window, DStuff);
        for (const BlocStuff& t : Level.Blocs) {
            if (!t.InventoryIcon.empty()) {
                for (const auto& [what, x, y, sx, sy] :
                     {std::tuple{"inventory", h.InventoryLeft, h.InventoryTop,
                                 h.InventoryStringLeft, h.InventoryStringTop},
                      std::tuple{"weapon", h.WeaponLeft, h.WeaponTop, h.WeaponStringLeft,
                                 h.WeaponStringTop}}) {
                    hud.push_back(
                        {what, x, y, x + t.InventoryIconWidth, y + t.InventoryIconHeight});
                    hud.push_back(text(std::string(what) + " count", "99", 1, sx, sy));
                }
            }
            if (t.ShowLevelCount == 0) continue;
            hud.push_back({t.Name, t.ShowLevelCountIconLeft, t.ShowLevelCountTopIcon,
                           t.ShowLevelCountIconLeft + t.InventoryIconWidth,
                           t.ShowLevelCountTopIcon + t.InventoryIconHeight});
            hud.push_back(
                text(t.Name + " count", "99", 1, t.ShowLevelCountLeft, t.ShowLevelCountTop));
        }
        for (const ClipStuff& c : Level.Clips) {
            if (c.DisplayedMessage.empty()) continue;
            messages.push_back(
                add({c.Name}, LayoutRichText(c.DisplayedMessage, c.DisplayedMessageLeft,
                                             c.DisplayedMessageTop, 240)));
        }
        for (const auto& [s, font] :
             {std::pair{Level.Banner1, 1}, std::pair{entry(41) + ":" + Level.Banner2, 0}}) {
            Box column = text(s, s, font, 0.5f - FontTextWidth(s, font) / 2, 0.5f);
            column.t = 0, column.b = 1;
            banners.push_back(column);
        }
    }
    EXPECT_EQ(LayoutFontText(entry(41) + ":" + Level.Banner2, 0, 0, 0, 240).size(),
              (entry(41) + ": The Trophy Room").size())
        << "a blank after the colon";
    const auto apart = [](const Box& a, const Box& b) {
        return a.r <= b.l || b.r <= a.l || a.b <= b.t || b.b <= a.t;
    };
    for (size_t i = 0; i < hud.size(); ++i) {
        for (size_t j = i + 1; j < hud.size(); ++j) {
            if (hud[i].what == hud[j].what) continue;  // listed once per bloc type
            EXPECT_TRUE(apart(hud[i], hud[j])) << hud[i].what << " over " << hud[j].what;
        }
        for (const auto* list : {&messages, &banners}) {
            for (const Box& m : *list)
                EXPECT_TRUE(apart(hud[i], m)) << m.what << " over " << hud[i].what;
        }
    }
}

TEST_F(MakeDemoTest, ProgramWritesTheFolderAndRefusesBadArguments) {
    const std::string program = MAKE_DEMO_PROGRAM;
    const std::string target = folder.Path("Another Demo");
    EXPECT_EQ(std::system(("\"" + program + "\" \"" + target + "\"").c_str()), 0);
    EXPECT_TRUE(platform::fs::FileExists(target + "/game.ini"));
    EXPECT_TRUE(platform::fs::FolderExists(target + "/CURRENT_GAME"));
    EXPECT_TRUE(platform::fs::FolderExists(target + "/SAVEGAME"));
    EXPECT_NE(std::system(("\"" + program + "\" 2>/dev/null").c_str()), 0);
}

}  // namespace
