#include "platform/ui/RecordingUi.h"

#include <algorithm>

namespace platform::ui {

void RecordingUi::ClickEntry(const std::string& listId, int index, bool doubleClick) {
    entryClicks_[listId] = {index, doubleClick};
}

const RecordingUi::Control* RecordingUi::Find(const std::string& id) const {
    auto found = std::find_if(controls_.begin(), controls_.end(),
                              [&](const Control& c) { return c.id == id; });
    return found == controls_.end() ? nullptr : &*found;
}

void RecordingUi::Frame(const std::function<void(Ui&)>& build) {
    ++frames_;
    if (beforeFrame) beforeFrame(*this);
    controls_.clear();
    build(*this);
}

RecordingUi::Control& RecordingUi::Add(const std::string& kind, const std::string& id,
                                       const std::string& caption) {
    Control& c = controls_.emplace_back();
    c.kind = kind;
    c.id = id;
    c.caption = caption;
    return c;
}

RecordingUi::Control& RecordingUi::Add(const std::string& kind, const std::string& id,
                                       const std::string& caption, int left, int top, int width) {
    Control& c = Add(kind, id, caption);
    c.left = left;
    c.top = top;
    c.width = width;
    return c;
}

int RecordingUi::TextWidth(const std::string& text) {
    return static_cast<int>(text.size()) * kCharacterWidth;
}

bool RecordingUi::TakeClick(const std::string& id) { return clicks_.erase(id) > 0; }

bool RecordingUi::BeginMenuBar() {
    Add("bar", "", "");
    return true;
}

bool RecordingUi::BeginMenu(const std::string& caption, const std::string& id, bool enabled) {
    Add("menu", id, caption).enabled = enabled;
    return enabled;
}

bool RecordingUi::MenuItem(const std::string& caption, const std::string& id,
                           const std::string& shortcut, bool enabled) {
    Control& c = Add("item", id, caption);
    c.enabled = enabled;
    c.entries = {shortcut};
    return TakeClick(id) && enabled;
}

void RecordingUi::BeginDialog(const std::string& id) { Add("dialog", id, ""); }

bool RecordingUi::BeginTab(const std::string& caption, const std::string& id) {
    Add("tab", id, caption);
    return true;
}

void RecordingUi::Label(int left, int top, const std::string& text) {
    Add("label", "", text, left, top, TextWidth(text));
}

bool RecordingUi::Button(int, int, int, int, const std::string& caption, const std::string& id) {
    Add("button", id, caption);
    return TakeClick(id);
}

ListEvent RecordingUi::List(int, int, int, int, const std::string& id,
                            const std::vector<std::string>& entries, int& selected) {
    ListEvent event;
    auto click = entryClicks_.find(id);
    if (click != entryClicks_.end()) {
        if (click->second.index >= 0 && click->second.index < static_cast<int>(entries.size())) {
            selected = click->second.index;
            event.clicked = true;
            event.doubleClicked = click->second.doubleClick;
        }
        entryClicks_.erase(click);
    }
    Control& c = Add("list", id, "");
    c.entries = entries;
    c.selected = selected;
    return event;
}

bool RecordingUi::Edit(int, int, int, const std::string& id, std::string& text, bool readOnly) {
    auto typed = typed_.find(id);
    bool changed = false;
    if (typed != typed_.end()) {
        if (!readOnly) {
            changed = typed->second != text;
            text = typed->second;
        }
        typed_.erase(typed);
    }
    Add("edit", id, text).enabled = !readOnly;
    return changed;
}

bool RecordingUi::KeyField(int left, int top, int width, const std::string& id,
                           const std::string& text, bool focused) {
    Add("key", id, text, left, top, width).focused = focused;
    return TakeClick(id);
}

bool RecordingUi::Slider(int left, int top, int width, const std::string& id, int& value, int least,
                         int most, bool focused) {
    auto move = moves_.find(id);
    bool moved = false;
    if (move != moves_.end()) {
        const int to = std::clamp(move->second, least, most);
        moved = to != value;
        value = to;
        moves_.erase(move);
    }
    Control& c = Add("slider", id, "", left, top, width);
    c.value = value;
    c.focused = focused;
    return moved;
}

bool RecordingUi::CheckBox(int left, int top, const std::string& caption, const std::string& id,
                           bool& checked, bool focused) {
    const bool toggled = TakeClick(id);
    if (toggled) checked = !checked;
    Control& c = Add("check", id, caption, left, top, kCheckBoxWidth + TextWidth(caption));
    c.value = checked ? 1 : 0;
    c.focused = focused;
    return toggled;
}

}  // namespace platform::ui
