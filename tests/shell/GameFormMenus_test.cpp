// The main window's menu bar and the two dialogs driven as a player drives
// them: the demo game in the program's own frame loop (OpenGL window, the
// save and options dialogs in windows of their own) under the X server, with
// mouse, key and text events put into the window system's queue. A click
// opens the file menu and a click on its save command opens the save dialog,
// where a slot name is typed and saved; the load shortcut opens the load
// dialog, where the slot is picked and loaded; the options shortcut opens the
// options dialog, where a key field is clicked and a key bound. The window is
// then read back: the menu bar is drawn in its strip above the frame.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "game/GameClock.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/HeroStuff.h"
#include "platform/clock/Ticks.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/process/Halt.h"
#include "platform/ui/WindowUi.h"
#include "platform/window/Application.h"
#include "shell/ComStuff.h"
#include "shell/GameForm.h"
#include "shell/LocalisationUnit.h"
#include "shell/OptionUnit.h"
#include "shell/SaveGameUnit.h"
#include "support/WinFunc.h"
#include "tests/common/ScratchFolder.h"
#include "tests/common/SdlEvents.h"
#include "tests/shell/DemoFormFixture.h"

namespace {

constexpr uint32_t kFrameTime = 20;  // game time of one frame (ms)
constexpr int kFrameLimit = 4000;
constexpr int kStepLimit = 300;  // frames that one step may wait for its outcome

// Where the controls are, in window pixels. The file menu is the bar's first;
// its items are one text line and one item spacing apart below the bar.
constexpr int kFileMenuX = 14, kMenuY = 9;
constexpr int kSaveItemX = 40, kSaveItemY = 50;
// The save dialog's name field and action button, its first listed slot, and
// the options dialog's second key field (moving down) below the page's tab.
constexpr int kNameX = 100, kNameY = 139, kActionX = 40, kActionY = 169;
constexpr int kBareX = 128, kBareY = 153;
constexpr int kFirstSlotX = 60, kFirstSlotY = 10;
constexpr int kMoveDownFieldX = 100, kMoveDownFieldY = 62;
constexpr int kMoveDownControl = 3;

void Push(SDL_Event event) { SDL_PushEvent(&event); }

using formtest::Key;

void Tap(SDL_Keycode sym, SDL_Scancode scancode, uint32_t window) {
    Key(SDL_KEYDOWN, sym, scancode, window);
    Key(SDL_KEYUP, sym, scancode, window);
}

// A right click on a bare spot: the toolkit's first frame of a window finds
// nothing under the pointer, so a dialog's first frames get this.
void Settle(int x, int y, uint32_t window) {
    for (const uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
        testutil::PushButton(type, SDL_BUTTON_RIGHT, x, y, window);
}

// Ends the run (as closing the window does) should a dialog never close.
Uint32 Watchdog(Uint32 /*interval*/, void* /*unused*/) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return 0;
}

void Type(const char* text, uint32_t window) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = window;
    std::strncpy(event.text.text, text, sizeof event.text.text - 1);
    Push(event);
}

// The whole drawable of an OpenGL window as shown last, strip included: RGB
// rows from the top.
std::string ReadWholeWindow(platform::Window& window, int& width, int& height) {
    using ReadPixelsFn = void (*)(int, int, int, int, unsigned, unsigned, void*);
    using PixelStoreFn = void (*)(unsigned, int);
    using ReadBufferFn = void (*)(unsigned);
    constexpr unsigned kBack = 0x0405, kPackAlignment = 0x0D05, kRgb = 0x1907, kByte = 0x1401;
    SDL_GL_MakeCurrent(window.Native(), static_cast<SDL_GLContext>(window.GLContext()));
    SDL_GL_GetDrawableSize(window.Native(), &width, &height);
    auto readBuffer = reinterpret_cast<ReadBufferFn>(SDL_GL_GetProcAddress("glReadBuffer"));
    auto pixelStore = reinterpret_cast<PixelStoreFn>(SDL_GL_GetProcAddress("glPixelStorei"));
    auto readPixels = reinterpret_cast<ReadPixelsFn>(SDL_GL_GetProcAddress("glReadPixels"));
    if (readBuffer == nullptr || pixelStore == nullptr || readPixels == nullptr) return {};
    readBuffer(kBack);
    pixelStore(kPackAlignment, 1);
    const size_t row = static_cast<size_t>(width) * 3;
    std::string flipped(row * static_cast<size_t>(height), '\0'), rgb(flipped.size(), '\0');
    readPixels(0, 0, width, height, kRgb, kByte, flipped.data());
    for (int y = 0; y < height; ++y)
        flipped.copy(rgb.data() + static_cast<size_t>(y) * row, row,
                     static_cast<size_t>(height - 1 - y) * row);
    return rgb;
}

