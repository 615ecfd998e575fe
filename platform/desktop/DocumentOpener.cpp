#include "platform/desktop/DocumentOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/fs/FileStream.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"

extern char** environ;

namespace platform {
namespace {

const char* const kOpener = "xdg-open";
// The start of a file, where programs and launchers show what they are.
constexpr size_t kHeadBytes = 4096;

std::string Head(const std::string& path) {
    fs::InputFile file;
    std::string head(kHeadBytes, '\0');
    const int64_t read = file.Open(path) ? file.Read(head.data(), head.size()) : 0;
    head.resize(read > 0 ? static_cast<size_t>(read) : 0);
    return head;
}

bool EndsWithIgnoringCase(const std::string& name, const std::string& end) {
    return name.size() >= end.size() &&
           fs::SameNameIgnoringCase(name.substr(name.size() - end.size()), end);
}

// Starts the opener; 0, or the error number of the failed start.
int StartDesktopOpener(const std::string& realPath) {
    std::string program = kOpener;
    std::string argument = realPath;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (const int error = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ))
        return error;
    // The opener ends once it has handed the file on; it is reaped aside so
    // that the game never waits for it.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return 0;
}

}  // namespace

std::string NotADocument(const std::string& path) {
    if (!fs::FileExists(path)) return "it is not a file";
    const std::string head = Head(path);
    for (const char* magic : {"\x7f"
                              "ELF",
                              "#!", "MZ"}) {
        if (head.compare(0, std::strlen(magic), magic) == 0) return "it is a program";
    }
    if (EndsWithIgnoringCase(path, ".desktop") || head.find("[Desktop Entry]") != std::string::npos)
        return "it is a desktop launcher";
    return {};
}

std::string OpenDocument(const std::string& path) {
    const std::string problem = NotADocument(path);
    if (!problem.empty()) return problem;
    // An absolute path: the opener never takes the name for one of its options.
    const int error = StartDesktopOpener(fs::Resolve(path));
    if (error == ENOENT) return std::string("no desktop opener (") + kOpener + ") is installed";
    if (error != 0) return std::string(kOpener) + " cannot be started: " + std::strerror(error);
    return {};
}

}  // namespace platform
