// Resolution of the game's data paths on a case-sensitive file system.
//
// Game data names its files the Windows way: "\" separators and any letter case
// ("LEVEL\Level1.lvl" for a file stored as "level/LEVEL1.LVL"). Every file access
// of the player goes through Resolve(), which splits a path on both separators
// and matches each component against the folder's entries, exact name first,
// then without regard to ASCII letter case. Relative paths start from a virtual
// current folder that the game may change; the process's own working directory
// is never changed.
#pragma once

#include <string>

namespace platform::fs {

// The virtual current folder (an absolute real path); the process's working
// directory at first use.
std::string CurrentFolder();

// Makes `path` (resolved like any data path) the virtual current folder.
// Returns false, changing nothing, when it is not an existing folder.
bool SetCurrentFolder(const std::string& path);

// Resolves a data path to a real absolute path. Components that exist under
// another letter case are replaced by their stored names; the first component
// that does not exist, and everything after it, is kept as written, so the
// result also names where a new file or folder is to be created. "." and ".."
// components are applied as they come.
std::string Resolve(const std::string& path);

// ASCII case-insensitive equality, the comparison used for path components.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace platform::fs
