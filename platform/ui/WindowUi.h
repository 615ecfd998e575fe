// The interface toolkit in a platform window, over Dear ImGui: one toolkit
// context per window, fed from the window's own events (never from the
// system's global mouse or keyboard state, so that one window's toolkit does
// not see another's input), drawn by the window's renderer (UiRenderer.h).
// Input reaches the toolkit one step a frame: a button or key that changes
// twice, or a move or text after a button change, waits for the next frame,
// so that a quick click still presses and releases, and a click and typing
// that arrive together still act in their order.
// A menu-bar window keeps a strip above its client area for the bar and
// draws its frames over the window's frames; a dialog window shows its own.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/ui/Ui.h"

struct ImGuiContext;
union SDL_Event;

namespace platform {
class Window;
}

namespace platform::ui {

class UiRenderer;

enum class UiKind {
    MenuBar,    // the main window's menu bar, drawn over its frames
    Dialog,     // a dialog that shows its own frames and types into edit fields
    KeyDialog,  // a dialog whose keys are all for its owner (key capture)
};

class WindowUi : public Ui {
  public:
    // Binds a new toolkit context to `window` (not owned; it must outlive
    // this object). A menu bar's strip is made at once.
    WindowUi(Window& window, UiKind kind);
    ~WindowUi() override;
    WindowUi(const WindowUi&) = delete;
    WindowUi& operator=(const WindowUi&) = delete;

    // The height of a menu bar's strip, in pixels.
    static int MenuBarHeight();

    // Ui.
    void Frame(const std::function<void(Ui&)>& build) override;
    bool BeginMenuBar() override;
    void EndMenuBar() override;
    bool BeginMenu(const std::string& caption, const std::string& id, bool enabled) override;
    void EndMenu() override;
    bool MenuItem(const std::string& caption, const std::string& id, const std::string& shortcut,
                  bool enabled) override;
    void BeginDialog(const std::string& id) override;
    void EndDialog() override;
    bool BeginTab(const std::string& caption, const std::string& id) override;
    void EndTab() override;
    void Label(int left, int top, const std::string& text) override;
    bool Button(int left, int top, int width, int height, const std::string& caption,
                const std::string& id) override;
    ListEvent List(int left, int top, int width, int height, const std::string& id,
                   const std::vector<std::string>& entries, int& selected) override;
    bool Edit(int left, int top, int width, const std::string& id, std::string& text,
              bool readOnly) override;
    bool KeyField(int left, int top, int width, const std::string& id, const std::string& text,
                  bool focused) override;
    bool Slider(int left, int top, int width, const std::string& id, int& value, int least,
                int most, bool focused) override;
    bool CheckBox(int left, int top, const std::string& caption, const std::string& id,
                  bool& checked, bool focused) override;
    int TextWidth(const std::string& text) override;
    void Closed() override;
    void TakeKeyboard() override { takeKeyboard_ = true; }
    bool TypingInField() const override;
    uint64_t InputQueued() const override { return queued_; }
    uint64_t InputTaken() const override { return taken_; }

  private:
    class Current;  // makes this window's context current for a scope

    // One event of the window as the toolkit takes it.
    struct Input {
        enum class Kind { Move, Button, Wheel, Key, Text, Focus };
        explicit Input(Kind k, float px = 0, float py = 0, int c = 0, bool d = false)
            : kind(k), x(px), y(py), code(c), down(d) {}
        Kind kind;
        float x = 0, y = 0;  // Move, Button; Wheel: y
        int code = 0;        // Button: 0 left, 1 right, 2 middle; Key: scan code
        bool down = false;   // Button, Key; Focus: gained
        uint16_t mod = 0;    // Key: the modifiers
        std::string text;    // Text: UTF-8
    };

    // Queues one event of the window for the toolkit; true when the toolkit
    // keeps it from the window's owner.
    bool Feed(const SDL_Event& event);
    bool FeedMouse(const SDL_Event& event);
    void Queue(Input input);
    // Hands the toolkit the queued input of one frame.
    void ApplyInput();
    void StartFrame();
    void Place(int left, int top);

    Window& window_;
    UiKind kind_;
    ImGuiContext* context_ = nullptr;
    std::unique_ptr<UiRenderer> renderer_;
    std::deque<Input> input_;          // not yet handed to the toolkit
    std::array<bool, 3> held_{};       // buttons down, as queued
    bool pointerTaken_ = false;        // the press now held went to the toolkit
    float originX_ = 0, originY_ = 0;  // where control positions count from
    int listShown_ = 0;                // the entry the dialog's list last showed selected
    bool takeKeyboard_ = false;        // the next edit field takes the keyboard
    bool holdInput_ = true;            // the next frame takes no input (a new showing)
    uint64_t queued_ = 0, taken_ = 0;  // input events queued and taken, ever
    std::chrono::steady_clock::time_point lastFrame_{};
};

}  // namespace platform::ui
