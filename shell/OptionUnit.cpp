#include "shell/OptionUnit.h"

#include <algorithm>
#include <iterator>

#include "game/GameIni.h"
#include "game/level/LevelStuff.h"
#include "game/media/Music.h"
#include "platform/clock/Ticks.h"
#include "platform/text/Printable.h"
#include "platform/ui/WindowUi.h"
#include "platform/window/KeyMap.h"
#include "shell/ComStuff.h"
#include "shell/DialogWindow.h"
#include "shell/LocalisationUnit.h"
#include "support/WinFunc.h"

OptionTextsStuff OptionTexts;
TOptionForm* OptionForm = nullptr;

using namespace platform::vk;

namespace {

constexpr int kWidth = 346, kHeight = 238;
constexpr int kKeyFieldWidth = 57;
constexpr int kScanBarWidth = 96;
constexpr int kCheckBoxWidth = 23;       // the box and the space after it
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
// What Tab goes round, in order (hidden fields are left out); the first key
// field has the keyboard when the dialog is shown.
constexpr int kTabOrder[] = {
    2, 3, 6, 7, 0, 1, 4, 5, 8, 11, TOptionForm::kScanBarFocus, TOptionForm::kMusicFocus, 12, 13};
constexpr int kFirstControl = kTabOrder[0];
constexpr int kScanBarPage = 5;  // the track bar's step for the page keys, a tick apart
// Pixels kept between a label and the control after it.
constexpr int kGap = 6;
// The widest view distance shown.
const char* const kWidestDistance = "50";

// The labels' widest text of a column: the key fields' labels on the left
// (labelLeft 1) or on the right.
int WidestLabel(platform::ui::Ui& ui, bool left) {
    int widest = 0;
    for (const KeyControl& k : kKeyControls) {
        if (k.shown && (k.labelLeft < kKeyControls[4].labelLeft) == left)
            widest = std::max(widest, ui.TextWidth(OptionTexts.controlLabels[k.control]));
    }
    return widest;
}

// cp1252 bytes that show nothing: controls, the space, the no-break space
// and the soft hyphen.
bool Invisible(unsigned char c) {
    return platform::IsCp1252Control(c) || c == ' ' || c == 0xA0 || c == 0xAD;
}

// What has the keyboard after Tab (or Shift+Tab, `back`) from `focused`.
int NextTabStop(int focused, bool back) {
    const int stops = static_cast<int>(std::size(kTabOrder));
    const int* at = std::find(std::begin(kTabOrder), std::end(kTabOrder), focused);
    const int next = at == std::end(kTabOrder) ? (back ? stops - 1 : 0)
                                               : static_cast<int>(at - kTabOrder) + (back ? -1 : 1);
    return kTabOrder[(next + stops) % stops];
}

// The track bar's position after `key`: the arrows step it, the page keys
// move it a tick, Home and End take it to its ends.
int ScanBarAfterKey(uint8_t key, int position) {
    switch (key) {
        case kLeft:
        case kUp:
            position -= 1;
            break;
        case kRight:
        case kDown:
            position += 1;
            break;
        case kPageUp:
            position -= kScanBarPage;
            break;
        case kPageDown:
            position += kScanBarPage;
            break;
        case kHome:
            return kLeastViewDistance;
        case kEnd:
            return kMostViewDistance;
        default:
            return position;
    }
    return std::clamp<int>(position, kLeastViewDistance, kMostViewDistance);
}

}  // namespace

std::string KeyCaption(uint8_t virtualKey) {
    const std::string& name = KeyNames[virtualKey];
    if (std::any_of(name.begin(), name.end(), [](char c) { return !Invisible(c); })) return name;
    // Keys whose one-character name shows nothing.
    static const struct {
        uint8_t code;
        const char* name;
    } kShownNames[] = {{9, "TAB"},  {12, "CLEAR"}, {19, "PAUSE"}, {20, "CAPS"},
                       {27, "ESC"}, {127, "F16"},  {129, "F18"},  {144, "NUMLOCK"}};
    for (const auto& k : kShownNames) {
        if (k.code == virtualKey) return k.name;
    }
    // No key at all (code 0, a control never bound) shows nothing.
    return virtualKey == 0 ? std::string() : "#" + std::to_string(virtualKey);
}

TOptionForm::TOptionForm() : window_(CreateDialogWindow(kWidth, kHeight, this)) {
    window_->SetAlwaysOnTop(true);
    // Every key pressed in the dialog is for a key field.
    ui_ = std::make_unique<platform::ui::WindowUi>(*window_, platform::ui::UiKind::KeyDialog);
}

TOptionForm::TOptionForm(std::unique_ptr<platform::ui::Ui> ui) : ui_(std::move(ui)) {}

TOptionForm::~TOptionForm() { ui_.reset(); }  // the toolkit goes before its window

void TOptionForm::Show() {
    // Keys held now (the Ctrl of its shortcut) are the shortcut's, not the
    // key fields': they count only once they have been released.
    heldAtShow_ = platform::VirtualKeysHeld();
    pendingModifier_ = 0;
    std::fill(std::begin(KeyDown), std::end(KeyDown), uint8_t{0});
    FormShow();
    visible_ = true;
    if (window_) {
        window_->SetTitle(OptionTexts.caption);
        ShowDialogWindow(*window_);
    }
    Paint();
}

