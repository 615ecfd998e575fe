#include "game/level/LevelFile.h"
#include "shell/ComStuff.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "game/GameClock.h"
#include "game/StartUp.h"
#include "game/clips/ClipStuff.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileStream.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "shell/GameScene.h"
#include "tests/shell/FlowTestWorld.h"

namespace {

TEST(SetGameMode, ChangesModeResetsTheStepAndMarksTitleEntry) {
    ASSERT_TRUE(platform::Application::Instance().Initialise());
    platform::WindowSettings settings;
    settings.visible = false;
    platform::Window window(settings);

    GameMode = ModeNone;
    ModeEntered = 0;
    FrameTime = 700;
    FrameStep = 40;
    GameTime = 900.0f;
    SetGameMode(ModeTitle, window);
    EXPECT_EQ(GameMode, ModeTitle);
    EXPECT_EQ(ModeEntered, 1);
    EXPECT_EQ(ModeStartTime, 700);
    EXPECT_EQ(FrameTime, 900);
    EXPECT_EQ(FrameStep, 1);

    // The same mode again changes nothing.
    FrameStep = 33;
    ModeEntered = 0;
    SetGameMode(ModeTitle, window);
    EXPECT_EQ(FrameStep, 33);
    EXPECT_EQ(ModeEntered, 0);

    SetGameMode(ModePlay, window);
    EXPECT_EQ(ModeEntered, 0);
    EXPECT_EQ(GameMode, ModePlay);
}

}  // namespace

