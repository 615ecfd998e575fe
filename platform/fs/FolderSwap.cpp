#include "platform/fs/FolderSwap.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "platform/fs/PathResolver.h"
#include "platform/fs/TempName.h"

namespace platform::fs {
namespace {

// The name of a new version's temporary has the target's name with a dot
// after it; an old version put aside has the bare target name. Target
// names never end with a dot, so the two are never confused.
const char kNewVersionMark = '.';
static_assert(kNewVersionNameExtra == kTemporaryOverhead + sizeof kNewVersionMark);
constexpr int kNameAttempts = 100;

std::string ParentOf(const std::string& real) {
    const size_t cut = real.find_last_of('/');
    return cut == 0 ? "/" : real.substr(0, cut);
}

std::string NameOf(const std::string& real) { return real.substr(real.find_last_of('/') + 1); }

// A temporary name for `targetName`: its template with the X's filled.
std::string RandomTemporary(const std::string& targetName) {
    static std::mt19937 random{std::random_device{}()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = TemporaryTemplate(targetName);
    const size_t x =
        name.size() - static_cast<size_t>(kTemporarySuffixLength) - kTemporaryRandomLength;
    std::uniform_int_distribution<size_t> pick(0, sizeof(kLetters) - 2);
    for (size_t i = 0; i < kTemporaryRandomLength; ++i) name[x + i] = kLetters[pick(random)];
    return name;
}

bool IsFolderNoFollow(const std::string& real) {
    struct stat info;
    return lstat(real.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& real) {
    struct stat info;
    return lstat(real.c_str(), &info) == 0;
}

// The target name a temporary folder was made for, and whether it is a new
// version; false for names that are not such temporaries.
bool TargetOfTemporary(const std::string& name, std::string& target, bool& newVersion) {
    target = std::string(TemporaryTargetName(name));
    newVersion = !target.empty() && target.back() == kNewVersionMark;
    if (newVersion) target.pop_back();
    return !target.empty();
}

std::vector<std::string> EntryNames(const std::string& real) {
    std::vector<std::string> names;
    DIR* dir = opendir(real.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

}  // namespace

std::string MakeNewVersionFolder(const std::string& target) {
    const std::string real = Resolve(target);
    const std::string name = NameOf(real);
    if (name.empty() || name.size() > kMaxSwappedName) return {};
    const std::string parent = ParentOf(real);
    for (int i = 0; i < kNameAttempts; ++i) {
        const std::string path = parent + "/" + RandomTemporary(name + kNewVersionMark);
        if (mkdir(path.c_str(), 0777) == 0) return path;
        if (errno != EEXIST) return {};
    }
    return {};
}

bool SwapInFolder(const std::string& newVersion, const std::string& target) {
    const std::string real = Resolve(target);
    if (!Exists(real)) {
        if (renameat2(AT_FDCWD, newVersion.c_str(), AT_FDCWD, real.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        return (errno == EINVAL || errno == ENOSYS) && !Exists(real) &&
               std::rename(newVersion.c_str(), real.c_str()) == 0;
    }
    if (renameat2(AT_FDCWD, newVersion.c_str(), AT_FDCWD, real.c_str(), RENAME_EXCHANGE) == 0) {
        RemoveFolderTree(newVersion);  // the old version now; a leftover is tidied later
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // No exchanging rename here: the old version goes aside first.
    const std::string aside = ParentOf(real) + "/" + RandomTemporary(NameOf(real));
    if (std::rename(real.c_str(), aside.c_str()) != 0) return false;
    if (std::rename(newVersion.c_str(), real.c_str()) != 0) {
        std::rename(aside.c_str(), real.c_str());
        return false;
    }
    RemoveFolderTree(aside);
    return true;
}

bool RemoveFolderTree(const std::string& path) {
    const std::string real = Resolve(path);
    std::error_code error;
    std::filesystem::remove_all(real, error);
    return !Exists(real);
}

void RecoverFolders(const std::string& folder, const std::string& only) {
    const std::string real = Resolve(folder);
    for (const std::string& name : EntryNames(real)) {
        std::string target;
        bool newVersion = false;
        if (!TargetOfTemporary(name, target, newVersion)) continue;
        if (!only.empty() && target != only) continue;
        const std::string path = real + "/" + name;
        if (!IsFolderNoFollow(path)) continue;  // a file's unfinished write is not ours
        const std::string targetPath = real + "/" + target;
        if (!newVersion && !Exists(targetPath) &&
            std::rename(path.c_str(), targetPath.c_str()) == 0)
            continue;
        RemoveFolderTree(path);
    }
}

}  // namespace platform::fs
