// The menu commands run as the menu bar runs them: an item clicked in the
// bar (described through a recording toolkit) goes to RunMenuChoice, a key to
// RunMenuShortcut, the save and load dialog scripted in place of a user. The
// demo game plays on a hidden window; message boxes are recorded.
#include "shell/MenuCommands.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/G3DState.h"
#include "game/level/SaveGames.h"
#include "game/media/Music.h"
#include "game/GameIni.h"
#include "game/media/Video.h"
#include "platform/fs/FileSystem.h"
#include "platform/ui/RecordingUi.h"
#include "shell/GameForm.h"
#include "shell/LocalisationUnit.h"
#include "shell/SaveGameUnit.h"
#include "tests/common/ScratchFolder.h"
#include "tests/shell/FlowTestWorld.h"

namespace {

constexpr uint8_t kF9 = 120, kEscape = 27, kShift = 16;

class MenuCommandsTest : public ::testing::Test, protected flowtest::FlowTestWorld {
  protected:
    MenuCommandsTest() {
        ApplyDictionary();
        MainMenu = DesignedMainMenu();
        HudMessage = {};
    }
    ~MenuCommandsTest() override {
        MainMenu = DesignedMainMenu();
        FormActivated = 0;
        SaveGameForm = nullptr;
    }

    // Clicks the item `id` of the menu bar and runs what it chose.
    void Choose(const std::string& id) {
        platform::ui::RecordingUi bar;
        bar.Click(id);
        std::optional<MenuChoice> choice;
        bar.Frame([&](platform::ui::Ui& ui) { choice = DrawMainMenu(ui, MainMenu); });
        ASSERT_TRUE(choice) << id;
        RunMenuChoice(*choice, *window);
    }

    void ExpectFrame(int32_t width, int32_t height, const std::string& what) {
        EXPECT_EQ(DStuff.Frame.Width, width) << what;
        EXPECT_EQ(DStuff.Frame.Height, height) << what;
    }
};

TEST_F(MenuCommandsTest, ARefusedScreenModeLeavesTheWindowAsItWas) {
    BuildScreenSizeMenu(MainMenu, *window);
    FullScreenActive = false;
    int width = 0, height = 0;
    window->ClientSize(width, height);
    const int32_t frameWidth = DStuff.Frame.Width, frameHeight = DStuff.Frame.Height;
    ASSERT_NE(frameWidth, 320);
    // The display takes no mode here: the listed size is refused like any.
    Choose("ScreenSize320x240");
    for (const char* caption : {"320x", "x240", "0x0", "320x240x", "3x240", "99999x240"}) {
        ScreenSizeClick(*window, caption);
    }
    int afterWidth = 0, afterHeight = 0;
    window->ClientSize(afterWidth, afterHeight);
    EXPECT_EQ(afterWidth, width);
    EXPECT_EQ(afterHeight, height);
    ExpectFrame(frameWidth, frameHeight, "refused");
    EXPECT_FALSE(FullScreenActive);
    EXPECT_FALSE(window->FullScreen());
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(HudMessage.on, 0) << HudMessage.text;
}

TEST_F(MenuCommandsTest, AResizeTakesSizesButNeverZero) {
    const int32_t width = DStuff.Frame.Width, height = DStuff.Frame.Height;
    FormResize(*window, 322, 201);  // before the first activation
    ExpectFrame(width, height, "not activated");
    FormActivated = 1;
    const struct {
        int width, height;
    } ignored[] = {{0, 201}, {322, 0}, {0, 0}, {-8, 201}, {322, -1}, {3, 201}};
    for (const auto& size : ignored) {
        FormResize(*window, size.width, size.height);
        ExpectFrame(width, height, std::to_string(size.width) + "x" + std::to_string(size.height));
    }
    FormResize(*window, 322, 201);
    ExpectFrame(320, 201, "rounded down to 4 across");
}

TEST_F(MenuCommandsTest, SavingTheConfigurationSaysSoOnlyWhenItWorked) {
    ASSERT_FALSE(LocalisedMessages[19].empty());
    Choose("SaveConfig1");
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(HudMessage.on, 1);
    EXPECT_EQ(HudMessage.text, LocalisedMessages[19]);
    EXPECT_NE(FileBytes("game.ini").find("DepthOfView="), std::string::npos);

    // game.ini turned into a folder cannot be written.
    HudMessage = {};
    std::filesystem::remove(folder.Path("game.ini"));
    std::filesystem::create_directory(folder.Path("game.ini"));
    Choose("SaveConfig1");
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "The file game.ini could not be written.");
    EXPECT_EQ(HudMessage.on, 0) << HudMessage.text;
}

