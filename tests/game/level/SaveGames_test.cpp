#include "game/level/SaveGames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/G3DState.h"
#include "game/StartUp.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "tests/common/ScratchFolder.h"
#include "tests/game/LevelTestWorld.h"
#include "tools/demogame/DemoGame.h"
#include "tools/demogame/DemoLayout.h"

namespace {

class SaveGamesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(platform::fs::SetCurrentFolder(scratch.Root())); }
    void TearDown() override { EXPECT_TRUE(platform::fs::SetCurrentFolder(saved)); }
    std::string Read(const std::string& name) const {
        std::ifstream in(scratch.Path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    const std::string saved = platform::fs::CurrentFolder();
    testutil::ScratchFolder scratch;
};

TEST_F(SaveGamesTest, NewGameCopiesTheLevelsOverTheEarlierGame) {
    scratch.Write("Level/Level1", "level 1 as made");
    scratch.Write("Level/Level2", "level 2 as made");
    scratch.Write("Level/Caves/Deep", "a level in a subfolder");
    scratch.Write("current_game/LEVEL1", "level 1 as left by the last game, longer");
    scratch.Write("current_game/Visited", "only in the running game");

    EXPECT_TRUE(RenewWorkingCopy("LEVEL"));
    const struct {
        std::string file, contents;
    } expected[] = {
        {"current_game/LEVEL1", "level 1 as made"},  // replaced, under its stored name
        {"current_game/Level2", "level 2 as made"},
        {"current_game/Caves/Deep", "a level in a subfolder"},
        {"current_game/Visited", "only in the running game"},
        {"Level/Level1", "level 1 as made"},
    };
    for (const auto& e : expected) EXPECT_EQ(Read(e.file), e.contents) << e.file;
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("CURRENT_GAME")));

    // The first game: no CURRENT_GAME folder yet.
    std::filesystem::remove_all(scratch.Path("current_game"));
    EXPECT_TRUE(RenewWorkingCopy("LEVEL"));
    EXPECT_EQ(Read("CURRENT_GAME/Caves/Deep"), "a level in a subfolder");
}

// ---- savegame.bin ----

int32_t IntAt(const std::string& bytes, size_t offset) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= uint32_t{static_cast<uint8_t>(bytes[offset + i])} << (8 * i);
    return static_cast<int32_t>(u);
}

float FloatAt(const std::string& bytes, size_t offset) {
    const int32_t bits = IntAt(bytes, offset);
    float f = 0;
    std::memcpy(&f, &bits, 4);
    return f;
}

void PutIntAt(std::string& bytes, size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
}

// A hero whose every saved field holds a value of its own.
HeroStuff DistinctHero() {
    HeroStuff h;
    h.X = 1.5f, h.Y = 2.5f, h.Z = 3.5f, h.Yaw = 4.5f, h.Pitch = 5.5f, h.Tilt = 6.5f;
    h.SpeedX = 7.5f, h.SpeedY = 8.5f, h.SpeedZ = 9.5f, h.YawSpeed = 10.5f;
    h.PitchTarget = 11.5f, h.TiltTarget = 12.5f, h.Life = 13.5f;
    h.CurrentAnim = 3, h.TargetAnim = 4, h.BlendDuration = 15, h.BlendStart = 16;
    h.PreviousTargetAnim = 5, h.WalkPhase = 18.5f, h.HeroWidth = 19, h.HeroHeight = 20;
    h.HeroStep = 21, h.VerticalSpeed = -22.5f, h.ActionLock = 23, h.LastShotTime = 24;
    h.PainSoundTime = 25, h.CameraX = 26.5f, h.CameraY = 27.5f, h.CameraZ = 28.5f;
    h.CameraYaw = 29.5f, h.CameraPitch = 30.5f, h.CameraRoll = -31, h.CameraDistance = 32.5f;
    h.DefaultCameraDistance = 33.5f, h.LightRange = 34.5f, h.Speed = 35, h.AngleSpeed = 36;
    h.JumpG = 37, h.SolidHurt = 38, h.MeshSpeed = 39.5f, h.LongJumpHealthValue = -40;
    h.LongJumpGValue = 41, h.Weapon = 42, h.SelectedObject = 256;
    for (int t = 0; t < kBlocTypeCount; ++t) h.Inventory[t] = 1000 + t;
    h.TimerOn = 1, h.TimerValue = 45000, h.TimerTick = 44, h.SavesLeft = 7;
    h.LevelName = "Caves\\Deep";
    return h;
}

