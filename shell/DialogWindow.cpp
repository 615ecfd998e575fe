#include "shell/DialogWindow.h"

#include "platform/window/Application.h"

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

void ShowDialogWindow(platform::Window& dialog) {
    platform::Window* main = platform::Application::Instance().MainWindow();
    if (main != nullptr) dialog.SetOwner(*main);
    dialog.Show();
    dialog.Raise();
}

void HideDialogWindow(platform::Window& dialog) {
    dialog.Hide();
    platform::Window* main = platform::Application::Instance().MainWindow();
    if (main != nullptr && main != &dialog) main->Raise();
}
