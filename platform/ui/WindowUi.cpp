#include "platform/ui/WindowUi.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "platform/text/Cp1252.h"
#include "platform/ui/UiRenderer.h"
#include "platform/window/Window.h"

namespace platform::ui {
namespace {

// Dear ImGui's own font, at its designed size.
constexpr float kFontSize = 13.0f;
constexpr int kKeyFieldHeight = 21;
constexpr size_t kEditBytes = 1024;
// A dialog's face: Windows' button face.
constexpr Uint8 kFace = 240;

// The toolkit's keys, by the scan code of the key that gives them.
void MapKeys(ImGuiIO& io) {
    const struct {
        ImGuiKey key;
        SDL_Scancode scancode;
    } keys[] = {
        {ImGuiKey_Tab, SDL_SCANCODE_TAB},
        {ImGuiKey_LeftArrow, SDL_SCANCODE_LEFT},
        {ImGuiKey_RightArrow, SDL_SCANCODE_RIGHT},
        {ImGuiKey_UpArrow, SDL_SCANCODE_UP},
        {ImGuiKey_DownArrow, SDL_SCANCODE_DOWN},
        {ImGuiKey_PageUp, SDL_SCANCODE_PAGEUP},
        {ImGuiKey_PageDown, SDL_SCANCODE_PAGEDOWN},
        {ImGuiKey_Home, SDL_SCANCODE_HOME},
        {ImGuiKey_End, SDL_SCANCODE_END},
        {ImGuiKey_Insert, SDL_SCANCODE_INSERT},
        {ImGuiKey_Delete, SDL_SCANCODE_DELETE},
        {ImGuiKey_Backspace, SDL_SCANCODE_BACKSPACE},
        {ImGuiKey_Space, SDL_SCANCODE_SPACE},
        {ImGuiKey_Enter, SDL_SCANCODE_RETURN},
        {ImGuiKey_Escape, SDL_SCANCODE_ESCAPE},
        {ImGuiKey_KeyPadEnter, SDL_SCANCODE_KP_ENTER},
        {ImGuiKey_A, SDL_SCANCODE_A},
        {ImGuiKey_C, SDL_SCANCODE_C},
        {ImGuiKey_V, SDL_SCANCODE_V},
        {ImGuiKey_X, SDL_SCANCODE_X},
        {ImGuiKey_Y, SDL_SCANCODE_Y},
        {ImGuiKey_Z, SDL_SCANCODE_Z},
    };
    for (const auto& k : keys) io.KeyMap[k.key] = k.scancode;
}

int ButtonIndex(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return -1;
    }
}

// The toolkit's label of a control: its caption shown, its id telling it apart.
std::string LabelOf(const std::string& caption, const std::string& id) {
    return Cp1252ToUtf8(caption) + "##" + id;
}

std::string HiddenLabel(const std::string& id) { return "##" + id; }

}  // namespace

// Makes a window's context current for a scope and puts the one before back.
class WindowUi::Current {
  public:
    explicit Current(const WindowUi& ui) : previous_(ImGui::GetCurrentContext()) {
        ImGui::SetCurrentContext(ui.context_);
    }
    ~Current() { ImGui::SetCurrentContext(previous_); }
    Current(const Current&) = delete;
    Current& operator=(const Current&) = delete;

  private:
    ImGuiContext* previous_;
};

WindowUi::WindowUi(Window& window, UiKind kind) : window_(window), kind_(kind) {
    context_ = ImGui::CreateContext();
    {
        Current current(*this);
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;  // no layout file is written anywhere
        io.LogFilename = nullptr;
        io.BackendPlatformName = "player";
        MapKeys(io);
        ImGui::StyleColorsLight();
        renderer_ = MakeUiRenderer(window_);
    }
    window_.SetEventFilter(
        [this](const void* event) { return Feed(*static_cast<const SDL_Event*>(event)); });
    if (kind_ == UiKind::MenuBar) window_.SetTopStrip(MenuBarHeight());
}

WindowUi::~WindowUi() {
    window_.SetEventFilter(nullptr);
    {
        KeepGLContext keep;
        Current current(*this);
        renderer_.reset();
    }
    ImGui::DestroyContext(context_);
}

int WindowUi::MenuBarHeight() {
    return static_cast<int>(std::ceil(kFontSize + 2 * ImGuiStyle().FramePadding.y));
}

// ---- Input ----

