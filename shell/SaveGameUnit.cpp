#include "shell/SaveGameUnit.h"

#include "shell/DialogWindow.h"

TSaveGameForm* SaveGameForm = nullptr;

TSaveGameForm::TSaveGameForm() : window_(CreateDialogWindow(320, 240, this)) {}
