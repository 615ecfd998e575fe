// Message boxes: the way the player tells the user about a failure and goes on.
// Texts are cp1252 bytes as the game holds them. Tests replace the sink with a
// recording one.
#pragma once

#include <string>
#include <vector>

namespace platform {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows `text` under `title` and returns once the user has read it.
    virtual void Show(const std::string& title, const std::string& text) = 0;
};

// Keeps every message instead of showing it.
class RecordingMessageSink : public MessageSink {
  public:
    void Show(const std::string& title, const std::string& text) override;
    std::vector<std::string> texts;
    std::vector<std::string> titles;
};

// Shows a message box with the application's title. Control characters of
// either (data may hold them) are shown as "?".
void ShowMessage(const std::string& text);

// Tells the user on standard error, in one line, about something that needs
// no message box (a setting put right, a file that could not be read);
// control characters are written as "?".
void ReportOnConsole(const std::string& cp1252Text);

// Installs `sink` (not owned) in place of the system's message box; nullptr
// restores the system's.
void SetMessageSink(MessageSink* sink);

}  // namespace platform
