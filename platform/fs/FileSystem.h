// File and folder services of the platform layer. Every path is a data path,
// resolved through PathResolver (any separator, any letter case). Tests may
// put files held in memory in place of the disk's for reading (FileOverlay.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::fs {

// What an entry is, links followed: Other is a dangling link, a device, a
// pipe or a socket.
enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind;
    bool link = false;  // the entry is a symbolic link; `kind` tells where it leads
};

// A regular file, or a link that leads to one.
bool FileExists(const std::string& path);
// A folder, or a link that leads to one.
bool FolderExists(const std::string& path);
// Any entry at all: file, folder, link (even a dangling one) or special file.
bool EntryExists(const std::string& path);
// The entry itself is a symbolic link (wherever it leads, if anywhere).
bool IsLink(const std::string& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateFolders(const std::string& path);
// The entries of a folder other than "." and ".." and the temporary files of
// unfinished writes (TempName.h), sorted by name (byte order); empty when the
// folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& path);
// As ListFolder, but tells a folder that cannot be read (missing, not a
// folder, no permission) from an empty one: false, with `entries` empty.
bool ReadFolder(const std::string& path, std::vector<FolderEntry>& entries);

// The length of the longest path of an entry below the folder, counted from
// the end of the folder's own path (the separator after it included); 0 for
// an empty folder or one that cannot be read. Links are not followed.
size_t LongestPathBelow(const std::string& folder);

// Reads the whole file into `bytes` (a link to a file is followed). False
// (bytes emptied) when it is not a regular file or cannot be read to its end.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file's contents with `bytes` without ever leaving it half
// written, as AtomicOutputFile does: the data goes to a temporary file in the
// same folder, is flushed, and is renamed over the target. False, with the
// target untouched, on any failure; the system's reason then goes to
// `reason` when given.
bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                     std::string* reason = nullptr);

// A regular file (links followed) that this process may write to.
bool FileWritable(const std::string& path);

// Why `path` cannot be read as a file: empty when it is a regular file (links
// followed) that opens for reading, else the system's reason ("Permission
// denied", "No such file or directory") or "is not a regular file".
std::string UnreadableReason(const std::string& path);

// Says on stderr, in one line "<real path>: <reason>", why a file that is
// there cannot be read (a dangling link counts as there); says nothing for a
// readable file or when nothing is there. Control characters of the path are
// written as "?". Returns the line without its line break, or an empty string.
std::string ReportUnreadableFile(const std::string& path);

// Removes a file; true when it is gone afterwards.
bool RemoveFile(const std::string& path);

// Canonical real path (links and "..", "." resolved). For a path that does not
// exist (yet), its longest existing part is made canonical and the rest is
// appended as resolved, so that two spellings of one place compare equal.
std::string CanonicalPath(const std::string& path);

}  // namespace platform::fs
