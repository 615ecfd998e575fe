#include "shell/SaveGameUnit.h"

#include <algorithm>
#include <iterator>

#include "game/level/SaveGames.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/WindowUi.h"
#include "platform/window/Application.h"
#include "platform/window/KeyMap.h"
#include "shell/DialogWindow.h"
#include "shell/LocalisationUnit.h"
#include "support/WinFunc.h"

TSaveGameForm* SaveGameForm = nullptr;

namespace {

constexpr int kWidth = 255, kHeight = 185;
constexpr int kFrameWait = 16;  // ms that a frame of the dialog waits for input
constexpr char kEnter = 13, kEscape = 27;
constexpr int kListRows = 127 / 13;  // entries the list shows at once

// The modal state of the application for the scope of ShowModal, also when
// the game ends from inside it.
class ModalScope {
  public:
    explicit ModalScope(platform::Window* window) {
        platform::Application::Instance().SetModalWindow(window);
    }
    ~ModalScope() { platform::Application::Instance().SetModalWindow(nullptr); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace

TSaveGameForm::TSaveGameForm() : window_(CreateDialogWindow(kWidth, kHeight, this)) {
    ui_ = std::make_unique<platform::ui::WindowUi>(*window_, platform::ui::UiKind::Dialog);
}

TSaveGameForm::TSaveGameForm(std::unique_ptr<platform::ui::Ui> ui) : ui_(std::move(ui)) {}

TSaveGameForm::~TSaveGameForm() { ui_.reset(); }  // the toolkit goes before its window

bool TSaveGameForm::ShowModal() {
    std::fill(std::begin(KeyDown), std::end(KeyDown), uint8_t{0});
    result_ = Result::None;
    pendingKey_ = 0;
    FormActivate();
    nameTakesKeyboard_ = SaveMode;
    platform::Application& application = platform::Application::Instance();
    if (window_) ShowDialogWindow(*window_);
    {
        ModalScope modal(window_.get());
        while (result_ == Result::None && !application.Terminated()) {
            Paint();
            if (result_ == Result::None) application.WaitMessages(kFrameWait);
        }
    }
    ui_->Closed();
    if (window_) HideDialogWindow(*window_);
    return result_ == Result::Ok;
}

void TSaveGameForm::FormActivate() {
    PlaceOverMainWindow();
    Caption = LocalisedMessages[SaveMode ? 3 : 6];
    ActionCaption = LocalisedMessages[SaveMode ? 4 : 7];
    CancelCaption = LocalisedMessages[5];
    if (window_) window_->SetTitle(Caption);
    FileName.clear();
    FileList = ListSaveSlots();
    Selected = FileList.empty() ? -1 : 0;
}

void TSaveGameForm::PlaceOverMainWindow() {
    platform::Window* main = platform::Application::Instance().MainWindow();
    if (!window_ || main == nullptr || main == window_.get()) return;
    int mainLeft = 0, mainTop = 0, mainWidth = 0, mainHeight = 0;
    main->OuterRect(mainLeft, mainTop, mainWidth, mainHeight);
    int left = 0, top = 0, width = 0, height = 0, clientLeft = 0, clientTop = 0;
    window_->OuterRect(left, top, width, height);
    window_->Position(clientLeft, clientTop);
    // Outer sizes centred; the window is placed by its client area.
    const int64_t outerLeft = int64_t{mainLeft} + (int64_t{mainWidth} - width) / 2;
    const int64_t outerTop = int64_t{mainTop} + (int64_t{mainHeight} - height) / 2;
    window_->SetPosition(static_cast<int>(outerLeft + (clientLeft - left)),
                         static_cast<int>(outerTop + (clientTop - top)));
}

void TSaveGameForm::FileListClick(int index) {
    if (index < 0 || index >= static_cast<int>(FileList.size())) return;
    Selected = index;
    FileName = FileList[static_cast<size_t>(index)];
}

void TSaveGameForm::FileListDblClick(int index) {
    FileListClick(index);
    ActionButtonClick();
}

void TSaveGameForm::FileListKeyPress(char character) {
    if (character == kEnter) ActionButtonClick();
    if (character == kEscape) CancelButtonClick();
}

void TSaveGameForm::ActionButtonClick() {
    if (FileName.empty()) {
        platform::ShowMessage(LocalisedMessages[2]);
        return;
    }
    // A name that cannot become a slot is refused with the reason.
    const std::string problem = SaveMode ? SlotNameProblem(FileName) : std::string();
    if (!problem.empty()) {
        platform::ShowMessage("No game can be saved as \"" + FileName + "\": " + problem + ".");
        return;
    }
    result_ = Result::Ok;
}

void TSaveGameForm::OnKeyPress(char character) {
    // Enter and Esc act once the toolkit has taken every key typed before
    // them, so that the name holds all of them.
    if (character != kEnter && character != kEscape) return;
    pendingKey_ = character;
    pendingMark_ = ui_->InputQueued();
}

void TSaveGameForm::OnKeyDown(uint8_t virtualKey, bool /*repeat*/) {
    // The arrows, Home, End and the page keys choose in the list, as a click
    // would; not while the name is being typed.
    if (SaveMode && (nameTakesKeyboard_ || ui_->TypingInField())) return;
    const int last = static_cast<int>(FileList.size()) - 1;
    if (last < 0) return;
    int index = Selected;
    switch (virtualKey) {
        case platform::vk::kUp:
            index -= 1;
            break;
        case platform::vk::kDown:
            index += 1;
            break;
        case platform::vk::kPageUp:
            index -= kListRows;
            break;
        case platform::vk::kPageDown:
            index += kListRows;
            break;
        case platform::vk::kHome:
            index = 0;
            break;
        case platform::vk::kEnd:
            index = last;
            break;
        default:
            return;
    }
    FileListClick(std::clamp(index, 0, last));
}

void TSaveGameForm::CancelButtonClick() { result_ = Result::Cancel; }

void TSaveGameForm::Paint() {
    pressed_ = Pressed::None;
    ui_->Frame([this](platform::ui::Ui& ui) { Draw(ui); });
    // The buttons act after the frame, never inside it.
    if (pressed_ == Pressed::Action) ActionButtonClick();
    if (pressed_ == Pressed::Cancel) CancelButtonClick();
    if (pendingKey_ != 0 && result_ == Result::None && ui_->InputTaken() >= pendingMark_) {
        const char key = pendingKey_;
        pendingKey_ = 0;
        FileListKeyPress(key);
    }
}

void TSaveGameForm::Draw(platform::ui::Ui& ui) {
    ui.BeginDialog("SaveGameForm");
    int selected = Selected;
    const platform::ui::ListEvent list = ui.List(2, 2, 250, 127, "FileList", FileList, selected);
    if (list.clicked) FileListClick(selected);
    if (list.doubleClicked) pressed_ = Pressed::Action;
    if (nameTakesKeyboard_) ui.TakeKeyboard();
    nameTakesKeyboard_ = false;
    ui.Edit(2, 130, 250, "FileName", FileName, !SaveMode);
    if (ui.Button(3, 157, 75, 25, ActionCaption, "ActionButton")) pressed_ = Pressed::Action;
    if (ui.Button(176, 157, 75, 25, CancelCaption, "CancelButton")) pressed_ = Pressed::Cancel;
    ui.EndDialog();
}
