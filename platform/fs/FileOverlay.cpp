#include "platform/fs/FileOverlay.h"

#include <filesystem>
#include <system_error>
#include <string_view>

#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"

namespace platform::fs {
namespace {

const FileOverlay*& Installed() {
    static const FileOverlay* overlay = nullptr;
    return overlay;
}

// Appends to `key` the components of `path` ("/" or "\\" between them),
// upper-cased, each after a "/", with "." and ".." applied.
void AppendComponents(std::string_view path, std::string& key) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            const size_t slash = key.rfind('/');
            key.resize(slash == std::string::npos ? 0 : slash);
            continue;
        }
        key += '/';
        for (char c : part) key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
}

// The absolute form of a data path, components upper-cased, "." and ".."
// applied, "/" before each.
std::string KeyOf(const std::string& path) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
    std::string key;
    if (!absolute) AppendComponents(CurrentFolder(), key);
    AppendComponents(path, key);
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
