#include "platform/process/Halt.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
std::function<void(int)>& Handler() {
    static std::function<void(int)> handler;
    return handler;
}
}  // namespace

void Halt(int exitCode) {
    if (Handler()) Handler()(exitCode);
    std::fflush(nullptr);
    std::exit(exitCode);
}

void SetHaltHandler(std::function<void(int)> handler) { Handler() = std::move(handler); }

}  // namespace platform
