#include "platform/fs/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/fs/FileOverlay.h"
#include "platform/fs/FileStream.h"
#include "platform/fs/PathResolver.h"
#include "platform/fs/TempName.h"
#include "platform/text/Printable.h"

namespace platform::fs {
namespace {

bool StatNoFollow(const std::string& real, struct stat& info) {
    return lstat(real.c_str(), &info) == 0;
}

// What the entry at `real` is, its link followed.
EntryKind KindOf(const std::string& real, bool& link) {
    struct stat info;
    link = false;
    if (!StatNoFollow(real, info)) return EntryKind::Other;
    link = S_ISLNK(info.st_mode);
    if (link && stat(real.c_str(), &info) != 0) return EntryKind::Other;  // leads nowhere
    if (S_ISREG(info.st_mode)) return EntryKind::File;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    return EntryKind::Other;
}

}  // namespace

bool FileExists(const std::string& path) {
    if (const FileOverlay* overlay = CurrentFileOverlay()) return overlay->Find(path) != nullptr;
    struct stat info;
    return stat(Resolve(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info;
    return stat(Resolve(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EntryExists(const std::string& path) {
    if (const FileOverlay* overlay = CurrentFileOverlay()) return overlay->Find(path) != nullptr;
    struct stat info;
    return StatNoFollow(Resolve(path), info);
}

bool IsLink(const std::string& path) {
    struct stat info;
    return StatNoFollow(Resolve(path), info) && S_ISLNK(info.st_mode);
}

bool CreateFolders(const std::string& path) {
    std::string real = Resolve(path);
    std::string partial;
    size_t pos = 0;
    while (pos <= real.size()) {
        size_t next = real.find('/', pos);
        if (next == std::string::npos) next = real.size();
        partial = real.substr(0, next);
        if (!partial.empty()) {
            struct stat info;
            if (stat(partial.c_str(), &info) != 0) {
                if (mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
            } else if (!S_ISDIR(info.st_mode)) {
                return false;
            }
        }
        pos = next + 1;
    }
    struct stat info;
    return stat(real.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<FolderEntry> ListFolder(const std::string& path) {
    std::vector<FolderEntry> entries;
    ReadFolder(path, entries);
    return entries;
}

bool ReadFolder(const std::string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::string real = Resolve(path);
    DIR* dir = opendir(real.c_str());
    if (dir == nullptr) return false;
    bool ok = true;
    for (;;) {
        errno = 0;
        dirent* entry = readdir(dir);
        if (entry == nullptr) {
            ok = errno == 0;  // end of the folder, or a read error
            break;
        }
        std::string name = entry->d_name;
        if (name == "." || name == ".." || IsTemporaryName(name)) continue;
        bool link = false;
        const EntryKind kind = KindOf(real + "/" + name, link);
        entries.push_back({name, kind, link});
    }
    closedir(dir);
    if (!ok) {
        entries.clear();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

size_t LongestPathBelow(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path root = Resolve(folder);
    size_t longest = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        longest = std::max(longest, it->path().native().size() - root.native().size());
    }
    return longest;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (const FileOverlay* overlay = CurrentFileOverlay()) {
        const std::string* file = overlay->Find(path);
        if (file != nullptr) bytes = *file;
        return file != nullptr;
    }
    // O_NONBLOCK keeps the open from waiting on a pipe; only a regular file
    // (possibly reached through a link) is read.
    int fd = open(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (!ok) bytes.clear();
    return ok;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* reason) {
    AtomicOutputFile file;
    if (file.Begin(path) && file.Write(bytes) && file.Commit()) return true;
    if (reason != nullptr) *reason = file.Failure();
    return false;
}

bool FileWritable(const std::string& path) {
    const std::string real = Resolve(path);
    struct stat info;
    return stat(real.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(real.c_str(), W_OK) == 0;
}

std::string UnreadableReason(const std::string& path) {
    // As the readers open a file: never waiting on a pipe.
    int fd = open(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::strerror(errno);
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    return regular ? std::string() : std::string("is not a regular file");
}

std::string ReportUnreadableFile(const std::string& path) {
    if (!EntryExists(path)) return {};
    const std::string reason = UnreadableReason(path);
    if (reason.empty()) return {};
    const std::string line = PrintableUtf8(Resolve(path)) + ": " + reason;
    std::fprintf(stderr, "%s\n", line.c_str());
    return line;
}

bool RemoveFile(const std::string& path) {
    std::string real = Resolve(path);
    if (unlink(real.c_str()) == 0) return true;
    return errno == ENOENT;
}

std::string CanonicalPath(const std::string& path) {
    std::string existing = Resolve(path);
    std::string rest;  // the missing tail, with its leading "/"
    char buffer[PATH_MAX];
    for (;;) {
        if (realpath(existing.c_str(), buffer) != nullptr) {
            std::string canonical = buffer;
            if (canonical == "/" && !rest.empty()) return rest;
            return canonical + rest;
        }
        auto slash = existing.find_last_of('/');
        if (slash == std::string::npos || existing == "/") return Resolve(path);
        rest = existing.substr(slash) + rest;
        existing = slash == 0 ? std::string("/") : existing.substr(0, slash);
    }
}

}  // namespace platform::fs
