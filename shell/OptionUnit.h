// The options dialog: key bindings of the controls, view distance and music,
// changed in memory while the game runs (the dialog is modeless); the
// configuration command writes them to game.ini.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/window/Window.h"

namespace platform::ui {
class Ui;
}

// The controls that the dialog binds, in the order of the key bindings.
constexpr int kOptionControls = 14;
// The view distance's range on the track bar, in cells.
constexpr int kLeastViewDistance = 4;
constexpr int kMostViewDistance = 50;

// The dialog's texts, set by ApplyDictionary at every activation of the main
// window.
struct OptionTextsStuff {
    std::array<std::string, kOptionControls> controlLabels;  // by control
    std::string viewDistance, music, page, caption;
};
extern OptionTextsStuff OptionTexts;

// The name a key field shows for a key: its key name, or, where that shows
// no character (Tab, Esc), a name of its own; nothing for code 0.
std::string KeyCaption(uint8_t virtualKey);

class TOptionForm : public platform::WindowListener {
  public:
    // The dialog in a window of its own, hidden.
    TOptionForm();
    // The dialog without a window, described through `ui` (tests).
    explicit TOptionForm(std::unique_ptr<platform::ui::Ui> ui);
    ~TOptionForm() override;

    platform::Window* Window() { return window_.get(); }
    platform::ui::Ui& Ui() { return *ui_; }

    // Shows the dialog (FormShow first); keys held in the game are let go,
    // and keys held now bind nothing until released.
    void Show();
    // Hides it; closing the window only hides it.
    void Hide();
    bool Visible() const { return visible_; }

    // Each showing: key texts, track bar and check box from the settings.
    void FormShow();
    // The track bar moved: both view distances follow it.
    void ScanBarChange();
    // A key pressed in the key field of `control`: bound to it, whatever it is.
    void KeyPressed(int control, uint8_t virtualKey);
    // The music check box was clicked.
    void MusicClick();

    // Paints a frame now and then while the dialog is shown (the frame loop's
    // idle time).
    void Idle();
    // One frame of the dialog.
    void Paint();
    // The dialog's client width: as designed, or wider when its captions
    // need it (known after a frame).
    int Width() const;

    // What the dialog shows.
    std::array<std::string, kOptionControls> KeyTexts;
    int ScanBarPosition = kLeastViewDistance;
    bool MusicChecked = false;
    // What has the keyboard: the control of a key field, the track bar, the
    // check box, or nothing (-1). Tab and Shift+Tab go round them in the
    // dialog's tab order.
    static constexpr int kScanBarFocus = -2, kMusicFocus = -3;
    int FocusedControl = -1;

    // Window events.
    void OnKeyDown(uint8_t virtualKey, bool repeat) override;
    void OnKeyUp(uint8_t virtualKey) override;
    void OnActivate() override;
    // A modifier held when the keyboard went elsewhere (Alt+Tab) binds nothing.
    void OnFocusLost() override { pendingModifier_ = 0; }
    void OnClose() override { Hide(); }

  private:
    void Draw(platform::ui::Ui& ui);

    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::ui::Ui> ui_;
    bool visible_ = false;
    uint32_t lastPaint_ = 0;
    std::array<bool, 256> heldAtShow_{};  // held when shown and not released since
    uint8_t pendingModifier_ = 0;         // Shift, Ctrl or Alt pressed alone, bound when let go
    int neededWidth_ = 0;                 // the width the last frame's controls took
};

extern TOptionForm* OptionForm;
