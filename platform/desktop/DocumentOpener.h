// Opening a document with the desktop's viewer for its kind (the help file):
// the desktop's opener, xdg-open, is started without a shell and not waited
// for. Only documents are handed on: never a program nor a launcher, which an
// opener would run.
#pragma once

#include <string>

namespace platform {

// Why the file `path` (a data path, links followed) is no document to hand to
// the opener: not a regular file, a program (an executable of the system, a
// script beginning "#!", a Windows program) or a desktop launcher (named
// ".desktop", or holding a "[Desktop Entry]"). Empty for a document.
std::string NotADocument(const std::string& path);

// Starts the desktop's opener on the document `path` (a data path, resolved).
// Empty when the opener was started; otherwise why not: the file is no
// document (NotADocument), no opener is installed, or it could not be
// started. What the opener then shows, or fails to show, is its own affair.
std::string OpenDocument(const std::string& path);

}  // namespace platform
