#include "shell/OptionUnit.h"

#include "shell/DialogWindow.h"

TOptionForm* OptionForm = nullptr;

TOptionForm::TOptionForm() : window_(CreateDialogWindow(400, 300, this)) {}
