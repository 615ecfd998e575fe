#include "platform/msgbox/MessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "platform/text/Cp1252.h"
#include "platform/text/Printable.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"

namespace platform {
namespace {

// The window a message box belongs to, so that the window manager keeps the
// box above it (a full-screen window or an always-on-top dialog would
// otherwise cover it): the window that has the keyboard, else the main one.
SDL_Window* OwnerOfMessages() {
    if (SDL_Window* focused = SDL_GetKeyboardFocus()) return focused;
    Window* main = Application::Instance().MainWindow();
    return main != nullptr ? main->Native() : nullptr;
}

// The system's message box; when no display is there, standard error.
class SystemMessageSink : public MessageSink {
  public:
    void Show(const std::string& title, const std::string& text) override {
        std::string utf8Title = Cp1252ToUtf8(title);
        std::string utf8Text = Cp1252ToUtf8(text);
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Title.c_str(),
                                     utf8Text.c_str(), OwnerOfMessages()) != 0) {
            std::fprintf(stderr, "%s: %s\n", utf8Title.c_str(), utf8Text.c_str());
        }
    }
};

MessageSink*& InstalledSink() {
    static MessageSink* sink = nullptr;
    return sink;
}

}  // namespace

void RecordingMessageSink::Show(const std::string& title, const std::string& text) {
    titles.push_back(title);
    texts.push_back(text);
}

void ShowMessage(const std::string& text) {
    static SystemMessageSink systemSink;
    MessageSink* sink = InstalledSink() != nullptr ? InstalledSink() : &systemSink;
    sink->Show(PrintableCp1252(Application::Instance().Title()), PrintableCp1252(text));
}

void ReportOnConsole(const std::string& cp1252Text) {
    std::fprintf(stderr, "%s\n", Cp1252ToUtf8(PrintableCp1252(cp1252Text)).c_str());
}

void SetMessageSink(MessageSink* sink) { InstalledSink() = sink; }

}  // namespace platform
