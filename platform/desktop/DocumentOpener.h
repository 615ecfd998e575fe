// Opening a document with the desktop's viewer for its kind (the help file):
// the desktop's opener, xdg-open, is started without a shell and not waited
// for. Tests replace the opener with a recording one.
#pragma once

#include <string>

namespace platform {

// Starts the desktop's opener on the file `path` (a data path, resolved);
// false when the opener could not be started. What the opener then shows,
// or fails to show, is its own affair.
bool OpenDocument(const std::string& path);

}  // namespace platform
