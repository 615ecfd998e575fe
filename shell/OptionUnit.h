// The options dialog: key bindings, view distance and music, changed while the
// game runs (the dialog is modeless).
#pragma once

#include <memory>

#include "platform/window/Window.h"

class TOptionForm : public platform::WindowListener {
  public:
    // Creates the dialog's window, hidden.
    TOptionForm();
    platform::Window& Window() { return *window_; }
    void OnClose() override { window_->Hide(); }

  private:
    std::unique_ptr<platform::Window> window_;
};

extern TOptionForm* OptionForm;