bool WindowUi::Feed(const SDL_Event& event) {
    Current current(*this);
    const ImGuiIO& io = ImGui::GetIO();
    const bool menuBar = kind_ == UiKind::MenuBar;
    switch (event.type) {
        case SDL_MOUSEMOTION:
            Queue(Input(Input::Kind::Move, static_cast<float>(event.motion.x),
                        static_cast<float>(event.motion.y)));
            return false;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            return FeedMouse(event);
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (kind_ == UiKind::KeyDialog) return false;
            Input key(Input::Kind::Key);
            key.code = event.key.keysym.scancode;
            key.down = event.type == SDL_KEYDOWN;
            key.mod = event.key.keysym.mod;
            Queue(key);
            return menuBar && io.WantCaptureKeyboard;
        }
        case SDL_TEXTINPUT: {
            if (kind_ == UiKind::KeyDialog) return false;
            Input text(Input::Kind::Text);
            text.text = event.text.text;
            Queue(text);
            return menuBar && io.WantTextInput;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                Input focus(Input::Kind::Focus);
                focus.down = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                Queue(focus);
            }
            if (event.window.event == SDL_WINDOWEVENT_LEAVE)
                Queue(Input(Input::Kind::Move, -FLT_MAX, -FLT_MAX));
            return false;
        default:
            return false;
    }
}

bool WindowUi::FeedMouse(const SDL_Event& event) {
    const ImGuiIO& io = ImGui::GetIO();
    const bool menuBar = kind_ == UiKind::MenuBar;
    if (event.type == SDL_MOUSEWHEEL) {
        Queue(Input(Input::Kind::Wheel, 0, static_cast<float>(event.wheel.y)));
        return menuBar && io.WantCaptureMouse;
    }
    const int b = ButtonIndex(event.button.button);
    if (b < 0) return false;
    Input button(Input::Kind::Button, static_cast<float>(event.button.x),
                 static_cast<float>(event.button.y), b, event.type == SDL_MOUSEBUTTONDOWN);
    Queue(button);
    if (button.down) {
        // A press on the bar's strip, or anywhere while a menu is open, is the
        // menu's; so is its release.
        pointerTaken_ = menuBar && (event.button.y < window_.TopStrip() || io.WantCaptureMouse);
        return pointerTaken_;
    }
    const bool taken = pointerTaken_;
    pointerTaken_ = false;
    return taken;
}

void WindowUi::Queue(Input input) {
    // A window that draws no frames for a while (a hidden menu bar) keeps
    // only its latest input.
    constexpr size_t kMostQueued = 512;
    if (input_.size() >= kMostQueued) {
        input_.pop_front();
        ++taken_;  // dropped counts as taken: nothing waits for it
    }
    ++queued_;
    if (input.kind == Input::Kind::Button) held_[static_cast<size_t>(input.code)] = input.down;
    if (input.kind == Input::Kind::Focus && !input.down) {
        // The releases of buttons held now go to another window.
        for (size_t b = 0; b < held_.size(); ++b) {
            if (!held_[b]) continue;
            Input release(Input::Kind::Button, -FLT_MAX, -FLT_MAX, static_cast<int>(b));
            input_.push_back(release);
            ++queued_;
            held_[b] = false;
        }
    }
    input_.push_back(std::move(input));
}

void WindowUi::ApplyInput() {
    ImGuiIO& io = ImGui::GetIO();
    bool buttonChanged[3] = {false, false, false};
    bool anyButton = false;
    std::array<bool, 512> keyChanged{};
    while (!input_.empty()) {
        const Input& in = input_.front();
        if (in.kind == Input::Kind::Move) {
            if (anyButton) break;
            io.MousePos = ImVec2(in.x, in.y);
        } else if (in.kind == Input::Kind::Button) {
            if (buttonChanged[in.code]) break;
            if (in.x != -FLT_MAX) io.MousePos = ImVec2(in.x, in.y);
            io.MouseDown[in.code] = in.down;
            buttonChanged[in.code] = anyButton = true;
        } else if (in.kind == Input::Kind::Wheel) {
            io.MouseWheel += in.y;
        } else if (in.kind == Input::Kind::Key) {
            const size_t code = static_cast<size_t>(in.code);
            if (code >= keyChanged.size() || code >= IM_ARRAYSIZE(io.KeysDown)) {
                input_.pop_front();
                ++taken_;
                continue;
            }
            if (keyChanged[code]) break;
            keyChanged[code] = true;
            io.KeysDown[code] = in.down;
            io.KeyShift = (in.mod & KMOD_SHIFT) != 0;
            io.KeyCtrl = (in.mod & KMOD_CTRL) != 0;
            io.KeyAlt = (in.mod & KMOD_ALT) != 0;
            io.KeySuper = (in.mod & KMOD_GUI) != 0;
        } else if (in.kind == Input::Kind::Text) {
            if (anyButton) break;
            io.AddInputCharactersUTF8(in.text.c_str());
        } else {
            io.AddFocusEvent(in.down);
        }
        input_.pop_front();
        ++taken_;
    }
}