TEST_F(MenuCommandsTest, ALoadEndsTheScreensClipsAndMediaFirst) {
    NewGame();
    ASSERT_EQ(GameMode, ModePlay);
    ASSERT_TRUE(SaveGame("Slot"));
    auto recording = std::make_unique<platform::ui::RecordingUi>();
    platform::ui::RecordingUi* dialogUi = recording.get();
    TSaveGameForm dialog(std::move(recording));
    SaveGameForm = &dialog;
    dialogUi->beforeFrame = [](platform::ui::RecordingUi& ui) {
        ui.ClickEntry("FileList", 0);
        ui.Click("ActionButton");
    };
    // What each screen has running when the load is chosen; the intro is
    // the next clip, as after the developer video. Plain play keeps its
    // music and the clip that loops it.
    const struct {
        const char* what;
        int32_t mode;
        bool video, cutScene, messageClip, ends;
    } cases[] = {
        {"title screen with its video and music", ModeTitle, true, false, false, true},
        {"end screen with its video", ModeEnd, true, false, false, true},
        {"cut-scene in play", ModePlay, false, true, false, true},
        {"message clip on the title screen", ModeTitle, false, false, true, true},
        {"plain play with the level's music", ModePlay, false, false, false, false},
    };
    for (const auto& c : cases) {
        SetGameMode(c.mode, *window);
        HudMessage = {};
        NextClip = kIntroClip;
        MusicClip = kIntroClip;
        VideoPlaying = c.video ? 1 : 0;
        KeyFramesRunning = c.cutScene ? 1 : 0;
        CurrentClip = c.cutScene || !c.ends ? kIntroClip : -1;
        MessageClip = c.messageClip ? kIntroClip : -1;
        Choose("LoadGamePosition1");
        EXPECT_EQ(GameMode, ModePlay) << c.what;
        const int32_t kept = c.ends ? -1 : kIntroClip;
        EXPECT_EQ(NextClip, kept) << c.what;
        EXPECT_EQ(KeyFramesRunning, 0) << c.what;
        EXPECT_EQ(CurrentClip, kept) << c.what;
        EXPECT_EQ(MessageClip, -1) << c.what;
        EXPECT_EQ(VideoPlaying, 0) << c.what;
        EXPECT_EQ(MusicClip, kept) << c.what;
        EXPECT_EQ(HudMessage.text, LocalisedMessages[18]) << c.what;
        EXPECT_TRUE(messages.texts.empty()) << c.what << ": " << messages.texts.front();
    }
}

TEST_F(MenuCommandsTest, ASaveNameIsRefusedWithItsReasonOnlyWhenNoFolderCanBearIt) {
    NewGame();
    auto recording = std::make_unique<platform::ui::RecordingUi>();
    platform::ui::RecordingUi* dialogUi = recording.get();
    TSaveGameForm dialog(std::move(recording));
    SaveGameForm = &dialog;
    const struct {
        std::string name, said;  // said: in the message box; empty: saved
    } cases[] = {
        {"", LocalisedMessages[2]}, {"a/b", "\"/\""}, {"..", "\"..\""}, {"a..b", ""}, {" x.", ""}};
    for (const auto& c : cases) {
        int frames = 0;
        dialogUi->beforeFrame = [&](platform::ui::RecordingUi& ui) {
            if (++frames == 1) {
                ui.Type("FileName", c.name);
                ui.Click("ActionButton");
            } else {
                ui.Click("CancelButton");  // after a refusal
            }
        };
        messages.texts.clear();
        Choose("SaveGamePosition");
        if (c.said.empty()) {
            EXPECT_TRUE(messages.texts.empty()) << c.name << ": " << messages.texts.front();
            EXPECT_TRUE(platform::fs::FileExists("SAVEGAME/" + c.name + "/savegame.bin")) << c.name;
            continue;
        }
        ASSERT_EQ(messages.texts.size(), 1u) << c.name;
        EXPECT_NE(messages.texts[0].find(c.said), std::string::npos) << messages.texts[0];
        EXPECT_EQ(messages.texts[0] == LocalisedMessages[2], c.name.empty()) << messages.texts[0];
    }
}

TEST_F(MenuCommandsTest, ShortcutsTakeKeysOnlyWhileTheBarIsShown) {
    MainMenu[MenuItemId::TitleMenu].shortcut = {kEscape, false, false};  // after start-up
    const struct {
        bool shown, shift;
        uint8_t key;
        bool repeat, taken, toggles;
    } cases[] = {
        {true, false, kF9, false, true, true},        {true, false, kF9, true, true, false},
        {true, true, kF9, false, false, false},       {false, false, kF9, false, false, false},
        {false, false, kEscape, false, false, false},
    };
    for (const auto& c : cases) {
        // The bar is hidden and shown again by its character, as typed.
        if (MainMenu.shown != c.shown) FormKeyPress(*window, static_cast<char>(178));
        ASSERT_EQ(MainMenu.shown, c.shown);
        KeyDown[kShift] = c.shift ? 1 : 0;
        const uint8_t fps = ShowFPS;
        const int32_t mode = GameMode;
        EXPECT_EQ(RunMenuShortcut(c.key, c.repeat, *window), c.taken) << int{c.key};
        EXPECT_EQ(ShowFPS != fps, c.toggles) << int{c.key};
        EXPECT_EQ(GameMode, mode) << int{c.key};
    }
    KeyDown[kShift] = 0;
    // Shown again, Esc is the title screen command's.
    FormKeyPress(*window, static_cast<char>(178));
    ASSERT_TRUE(MainMenu.shown);
    NewGame();
    EXPECT_TRUE(RunMenuShortcut(kEscape, false, *window));
    EXPECT_EQ(GameMode, ModeTitle);
}

