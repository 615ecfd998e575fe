// Block-wise file access of the platform layer: a regular file opened for
// reading, and a file written under a temporary name that replaces its target
// only once it is complete. Paths are data paths, resolved through
// PathResolver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform::fs {

// A regular file open for reading. A link is followed to the file it leads
// to; a dangling link and special files are refused, and opening never blocks
// on a pipe or a device.
class InputFile {
  public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens the file; false when it is missing, unreadable or not a regular file.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // Moves to `offset` bytes from the start; false on failure.
    bool SeekTo(int64_t offset);
    // Moves to the end and returns the file's size, or -1 on failure.
    int64_t SeekToEnd();
    // Reads up to `size` bytes at the current position: the number read, 0 at
    // the end of the file, -1 on a read error.
    int64_t Read(char* data, size_t size);
    void Close();

  private:
    int fd_ = -1;
};

// A new version of a file, written to a temporary file in the target's folder
// (named as TempName.h tells) and renamed over the target by Commit(). Until
// then, and whenever a step fails, the target keeps its old contents; a
// discarded temporary file is removed, and one left by a writer that was
// killed is removed by the next Begin() for the same target. An existing
// target keeps its permission bits; a target that is a link is replaced
// through the link, a dangling link by a file.
class AtomicOutputFile {
  public:
    AtomicOutputFile() = default;
    ~AtomicOutputFile();  // discards an uncommitted file
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    // Creates the temporary file for `path`; false when the target's folder is
    // missing or not writable, or when the target (or what its link leads to)
    // is a folder, a pipe, a device or a socket.
    bool Begin(const std::string& path);
    // Appends all of `bytes`; false on an error or a short write.
    bool Write(std::string_view bytes);
    // Flushes the data to the disk, renames the file over the target and
    // flushes the folder, so that the new version survives a power cut. False,
    // with the temporary file removed and the target untouched, when the data
    // could not be written or renamed; false with the new version in place when
    // only the folder's flush failed.
    bool Commit();
    // Drops the temporary file, leaving the target untouched.
    void Discard();
    // The system's reason for the first failure since Begin() ("No space left
    // on device"); empty while nothing failed.
    const std::string& Failure() const { return failure_; }

  private:
    bool Fail(int error);

    int fd_ = -1;
    bool failed_ = false;  // a write failed: Commit() refuses
    std::string failure_;  // why the first step failed
    std::string temp_;     // real path of the temporary file
    std::string target_;   // real path of the target
};

// Tests: makes writes fail as they do on a full or failing disk. `fault` is
// asked with the real path of each file about to be written through
// AtomicOutputFile and returns 0 to let the write go on, or the error number
// the write then fails with (ENOSPC: the disk is full). Empty: no faults.
void SetWriteFault(std::function<int(const std::string& realPath)> fault);

}  // namespace platform::fs
