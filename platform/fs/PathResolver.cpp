#include "platform/fs/PathResolver.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/fs/TempName.h"

namespace platform::fs {
namespace {

std::string& VirtualFolder() {
    static std::string folder = [] {
        char buffer[4096];
        if (getcwd(buffer, sizeof buffer) != nullptr) return std::string(buffer);
        return std::string("/");
    }();
    return folder;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The stored name in `folder` matching `name` without regard to case, or empty.
// When several names differ only by case, the first in byte order wins, so the
// choice does not depend on the order the folder happens to list them in.
// Temporary files of unfinished writes are never matched.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return {};
    std::string found;
    while (dirent* entry = readdir(dir)) {
        std::string stored = entry->d_name;
        if (stored == "." || stored == ".." || IsTemporaryName(stored)) continue;
        if (SameNameIgnoringCase(stored, name) && (found.empty() || stored < found)) {
            found = stored;
        }
    }
    closedir(dir);
    return found;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string ParentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    // Only ASCII letters fold: the bytes above 127 are cp1252 text, and the C
    // library's tolower would fold them by whatever locale happens to be set.
    if (a.size() != b.size()) return false;
    return std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string CurrentFolder() { return VirtualFolder(); }

bool SetCurrentFolder(const std::string& path) {
    // The current folder is its own resolved form: made current again, it is
    // only asked whether it is still a folder.
    struct stat info;
    if (path == VirtualFolder() && path.find('\\') == std::string::npos &&
        stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return true;
    }
    std::string real = Resolve(path);
    if (stat(real.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    VirtualFolder() = real;
    return true;
}

std::string Resolve(const std::string& path) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
    std::string result = absolute ? std::string("/") : VirtualFolder();
    bool matching = true;  // false once a component is missing
    for (const std::string& part : SplitComponents(path)) {
        if (part == ".") continue;
        if (part == "..") {
            // Applied to the text, the Windows way; the stored names are looked
            // up again from the parent when it exists.
            result = ParentOf(result);
            matching = Exists(result);
            continue;
        }
        std::string candidate = Join(result, part);
        if (matching && !Exists(candidate)) {
            std::string stored = FindIgnoringCase(result, part);
            if (stored.empty()) {
                matching = false;
            } else {
                candidate = Join(result, stored);
            }
        }
        result = candidate;
    }
    return result;
}

}  // namespace platform::fs
