#include "platform/fs/FileStream.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/fs/PathResolver.h"
#include "platform/fs/TempName.h"

namespace platform::fs {
namespace {

std::string FolderOf(const std::string& real) {
    auto slash = real.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return real.substr(0, slash);
}

std::string NameOf(const std::string& real) {
    auto slash = real.find_last_of('/');
    return slash == std::string::npos ? real : real.substr(slash + 1);
}

struct FolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Removes the temporaries of the target `name` in `folder` that no writer
// holds any more. A writer keeps its temporary locked for as long as it lives
// (the lock dies with the process, however it ends), so a file that can be
// locked is left over from a writer that was killed.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
    std::vector<std::string> stale;
    {
        std::unique_ptr<DIR, FolderCloser> dir(opendir(folder.c_str()));
        if (!dir) return;
        while (dirent* entry = readdir(dir.get())) {
            if (IsTemporaryOf(entry->d_name, name)) stale.push_back(folder + "/" + entry->d_name);
        }
    }
    for (const std::string& path : stale) {
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat info;
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        close(fd);
    }
}

// Flushes the folder's entries, so that a rename in it survives a power cut.
// False only when the flush failed; a folder that cannot be opened or flushed
// at all (some file systems) is taken as flushed.
bool SyncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    const bool ok = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return ok;
}

// A target the new version may replace: a regular file, a link that leads
// nowhere, or nothing yet. Folders, pipes, devices and sockets are kept.
bool Replaceable(const std::string& real) {
    struct stat info;
    if (lstat(real.c_str(), &info) != 0) return errno == ENOENT;
    return S_ISREG(info.st_mode) || S_ISLNK(info.st_mode);
}

// The real file a write to `real` should replace: the link's destination when
// `real` is a link that leads somewhere, else `real` itself.
std::string WriteDestination(const std::string& real) {
    struct stat info;
    if (lstat(real.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return real;
    char buffer[PATH_MAX];
    if (realpath(real.c_str(), buffer) != nullptr) return buffer;
    return real;
}

std::function<int(const std::string&)>& WriteFault() {
    static std::function<int(const std::string&)> fault;
    return fault;
}

// Permission bits for the new version: the old file's, or the usual ones for a
// new file under the process's umask.
mode_t ModeFor(const std::string& real) {
    struct stat info;
    if (stat(real.c_str(), &info) == 0) return info.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path) {
    Close();
    // A link is followed. O_NONBLOCK keeps the open from waiting on a pipe;
    // the type check below then refuses anything but a regular file.
    int fd = open(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool InputFile::SeekTo(int64_t offset) {
    return fd_ >= 0 && lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == offset;
}

int64_t InputFile::SeekToEnd() {
    if (fd_ < 0) return -1;
    off_t end = lseek(fd_, 0, SEEK_END);
    return end < 0 ? -1 : static_cast<int64_t>(end);
}

int64_t InputFile::Read(char* data, size_t size) {
    if (fd_ < 0) return -1;
    for (;;) {
        ssize_t n = read(fd_, data, size);
        if (n >= 0) return static_cast<int64_t>(n);
        if (errno != EINTR) return -1;
    }
}

void InputFile::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

AtomicOutputFile::~AtomicOutputFile() { Discard(); }

bool AtomicOutputFile::Begin(const std::string& path) {
    Discard();
    failure_.clear();
    target_ = WriteDestination(Resolve(path));
    if (!Replaceable(target_)) {
        failure_ = "it is not a file";
        return false;
    }
    const std::string folder = FolderOf(target_);
    const std::string name = NameOf(target_);
    RemoveStaleTemporaries(folder, name);
    std::string temp = folder + "/" + TemporaryTemplate(name);
    int fd = mkstemps(temp.data(), kTemporarySuffixLength);
    if (fd < 0) return Fail(errno);
    // Held until the file is renamed or removed: it tells a live temporary
    // from a stale one.
    flock(fd, LOCK_EX | LOCK_NB);
    fchmod(fd, ModeFor(target_));
    fd_ = fd;
    temp_ = temp;
    failed_ = false;
    return true;
}

bool AtomicOutputFile::Write(std::string_view bytes) {
    if (fd_ < 0 || failed_) return false;
    if (const int fault = WriteFault() ? WriteFault()(target_) : 0) return Fail(fault);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(n < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(n);
    }
    return true;
}

bool AtomicOutputFile::Commit() {
    if (fd_ < 0) return false;
    // Renamed while still open, so that the lock covers the file to the end.
    const bool ok = !failed_ && (fsync(fd_) == 0 || Fail(errno)) &&
                    (rename(temp_.c_str(), target_.c_str()) == 0 || Fail(errno));
    if (!ok) {
        Discard();
        return false;
    }
    close(fd_);
    fd_ = -1;
    temp_.clear();
    if (SyncFolder(FolderOf(target_))) return true;
    return Fail(errno);
}

bool AtomicOutputFile::Fail(int error) {
    failed_ = true;
    if (failure_.empty()) failure_ = std::strerror(error);
    return false;
}

void AtomicOutputFile::Discard() {
    if (!temp_.empty()) unlink(temp_.c_str());
    temp_.clear();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void SetWriteFault(std::function<int(const std::string& realPath)> fault) {
    WriteFault() = std::move(fault);
}

}  // namespace platform::fs
