#include "shell/SaveGameUnit.h"

TSaveGameForm* SaveGameForm = nullptr;

TSaveGameForm::TSaveGameForm() {
    platform::WindowSettings settings;
    settings.title = "";
    settings.width = 320;
    settings.height = 240;
    settings.visible = false;
    settings.resizable = false;
    window_ = std::make_unique<platform::Window>(settings);
    window_->SetListener(this);
}