TEST(SaveGameFile, HoldsTheHeroFieldByFieldAtItsOffsets) {
    const std::string bytes = EncodeSaveGame(DistinctHero());
    ASSERT_EQ(bytes.size(), 1473u);
    const struct {
        size_t offset;
        float value;
    } floats[] = {{0, 1.5f},    {4, 2.5f},    {8, 3.5f},    {12, 4.5f},   {16, 5.5f},
                  {20, 6.5f},   {24, 7.5f},   {28, 8.5f},   {32, 9.5f},   {36, 10.5f},
                  {40, 11.5f},  {44, 12.5f},  {48, 13.5f},  {72, 18.5f},  {88, -22.5f},
                  {104, 26.5f}, {108, 27.5f}, {112, 28.5f}, {116, 29.5f}, {120, 30.5f},
                  {128, 32.5f}, {132, 33.5f}, {136, 34.5f}, {156, 39.5f}};
    for (const auto& f : floats) EXPECT_EQ(FloatAt(bytes, f.offset), f.value) << f.offset;
    const struct {
        size_t offset;
        int32_t value;
    } ints[] = {{52, 3},       {56, 4},
                {60, 15},      {64, 16},
                {68, 5},       {76, 19},
                {80, 20},      {84, 21},
                {92, 23},      {96, 24},
                {100, 25},     {124, -31},
                {140, 35},     {144, 36},
                {148, 37},     {152, 38},
                {160, -40},    {164, 41},
                {168, 42},     {172, 256},
                {176, 1000},   {176 + 4 * 256, 1256},
                {1205, 45000}, {1209, 44},
                {1469, 7}};
    for (const auto& i : ints) EXPECT_EQ(IntAt(bytes, i.offset), i.value) << i.offset;
    EXPECT_EQ(bytes[1204], 1) << "the timer flag is one byte";
    EXPECT_EQ(bytes[1213], 10) << "the level name is a short string";
    EXPECT_EQ(bytes.substr(1214, 10), "Caves\\Deep");
    EXPECT_EQ(bytes.substr(1224, 245), std::string(245, '\0'));

    HeroStuff read;
    std::string problem;
    ASSERT_TRUE(DecodeSaveGame(bytes + "bytes after the record", read, problem)) << problem;
    EXPECT_EQ(EncodeSaveGame(read), bytes) << "every field comes back";
}

TEST(SaveGameFile, ValuesOutOfRangeAreRefusedAndTheHeroKept) {
    const std::string good = EncodeSaveGame(DistinctHero());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    int32_t nanBits = 0;
    std::memcpy(&nanBits, &nan, 4);
    const struct {
        const char* what;
        size_t offset;  // an int written there; SIZE_MAX: the file cut short
        int32_t value;
    } cases[] = {
        {"a file cut short", SIZE_MAX, 0},
        {"a weapon past the bloc types", 168, 257},
        {"a selected object below -1", 172, -2},
        {"an animation past the last", 52, 14},
        {"a negative target animation", 56, -1},
        {"a position that is no number", 0, nanBits},
        {"an empty level name", 1213, 0},
        {"an inventory count of garbage", 176 + 4 * 9, -1845493760},
    };
    for (const auto& c : cases) {
        std::string bytes = good;
        if (c.offset == SIZE_MAX) {
            bytes.resize(1472);
        } else {
            PutIntAt(bytes, c.offset, c.value);
        }
        HeroStuff hero;
        hero.Weapon = 99;
        std::string problem;
        EXPECT_FALSE(DecodeSaveGame(bytes, hero, problem)) << c.what;
        EXPECT_FALSE(problem.empty()) << c.what;
        EXPECT_EQ(hero.Weapon, 99) << c.what;
    }
    for (const std::string name : {"..\\Level1", "/etc/passwd", "C:Level1", "a\\..\\..\\b"}) {
        HeroStuff h = DistinctHero();
        h.LevelName = name;
        HeroStuff hero;
        std::string problem;
        EXPECT_FALSE(DecodeSaveGame(EncodeSaveGame(h), hero, problem)) << name;
    }
}

TEST(SlotNames, EveryNameThatIsOneFolderInsideSavegameIsTaken) {
    const struct {
        std::string name;
        bool taken;
    } cases[] = {
        {"Chapitre 1", true},
        {"Sauvegarde \xE9t\xE9", true},
        {"a.b", true},
        {"a..b", true},
        {".hidden", true},
        {"dot.", true},
        {" leading", true},
        {"trailing ", true},
        {"", false},
        {"a/b", false},
        {"a\\b", false},
        {".", false},
        {"..", false},
        {"tab\there", false},
        {std::string("nul\0x", 5), false},
        {"\x7F", false},
        {"\x81", false},
        {".Slot.abc123.tmp", false},
        {std::string(243, 'n'), false},
        {std::string(200, 'n'), true},
        {std::string(122, '\xE9'), false},  // 244 bytes in UTF-8
        {std::string(121, '\xE9'), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SlotNameProblem(c.name).empty(), c.taken) << "[" << c.name << "]";
    }
}

