// What the level loaders need around them in a test: a scratch game folder
// made current, a hidden main window, recorded messages, and a halt that
// throws platform::HaltRequested instead of ending the process.
#pragma once

#include <memory>
#include <string>

#include "game/level/LevelStuff.h"
#include "platform/fs/PathResolver.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/process/Halt.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "tests/common/ScratchFolder.h"

namespace leveltest {

class LevelTestWorld {
  public:
    LevelTestWorld() : previousFolder_(platform::fs::CurrentFolder()) {
        platform::Application::Instance().Initialise();
        GameFolder = folder.Root();
        platform::fs::SetCurrentFolder(GameFolder);
        platform::SetMessageSink(&messages);
        platform::SetHaltHandler([](int code) { throw platform::HaltRequested{code}; });
        platform::WindowSettings settings;
        settings.visible = false;
        window = std::make_unique<platform::Window>(settings);
        Level.LoadedDefinitionFile.clear();  // the next load reads its definition
    }
    ~LevelTestWorld() {
        window.reset();
        platform::SetHaltHandler(nullptr);
        platform::SetMessageSink(nullptr);
        platform::fs::SetCurrentFolder(previousFolder_);
    }
    LevelTestWorld(const LevelTestWorld&) = delete;
    LevelTestWorld& operator=(const LevelTestWorld&) = delete;

    testutil::ScratchFolder folder;
    platform::RecordingMessageSink messages;
    std::unique_ptr<platform::Window> window;

  private:
    std::string previousFolder_;
};

}  // namespace leveltest
