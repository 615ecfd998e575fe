// The interface toolkit as the shell sees it: a window's menu bar, or the
// controls of a dialog, described anew in every frame of the window
// (immediate mode). Texts are cp1252 as the game holds them; each control
// also has an ASCII `id` that names it whatever its caption says, so that
// controls with empty or equal captions are never taken for one another.
// Implementations: WindowUi (Dear ImGui in a platform window) and RecordingUi
// (tests).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::ui {

// What the pointer did to a list in this frame.
struct ListEvent {
    bool clicked = false;        // an entry was clicked (it is now the selected one)
    bool doubleClicked = false;  // that click was the second of a double click
};

class Ui {
  public:
    virtual ~Ui() = default;

    // One frame of the window: `build` describes its menu bar or dialog, and
    // the frame is then shown (a dialog) or drawn over the window's next
    // frame (a menu bar).
    virtual void Frame(const std::function<void(Ui&)>& build) = 0;

    // --- Menu bar ---
    // The bar across the top of the window; EndMenuBar only after true.
    virtual bool BeginMenuBar() = 0;
    virtual void EndMenuBar() = 0;
    // A menu of the bar or a submenu; true while it is open (then EndMenu).
    virtual bool BeginMenu(const std::string& caption, const std::string& id, bool enabled) = 0;
    virtual void EndMenu() = 0;
    // A command; true in the frame it is chosen. `shortcut` is shown beside it.
    virtual bool MenuItem(const std::string& caption, const std::string& id,
                          const std::string& shortcut, bool enabled) = 0;

    // --- Dialog: its controls cover the whole window ---
    virtual void BeginDialog(const std::string& id) = 0;
    virtual void EndDialog() = 0;
    // A page with a tab; the positions of the controls on it are counted from
    // the page's top left corner. EndTab only after true.
    virtual bool BeginTab(const std::string& caption, const std::string& id) = 0;
    virtual void EndTab() = 0;
    // Controls at (left, top) pixels of the dialog or page.
    virtual void Label(int left, int top, const std::string& text) = 0;
    // True in the frame the button is pressed.
    virtual bool Button(int left, int top, int width, int height, const std::string& caption,
                        const std::string& id) = 0;
    // A list of entries with `selected` highlighted (-1 none).
    virtual ListEvent List(int left, int top, int width, int height, const std::string& id,
                           const std::vector<std::string>& entries, int& selected) = 0;
    // A one-line edit field; true when the user changed `text`. A read-only
    // field only shows it.
    virtual bool Edit(int left, int top, int width, const std::string& id, std::string& text,
                      bool readOnly) = 0;
    // A field showing `text` that takes no typing, drawn as the one that has
    // the keyboard when `focused`; true when it is clicked.
    virtual bool KeyField(int left, int top, int width, const std::string& id,
                          const std::string& text, bool focused) = 0;
    // A track bar over least..most, its value not written on it; true when
    // the user moved it. Framed as the control that has the keyboard when
    // `focused`, as is a check box.
    virtual bool Slider(int left, int top, int width, const std::string& id, int& value, int least,
                        int most, bool focused) = 0;
    // A check box; true when the user changed `checked`.
    virtual bool CheckBox(int left, int top, const std::string& caption, const std::string& id,
                          bool& checked, bool focused) = 0;
    // The width in pixels of `text` as a label shows it.
    virtual int TextWidth(const std::string& text) = 0;

    // --- Showings, keyboard and the order of input ---
    // The dialog was put away: nothing of this showing stays with its
    // controls for the next (an edit field that had the keyboard lets it go,
    // and its text is the owner's again; keys and buttons count as released),
    // input not yet taken is dropped, and the next frame places the controls
    // before input reaches them.
    virtual void Closed() {}
    // The next edit field described takes the keyboard: typing goes into it.
    virtual void TakeKeyboard() {}
    // True while an edit field that can be typed in has the keyboard.
    virtual bool TypingInField() const { return false; }
    // The window's input reaches the toolkit in order, some of it a frame
    // later: the number of input events queued for it so far and of those it
    // has taken. An owner that acts on an event itself (Enter) waits until
    // every event before it has been taken.
    virtual uint64_t InputQueued() const { return 0; }
    virtual uint64_t InputTaken() const { return 0; }
};

}  // namespace platform::ui
