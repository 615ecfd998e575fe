// File and folder services of the platform layer. Every path is a data path,
// resolved through PathResolver (any separator, any letter case).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::fs {

enum class EntryKind { File, Folder, Other };  // Other: links, devices, pipes, sockets

struct FolderEntry {
    std::string name;
    EntryKind kind;
};

// A regular file (links are not followed).
bool FileExists(const std::string& path);
// A folder (links are not followed).
bool FolderExists(const std::string& path);
// Any entry at all: file, folder, link (even a dangling one) or special file.
bool EntryExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateFolders(const std::string& path);
// The entries of a folder other than "." and "..", sorted by name (byte order);
// empty when the folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& path);
// As ListFolder, but tells a folder that cannot be read (missing, not a
// folder, no permission) from an empty one: false, with `entries` empty.
bool ReadFolder(const std::string& path, std::vector<FolderEntry>& entries);

// Reads the whole file into `bytes` (a link to a file is followed). False
// (bytes emptied) when it is not a regular file or cannot be read to its end.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file's contents with `bytes` without ever leaving it half
// written: the data goes to a temporary file in the same folder, is flushed,
// and is renamed over the target. False, with the target untouched, on any
// failure.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Removes a file; true when it is gone afterwards.
bool RemoveFile(const std::string& path);

// Canonical real path (links and "..", "." resolved). For a path that does not
// exist (yet), its longest existing part is made canonical and the rest is
// appended as resolved, so that two spellings of one place compare equal.
std::string CanonicalPath(const std::string& path);

}  // namespace platform::fs
