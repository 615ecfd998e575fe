// The save and load dialog: the slots of SAVEGAME\ in a list, the slot name
// in an edit field (typed when saving, picked from the list when loading),
// and the action and cancel buttons. Shown modally: the game's frames stop
// while it is open.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/Window.h"

namespace platform::ui {
class Ui;
}

class TSaveGameForm : public platform::WindowListener {
  public:
    // The dialog in a window of its own, hidden.
    TSaveGameForm();
    // The dialog without a window, described through `ui` (tests).
    explicit TSaveGameForm(std::unique_ptr<platform::ui::Ui> ui);
    ~TSaveGameForm() override;

    platform::Window* Window() { return window_.get(); }
    platform::ui::Ui& Ui() { return *ui_; }

    // Set by the caller before ShowModal: true saves, false loads.
    bool SaveMode = true;

    // Shows the dialog and runs its frames until it closes, the other
    // windows taking no input meanwhile; true when it closed with the action
    // button. Keys held in the game are let go first.
    bool ShowModal();

    // When it is shown: placed over the main window, captions of its mode,
    // the name emptied and the slots listed (the first one highlighted).
    void FormActivate();
    void FileListClick(int index);
    void FileListDblClick(int index);
    // Enter acts, Esc cancels.
    void FileListKeyPress(char character);
    // An empty name is refused with message 2, and in save mode one that
    // cannot be a slot with the reason; the dialog then stays open.
    // Otherwise it closes with OK.
    void ActionButtonClick();
    void CancelButtonClick();
    // One frame of the dialog, then what its buttons asked for.
    void Paint();

    enum class Result { None, Ok, Cancel };
    Result ModalResult() const { return result_; }

    // What the dialog shows.
    std::string Caption, ActionCaption, CancelCaption;
    std::string FileName;
    std::vector<std::string> FileList;
    int Selected = -1;

    // Window events.
    void OnKeyDown(uint8_t virtualKey, bool repeat) override;
    void OnKeyPress(char character) override;
    void OnClose() override { CancelButtonClick(); }

  private:
    enum class Pressed { None, Action, Cancel };
    void Draw(platform::ui::Ui& ui);
    void PlaceOverMainWindow();

    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::ui::Ui> ui_;
    Result result_ = Result::None;
    Pressed pressed_ = Pressed::None;
    bool nameTakesKeyboard_ = false;  // the next frame gives the name field the keyboard
    char pendingKey_ = 0;             // Enter or Esc waiting for the keys typed before it
    uint64_t pendingMark_ = 0;        // the input queued up to that key
};

extern TSaveGameForm* SaveGameForm;
