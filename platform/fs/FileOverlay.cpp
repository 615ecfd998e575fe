#include "platform/fs/FileOverlay.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"

namespace platform::fs {
namespace {

const FileOverlay*& Installed() {
    static const FileOverlay* overlay = nullptr;
    return overlay;
}

// The absolute form of a data path, components upper-cased, "." and ".."
// applied, "/" between them.
std::string KeyOf(const std::string& path) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
    std::vector<std::string> parts;
    std::string whole = absolute ? path : CurrentFolder() + "/" + path;
    std::string part;
    whole += '/';
    for (char c : whole) {
        if (c != '/' && c != '\\') {
            part += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    std::string key;
    for (const std::string& p : parts) key += "/" + p;
    return key;
}

}  // namespace

void FileOverlay::AddFolder(const std::string& root) {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(Resolve(root), error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        std::string bytes;
        if (it->is_regular_file() && ReadWholeFile(it->path().string(), bytes)) {
            files_.emplace(KeyOf(it->path().string()), std::move(bytes));
        }
    }
}

const std::string* FileOverlay::Find(const std::string& path) const {
    if (path.empty()) return nullptr;  // the current folder, never a file
    const auto found = files_.find(KeyOf(path));
    return found == files_.end() ? nullptr : &found->second;
}

void SetFileOverlay(const FileOverlay* overlay) { Installed() = overlay; }

const FileOverlay* CurrentFileOverlay() { return Installed(); }

}  // namespace platform::fs