// ---- Frames ----

void WindowUi::StartFrame() {
    ImGuiIO& io = ImGui::GetIO();
    int width = 0, height = 0;
    SDL_GetWindowSize(window_.Native(), &width, &height);
    io.DisplaySize =
        ImVec2(static_cast<float>(std::max(width, 0)), static_cast<float>(std::max(height, 0)));
    if (window_.SurfaceKind() == Surface::OpenGL && width > 0 && height > 0) {
        int drawableWidth = 0, drawableHeight = 0;
        SDL_GL_GetDrawableSize(window_.Native(), &drawableWidth, &drawableHeight);
        io.DisplayFramebufferScale =
            ImVec2(static_cast<float>(drawableWidth) / static_cast<float>(width),
                   static_cast<float>(drawableHeight) / static_cast<float>(height));
    }
    const auto now = std::chrono::steady_clock::now();
    const float step = lastFrame_ == std::chrono::steady_clock::time_point{}
                           ? 1.0f / 60.0f
                           : std::chrono::duration<float>(now - lastFrame_).count();
    io.DeltaTime = std::max(step, 1.0e-4f);
    lastFrame_ = now;
    // The first frame after the dialog was put away places its controls (and
    // the keyboard) before any input reaches them.
    if (holdInput_) {
        holdInput_ = false;
        return;
    }
    ApplyInput();
}

void WindowUi::Closed() {
    Current current(*this);
    ImGuiIO& io = ImGui::GetIO();
    // Keys, buttons and an active edit field of the last showing: their
    // releases went to other windows.
    ImGui::ClearActiveID();
    std::fill(std::begin(io.KeysDown), std::end(io.KeysDown), false);
    std::fill(std::begin(io.MouseDown), std::end(io.MouseDown), false);
    io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
    io.KeyShift = io.KeyCtrl = io.KeyAlt = io.KeySuper = false;
    io.ClearInputCharacters();
    held_.fill(false);
    pointerTaken_ = false;
    taken_ += input_.size();
    input_.clear();
    takeKeyboard_ = false;
    holdInput_ = true;
    listShown_ = 0;
}

bool WindowUi::TypingInField() const {
    Current current(*this);
    return ImGui::GetIO().WantTextInput;
}

void WindowUi::Frame(const std::function<void(Ui&)>& build) {
    KeepGLContext keep;  // a dialog's drawing leaves no context of its own current
    Current current(*this);
    renderer_->NewFrame();
    StartFrame();
    ImGui::NewFrame();
    originX_ = originY_ = 0;
    build(*this);
    ImGui::Render();
    const bool shows = kind_ != UiKind::MenuBar && window_.SurfaceKind() == Surface::Software;
    SDL_Renderer* renderer = shows ? window_.SoftwareRenderer() : nullptr;
    if (renderer != nullptr) {
        SDL_SetRenderDrawColor(renderer, kFace, kFace, kFace, 255);
        SDL_RenderClear(renderer);
    }
    renderer_->Render(ImGui::GetDrawData());
    if (renderer != nullptr) SDL_RenderPresent(renderer);
}

// ---- Menu bar ----

bool WindowUi::BeginMenuBar() { return ImGui::BeginMainMenuBar(); }

void WindowUi::EndMenuBar() { ImGui::EndMainMenuBar(); }

bool WindowUi::BeginMenu(const std::string& caption, const std::string& id, bool enabled) {
    return ImGui::BeginMenu(LabelOf(caption, id).c_str(), enabled);
}

void WindowUi::EndMenu() { ImGui::EndMenu(); }

bool WindowUi::MenuItem(const std::string& caption, const std::string& id,
                        const std::string& shortcut, bool enabled) {
    return ImGui::MenuItem(LabelOf(caption, id).c_str(),
                           shortcut.empty() ? nullptr : shortcut.c_str(), false, enabled);
}

// ---- Dialogs ----

