// The window of a dialog: created hidden, shown when the dialog opens.
#pragma once

#include <memory>

#include "platform/window/Window.h"

// A hidden, fixed-size dialog window of `width` × `height` reporting to
// `listener`.
std::unique_ptr<platform::Window> CreateDialogWindow(int width, int height,
                                                     platform::WindowListener* listener);

// Shows the dialog window `dialog` over the main window, with the keyboard.
void ShowDialogWindow(platform::Window& dialog);

// Puts the dialog window `dialog` away and gives the keyboard back to the
// main window.
void HideDialogWindow(platform::Window& dialog);