namespace {

class ComStuffFlow : public ::testing::Test, protected flowtest::FlowTestWorld {
  protected:
    ~ComStuffFlow() override { platform::fs::SetWriteFault({}); }
    void PressButton1() { Heroes[0].ControlFlags[8] = 1; }
    // Writes of files whose real path ends with `tail` fail as on a full disk.
    static void FailWritesOf(const std::string& tail) {
        platform::fs::SetWriteFault([tail](const std::string& path) {
            return path.size() >= tail.size() &&
                           path.compare(path.size() - tail.size(), tail.size(), tail) == 0
                       ? ENOSPC
                       : 0;
        });
    }
    // Stands the hero on level 1's exit pad.
    static void OnExitPad() {
        HeroStuff& h = Heroes[0];
        h.X = CellCentre(11), h.Y = 512, h.Z = CellCentre(2);
    }
};

TEST_F(ComStuffFlow, ModesChangeOnTheirTriggers) {
    // -1 → 0: the title clip starts; its keys wait 1000 ms.
    SetGameMode(ModeTitle, *window);
    TitleFrame(*window);
    EXPECT_EQ(TitleClipRunning, 1) << "no intro media: the title clip is over at once";
    EXPECT_EQ(IntroPlayed, 1);
    PressButton1();
    FrameTime = ModeStartTime + 1000;
    TitleFrame(*window);
    EXPECT_EQ(GameMode, ModeTitle);

    // 0 → 1: a new game copies LEVEL\ over what an earlier game left.
    folder.Write("CURRENT_GAME/Level1.lvl", "left by an earlier game");
    FrameTime = ModeStartTime + 1001;
    TitleFrame(*window);
    ASSERT_EQ(GameMode, ModePlay);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    EXPECT_EQ(FileBytes("CURRENT_GAME/Level1.lvl"), FileBytes("LEVEL/Level1.lvl"));
    const HeroStuff& h = Heroes[0];
    EXPECT_EQ(h.LevelName, demo::LevelName(1));
    EXPECT_EQ(Level.SizeX, 16);
    EXPECT_FLOAT_EQ(h.X, 2 * 512 + 256);
    EXPECT_FLOAT_EQ(h.Y, 512);  // the start cell's floor
    EXPECT_FLOAT_EQ(h.Z, 2 * 512 + 256);
    EXPECT_FLOAT_EQ(h.CameraDistance, 600);
    EXPECT_FLOAT_EQ(h.Life, 100);
    EXPECT_EQ(LevelBanner.on, 1);

    // 1 → 0 when the hero dies, with its default camera distance.
    Heroes[0].DefaultCameraDistance = 345;
    HeroDied(*window);
    EXPECT_EQ(GameMode, ModeTitle);
    EXPECT_FLOAT_EQ(h.CameraDistance, 345);
    EXPECT_EQ(TitleClipRunning, 0) << "a mode change ends the title clip";

    // 10 → 0 on a button, after 3000 ms; the end clears GameWon.
    GameWon = 1;
    SetGameMode(ModeEnd, *window);
    FrameTime = ModeStartTime + 3000;
    EndFrame(*window);
    EXPECT_EQ(GameWon, 0);
    EXPECT_EQ(GameMode, ModeEnd);
    FrameTime = ModeStartTime + 3001;
    EndFrame(*window);
    EXPECT_EQ(GameMode, ModeTitle);

    // 0 → end of the process on Esc.
    TitleFrame(*window);
    KeyDown[27] = 1;
    FrameTime = ModeStartTime + 1001;
    EXPECT_THROW(TitleFrame(*window), platform::HaltRequested);
    KeyDown[27] = 0;
}

TEST_F(ComStuffFlow, ANewGameStartsOnlyWhileTheTitleClipRuns) {
    SetGameMode(ModeTitle, *window);
    TitleFrame(*window);
    CurrentClip = kDeveloperClip;  // the developer video plays
    TitleClipRunning = 0;
    FrameTime = ModeStartTime + 5000;
    PressButton1();
    TitleFrame(*window);
    EXPECT_EQ(GameMode, ModeTitle);
    TitleClipRunning = 1;  // it ended and the title clip followed
    TitleFrame(*window);
    EXPECT_EQ(GameMode, ModePlay);
}

TEST_F(ComStuffFlow, ALevelLeftAndEnteredAgainIsAsItWasLeft) {
    const std::string pristine1 = FileBytes("LEVEL/Level1.lvl");
    const std::string pristine2 = FileBytes("LEVEL/Level2.lvl");
    NewGame();
    ASSERT_EQ(GameMode, ModePlay);
    SetCellType(4, 1, 5, 0);  // the crate is gone
    HeroStuff& h = Heroes[0];
    h.X = CellCentre(11), h.Y = 512, h.Z = CellCentre(2);  // on an exit pad
    CheckLevelExit(*window);
    ASSERT_EQ(h.LevelName, demo::LevelName(2));
    EXPECT_EQ(Level.Banner1, "Level 2");
    EXPECT_FLOAT_EQ(h.X, 2 * 512 + 256);
    EXPECT_FLOAT_EQ(h.Y, 512 + 256);
    EXPECT_FLOAT_EQ(h.Z, 2 * 512 + 256);
    EXPECT_NE(FileBytes("CURRENT_GAME/Level1.lvl"), pristine1);

    SetCellType(3, 1, 8, 0);  // the gem is taken
    GoToLevel(demo::LevelName(1), 12, 1, 5, *window);
    EXPECT_EQ(Level.SizeX, 16);
    EXPECT_EQ(GetCellType(4, 1, 5), 0);
    GoToLevel(demo::LevelName(2), 2, 1, 2, *window);
    EXPECT_EQ(GetCellType(3, 1, 8), 0);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    EXPECT_EQ(FileBytes("LEVEL/Level1.lvl"), pristine1);
    EXPECT_EQ(FileBytes("LEVEL/Level2.lvl"), pristine2);
}

TEST_F(ComStuffFlow, LevelNamesFromDataStayInTheWorkingCopy) {
    const struct {
        const char* name;
        bool inside;
    } cases[] = {
        {"LEVEL1.LVL", true},
        {"sub\\Two.lvl", true},
        {"sub/Two.lvl", true},
        {"a..b.lvl", true},
        {"", false},
        {"..", false},
        {"..\\LEVEL\\LEVEL1.LVL", false},
        {"sub/../../game.ini", false},
        {"\\etc\\hostname", false},
        {"/etc/hostname", false},
        {"C:\\LEVEL1.LVL", false},
        {"c:LEVEL1.LVL", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LevelNameStaysInGame(c.name), c.inside) << c.name;

    NewGame();
    for (const char* name : {"..\\LEVEL\\LEVEL1.LVL", "/etc/hostname", ""}) {
        messages.texts.clear();
        EXPECT_THROW(GoToLevel(name, 2, 1, 2, *window), platform::HaltRequested) << name;
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0],
                  "The file CURRENT_GAME\\" + std::string(name) + " is missing or invalid.");
    }
    messages.texts.clear();
    EXPECT_THROW(EnterLevel("", *window), platform::HaltRequested);
    EXPECT_EQ(messages.texts.size(), 1u);

