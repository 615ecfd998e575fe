// The game's folders of state: the working copy of the running game in
// CURRENT_GAME\ and (later) the save slots in SAVEGAME\.
#pragma once

#include <string>

// Copies every file and subfolder of `source` (a data path such as "LEVEL\")
// into `target` (created when missing), replacing what is there; true when
// everything was copied.
bool CopyGameFolder(const std::string& source, const std::string& target);
