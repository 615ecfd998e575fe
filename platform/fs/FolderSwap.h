// Folders replaced whole: the new version of a folder is built beside it
// under a temporary name (TempName.h), then swapped in by one rename, so that
// a process killed at any moment leaves the old version or the new one, never
// a mix. What a killed swap leaves behind is tidied by RecoverFolders.
#pragma once

#include <string>

#include "platform/fs/TempName.h"

namespace platform::fs {

// Bytes the name of a new version's folder adds to its target's name: a
// temporary's, and the mark that tells it from an old version put aside.
constexpr size_t kNewVersionNameExtra = kTemporaryOverhead + 1;

// Longest name of a target folder: the names of its temporaries must hold it
// whole.
constexpr size_t kMaxSwappedName = kMaxNameLength - kNewVersionNameExtra;

// Makes a new empty folder beside the folder `target` (a data path) for its
// new version; returns the folder's real path, or empty when it cannot be
// made (the parent folder must exist).
std::string MakeNewVersionFolder(const std::string& target);

// Puts the folder `newVersion` (made by MakeNewVersionFolder) in the place of
// `target`: exchanged with the old version in one rename, which is then
// removed; or, on a file system without exchanging renames, the old version
// renamed aside first and removed after. False, with `target` as it was and
// `newVersion` kept, when the renames fail.
bool SwapInFolder(const std::string& newVersion, const std::string& target);

// Removes a folder and everything in it (links are removed, not followed);
// true when it is gone.
bool RemoveFolderTree(const std::string& path);

// Tidies what killed swaps left in `folder` for the targets named `only`
// (every target when empty): an old version put aside comes back when its
// target is missing, and is removed otherwise; unfinished new versions are
// removed.
void RecoverFolders(const std::string& folder, const std::string& only = {});

}  // namespace platform::fs
