#include "tests/common/ScratchFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace testutil {

namespace stdfs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (stdfs::temp_directory_path() / "scratch-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder from " + pattern);
    }
    root_ = stdfs::canonical(pattern).string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    const auto all = stdfs::perms::owner_all;
    const auto add = stdfs::perm_options::add;
    stdfs::permissions(root_, all, add, ignored);
    // An entry is met before the iterator goes into it, so a locked folder is
    // opened up in time to be listed.
    std::error_code walk;
    stdfs::recursive_directory_iterator it(root_, stdfs::directory_options::skip_permission_denied,
                                           walk);
    for (; !walk && it != stdfs::recursive_directory_iterator(); it.increment(walk)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            stdfs::permissions(it->path(), all, add, ignored);
        }
    }
    stdfs::remove_all(root_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    const stdfs::path path = Path(name);
    std::error_code error;
    stdfs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

}  // namespace testutil
