#include "shell/OptionUnit.h"

#include <algorithm>
#include <iterator>

#include "game/GameIni.h"
#include "game/level/LevelStuff.h"
#include "game/media/Music.h"
#include "platform/clock/Ticks.h"
#include "platform/ui/WindowUi.h"
#include "shell/ComStuff.h"
#include "shell/DialogWindow.h"
#include "shell/LocalisationUnit.h"
#include "support/WinFunc.h"

OptionTextsStuff OptionTexts;
TOptionForm* OptionForm = nullptr;

namespace {

constexpr int kWidth = 346, kHeight = 238;
constexpr int kKeyFieldWidth = 57;
constexpr uint32_t kPaintInterval = 16;  // ms between frames of the dialog
constexpr int32_t kMusicOn = 100;

// A key field and its label: the control it binds and where they are.
struct KeyControl {
    int control;
    const char* field;
    int labelLeft, labelTop, fieldLeft, fieldTop;
    bool shown;
};
constexpr KeyControl kKeyControls[] = {
    {2, "keyMoveUp", 1, 8, 74, 5, true},           {3, "KeyMoveDown", 1, 32, 74, 29, true},
    {6, "KeyMoveLeft", 1, 56, 74, 53, true},       {7, "KeyMoveRight", 1, 80, 74, 77, true},
    {0, "KeyLookUp", 162, 7, 250, 5, true},        {1, "KeyLookDown", 162, 31, 250, 29, true},
    {4, "KeyLookLeft", 162, 55, 250, 53, true},    {5, "KeyLookRight", 162, 79, 250, 77, true},
    {8, "KeyButton1", 1, 105, 74, 102, true},      {11, "KeyButton4", 162, 104, 250, 102, true},
    {12, "KeyInventory", 1, 130, 74, 127, true},   {13, "KeyWeapon", 164, 130, 250, 126, true},
    {9, "KeyButton2", 1, 155, 74, 150, false},  // the second and third buttons
    {10, "KeyButton3", 162, 155, 250, 150, false},
};
// The first key field of the tab order: it has the keyboard when shown.
constexpr int kFirstControl = 2;

}  // namespace

TOptionForm::TOptionForm() : window_(CreateDialogWindow(kWidth, kHeight, this)) {
    window_->SetAlwaysOnTop(true);
    // Every key pressed in the dialog is for a key field.
    ui_ = std::make_unique<platform::ui::WindowUi>(*window_, platform::ui::UiKind::KeyDialog);
}

TOptionForm::TOptionForm(std::unique_ptr<platform::ui::Ui> ui) : ui_(std::move(ui)) {}

TOptionForm::~TOptionForm() { ui_.reset(); }  // the toolkit goes before its window

void TOptionForm::Show() {
    std::fill(std::begin(KeyDown), std::end(KeyDown), uint8_t{0});
    FormShow();
    visible_ = true;
    if (window_) {
        window_->SetTitle(OptionTexts.caption);
        window_->Show();
        window_->Raise();
    }
    Paint();
}

void TOptionForm::Hide() {
    visible_ = false;
    if (window_) window_->Hide();
}

void TOptionForm::FormShow() {
    for (int c = 0; c < kOptionControls; ++c) KeyTexts[c] = KeyNames[KeyBindings[c]];
    // The track bar holds its position to its range.
    ScanBarPosition = std::clamp<int>(DepthOfView, kLeastViewDistance, kMostViewDistance);
    MusicChecked = MusicOn;
    FocusedControl = kFirstControl;
    ScanBarChange();
}

void TOptionForm::ScanBarChange() {
    DepthOfView = ScanBarPosition;
    VerticalDepthOfView = ScanBarPosition;
}

void TOptionForm::KeyPressed(int control, uint8_t virtualKey) {
    if (control < 0 || control >= kOptionControls || virtualKey == 0) return;
    KeyTexts[control] = KeyNames[virtualKey];
    KeyBindings[control] = virtualKey;
}

void TOptionForm::MusicClick() {
    MusicOn = MusicChecked;
    ShowHudMessage(LocalisedMessages[MusicOn ? 9 : 8]);
    SwitchMusic(MusicOn ? kMusicOn : 0);
}

void TOptionForm::Idle() {
    if (!visible_) return;
    const uint32_t now = platform::TickCount();
    if (now - lastPaint_ < kPaintInterval) return;
    lastPaint_ = now;
    Paint();
}

void TOptionForm::Paint() {
    if (window_ && window_->Title() != OptionTexts.caption) window_->SetTitle(OptionTexts.caption);
    ui_->Frame([this](platform::ui::Ui& ui) { Draw(ui); });
}

void TOptionForm::OnKeyDown(uint8_t virtualKey, bool /*repeat*/) {
    KeyPressed(FocusedControl, virtualKey);
}

void TOptionForm::Draw(platform::ui::Ui& ui) {
    ui.BeginDialog("OptionForm");
    if (ui.BeginTab(OptionTexts.page, "CommandSheet")) {
        for (const KeyControl& k : kKeyControls) {
            if (!k.shown) continue;
            ui.Label(k.labelLeft, k.labelTop, OptionTexts.controlLabels[k.control]);
            if (ui.KeyField(k.fieldLeft, k.fieldTop, kKeyFieldWidth, k.field, KeyTexts[k.control],
                            FocusedControl == k.control)) {
                FocusedControl = k.control;
            }
        }
        ui.Label(1, 183, OptionTexts.viewDistance);
        ui.Label(84, 184, std::to_string(DepthOfView));
        if (ui.Slider(125, 176, 96, "ScanBar", ScanBarPosition, kLeastViewDistance,
                      kMostViewDistance)) {
            FocusedControl = -1;
            ScanBarChange();
        }
        if (ui.CheckBox(244, 176, OptionTexts.music, "Music", MusicChecked)) {
            FocusedControl = -1;
            MusicClick();
        }
        ui.EndTab();
    }
    ui.EndDialog();
}
