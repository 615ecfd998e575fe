// game.ini read at start-up and written back, with a real (hidden) window and
// the engine's null backend.
#include "game/GameIni.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "engine/G3DState.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "support/WinFunc.h"
#include "tests/common/ScratchFolder.h"

namespace {

class GameIniTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::Application::Instance().Initialise());
        previousFolder = platform::fs::CurrentFolder();
        ASSERT_TRUE(platform::fs::SetCurrentFolder(folder));
        GameFolder = folder;
        MakeWindow();
        for (uint8_t& key : KeyBindings) key = 99;
    }
    void MakeWindow() {
        window.reset();
        platform::WindowSettings settings;
        settings.visible = false;
        settings.centred = false;
        window = std::make_unique<platform::Window>(settings);
    }
    void TearDown() override {
        window.reset();
        platform::fs::SetCurrentFolder(previousFolder);
        platform::Application::Instance().Finalise();
    }
    void WriteIni(const std::string& text) { scratch.Write("Game.INI", text); }
    std::string ReadIni() {
        std::string bytes;
        platform::fs::ReadWholeFile(folder + "/game.ini", bytes);
        return bytes;
    }

    testutil::ScratchFolder scratch;
    const std::string folder = scratch.Root();
    std::string previousFolder;
    std::unique_ptr<platform::Window> window;
};