// ---- Saving and loading the demo game ----

class SaveGamesPlay : public ::testing::Test, protected leveltest::LevelTestWorld {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(demo::MakeDemoGame(folder.Root(), error)) << error;
        StartUpGame(*window);
        ASSERT_TRUE(CopyGameFolder("LEVEL\\", "CURRENT_GAME"));
        Heroes[0].LevelName = demo::LevelName(1);
        ReadLevelState("CURRENT_GAME\\" + demo::LevelName(1), Level.LoadedQuality, Level, *window,
                       DStuff);
        ASSERT_TRUE(messages.texts.empty());
    }
    void TearDown() override { SetSaveCopier(nullptr); }

    std::string Bytes(const std::string& name) const {
        std::string bytes;
        platform::fs::ReadWholeFile(folder.Path(name), bytes);
        return bytes;
    }
    // Every file of a folder of the game, by its path inside it.
    std::vector<std::pair<std::string, std::string>> Tree(const std::string& name) const {
        std::vector<std::pair<std::string, std::string>> files;
        const std::filesystem::path root = folder.Path(name);
        for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
            if (e.is_regular_file())
                files.emplace_back(e.path().lexically_relative(root).string(),
                                   Bytes(name + "/" + e.path().lexically_relative(root).string()));
        }
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(SaveGamesPlay, ASaveLoadedBackGivesTheHeroAndTheLevelAsTheyWere) {
    HeroStuff& h = Heroes[0];
    h.X = 1800, h.Y = 512, h.Z = 1300, h.Yaw = 9000;
    h.Inventory[3] = 2, h.SelectedObject = 3, h.TimerOn = 1, h.TimerValue = 42000;
    h.SavesLeft = 4, h.LightRange = 1234.5f, h.LastShotTime = 77;
    const uint16_t cell = Level.CellTypes[5];
    Level.CellTypes[5] = 7;
    folder.Write("SAVEGAME/Mine/only in the old slot", "kept");
    ASSERT_TRUE(SaveGame("Mine"));
    EXPECT_EQ(Bytes("SAVEGAME/Mine/savegame.bin").size(), 1473u);
    EXPECT_EQ(Bytes("SAVEGAME/Mine/only in the old slot"), "kept");
    EXPECT_EQ(Bytes("SAVEGAME/Mine/" + demo::LevelName(1)),
              Bytes("CURRENT_GAME/" + demo::LevelName(1)))
        << "the level played was written first";

    // Play on: the hero moves, the level changes, another level is visited.
    h.X = 100, h.Inventory[3] = 0, h.TimerValue = 1, h.SavesLeft = 3;
    Level.CellTypes[5] = cell;
    folder.Write("CURRENT_GAME/Visited later", "stays");
    ASSERT_TRUE(LoadGame("Mine", *window, DStuff));
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_FLOAT_EQ(h.X, 1800);
    EXPECT_FLOAT_EQ(h.Yaw, 9000);
    EXPECT_EQ(h.Inventory[3], 2);
    EXPECT_EQ(h.TimerValue, 42000);
    EXPECT_EQ(h.SavesLeft, 4);
    EXPECT_EQ(h.LevelName, demo::LevelName(1));
    EXPECT_EQ(Level.CellTypes[5], 7);
    EXPECT_FLOAT_EQ(h.LightRange, 1234.5f) << "the save's light range, not the level's";
    EXPECT_EQ(h.LastShotTime, 77);
    EXPECT_EQ(Bytes("CURRENT_GAME/Visited later"), "stays") << "a load merges";
    EXPECT_EQ(Bytes("SAVEGAME/Mine/savegame.bin"), EncodeSaveGame(h).substr(0, 1473));

    // Saving again into the slot overwrites it whole, in place.
    h.X = 2000;
    ASSERT_TRUE(SaveGame("mine"));
    EXPECT_FLOAT_EQ(FloatAt(Bytes("SAVEGAME/Mine/savegame.bin"), 0), 2000);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("SAVEGAME/mine")));
    EXPECT_EQ(ListSaveSlots(), std::vector<std::string>{"Mine"});
}

