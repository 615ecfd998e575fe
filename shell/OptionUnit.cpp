#include "shell/OptionUnit.h"

TOptionForm* OptionForm = nullptr;

TOptionForm::TOptionForm() {
    platform::WindowSettings settings;
    settings.title = "";
    settings.width = 400;
    settings.height = 300;
    settings.visible = false;
    settings.resizable = false;
    window_ = std::make_unique<platform::Window>(settings);
    window_->SetListener(this);
}
