#include "shell/MenuCommands.h"

#include <charconv>

#include "engine/G3DCamera.h"
#include "engine/G3DEngine.h"
#include "game/GameIni.h"
#include "game/StartUp.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/level/SaveGames.h"
#include "game/media/Music.h"
#include "game/media/Video.h"
#include "platform/desktop/DocumentOpener.h"
#include "platform/fs/FileSystem.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/WindowUi.h"
#include "platform/window/KeyMap.h"
#include "platform/window/Window.h"
#include "shell/ComStuff.h"
#include "shell/GameForm.h"
#include "shell/LocalisationUnit.h"
#include "shell/OptionUnit.h"
#include "shell/PlayFrame.h"
#include "shell/SaveGameUnit.h"
#include "support/WinFunc.h"

uint8_t ReliefMode = 0;

namespace {

constexpr char kMenuBarKey = static_cast<char>(178);
constexpr int32_t kEyeSeparation = 30;

const std::string& Message(int n) { return LocalisedMessages[static_cast<size_t>(n)]; }

// "<width>x<height>" in decimal, a size the engine can take.
bool ParseScreenSize(const std::string& caption, int32_t maxSide, int32_t& width, int32_t& height) {
    const size_t x = caption.find('x');
    if (x == std::string::npos) return false;
    const char* begin = caption.data();
    const char* end = begin + caption.size();
    const auto w = std::from_chars(begin, begin + x, width);
    const auto h = std::from_chars(begin + x + 1, end, height);
    return w.ec == std::errc() && w.ptr == begin + x && h.ec == std::errc() && h.ptr == end &&
           width >= kG3DMinFrameWidth && height >= kG3DMinFrameHeight && width <= maxSide &&
           height <= maxSide;
}

// A load from the title or end screen, or while a cut-scene, a message clip
// or a video plays: the screen's cut-scene, message clip, music and video end
// first, and none chains on. A load in plain play keeps the level's music and
// the clip that loops it.
void EndScreenMedia(platform::Window& form) {
    const bool clipPlays = KeyFramesRunning != 0 || MessageClip != -1 || VideoPlaying != 0;
    if (GameMode == ModePlay && !clipPlays) return;
    NextClip = -1;
    KeyFramesRunning = 0;
    MessageClip = -1;
    StopVideo(form);
    StopAllMusic();
}

}  // namespace

void Quitter1Click(platform::Window& form) { ShutDownGame(form); }

void SaveGamePositionClick(platform::Window& /*form*/) {
    HeroStuff& h = Heroes[CurrentHero];
    if (!MainMenu[MenuItemId::SaveGamePosition].enabled || h.SavesLeft <= 0) return;
    if (SaveGameForm == nullptr) return;
    SaveGameForm->SaveMode = true;
    if (!SaveGameForm->ShowModal()) return;
    const std::string slot = SaveGameForm->FileName;
    if (!SaveGame(slot)) {
        platform::ShowMessage("The game could not be saved in SAVEGAME\\" + slot + ".");
        return;
    }
    ShowHudMessage(Message(17));
    // The count saved is the one before this save, which a load gives back.
    if (h.SavesLeft < kUnlimitedSaves) --h.SavesLeft;
}

void LoadGamePosition1Click(platform::Window& form) {
    if (SaveGameForm == nullptr) return;
    SaveGameForm->SaveMode = false;
    if (!SaveGameForm->ShowModal()) return;
    const std::string slot = SaveGameForm->FileName;
    // A refused slot leaves the screen's media running.
    if (!LoadGame(slot, form, DStuff, [&form] { EndScreenMedia(form); }))
        return;  // it has said why
    SaveCountShown = -1;
    SetGameMode(ModePlay, form);
    ShowHudMessage(Message(18));
}

void TitleMenuClick(platform::Window& form) { SetGameMode(ModeTitle, form); }

void RenderingOptions1Click() {
    if (OptionForm != nullptr) OptionForm->Show();
}

void WindowModeMenuClick(platform::Window& form) { G3DWindowed(form, DStuff); }

void SaveConfig1Click(platform::Window& form) {
    if (!WriteGameIni(form)) {
        platform::ShowMessage("The file " + GameIniPath() + " could not be written.");
        return;
    }
    ShowHudMessage(Message(19));
}

void ModeSouris1Click() {
    MouseMode = !MouseMode;
    ShowHudMessage(Message(MouseMode ? 20 : 21));
    SetCursorVisible(!MouseMode);
}

void MontrerCacherFPS1Click() { ShowFPS = ShowFPS != 0 ? 0 : 1; }

