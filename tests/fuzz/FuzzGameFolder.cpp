#include "tests/fuzz/FuzzGameFolder.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "game/level/LevelStuff.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "platform/fs/PathResolver.h"
#include "platform/process/Halt.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "support/Snd.h"
#include "tools/demogame/DemoGame.h"

namespace fuzzutil {

namespace {
[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz game folder: %s\n", what.c_str());
    std::abort();
}
}  // namespace

FuzzGameFolder::FuzzGameFolder() {
    // Made first, so that it is still there when the window goes at exit.
    platform::Application::Instance();
    std::string error;
    if (!demo::MakeDemoGame(folder_.Root(), error)) Fail(error);
    GameFolder = folder_.Root();
    platform::fs::SetCurrentFolder(GameFolder);
    platform::SetMessageSink(&messages);
    platform::SetHaltHandler([](int code) { throw platform::HaltRequested{code}; });
}

FuzzGameFolder::~FuzzGameFolder() {
    platform::fs::SetFileOverlay(nullptr);
    ShutDownSound();
    window_.reset();
    platform::SetHaltHandler(nullptr);
    platform::SetMessageSink(nullptr);
}

std::string FuzzGameFolder::Write(const std::string& name, const std::string& bytes) const {
    try {
        return folder_.Write(name, bytes);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

void FuzzGameFolder::BeginInput() {
    GameFolder = folder_.Root();
    platform::fs::SetCurrentFolder(GameFolder);
    messages.texts.clear();
    messages.titles.clear();
    ShutDownSound();
    InitSound(std::make_unique<platform::audio::RecordingAudioDevice>());
}

platform::Window& FuzzGameFolder::Window() {
    if (window_ != nullptr) return *window_;
    // No window is ever drawn: SDL's dummy driver needs no display.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!platform::Application::Instance().Initialise()) Fail("no video driver");
    platform::WindowSettings settings;
    settings.visible = false;
    try {
        window_ = std::make_unique<platform::Window>(settings);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    return *window_;
}

void FuzzGameFolder::ReadFromMemory() {
    if (overlay_ != nullptr) return;
    overlay_ = std::make_unique<platform::fs::FileOverlay>();
    overlay_->AddFolder(folder_.Root());
    platform::fs::SetFileOverlay(overlay_.get());
}

FuzzGameFolder& GameFolderForFuzzing() {
    static FuzzGameFolder folder;
    return folder;
}

}  // namespace fuzzutil
