// The main window: start-up at its first activation, the frame loop driven by
// the application's idle handler, and the window events between frames.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/window/Window.h"
#include "shell/MainMenu.h"

namespace platform::ui {
class WindowUi;
}

// The game start-up has run; until then a frame only paints the window black.
extern uint8_t GameStarted;
// The first activation has been handled.
extern uint8_t FormActivated;
// Factor of the game clock and of the hero timer.
extern float TimeScale;

class TScreenForm : public platform::WindowListener {
  public:
    // Creates the main window with the engine's kind of surface (FormCreate).
    explicit TScreenForm(platform::Surface surface);
    ~TScreenForm() override;

    platform::Window& Window() { return *window_; }

    // Every activation: dictionary, focus, screen-size menu; the first one
    // also runs the game start-up and installs the idle handler.
    void FormActivate();
    // The idle handler: one frame, then asks to be called again.
    void GameLoop(bool& done);
    // One game frame (the window's paint routine).
    void GameFrame();
    // Closing the window ends the game (does not return).
    void FormClose();
    // Whether a system command is refused: the screen saver and monitor
    // power-off while the player runs.
    static bool RefusesSystemCommand(uint32_t command);

    // Builds the full-screen size submenu from the display's modes.
    void BuildScreenSizeMenu();

    // Del until start-up, then Esc; Alt+Backspace, then Alt+Enter.
    MenuShortcut& TitleMenuShortcut = MainMenu[MenuItemId::TitleMenu].shortcut;
    MenuShortcut& WindowModeMenuShortcut = MainMenu[MenuItemId::WindowModeMenu].shortcut;
    uint64_t FramesRun = 0;  // frames that ran past the black paint

    // Window events.
    void OnActivate() override { FormActivate(); }
    // A repaint runs a frame, except while a modal dialog stops the frames:
    // the last frame is then shown again.
    void OnPaint() override;
    void OnClose() override { FormClose(); }
    void OnKeyDown(uint8_t virtualKey, bool repeat) override;
    void OnKeyUp(uint8_t virtualKey) override;
    // Every key counts as released.
    void OnFocusLost() override;
    // A press sets its button's flag until the end of the next frame, which
    // reads it: a click released before that frame still counts once.
    void OnMouseDown(platform::MouseButton button) override;
    void OnKeyPress(char character) override;
    void OnResize(int clientWidth, int clientHeight) override;

    // The menu bar, drawn over each frame as it is shown; a command chosen in
    // it runs after the frame (RunChosenCommand).
    void DrawMenuBar();
    void RunChosenCommand();

  private:
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::ui::WindowUi> ui_;  // goes before the window
    std::optional<MenuChoice> chosen_;
};

extern TScreenForm* ScreenForm;

// The frame counter's text: "FPS:" and 1000 / frame step, rounded.
std::string FrameRateText(int32_t frameStep);

// Counts the HUD message down by the frame step and draws it; it goes off
// once its time is below 0, after its last frame.
void DrawHudMessage();

// The frame of the game mode: title, play or end (none for other modes).
void RunModeFrame(platform::Window& form);

// Draws the message clip's picture and text; it ends once more than its
// duration has passed, after its last frame.
void DrawMessageClip();
