// Ending the process at once, the way the game's quit routine does. Tests
// install a handler that records the request and unwinds instead.
#pragma once

#include <functional>

namespace platform {

// Thrown by the handler that tests install with SetHaltHandler.
struct HaltRequested {
    int exitCode;
};

// Ends the process with `exitCode` (static destructors run, nothing else).
[[noreturn]] void Halt(int exitCode);

// Replaces what Halt does; the handler must not return. Empty: really end.
void SetHaltHandler(std::function<void(int)> handler);

}  // namespace platform
