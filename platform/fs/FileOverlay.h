// Files held in memory and read in place of the disk's, for tests and fuzzers
// that read the same files over and over: while an overlay is in place,
// FileExists, EntryExists and ReadWholeFile (FileSystem.h) answer from it
// alone and never touch the disk. Writes and folders are the disk's as ever.
#pragma once

#include <string>
#include <unordered_map>

namespace platform::fs {

class FileOverlay {
  public:
    // Adds every regular file below the folder `root` (a data path), read now.
    void AddFolder(const std::string& root);
    // The bytes of the file `path`: a data path taken from the current folder
    // as the resolver takes it ("\" or "/", "." and "..", any letter case);
    // nullptr when the overlay holds no such file.
    const std::string* Find(const std::string& path) const;

  private:
    std::unordered_map<std::string, std::string> files_;  // by upper-cased absolute path
};

// Puts `overlay` (not owned) in place of the disk for reading; nullptr gives
// the disk back.
void SetFileOverlay(const FileOverlay* overlay);
// The overlay in place, or nullptr.
const FileOverlay* CurrentFileOverlay();

}  // namespace platform::fs
