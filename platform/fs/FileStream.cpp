#include "platform/fs/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/fs/PathResolver.h"

namespace platform::fs {
namespace {

std::string FolderOf(const std::string& real) {
    auto slash = real.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return real.substr(0, slash);
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
    // O_NONBLOCK keeps the open from waiting on a pipe; the type check below
    // then refuses anything but a regular file.
    int fd = open(Resolve(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
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
    target_ = WriteDestination(Resolve(path));
    // A short fixed name: the target's own name may already be as long as a
    // name can be.
    std::string temp = FolderOf(target_) + "/.tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    fchmod(fd, ModeFor(target_));
    fd_ = fd;
    temp_ = temp;
    failed_ = false;
    return true;
}

bool AtomicOutputFile::Write(std::string_view bytes) {
    if (fd_ < 0 || failed_) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool AtomicOutputFile::Commit() {
    if (fd_ < 0) return false;
    bool ok = !failed_ && fsync(fd_) == 0;
    ok = (close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok) ok = rename(temp_.c_str(), target_.c_str()) == 0;
    if (ok) {
        temp_.clear();
    } else {
        Discard();
    }
    return ok;
}

void AtomicOutputFile::Discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!temp_.empty()) unlink(temp_.c_str());
    temp_.clear();
}

}  // namespace platform::fs