    // Subfolders of the working copy are levels like any other.
    folder.Write("CURRENT_GAME/Sub/Two.lvl", FileBytes("LEVEL/Level2.lvl"));
    messages.texts.clear();
    GoToLevel("sub\\two.lvl", 2, 1, 2, *window);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(Level.SizeX, 12);
}

TEST_F(ComStuffFlow, AFullDiskNeitherStartsAStaleGameNorLosesTheLevelLeft) {
    // The copy of LEVEL\ fails midway: the title screen stays, and so does
    // every file of the working copy an earlier game left.
    folder.Write("CURRENT_GAME/Level1.lvl", "left by an earlier game");
    FailWritesOf("/Level2.lvl");
    NewGame();
    EXPECT_EQ(GameMode, ModeTitle);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("A new game cannot start"), std::string::npos);
    EXPECT_EQ(FileBytes("CURRENT_GAME/Level1.lvl"), "left by an earlier game");
    EXPECT_FALSE(platform::fs::EntryExists("CURRENT_GAME/Level2.lvl"));

    // The level left cannot be written: it is said, and the hero stays, once.
    platform::fs::SetWriteFault({});
    messages.texts.clear();
    NewGame();
    ASSERT_EQ(GameMode, ModePlay);
    SetCellType(4, 1, 5, 0);
    FailWritesOf("/CURRENT_GAME/Level1.lvl");
    OnExitPad();
    CheckLevelExit(*window);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              "The file CURRENT_GAME\\LEVEL1.LVL could not be written (No space left on "
              "device): the level is not left.");
    EXPECT_EQ(Heroes[0].LevelName, demo::LevelName(1));
    EXPECT_EQ(Level.SizeX, 16);
    CheckLevelExit(*window);
    EXPECT_EQ(messages.texts.size(), 1u) << "asked again while still on the exit";

    // Off the exits and back, with room on the disk: the level is left whole.
    platform::fs::SetWriteFault({});
    LevelExitRefused = 0;
    CheckLevelExit(*window);
    EXPECT_EQ(Heroes[0].LevelName, demo::LevelName(2));
    GoToLevel(demo::LevelName(1), 12, 1, 5, *window);
    EXPECT_EQ(GetCellType(4, 1, 5), 0);
}

TEST_F(ComStuffFlow, ABadLevelFileEndsTheGameWithAFailureNamingIt) {
    folder.Write("LEVEL/Level1.lvl", "not a level");
    try {
        NewGame();
        FAIL() << "the game went on";
    } catch (const platform::HaltRequested& halt) {
        EXPECT_EQ(halt.exitCode, kDataErrorStatus);
    }
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "The file LEVEL\\Level1.lvl is missing or invalid.");
}

TEST_F(ComStuffFlow, AWorkingCopyThatIsALinkIsNeverWrittenThrough) {
    // A new game puts a folder of its own in the link's place.
    folder.Write("outside/keep.txt", "kept");
    std::filesystem::remove_all(folder.Path("CURRENT_GAME"));
    std::filesystem::create_directory_symlink(folder.Path("outside"), folder.Path("CURRENT_GAME"));
    NewGame();
    ASSERT_EQ(GameMode, ModePlay);
    EXPECT_FALSE(platform::fs::IsLink("CURRENT_GAME"));
    EXPECT_EQ(FileBytes("CURRENT_GAME/LEVEL1.LVL"), FileBytes("LEVEL/Level1.lvl"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("outside")),
                            std::filesystem::directory_iterator()),
              1);

    // A link put there during the game is refused, and says why.
    std::filesystem::rename(folder.Path("CURRENT_GAME"), folder.Path("outside/own"));
    std::filesystem::create_directory_symlink(folder.Path("outside/own"),
                                              folder.Path("CURRENT_GAME"));
    const std::string before = FileBytes("outside/own/LEVEL1.LVL");
    OnExitPad();
    CheckLevelExit(*window);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("CURRENT_GAME is a link"), std::string::npos);
    EXPECT_EQ(Heroes[0].LevelName, demo::LevelName(1));
    EXPECT_EQ(FileBytes("outside/own/LEVEL1.LVL"), before);
}

}  // namespace