void WindowUi::BeginDialog(const std::string& id) {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
    ImGui::Begin(HiddenLabel(id).c_str(), nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
    ImGui::PopStyleVar(2);
    originX_ = originY_ = 0;
}

void WindowUi::EndDialog() { ImGui::End(); }

bool WindowUi::BeginTab(const std::string& caption, const std::string& id) {
    if (!ImGui::BeginTabBar(HiddenLabel(id + "Bar").c_str())) return false;
    if (!ImGui::BeginTabItem(LabelOf(caption, id).c_str())) {
        ImGui::EndTabBar();
        return false;
    }
    const ImVec2 page = ImGui::GetCursorPos();
    originX_ = page.x;
    originY_ = page.y;
    return true;
}

void WindowUi::EndTab() {
    ImGui::EndTabItem();
    ImGui::EndTabBar();
    originX_ = originY_ = 0;
}

void WindowUi::Place(int left, int top) {
    ImGui::SetCursorPos(
        ImVec2(originX_ + static_cast<float>(left), originY_ + static_cast<float>(top)));
}

void WindowUi::Label(int left, int top, const std::string& text) {
    Place(left, top);
    const std::string utf8 = Cp1252ToUtf8(text);
    ImGui::TextUnformatted(utf8.c_str(), utf8.c_str() + utf8.size());
}

bool WindowUi::Button(int left, int top, int width, int height, const std::string& caption,
                      const std::string& id) {
    Place(left, top);
    return ImGui::Button(LabelOf(caption, id).c_str(),
                         ImVec2(static_cast<float>(width), static_cast<float>(height)));
}

ListEvent WindowUi::List(int left, int top, int width, int height, const std::string& id,
                         const std::vector<std::string>& entries, int& selected) {
    ListEvent event;
    Place(left, top);
    if (!ImGui::BeginListBox(HiddenLabel(id).c_str(),
                             ImVec2(static_cast<float>(width), static_cast<float>(height)))) {
        return event;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const int index = static_cast<int>(i);
        const std::string label = LabelOf(entries[i], id + std::to_string(i));
        if (ImGui::Selectable(label.c_str(), index == selected,
                              ImGuiSelectableFlags_AllowDoubleClick)) {
            selected = index;
            event.clicked = true;
            event.doubleClicked = ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left);
        }
        // An entry the owner chose (by the keys) is scrolled into view.
        if (index == selected && selected != listShown_) {
            ImGui::ScrollToItem(ImGuiScrollFlags_KeepVisibleEdgeY);
        }
    }
    listShown_ = selected;
    ImGui::EndListBox();
    return event;
}

bool WindowUi::Edit(int left, int top, int width, const std::string& id, std::string& text,
                    bool readOnly) {
    Place(left, top);
    std::string buffer = Cp1252ToUtf8(text);
    buffer.resize(std::max(buffer.size() + 1, kEditBytes), '\0');
    ImGui::PushItemWidth(static_cast<float>(width));
    if (takeKeyboard_ && !readOnly) ImGui::SetKeyboardFocusHere();
    takeKeyboard_ = false;
    const bool changed = ImGui::InputText(HiddenLabel(id).c_str(), buffer.data(), buffer.size(),
                                          readOnly ? ImGuiInputTextFlags_ReadOnly : 0);
    ImGui::PopItemWidth();
    if (changed && !readOnly) text = Utf8ToCp1252(buffer.c_str());
    return changed && !readOnly;
}

bool WindowUi::KeyField(int left, int top, int width, const std::string& id,
                        const std::string& text, bool focused) {
    Place(left, top);
    if (focused)
        ImGui::PushStyleColor(ImGuiCol_Button, ImGui::GetStyle().Colors[ImGuiCol_ButtonActive]);
    const bool clicked = ImGui::Button(LabelOf(text, id).c_str(),
                                       ImVec2(static_cast<float>(width), kKeyFieldHeight));
    if (focused) ImGui::PopStyleColor();
    return clicked;
}

namespace {

// A frame around the last control: it has the keyboard.
void FrameLastControl() {
    const ImVec2 from = ImGui::GetItemRectMin(), to = ImGui::GetItemRectMax();
    ImGui::GetWindowDrawList()->AddRect(ImVec2(from.x - 2, from.y - 2), ImVec2(to.x + 2, to.y + 2),
                                        ImGui::GetColorU32(ImGuiCol_NavHighlight));
}

}  // namespace

bool WindowUi::Slider(int left, int top, int width, const std::string& id, int& value, int least,
                      int most, bool focused) {
    Place(left, top);
    ImGui::PushItemWidth(static_cast<float>(width));
    // The value is not written on the bar: the owner shows it beside it.
    const bool moved = ImGui::SliderInt(HiddenLabel(id).c_str(), &value, least, most, "");
    ImGui::PopItemWidth();
    if (focused) FrameLastControl();
    return moved;
}

int WindowUi::TextWidth(const std::string& text) {
    Current current(*this);
    const std::string utf8 = Cp1252ToUtf8(text);
    return static_cast<int>(
        std::ceil(ImGui::CalcTextSize(utf8.c_str(), utf8.c_str() + utf8.size()).x));
}

bool WindowUi::CheckBox(int left, int top, const std::string& caption, const std::string& id,
                        bool& checked, bool focused) {
    Place(left, top);
    const bool toggled = ImGui::Checkbox(LabelOf(caption, id).c_str(), &checked);
    if (focused) FrameLastControl();
    return toggled;
}

}  // namespace platform::ui
