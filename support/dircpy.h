// The folder copier: copies one file, or every file that a wildcard mask names
// (optionally descending into sub-folders), block by block, and reports
// progress, questions and failures through events. Save games and new games
// move whole folders of level state with CopyFolder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::fs {
class InputFile;
class AtomicOutputFile;
}  // namespace platform::fs

class TFileCopyNew;

// Progress of the current file in percent: after each block read and written.
using TCopyProgressEvent =
    std::function<void(TFileCopyNew& sender, uint16_t read, uint16_t written)>;
// Asked before an existing target file is replaced; leaving CanOverride true
// replaces it, setting it false keeps the old file and fails that file's copy.
using TOnOverriding = std::function<void(TFileCopyNew& sender, bool& CanOverride)>;
// Receives every failure message.
using TOnError = std::function<void(TFileCopyNew& sender, const std::string& ErrorMsg)>;

class TFileCopyNew {
  public:
    static constexpr size_t BlockSize = 16384;  // bytes per read and write

    TCopyProgressEvent OnCopyProgress;
    TOnOverriding OnOverriding;
    TOnError OnError;
    std::string SourceFile;  // a file name, or a path ending in a wildcard mask
    std::string TargetFile;  // the target file, or (with a mask) the target folder
    bool IncludeSubFolders = false;
    std::vector<std::string>* Memo = nullptr;  // receives "Ok - " / "failed - " lines; not owned
    bool ShowProgressOnMemo = true;            // per-file lines of a wildcard copy go to Memo

    // Checks the names and copies SourceFile to TargetFile. Returns true when
    // everything was copied; every failure is also reported through OnError.
    bool Execute();
    // Copies one file (Source without "*"), or every entry matching the mask
    // at the end of Source into the folder part of Target. False when a file
    // failed or the copy would recurse into its own target.
    bool CopyFiles(const std::string& Source, const std::string& Target);
    // Copies one regular file (or the file a link leads to) block by block. The
    // data goes to a temporary file in the target's folder that replaces Target
    // only once complete, so a failed copy leaves an existing Target as it was.
    bool CopyFile(const std::string& Source, const std::string& Target);
    // Appends a per-file line to Memo when ShowProgressOnMemo is set (an error
    // when Memo is unassigned).
    void Progress(const std::string& Line);
    // Hands Message to OnError when assigned.
    void Error(const std::string& Message);

  private:
    bool CopyMatchingEntries(const std::string& Source, const std::string& Target);
    bool CopyEntry(const std::string& SourcePath, const std::string& TargetPath,
                   const std::string& Mask, const std::string& Name, bool isFolder);
    bool CopyBlocks(const std::string& Source, const std::string& Target, double step,
                    platform::fs::InputFile& input, platform::fs::AtomicOutputFile& output);
    void ReportProgress(double read, double written);
};

// Copies the folder tree Source into the folder Target, creating Target with
// its parents. Links to files are copied as the files they lead to; links to
// folders, dangling links, special files and the temporary files of
// unfinished writes are left out. Names equal but for letter case, or naming the same real
// folder, copy nothing and give true. False when a file could not be copied,
// when Target cannot be created, or when Target lies inside Source.
bool CopyFolder(std::string Source, std::string Target);

// True when `name` matches the wildcard `mask` the way a Windows directory
// search matches it: letters without regard to case, "*" any run of characters,
// "?" one character, "*.*" every name, and a final ".*" also names without a
// dot.
bool MatchesMask(const std::string& name, const std::string& mask);
