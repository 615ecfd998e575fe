#include "support/dircpy.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string_view>

#include "platform/fs/FileStream.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"

namespace fs = platform::fs;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Everything up to and including the last separator ("" when there is none).
std::string FolderPart(const std::string& path) {
    auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string FileNamePart(const std::string& path) {
    auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `inner` is `outer` itself or lies somewhere below it, comparing the
// real folders (links, "..", letter case and separators resolved).
bool SameOrInside(const std::string& inner, const std::string& outer) {
    const std::string a = fs::CanonicalPath(inner);
    const std::string b = fs::CanonicalPath(outer);
    if (a == b || b == "/") return true;
    return a.size() > b.size() && a.compare(0, b.size(), b) == 0 && a[b.size()] == '/';
}

uint16_t AsPercent(double value) {
    if (!(value > 0)) return 0;  // also NaN
    if (value >= 65535.0) return 65535;
    return static_cast<uint16_t>(std::trunc(value));
}

// The wildcard matcher behind MatchesMask. The mask is first put into the form
// a Windows directory search uses: "?" becomes a question mark that matches
// nothing at a dot or at the end of the name, a "*" before a dot stops at the
// name's last dot, and a dot before a wildcard or at the end also matches the
// end of a name without extension.
class MaskMatcher {
  public:
    MaskMatcher(const std::string& name, const std::string& mask) : name_(name) {
        const std::string m = mask == "*.*" ? std::string("*") : mask;
        for (size_t i = 0; i < m.size(); ++i) {
            const char next = i + 1 < m.size() ? m[i + 1] : '\0';
            Kind kind = Kind::Literal;
            if (m[i] == '*') kind = next == '.' ? Kind::StarToDot : Kind::Star;
            if (m[i] == '?') kind = Kind::Question;
            if (m[i] == '.' && (next == '*' || next == '?' || next == '\0')) kind = Kind::Dot;
            tokens_.push_back({kind, AsciiLower(m[i])});
        }
        lastDot_ = name.find_last_of('.');
        memo_.assign((tokens_.size() + 1) * (name.size() + 1), -1);
    }

    bool Matches() { return Match(0, 0); }

  private:
    enum class Kind { Literal, Star, StarToDot, Question, Dot };
    struct Token {
        Kind kind;
        char c;
    };

    bool Match(size_t i, size_t j) {
        if (i == tokens_.size()) return j == name_.size();
        signed char& known = memo_[i * (name_.size() + 1) + j];
        if (known < 0) known = MatchToken(i, j) ? 1 : 0;
        return known == 1;
    }

    bool MatchToken(size_t i, size_t j) {
        const bool more = j < name_.size();
        const char c = more ? name_[j] : '\0';
        switch (tokens_[i].kind) {
            case Kind::Literal:
                return more && AsciiLower(c) == tokens_[i].c && Match(i + 1, j + 1);
            case Kind::Star:
                return Match(i + 1, j) || (more && Match(i, j + 1));
            case Kind::StarToDot:
                return Match(i + 1, j) || (more && j != lastDot_ && Match(i, j + 1));
            case Kind::Question:
                return (more && c != '.') ? Match(i + 1, j + 1) : Match(i + 1, j);
            case Kind::Dot:
                return more ? (c == '.' && Match(i + 1, j + 1)) : Match(i + 1, j);
        }
        return false;
    }

    const std::string& name_;
    std::vector<Token> tokens_;
    size_t lastDot_;
    std::vector<signed char> memo_;  // -1 unknown, 0 no, 1 yes
};

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    return MaskMatcher(name, mask).Matches();
}

void TFileCopyNew::Error(const std::string& Message) {
    if (OnError) OnError(*this, Message);
}

void TFileCopyNew::Progress(const std::string& Line) {
    if (!ShowProgressOnMemo) return;
    if (Memo != nullptr) {
        Memo->push_back(Line);
    } else {
        Error(
            "Error : you must assign an exsisting TMemo to memo property,\r"
            "before setting ShowProgressOnMemo = True");
    }
}

void TFileCopyNew::ReportProgress(double read, double written) {
    if (OnCopyProgress) OnCopyProgress(*this, AsPercent(read), AsPercent(written));
}

bool TFileCopyNew::Execute() {
    if (SourceFile.empty()) {
        Error("I can't copy\rSource File name missing");
        return false;
    }
    if (TargetFile.empty()) {
        Error("I can't copy\rTarget File name missing");
        return false;
    }
    if (!CopyFiles(SourceFile, TargetFile)) {
        Error("Execution failed :\r\r" + SourceFile + " -> " + TargetFile);
        return false;
    }
    return true;
}

bool TFileCopyNew::CopyFiles(const std::string& Source, const std::string& Target) {
    if (Source.find('*') != std::string::npos) return CopyMatchingEntries(Source, Target);
    const bool copied = CopyFile(Source, Target);
    if (Memo != nullptr) Memo->push_back((copied ? "Ok - " : "failed - ") + Source);
    return copied;
}

bool TFileCopyNew::CopyMatchingEntries(const std::string& Source, const std::string& Target) {
    const std::string mask = FileNamePart(Source);
    const std::string sourcePath = FolderPart(Source);
    std::string targetPath = FolderPart(Target);

    std::vector<fs::FolderEntry> entries;
    if (!fs::ReadFolder(sourcePath, entries)) {
        if (!fs::FolderExists(sourcePath)) return true;  // a missing source holds nothing
        Error("Read error on \r" + sourcePath + "\r" + "Copy failed.");
        return false;
    }
    std::erase_if(entries, [&](const fs::FolderEntry& e) { return !MatchesMask(e.name, mask); });
    if (entries.empty()) return true;

    // An empty target folder stays the current folder rather than the root.
    if (!targetPath.empty() && !IsSeparator(targetPath.back())) targetPath += '\\';
    fs::CreateFolders(targetPath);  // when this fails, each file reports it

    const bool descends = IncludeSubFolders &&
                          std::any_of(entries.begin(), entries.end(), [](const fs::FolderEntry& e) {
                              return e.kind == fs::EntryKind::Folder && !e.link;
                          });
    if (descends && SameOrInside(targetPath, sourcePath)) {
        Error("ERROR : folder recursion\r\rCan't copy !");
        return false;
    }
    bool result = true;
    for (const fs::FolderEntry& entry : entries) {
        // Dangling links, devices, pipes and sockets hold nothing to copy. A
        // link to a file gives its contents; a link to a folder is not entered,
        // as it may lead back up the tree or out of it.
        if (entry.kind == fs::EntryKind::Other) continue;
        const bool isFolder = entry.kind == fs::EntryKind::Folder;
        if (isFolder && (!IncludeSubFolders || entry.link)) continue;
        if (!CopyEntry(sourcePath, targetPath, mask, entry.name, isFolder)) result = false;
    }
    return result;
}

bool TFileCopyNew::CopyEntry(const std::string& SourcePath, const std::string& TargetPath,
                             const std::string& Mask, const std::string& Name, bool isFolder) {
    if (isFolder) {
        fs::CreateFolders(TargetPath + Name);
        return CopyFiles(SourcePath + Name + "\\" + Mask, TargetPath + Name + "\\");
    }
    const bool copied = CopyFile(SourcePath + Name, TargetPath + Name);
    Progress((copied ? "Ok - " : "failed - ") + SourcePath + Name);
    return copied;
}

bool TFileCopyNew::CopyFile(const std::string& Source, const std::string& Target) {
    if (Source == Target || fs::CanonicalPath(Source) == fs::CanonicalPath(Target)) {
        Error("Error !!!\rI can't copy " + Source + " on itself");
        return false;
    }
    fs::InputFile input;
    const int64_t size = input.Open(Source) ? input.SeekToEnd() : -1;
    if (size < 0 || !input.SeekTo(0)) {
        Error(Source + " missing or corrupted or opened for exclusive use");
        return false;
    }
    // The percentage one block adds; an empty file completes with its one read.
    const double step =
        size > 0 ? 100.0 / (static_cast<double>(size) / static_cast<double>(BlockSize)) : 100.0;

    if (fs::EntryExists(Target)) {
        bool canOverride = true;
        if (OnOverriding) OnOverriding(*this, canOverride);
        if (!canOverride) return false;
    }
    fs::AtomicOutputFile output;
    const bool replaceable = fs::FileExists(Target) || !fs::EntryExists(Target);
    if (!replaceable || !output.Begin(Target)) {
        Error("Error on creating " + Target);
        return false;
    }
    if (!CopyBlocks(Source, Target, step, input, output)) return false;
    input.Close();
    if (!output.Commit()) {
        Error("Write error on \r" + Target + "\r" + "Copy failed.");
        return false;
    }
    ReportProgress(100, 100);
    return true;
}

bool TFileCopyNew::CopyBlocks(const std::string& Source, const std::string& Target, double step,
                              fs::InputFile& input, fs::AtomicOutputFile& output) {
    std::vector<char> buffer(BlockSize);
    double readPercent = 0;
    double writtenPercent = 0;
    for (;;) {
        const int64_t count = input.Read(buffer.data(), buffer.size());
        if (count < 0) {
            Error("Read error on \r" + Source + "\r" + "Copy failed.");
            return false;
        }
        readPercent += step;
        ReportProgress(readPercent, writtenPercent);
        if (!output.Write(std::string_view(buffer.data(), static_cast<size_t>(count)))) {
            Error("Write error on \r" + Target + "\r" + "Copy failed.");
            return false;
        }
        writtenPercent += step;
        ReportProgress(readPercent, writtenPercent);
        if (count == 0) return true;
    }
}

bool CopyFolder(std::string Source, std::string Target) {
    if (fs::SameNameIgnoringCase(Source, Target)) return true;
    if (!Source.empty() && IsSeparator(Source.back())) Source.pop_back();
    if (!Target.empty() && IsSeparator(Target.back())) Target.pop_back();
    // An empty name would make "\*.*" below, the root of the file system.
    if (Source.empty() || Target.empty()) return false;
    if (fs::CanonicalPath(Source) == fs::CanonicalPath(Target)) return true;
    // Refused before anything is created: the copy would descend into itself.
    if (SameOrInside(Target, Source)) return false;
    try {
        TFileCopyNew copier;
        copier.IncludeSubFolders = true;
        copier.SourceFile = Source + "\\*.*";
        copier.TargetFile = Target + "\\*.*";
        if (!fs::CreateFolders(Target)) return false;
        return copier.Execute();
    } catch (const std::exception&) {
        return false;
    }
}
