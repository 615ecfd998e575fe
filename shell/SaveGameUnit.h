// The save and load dialog: a game is saved into a named slot and loaded back
// (the dialog is modal).
#pragma once

#include <memory>

#include "platform/window/Window.h"

class TSaveGameForm : public platform::WindowListener {
  public:
    // Creates the dialog's window, hidden.
    TSaveGameForm();
    platform::Window& Window() { return *window_; }
    void OnClose() override { window_->Hide(); }

  private:
    std::unique_ptr<platform::Window> window_;
};

extern TSaveGameForm* SaveGameForm;