void BasculerModeRelief1Click(platform::Window& form) {
    ReliefMode = static_cast<uint8_t>((ReliefMode + 1) % 3);
    if (DStuff.ReliefOn) G3DReliefOff(DStuff, form);
    switch (ReliefMode) {
        case 1:
            G3DSetReliefMode(255, 0, 0, 0, 255, 255, kEyeSeparation, DStuff, form);
            ShowHudMessage(Message(14));
            break;
        case 2:
            G3DSetReliefMode(0, 230, 0, 255, 0, 0, kEyeSeparation, DStuff, form);
            ShowHudMessage(Message(15));
            break;
        default:
            ShowHudMessage(Message(16));
            break;
    }
}

void Aide1Click() {
    if (HelpFile.empty()) return;
    // Only a document of the game's own folder is opened; what the opener
    // then shows is not looked at.
    const std::string real = platform::fs::CanonicalPath(HelpFile);
    const std::string folder = platform::fs::CanonicalPath(GameFolder) + "/";
    const std::string problem = real.compare(0, folder.size(), folder) != 0
                                    ? "it is not inside the game's folder"
                                    : platform::OpenDocument(real);
    if (!problem.empty()) {
        platform::ReportOnConsole("The help file " + HelpFile + " is not opened: " + problem + ".");
    }
}

void ScreenSizeClick(platform::Window& form, const std::string& caption) {
    int32_t width = 0, height = 0;
    if (!ParseScreenSize(caption, G3DMaxFrameSide(form), width, height)) return;
    int oldWidth = 0, oldHeight = 0;
    form.ClientSize(oldWidth, oldHeight);
    const int32_t oldFrameWidth = DStuff.Frame.Width, oldFrameHeight = DStuff.Frame.Height;
    const bool wasFullScreen = FullScreenActive;
    form.SetClientSize(width, height);
    G3DInit(width, height, DStuff, form);
    G3DFullScreen(form, DStuff);
    if (!form.FullScreen()) {
        // Refused by the display: everything as it was, and nothing said.
        FullScreenActive = wasFullScreen;
        form.SetClientSize(oldWidth, oldHeight);
        G3DInit(oldFrameWidth, oldFrameHeight, DStuff, form);
        return;
    }
    ShowHudMessage(Message(13) + " " + std::to_string(width) + "x" + std::to_string(height));
}

void RunMenuChoice(const MenuChoice& choice, platform::Window& form) {
    switch (choice.item) {
        case MenuItemId::Quitter1:
            return Quitter1Click(form);
        case MenuItemId::SaveGamePosition:
            return SaveGamePositionClick(form);
        case MenuItemId::LoadGamePosition1:
            return LoadGamePosition1Click(form);
        case MenuItemId::TitleMenu:
            return TitleMenuClick(form);
        case MenuItemId::RenderingOptions1:
            return RenderingOptions1Click();
        case MenuItemId::ScreenSizeMenu:
            return ScreenSizeClick(form, choice.screenSize);
        case MenuItemId::WindowModeMenu:
            return WindowModeMenuClick(form);
        case MenuItemId::SaveConfig1:
            return SaveConfig1Click(form);
        case MenuItemId::ModeSouris1:
            return ModeSouris1Click();
        case MenuItemId::MontrerCacherFPS1:
            return MontrerCacherFPS1Click();
        case MenuItemId::BasculerModeRelief1:
            return BasculerModeRelief1Click(form);
        case MenuItemId::Aide1:
            return Aide1Click();
        case MenuItemId::Quit1:
        case MenuItemId::Options1:
            return;  // menus, not commands
    }
}

bool RunMenuShortcut(uint8_t virtualKey, bool repeat, platform::Window& form) {
    const std::optional<MenuItemId> item =
        ShortcutItem(MainMenu, virtualKey, IsKeyDown(platform::vk::kControl) != 0,
                     IsKeyDown(platform::vk::kAlt) != 0, IsKeyDown(platform::vk::kShift) != 0);
    if (!item) return false;
    if (!repeat) RunMenuChoice({*item, {}}, form);
    return true;
}

void FormResize(platform::Window& form, int clientWidth, int clientHeight) {
    if (FormActivated == 0 || clientWidth <= 0 || clientHeight <= 0) return;
    G3DInit(clientWidth / 4 * 4, clientHeight, DStuff, form);  // a video follows by itself
}

void FormKeyPress(platform::Window& form, char character) {
    if (character != kMenuBarKey) return;
    MainMenu.shown = !MainMenu.shown;
    form.SetTopStrip(MainMenu.shown ? platform::ui::WindowUi::MenuBarHeight() : 0);
    // The window keeps its size: its client area is what changed.
    int width = 0, height = 0;
    form.ClientSize(width, height);
    FormResize(form, width, height);
}