TEST_F(GameIniTest, MissingFileGivesTheDefaults) {
    ReadGameIni(*window);
    int width = 0, height = 0;
    window->ClientSize(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(DepthOfView, 14);
    EXPECT_TRUE(MusicOn);
    EXPECT_FALSE(MouseMode);
    for (uint8_t key : KeyBindings) EXPECT_EQ(key, 0);
    EXPECT_EQ(GameTitle, "Ostra 2 Player");
    EXPECT_EQ(window->Title(), "Ostra 2 Player");
    EXPECT_EQ(platform::Application::Instance().Title(), "Ostra 2 Player");
    EXPECT_EQ(StartSaveNumber, 1000);
    EXPECT_FLOAT_EQ(HudSettings.WeaponLeft, 0.8f);
    EXPECT_FLOAT_EQ(HudSettings.GolemHeight, 0.121f);
    EXPECT_FLOAT_EQ(HudSettings.TimerHealth, 2.5f);
    EXPECT_EQ(HudSettings.Pictures.bigFont.height, 15);
    EXPECT_EQ(DStuff.Frame.Width, 320);
    EXPECT_EQ(DStuff.Frame.Height, 240);
    EXPECT_EQ(Level.LoadedQuality, "High");
    EXPECT_EQ(Level.Clips[33].Name, "Developer");
    EXPECT_EQ(Level.Clips[33].NextClip, 34);
}

TEST_F(GameIniTest, EveryKeyIsReadFromAFileInAnyLetterCase) {
    WriteIni(
        "[General]\r\nTop=40\r\nLeft=30\r\nWidth=400\r\nHeight=300\r\nDepthOfView=20\r\n"
        "MouseMode=1\r\nMusic=0\r\n"
        "[Control]\r\nKeyWeapon=87\r\nKeyInventory=73\r\nKeyLookUp=38\r\nKeyButton4=17\r\n"
        "[Game]\r\nSmallFontBitmap=Fonts\\Small.pcx\r\nSmallFontWidth=5\r\nBigFontHeight=20\r\n"
        "IntroMusic=Intro.mod\r\nWeaponLeft=0.5\r\nLifeAlpha=30\r\nTimerHealth=-1.5\r\n"
        "StartLevel=Level1.lvl\r\nStartSaveNumber=3\r\nCameraMinDistance=200\r\n"
        "CameraMaxDistance=2000\r\nCameraStep=100\r\nMenuSound=menu.wav\r\nHelpFile=help.html\r\n"
        "GameTitle=Demo Quest\r\n");
    ReadGameIni(*window);
    int width = 0, height = 0;
    window->ClientSize(width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    EXPECT_EQ(DepthOfView, 20);
    EXPECT_TRUE(MouseMode);
    EXPECT_FALSE(MusicOn);
    EXPECT_EQ(KeyBindings[13], 87);
    EXPECT_EQ(KeyBindings[12], 73);
    EXPECT_EQ(KeyBindings[0], 38);
    EXPECT_EQ(KeyBindings[11], 17);
    EXPECT_EQ(KeyBindings[1], 0);
    EXPECT_EQ(HudSettings.Pictures.smallFontBitmap, "Fonts\\Small.pcx");
    EXPECT_EQ(HudSettings.Pictures.smallFont.width, 5);
    EXPECT_EQ(HudSettings.Pictures.smallFont.height, 7);
    EXPECT_EQ(HudSettings.Pictures.bigFont.height, 20);
    EXPECT_FLOAT_EQ(HudSettings.WeaponLeft, 0.5f);
    EXPECT_EQ(HudSettings.LifeAlpha, 30);
    EXPECT_FLOAT_EQ(HudSettings.TimerHealth, -1.5f);
    EXPECT_EQ(StartLevel, "Level1.lvl");
    EXPECT_EQ(StartSaveNumber, 3);
    EXPECT_EQ(CameraMinDistance, 200);
    EXPECT_EQ(CameraMaxDistance, 2000);
    EXPECT_EQ(CameraStep, 100);
    EXPECT_EQ(MenuSoundFile, "menu.wav");
    EXPECT_EQ(HelpFile, "help.html");
    EXPECT_EQ(GameTitle, "Demo Quest");
    EXPECT_EQ(window->Title(), "Demo Quest");
    EXPECT_EQ(Level.Clips[34].Music, "Intro.mod");
}

TEST_F(GameIniTest, SizesOfNothingNeverReachTheWindowOrTheEngine) {
    WriteIni("[General]\nWidth=0\nHeight=-5\n");
    int before = 0, beforeHeight = 0;
    window->ClientSize(before, beforeHeight);
    ReadGameIni(*window);
    int width = 0, height = 0;
    window->ClientSize(width, height);
    EXPECT_EQ(width, before);
    EXPECT_GT(DStuff.Frame.Width, 0);
    EXPECT_GT(DStuff.Frame.Height, 0);
}

TEST_F(GameIniTest, ResolutionIndexOfKnownFrameHeights) {
    const int heights[] = {120, 200, 240, 384, 480, 600, 768, 1024, 1200};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ResolutionIndex(heights[i]), i);
    EXPECT_EQ(ResolutionIndex(300), 2);
    EXPECT_EQ(ResolutionIndex(0), 2);
}

TEST_F(GameIniTest, SaveWritesGeneralAndControlInOrderAndKeepsTheRest) {
    WriteIni("[Game]\nGameTitle=Kept\n; a comment\n[General]\nTop=5\n");
    ReadGameIni(*window);
    window->SetClientSize(640, 480);
    window->SetPosition(12, 34);
    DStuff.CentreY = 240;  // a 480-line frame
    KeyBindings[0] = 38;
    KeyBindings[13] = 87;
    MusicOn = false;
    HighTextures = 1;
    ASSERT_TRUE(WriteGameIni(*window));
    int left = 0, top = 0;
    window->Position(left, top);
    const std::string expected =
        "[Game]\r\nGameTitle=Kept\r\n"
        "[General]\r\nTop=" +
        std::to_string(top) + "\r\nLeft=" + std::to_string(left) +
        "\r\nWidth=640\r\nHeight=480\r\nDepthOfView=14\r\nResolution=4\r\nFullscreen=0\r\n"
        "MouseMode=0\r\nMusic=0\r\nTexture=1\r\n"
        "[Control]\r\nKeyWeapon=87\r\nKeyInventory=0\r\nKeyLookUp=38\r\nKeyLookDown=0\r\n"
        "KeyMoveUp=0\r\nKeyMoveDown=0\r\nKeyLookLeft=0\r\nKeyLookRight=0\r\nKeyMoveLeft=0\r\n"
        "KeyMoveRight=0\r\nKeyButton1=0\r\nKeyButton2=0\r\nKeyButton3=0\r\nKeyButton4=0\r\n";
    std::string actual;
    platform::fs::ReadWholeFile(folder + "/Game.INI", actual);
    EXPECT_EQ(actual, expected);
}

TEST_F(GameIniTest, AFailedSaveIsReported) {
    ReadGameIni(*window);
    GameFolder = folder + "/missing";
    ASSERT_TRUE(platform::fs::SetCurrentFolder(folder));
    ASSERT_EQ(0, std::system(("mkdir " + folder + "/game.ini").c_str()));  // a folder in the way
    EXPECT_FALSE(WriteGameIni(*window));
}

TEST_F(GameIniTest, ALinkedFileIsReadAndSavedWhole) {
    scratch.Write("shared/game.ini", "[Game]\r\nGameTitle=Linked\r\n");
    ASSERT_EQ(symlink("shared/game.ini", (folder + "/game.ini").c_str()), 0);
    ReadGameIni(*window);
    EXPECT_EQ(GameTitle, "Linked");
    ASSERT_TRUE(WriteGameIni(*window));
    std::string bytes;
    ASSERT_TRUE(platform::fs::ReadWholeFile(folder + "/shared/game.ini", bytes));
    EXPECT_EQ(bytes.substr(0, 41), "[Game]\r\nGameTitle=Linked\r\n[General]\r\nTop=");
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/game.ini"));
}

TEST_F(GameIniTest, AnUnreadableFileGivesTheDefaultsAndIsNamedOnStderr) {
    const std::string path = folder + "/game.ini";
    const struct {
        std::function<void()> make;
        const char* reason;
    } cases[] = {
        {[&] { std::filesystem::create_directory(path); }, "is not a regular file"},
        {[&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, "is not a regular file"},
        {[&] {
             scratch.Write("game.ini", "[Game]\nGameTitle=Locked\n");
             chmod(path.c_str(), 0);
         },
         "Permission denied"},
    };
    for (const auto& c : cases) {
        c.make();
        if (geteuid() == 0 && std::string(c.reason) == "Permission denied") break;  // root reads it
        GameTitle = "stale";
        testing::internal::CaptureStderr();
        ReadGameIni(*window);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), path + ": " + c.reason + "\n");
        EXPECT_EQ(GameTitle, "Ostra 2 Player");
        std::filesystem::remove_all(path);
    }
}

