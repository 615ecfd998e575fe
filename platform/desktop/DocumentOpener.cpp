#include "platform/desktop/DocumentOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "platform/fs/PathResolver.h"

extern char** environ;

namespace platform {
namespace {

bool StartDesktopOpener(const std::string& realPath) {
    std::string program = "xdg-open";
    std::string argument = realPath;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    // The opener ends once it has handed the file on; it is reaped aside so
    // that the game never waits for it.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

}  // namespace

bool OpenDocument(const std::string& path) {
    // An absolute path: the opener never takes the name for one of its options.
    const std::string real = fs::Resolve(path);
    return StartDesktopOpener(real);
}

}  // namespace platform