TEST_F(MenuCommandsTest, HelpOpensOnlyADocumentOfTheGamesFolder) {
    // An opener of our own on the PATH writes down what it was handed.
    folder.Write("bin/xdg-open", "#!/bin/sh\nprintf %s \"$1\" > \"$0.opened\"\n");
    std::filesystem::permissions(folder.Path("bin/xdg-open"), std::filesystem::perms::owner_all);
    const std::string opened = folder.Path("bin/xdg-open.opened");
    const std::string path = getenv("PATH");
    setenv("PATH", folder.Path("bin").c_str(), 1);
    folder.Write("Docs/Help.TXT", "help");
    folder.Write("run.sh", "#!/bin/sh\n");
    folder.Write("Docs/help.desktop", "[Desktop Entry]\nExec=true\n");
    const testutil::ScratchFolder elsewhere;
    elsewhere.Write("help.txt", "not the game's");
    std::filesystem::create_symlink(elsewhere.Path("help.txt"), folder.Path("linked.txt"));
    const std::string outside =
        "..\\" + std::filesystem::path(elsewhere.Root()).filename().string();
    const struct {
        std::string helpFile;
        const char* said;  // on stderr; empty: opened
    } cases[] = {
        {"docs\\help.txt", ""},
        {outside + "\\help.txt", "it is not inside the game's folder"},
        {"linked.txt", "it is not inside the game's folder"},
        {"run.sh", "it is a program"},
        {"Docs\\help.desktop", "it is a desktop launcher"},
        {"Docs", "it is not a file"},
    };
    for (const auto& c : cases) {
        HelpFile = c.helpFile;
        std::filesystem::remove(opened);
        testing::internal::CaptureStderr();
        RunMenuChoice({MenuItemId::Aide1, {}}, *window);
        const std::string said = testing::internal::GetCapturedStderr();
        if (*c.said != '\0') {
            EXPECT_EQ(said, "The help file " + std::string(c.helpFile) +
                                " is not opened: " + c.said + ".\n");
            continue;
        }
        EXPECT_EQ(said, "");
        // The opener runs on its own: its file may be there before its text.
        std::string handed;
        for (int i = 0; i < 500 && (!platform::fs::ReadWholeFile(opened, handed) || handed.empty());
             ++i) {
            usleep(20000);
        }
        EXPECT_EQ(handed, folder.Path("Docs/Help.TXT"));
    }
    // No opener at all.
    setenv("PATH", folder.Path("Docs").c_str(), 1);
    HelpFile = "Docs\\Help.txt";
    testing::internal::CaptureStderr();
    RunMenuChoice({MenuItemId::Aide1, {}}, *window);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "The help file Docs\\Help.txt is not opened: no desktop opener (xdg-open) is "
              "installed.\n");
    setenv("PATH", path.c_str(), 1);
}

TEST(SaveGameFormKeys, TheListKeysChooseAsAClickUnlessTheNameIsTyped) {
    auto recording = std::make_unique<platform::ui::RecordingUi>();
    platform::ui::RecordingUi* ui = recording.get();
    TSaveGameForm dialog(std::move(recording));
    const uint8_t kUp = 0x26, kDown = 0x28, kHome = 0x24, kEnd = 0x23, kPageDown = 0x22;
    const struct {
        bool saveMode, typing;
        std::vector<uint8_t> keys;
        std::string name;  // FileName after the keys
    } cases[] = {
        {false, false, {kDown}, "s01"},
        {false, false, {kUp}, "s00"},  // already at the first: chosen all the same
        {false, false, {kEnd, kUp, kUp}, "s09"},
        {false, false, {kPageDown, kPageDown}, "s11"},
        {false, false, {kEnd, kHome}, "s00"},
        {false, false, {0x41}, ""},  // not a list key
        {true, false, {kDown, kDown}, "s02"},
        {true, true, {kDown}, ""},  // typing in the name field
    };
    for (const auto& c : cases) {
        dialog.SaveMode = c.saveMode;
        ui->typing = c.typing;
        dialog.FileList = {"s00", "s01", "s02", "s03", "s04", "s05",
                           "s06", "s07", "s08", "s09", "s10", "s11"};
        dialog.Selected = 0;
        dialog.FileName.clear();
        for (const uint8_t key : c.keys) dialog.OnKeyDown(key, false);
        EXPECT_EQ(dialog.FileName, c.name) << c.saveMode << c.typing << int{c.keys[0]};
    }
    dialog.FileList.clear();
    dialog.Selected = -1;
    dialog.SaveMode = false;
    dialog.OnKeyDown(kDown, false);  // an empty list: nothing to choose
    EXPECT_EQ(dialog.Selected, -1);
}

}  // namespace
