#include "shell/DialogWindow.h"

std::unique_ptr<platform::Window> CreateDialogWindow(int width, int height,
                                                     platform::WindowListener* listener) {
    platform::WindowSettings settings;
    settings.width = width;
    settings.height = height;
    settings.visible = false;
    settings.resizable = false;
    auto window = std::make_unique<platform::Window>(settings);
    window->SetListener(listener);
    return window;
}