TEST_F(GameIniTest, AGameIniGivingOnlyTheDefaultsIsSaidNamingTheFolder) {
    const struct {
        const char* bytes;  // nullptr: no file
        std::string said;
    } cases[] = {
        {nullptr, "No game.ini in " + folder + ": the default settings are used.\n"},
        {"", "The game.ini of " + folder +
                 " has none of the sections [General], [Control] and [Game]: the default "
                 "settings are used.\n"},
        {"\x1b[31mnot an ini\x01", "The game.ini of " + folder +
                                       " has none of the sections [General], [Control] and "
                                       "[Game]: the default settings are used.\n"},
        {"[game]\nGameTitle=Quest\n", ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder + "/Game.INI");
        if (c.bytes != nullptr) WriteIni(c.bytes);
        testing::internal::CaptureStderr();
        ReadGameIni(*window);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
    }
}

TEST_F(GameIniTest, WindowSizesOutOfRangeAreHeldToWhatTheWindowAndEngineTake) {
    struct Case {
        const char* width;
        const char* height;
        int frameWidth, frameHeight;  // 0: the window's own size
        bool said;
    };
    const int most = platform::Window::kMaxClientSide;
    for (const Case& c :
         {Case{"640", "480", 640, 480, false}, Case{"100000", "240", most, 240, true},
          Case{"1", "1", 4, 2, true}, Case{"2147483647", "32768", most, most, true},
          Case{"0", "-5", 0, 0, true}}) {
        MakeWindow();
        int ownWidth = 0, ownHeight = 0;
        window->ClientSize(ownWidth, ownHeight);
        WriteIni(std::string("[General]\nWidth=") + c.width + "\nHeight=" + c.height + "\n");
        DStuff.Frame.Width = DStuff.Frame.Height = 0;
        testing::internal::CaptureStderr();
        ReadGameIni(*window);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(DStuff.Frame.Width, c.frameWidth ? c.frameWidth : ownWidth) << c.width;
        EXPECT_EQ(DStuff.Frame.Height, c.frameHeight ? c.frameHeight : ownHeight) << c.height;
        EXPECT_EQ(said.find("game.ini: Width=") != std::string::npos ||
                      said.find("game.ini: Height=") != std::string::npos,
                  c.said)
            << said;
    }
}

}  // namespace
