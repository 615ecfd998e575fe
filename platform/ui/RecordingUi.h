// An interface toolkit without a window, for tests: every frame records the
// controls described (kind, id, caption, state), and the test's script acts
// on them in place of a user: a click, a double click, typed text, a moved
// track bar. Every menu counts as open, so a frame records all the items.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/Ui.h"

namespace platform::ui {

class RecordingUi : public Ui {
  public:
    struct Control {
        std::string kind;  // "menu", "item", "label", "button", "list", "edit", "key", ...
        std::string id;
        std::string caption;               // caption, label text or the text shown
        bool enabled = true;               // menus and items; edits: not read-only
        bool focused = false;              // key fields, track bars, check boxes
        std::vector<std::string> entries;  // lists
        int selected = -1;                 // lists
        int value = 0;                     // track bars; check boxes: 1 when checked
        int left = 0, top = 0, width = 0;  // where a dialog's control is drawn
    };

    // Text widths as a fixed-width font of this many pixels a character gives.
    static constexpr int kCharacterWidth = 7;
    // A check box's box and the space after it.
    static constexpr int kCheckBoxWidth = 23;

    // Called at the start of every frame, before the script is read: a test
    // that drives a modal loop scripts its frames here.
    std::function<void(RecordingUi&)> beforeFrame;

    // The script of the next frame; each action is used once, by the first
    // control of that id.
    void Click(const std::string& id) { clicks_.insert(id); }
    void ClickEntry(const std::string& listId, int index, bool doubleClick = false);
    void Type(const std::string& editId, const std::string& text) { typed_[editId] = text; }
    void Move(const std::string& sliderId, int value) { moves_[sliderId] = value; }
    // What TypingInField answers: an edit field has the keyboard.
    bool typing = false;

    // The controls of the last frame, in the order described.
    const std::vector<Control>& Controls() const { return controls_; }
    // The control `id` of the last frame; null when it was not described.
    const Control* Find(const std::string& id) const;
    int Frames() const { return frames_; }

    // Ui.
    void Frame(const std::function<void(Ui&)>& build) override;
    bool BeginMenuBar() override;
    void EndMenuBar() override {}
    bool BeginMenu(const std::string& caption, const std::string& id, bool enabled) override;
    void EndMenu() override {}
    bool MenuItem(const std::string& caption, const std::string& id, const std::string& shortcut,
                  bool enabled) override;
    void BeginDialog(const std::string& id) override;
    void EndDialog() override {}
    bool BeginTab(const std::string& caption, const std::string& id) override;
    void EndTab() override {}
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
    bool TypingInField() const override { return typing; }

  private:
    struct EntryClick {
        int index;
        bool doubleClick;
    };

    Control& Add(const std::string& kind, const std::string& id, const std::string& caption);
    Control& Add(const std::string& kind, const std::string& id, const std::string& caption,
                 int left, int top, int width);
    bool TakeClick(const std::string& id);

    std::vector<Control> controls_;
    std::set<std::string> clicks_;
    std::map<std::string, EntryClick> entryClicks_;
    std::map<std::string, std::string> typed_;
    std::map<std::string, int> moves_;
    int frames_ = 0;
};

}  // namespace platform::ui
