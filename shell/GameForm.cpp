#include "shell/GameForm.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/G3DImages.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/clips/ClipPlayback.h"
#include "game/draw/HudText.h"
#include "game/level/LevelStuff.h"
#include "game/media/Media.h"
#include "game/media/Video.h"
#include "game/StartUp.h"
#include "platform/ui/WindowUi.h"
#include "platform/window/Application.h"
#include "shell/ComStuff.h"
#include "shell/Controls.h"
#include "shell/GameScene.h"
#include "shell/LocalisationUnit.h"
#include "shell/MenuCommands.h"
#include "shell/OptionUnit.h"
#include "shell/PlayFrame.h"
#include "support/WinFunc.h"

uint8_t GameStarted = 0;
uint8_t FormActivated = 0;
float TimeScale = 1.0f;
TScreenForm* ScreenForm = nullptr;

namespace {
constexpr uint32_t kScreenSaveCommand = 61760;
constexpr uint32_t kMonitorPowerCommand = 61808;
}  // namespace

TScreenForm::TScreenForm(platform::Surface surface) {
    // The window as designed: a small sizeable window at the screen centre.
    platform::WindowSettings settings;
    settings.title = platform::Application::Instance().Title();
    settings.width = 328;
    settings.height = 267;
    settings.surface = surface;
    window_ = std::make_unique<platform::Window>(settings);
    window_->SetListener(this);
    // The menu bar takes a strip above the client area and is drawn over
    // every frame shown.
    MainMenu = DesignedMainMenu();
    ui_ = std::make_unique<platform::ui::WindowUi>(*window_, platform::ui::UiKind::MenuBar);
    window_->SetOverlay([this] { DrawMenuBar(); });
    // FormCreate.
    GameStarted = 0;
    FormActivated = 0;
}

TScreenForm::~TScreenForm() {
    window_->SetOverlay(nullptr);
    ui_.reset();
}

void TScreenForm::DrawMenuBar() {
    if (!MainMenu.shown) return;
    ui_->Frame([this](platform::ui::Ui& ui) {
        if (auto choice = DrawMainMenu(ui, MainMenu)) chosen_ = choice;
    });
}

void TScreenForm::RunChosenCommand() {
    if (!chosen_) return;
    const MenuChoice choice = *chosen_;
    chosen_.reset();
    RunMenuChoice(choice, *window_);
}

void TScreenForm::OnPaint() {
    if (platform::Application::Instance().ModalWindow() != nullptr) {
        window_->ShowLastFrame();
        return;
    }
    GameFrame();
}

void TScreenForm::FormActivate() {
    ApplyDictionary();
    window_->Raise();
    BuildScreenSizeMenu();
    if (FormActivated == 1) return;
    GameFrame();  // start-up has not run: the window is painted black
    StartUpGame(*window_);
    GameMode = ModeNone;
    TimeScale = 1.0f;
    ResetFrameStep();
    GameStarted = 1;
    SetGameMode(ModeTitle, *window_);
    TitleMenuShortcut = {27, false};
    WindowModeMenuShortcut = {13, true};
    FormActivated = 1;
    platform::Application::Instance().SetIdleHandler([this](bool& done) { GameLoop(done); });
}

void TScreenForm::GameLoop(bool& done) {
    GameFrame();
    RunChosenCommand();  // between two frames
    if (OptionForm != nullptr) OptionForm->Idle();
    done = false;
}

void TScreenForm::GameFrame() {
    if (GameStarted == 0) {
        window_->FillBlack();
        return;
    }
    ReadControls(*window_);
    GlobalKeys(*window_);
    PollMedia(*window_);
    AdvanceGameTime(TimeScale);
    StartFrameStep();
    if (KeyFramesRunning != 0) {
        AdvanceClip(Level, DStuff, *window_);
    } else {
        RunModeFrame(*window_);
    }
    if (VideoPlaying != 0) {
        DrawVideoFrame(*window_);  // the video covers the window: no overlay, no present
    } else {
        DrawHudMessage();
        DrawMessageClip();
        if (ShowFPS != 0) DrawOpaqueText(FrameRateText(FrameStep), 0, 0.91f, 0.005f);
        PresentFrame(*window_);
    }
    ++FramesRun;
    MouseLeftDown = 0;
    MouseRightDown = 0;
}

std::string FrameRateText(int32_t frameStep) {
    const double step = frameStep < 1 ? 1.0 : static_cast<double>(frameStep);
    return "FPS:" + std::to_string(static_cast<int64_t>(std::nearbyint(1000.0 / step)));
}

void DrawHudMessage() {
    if (HudMessage.on == 0) return;
    HudMessage.timeLeft -= FrameStep;
    if (HudMessage.timeLeft < 0) HudMessage.on = 0;
    // Drawn in the frame in which its time runs out too.
    DrawOpaqueText(HudMessage.text, 0, 0.01f, 0.01f);
}

void RunModeFrame(platform::Window& form) {
    switch (GameMode) {
        case ModeTitle:
            TitleFrame(form);
            break;
        case ModePlay:
            if (VideoPlaying == 0) PlayFrame(form);
            break;
        case ModeEnd:
            EndFrame(form);
            break;
        default:
            break;
    }
}

void DrawMessageClip() {
    if (MessageClip == -1) return;
    if (MessageClip < 0 || MessageClip >= kClipCount) {
        MessageClip = -1;
        return;
    }
    const ClipStuff& clip = Level.Clips[MessageClip];
    if (!clip.DisplayedBitmap.empty()) {
        G3DDrawImage(kMessagePictureSlot, true, clip.DisplayedBitmapAlpha, 0, 0, 1.0f, 1.0f,
                     DStuff);
    }
    DrawRichText(clip.DisplayedMessage, DStuff, clip.DisplayedMessageLeft,
                 clip.DisplayedMessageTop);
    // Drawn in its last frame too.
    if (int64_t{FrameTime} - MessageClipStart > clip.DisplayedDuration) MessageClip = -1;
}

void TScreenForm::FormClose() { ShutDownGame(*window_); }

bool TScreenForm::RefusesSystemCommand(uint32_t command) {
    return command == kMonitorPowerCommand || command == kScreenSaveCommand;
}

void TScreenForm::BuildScreenSizeMenu() { ::BuildScreenSizeMenu(MainMenu, *window_); }

void TScreenForm::OnKeyDown(uint8_t virtualKey, bool repeat) {
    // A menu shortcut is the menu's key, not the game's.
    if (RunMenuShortcut(virtualKey, repeat, *window_)) return;
    KeyDown[virtualKey] = 1;
}

void TScreenForm::OnKeyPress(char character) { FormKeyPress(*window_, character); }

void TScreenForm::OnResize(int clientWidth, int clientHeight) {
    FormResize(*window_, clientWidth, clientHeight);
}

void TScreenForm::OnKeyUp(uint8_t virtualKey) { KeyDown[virtualKey] = 0; }

void TScreenForm::OnFocusLost() {
    // The releases of keys held now go to another window.
    std::fill(std::begin(KeyDown), std::end(KeyDown), uint8_t{0});
}

void TScreenForm::OnMouseDown(platform::MouseButton button) {
    if (button == platform::MouseButton::Left) MouseLeftDown = 1;
    if (button == platform::MouseButton::Right) MouseRightDown = 1;
}