// The colours found in rows top..bottom-1 of an RGB picture `width` across.
size_t ColoursIn(const std::string& rgb, int width, int top, int bottom) {
    std::vector<uint32_t> colours;
    for (size_t i = static_cast<size_t>(top) * width * 3;
         i + 2 < rgb.size() && i < static_cast<size_t>(bottom) * width * 3; i += 3) {
        colours.push_back(uint32_t{static_cast<uint8_t>(rgb[i])} << 16 |
                          uint32_t{static_cast<uint8_t>(rgb[i + 1])} << 8 |
                          static_cast<uint8_t>(rgb[i + 2]));
    }
    std::sort(colours.begin(), colours.end());
    return static_cast<size_t>(std::unique(colours.begin(), colours.end()) - colours.begin());
}

class GameFormMenusTest : public formtest::DemoFormFixture {
  protected:
    void SetUp() override {
        DemoFormFixture::SetUp();
        platform::SetMessageSink(&messages);
    }
    void TearDown() override {
        platform::SetMessageSink(nullptr);
        DemoFormFixture::TearDown();
    }

    platform::RecordingMessageSink messages;
};

TEST_F(GameFormMenusTest, SaveLoadAndKeyBindingThroughTheMenuAndTheDialogs) {
    TScreenForm form(platform::Surface::OpenGL);
    ScreenForm = &form;
    TOptionForm options;
    OptionForm = &options;
    TSaveGameForm saves;
    SaveGameForm = &saves;
    const uint32_t id = form.Window().Id();
    const uint32_t saveId = saves.Window()->Id();
    const uint32_t optionId = options.Window()->Id();
    form.FormActivate();
    ASSERT_EQ(GameMode, ModeTitle);
    const uint8_t boundBefore = KeyBindings[kMoveDownControl];
    ASSERT_NE(boundBefore, 'K');

    enum class Step { Title, Starting, Playing, MenuOpen, Saved, Loaded, Options, KeyField, Done };
    Step step = Step::Title;
    int frames = 0, stepFrames = 0, playFrames = 0;
    float savedX = 0;
    std::string pixels;
    int width = 0, height = 0;
    const std::string slot = folder.Path("Demo/SAVEGAME/slot1/savegame.bin");
    auto next = [&](Step s) {
        step = s;
        stepFrames = 0;
    };
    std::function<void()> play = [&] {
        now += kFrameTime;
        ++frames;
        ++stepFrames;
        if (GameMode == ModePlay) ++playFrames;
        HeroStuff& h = Heroes[CurrentHero];
        switch (step) {
            case Step::Title:  // a new game on the jump button, as the title takes keys
                if (int64_t{FrameTime} - ModeStartTime > 1100) {
                    Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
                    next(Step::Starting);
                }
                break;
            case Step::Starting:  // the developer video and the cut-scene run first
                if (GameMode != ModePlay && !IsKeyDown(' ')) {
                    Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
                } else if (playFrames > 5 && KeyFramesRunning == 0) {
                    Key(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE, id);
                    next(Step::Playing);
                }
                break;
            case Step::Playing:  // the file menu opened by a click on the bar
                if (stepFrames == 20) {
                    testutil::PushClick(kFileMenuX, kMenuY, id);
                    next(Step::MenuOpen);
                }
                break;
            case Step::MenuOpen:
                // The save command; the dialog that it opens takes the events
                // queued for it once it shows: a name typed, then its action.
                if (stepFrames == 10) {
                    savedX = h.X;
                    testutil::PushClick(kSaveItemX, kSaveItemY, id);
                    Settle(kBareX, kBareY, saveId);
                    testutil::PushClick(kNameX, kNameY, saveId);
                    Type("slot1", saveId);
                    testutil::PushClick(kActionX, kActionY, saveId);
                    next(Step::Saved);
                }
                break;
            case Step::Saved:  // the hero moved away, then the load shortcut
                if (std::filesystem::exists(slot)) {
                    h.X += 700;
                    Tap(SDLK_F3, SDL_SCANCODE_F3, id);
                    testutil::PushClick(kFirstSlotX, kFirstSlotY, saveId);
                    testutil::PushClick(kActionX, kActionY, saveId);
                    next(Step::Loaded);
                }
                break;
            case Step::Loaded:  // the options dialog through its shortcut
                if (h.X == savedX && HudMessage.text == LocalisedMessages[18]) {
                    Key(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, id);
                    Tap(SDLK_o, SDL_SCANCODE_O, id);
                    Key(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL, id);
                    next(Step::Options);
                }
                break;
            case Step::Options:
                if (options.Visible() && stepFrames > 5) {
                    testutil::PushClick(kMoveDownFieldX, kMoveDownFieldY, optionId);
                    next(Step::KeyField);
                }
                break;
            case Step::KeyField:  // the field clicked has the keyboard: a key for it
                if (options.FocusedControl == kMoveDownControl && stepFrames > 5) {
                    Tap(SDLK_k, SDL_SCANCODE_K, optionId);
                    next(Step::Done);
                }
                break;
            case Step::Done:
                if (stepFrames == 10) pixels = ReadWholeWindow(form.Window(), width, height);
                break;
        }
        if ((step == Step::Done && stepFrames == 10) || frames == kFrameLimit ||
            (step > Step::Playing && stepFrames == kStepLimit)) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    };
    platform::Application::Instance().SetIdleHandler([&](bool& done) {
        form.GameLoop(done);
        play();
    });
    const SDL_TimerID watchdog = SDL_AddTimer(60000, Watchdog, nullptr);
    int exitCode = -1;
    try {
        platform::Application::Instance().Run();
    } catch (const platform::HaltRequested& halt) {
        exitCode = halt.exitCode;
    }
    SDL_RemoveTimer(watchdog);
    ScreenForm = nullptr;
    OptionForm = nullptr;
    SaveGameForm = nullptr;
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    ASSERT_EQ(step, Step::Done) << "stopped after " << frames << " frames";

    // The save wrote its slot whole, and the load gave the hero back.
    EXPECT_EQ(std::filesystem::file_size(slot), 1473u);
    EXPECT_EQ(GameMode, ModePlay);
    EXPECT_EQ(Heroes[CurrentHero].X, savedX);
    // The key pressed in the key field is the control's, and never the game's.
    EXPECT_EQ(KeyBindings[kMoveDownControl], 'K');
    EXPECT_EQ(options.KeyTexts[kMoveDownControl], KeyNames['K']);
    EXPECT_EQ(KeyDown['K'], 0);

    // Read back: the bar in its strip above the 640 x 480 frame.
    const int strip = platform::ui::WindowUi::MenuBarHeight();
    ASSERT_EQ(width, 640);
    ASSERT_EQ(height, 480 + strip);
    ASSERT_FALSE(pixels.empty());
    EXPECT_GE(ColoursIn(pixels, width, 0, strip), 2u) << "no menu bar drawn in its strip";
    EXPECT_GT(ColoursIn(pixels, width, strip, height), 50u) << "no game frame below it";
}

}  // namespace
