// What the fuzzers of the game's text readers need around them: the demo game
// written into a scratch folder that is the game folder and the current
// folder, messages recorded instead of shown, a halt that throws
// platform::HaltRequested instead of ending the process, sound on a recording
// device, and on request a hidden main window on SDL's display-less video
// driver (the fuzzers run without an X server), and on request the folder's
// files read from memory.
#pragma once

#include <memory>
#include <string>

#include "platform/fs/FileOverlay.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/common/ScratchFolder.h"

namespace platform {
class Window;
}

namespace fuzzutil {

class FuzzGameFolder {
  public:
    // Writes the demo game and installs the message sink and the halt handler;
    // aborts the fuzzer when the folder cannot be written.
    FuzzGameFolder();
    ~FuzzGameFolder();
    FuzzGameFolder(const FuzzGameFolder&) = delete;
    FuzzGameFolder& operator=(const FuzzGameFolder&) = delete;

    const std::string& Root() const { return folder_.Root(); }
    // Writes `bytes` to the file `name` (relative, '/' separated) of the game
    // folder and returns its absolute path; aborts when it cannot be written.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Puts back what one input may have changed: the game folder current, no
    // recorded messages, sound started anew on a recording device.
    void BeginInput();
    // The hidden main window, made at the first call; aborts when SDL cannot
    // make one.
    platform::Window& Window();
    // From the first call on, the game folder's files are read from memory:
    // read once then, the disk is not asked for them again (files written
    // later are not seen).
    void ReadFromMemory();

    platform::RecordingMessageSink messages;

  private:
    testutil::ScratchFolder folder_;
    std::unique_ptr<platform::Window> window_;
    std::unique_ptr<platform::fs::FileOverlay> overlay_;
};

// The one game folder of the fuzzer process, made at the first call.
FuzzGameFolder& GameFolderForFuzzing();

}  // namespace fuzzutil