TEST_F(SaveGamesPlay, ABrokenSlotIsRefusedAndNothingOfTheGameChanges) {
    ASSERT_TRUE(SaveGame("Good"));
    const std::string good = Bytes("SAVEGAME/Good/savegame.bin");
    const auto setUp = [&](const std::string& slot, const std::string& bin) {
        folder.Write("SAVEGAME/" + slot + "/" + demo::LevelName(1),
                     Bytes("CURRENT_GAME/" + demo::LevelName(1)));
        if (!bin.empty()) folder.Write("SAVEGAME/" + slot + "/savegame.bin", bin);
    };
    std::string badWeapon = good, climbing = good, missingLevel = good;
    PutIntAt(badWeapon, 168, 300);
    climbing[1213] = 9;
    climbing.replace(1214, 9, "..\\Level1");
    missingLevel[1213] = 4;
    missingLevel.replace(1214, 4, "Nope");
    setUp("Short", good.substr(0, 1000));
    setUp("NoFile", "");
    setUp("Weapon", badWeapon);
    setUp("Climbing", climbing);
    setUp("NoLevel", missingLevel);
    setUp("BadLevel", good);
    folder.Write("SAVEGAME/BadLevel/" + demo::LevelName(1), "not a level");
    folder.Write("SAVEGAME/PlainFile", "a file, not a slot");

    const auto workingCopy = Tree("CURRENT_GAME");
    const HeroStuff before = Heroes[0];
    for (const std::string slot :
         {"Short", "NoFile", "Weapon", "Climbing", "NoLevel", "BadLevel", "PlainFile", "Gone"}) {
        messages.texts.clear();
        EXPECT_FALSE(LoadGame(slot, *window, DStuff)) << slot;
        ASSERT_EQ(messages.texts.size(), 1u) << slot;
        EXPECT_NE(messages.texts[0].find(slot), std::string::npos) << messages.texts[0];
        EXPECT_EQ(Tree("CURRENT_GAME"), workingCopy) << slot;
        EXPECT_FLOAT_EQ(Heroes[0].X, before.X) << slot;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("SAVEGAME/NoFile/savegame.bin")))
        << "a load never makes a file in a slot";
    EXPECT_EQ(Bytes("SAVEGAME/Short/savegame.bin").size(), 1000u);
}

TEST_F(SaveGamesPlay, SlotFoldersAreNamedInUtf8AndALinkedSlotIsNeitherWrittenNorRead) {
    const std::string cafe = "Caf\xE9";  // cp1252, as typed
    ASSERT_TRUE(SaveGame(cafe));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("SAVEGAME/Caf\xC3\xA9")));
    EXPECT_EQ(ListSaveSlots(), std::vector<std::string>{cafe});
    EXPECT_TRUE(LoadGame(cafe, *window, DStuff));

    // The slot's folder moved out of the game, a link to it in its place.
    std::filesystem::rename(folder.Path("SAVEGAME/Caf\xC3\xA9"), folder.Path("Outside"));
    std::filesystem::create_directory_symlink(folder.Path("Outside"),
                                              folder.Path("SAVEGAME/Linked"));
    const auto outside = Tree("Outside");
    EXPECT_NE(SlotNameProblem("Linked").find("symbolic link"), std::string::npos);
    EXPECT_FALSE(SaveGame("Linked"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("SAVEGAME/Linked")));
    EXPECT_EQ(Tree("Outside"), outside);
    messages.texts.clear();
    EXPECT_FALSE(LoadGame("Linked", *window, DStuff));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("symbolic link"), std::string::npos) << messages.texts[0];
}

TEST_F(SaveGamesPlay, ASaveStoppedMidwayLeavesTheOldSlotWhole) {
    HeroStuff& h = Heroes[0];
    h.X = 1111;
    ASSERT_TRUE(SaveGame("Slot"));
    const auto oldSlot = Tree("SAVEGAME/Slot");
    h.X = 2222;

    // A copy that fails, and one that stops the program halfway through the
    // new slot (as a kill would): the old slot is untouched either way.
    SetSaveCopier([](const std::string&, const std::string&) { return false; });
    EXPECT_FALSE(SaveGame("Slot"));
    EXPECT_EQ(Tree("SAVEGAME/Slot"), oldSlot);
    SetSaveCopier([](const std::string& source, const std::string& target) {
        CopyGameFolder(source, target);
        throw std::runtime_error("killed");
        return true;
    });
    EXPECT_THROW(SaveGame("Slot"), std::runtime_error);
    EXPECT_EQ(Tree("SAVEGAME/Slot"), oldSlot);
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.Path("SAVEGAME"))) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2u) << "the unfinished slot is left beside the old one";
    EXPECT_EQ(ListSaveSlots(), std::vector<std::string>{"Slot"}) << "and never listed";

    // The next save tidies up and saves.
    SetSaveCopier(nullptr);
    ASSERT_TRUE(SaveGame("Slot"));
    EXPECT_FLOAT_EQ(FloatAt(Bytes("SAVEGAME/Slot/savegame.bin"), 0), 2222);
    entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.Path("SAVEGAME"))) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1u);

    // A plain file under the slot's name is not replaced.
    folder.Write("SAVEGAME/File", "mine");
    EXPECT_FALSE(SaveGame("File"));
    EXPECT_EQ(Bytes("SAVEGAME/File"), "mine");
}

}  // namespace