void TOptionForm::Hide() {
    visible_ = false;
    if (window_) HideDialogWindow(*window_);
}

void TOptionForm::FormShow() {
    for (int c = 0; c < kOptionControls; ++c) KeyTexts[c] = KeyCaption(KeyBindings[c]);
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
    KeyTexts[control] = KeyCaption(virtualKey);
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
    // Captions longer than designed widen the dialog.
    int width = 0, height = 0;
    if (window_) window_->ClientSize(width, height);
    if (window_ && width != Width()) window_->SetClientSize(Width(), kHeight);
}

int TOptionForm::Width() const { return std::max(kWidth, neededWidth_); }

void TOptionForm::OnKeyDown(uint8_t virtualKey, bool /*repeat*/) {
    // The window system reports keys held when the dialog takes the
    // keyboard as pressed in it.
    if (heldAtShow_[virtualKey]) return;
    // Shift, Ctrl and Alt bind when let go with no other key pressed
    // meanwhile: Shift+Tab goes back without binding Shift.
    const bool modifier = virtualKey == kShift || virtualKey == kControl || virtualKey == kAlt;
    if (modifier && FocusedControl >= 0) {
        pendingModifier_ = virtualKey;
        return;
    }
    pendingModifier_ = 0;
    if (virtualKey == kTab) {
        FocusedControl = NextTabStop(FocusedControl, platform::VirtualKeysHeld()[kShift]);
        return;
    }
    if (FocusedControl == kScanBarFocus) {
        const int position = ScanBarAfterKey(virtualKey, ScanBarPosition);
        if (position != ScanBarPosition) {
            ScanBarPosition = position;
            ScanBarChange();
        }
        return;
    }
    if (FocusedControl == kMusicFocus) {
        if (virtualKey == kSpace) {
            MusicChecked = !MusicChecked;
            MusicClick();
        }
        return;
    }
    KeyPressed(FocusedControl, virtualKey);
}

void TOptionForm::OnKeyUp(uint8_t virtualKey) {
    heldAtShow_[virtualKey] = false;
    if (virtualKey != 0 && virtualKey == pendingModifier_) KeyPressed(FocusedControl, virtualKey);
    pendingModifier_ = 0;
}

void TOptionForm::OnActivate() {
    // Keys let go before the dialog had the keyboard sent their release elsewhere.
    const std::array<bool, 256> held = platform::VirtualKeysHeld();
    for (size_t k = 0; k < held.size(); ++k) heldAtShow_[k] = heldAtShow_[k] && held[k];
}

void TOptionForm::Draw(platform::ui::Ui& ui) {
    ui.BeginDialog("OptionForm");
    if (ui.BeginTab(OptionTexts.page, "CommandSheet")) {
        // The designed places, moved right where a text would run into the
        // control after it.
        const int leftFields =
            std::max(0, 1 + WidestLabel(ui, true) + kGap - kKeyControls[0].fieldLeft);
        const int rightLabels = std::max(0, kKeyControls[0].fieldLeft + leftFields +
                                                kKeyFieldWidth + kGap - kKeyControls[4].labelLeft);
        const int rightFields =
            std::max(rightLabels, kKeyControls[4].labelLeft + rightLabels + WidestLabel(ui, false) +
                                      kGap - kKeyControls[4].fieldLeft);
        for (const KeyControl& k : kKeyControls) {
            if (!k.shown) continue;
            const bool left = k.labelLeft < kKeyControls[4].labelLeft;
            ui.Label(k.labelLeft + (left ? 0 : rightLabels), k.labelTop,
                     OptionTexts.controlLabels[k.control]);
            if (ui.KeyField(k.fieldLeft + (left ? leftFields : rightFields), k.fieldTop,
                            kKeyFieldWidth, k.field, KeyTexts[k.control],
                            FocusedControl == k.control)) {
                FocusedControl = k.control;
            }
        }
        ui.Label(1, 183, OptionTexts.viewDistance);
        const int cells = std::max(84, 1 + ui.TextWidth(OptionTexts.viewDistance) + kGap);
        ui.Label(cells, 184, std::to_string(DepthOfView));
        const int bar = std::max(125, cells + ui.TextWidth(kWidestDistance) + kGap);
        if (ui.Slider(bar, 176, kScanBarWidth, "ScanBar", ScanBarPosition, kLeastViewDistance,
                      kMostViewDistance, FocusedControl == kScanBarFocus)) {
            FocusedControl = kScanBarFocus;
            ScanBarChange();
        }
        const int music = std::max(244, bar + kScanBarWidth + kGap);
        if (ui.CheckBox(music, 176, OptionTexts.music, "Music", MusicChecked,
                        FocusedControl == kMusicFocus)) {
            FocusedControl = kMusicFocus;
            MusicClick();
        }
        neededWidth_ = std::max({kKeyControls[4].fieldLeft + rightFields + kKeyFieldWidth,
                                 music + kCheckBoxWidth + ui.TextWidth(OptionTexts.music)}) +
                       kGap;
        ui.EndTab();
    }
    ui.EndDialog();
}
