// The software 3-D device's frames shown in a window: the device draws into
// the window's software frame (the pixels the window system shows, where it
// can), and the window shows it.
#pragma once

#include "platform/d3d8/PresentSink.h"

namespace platform {

class Window;

class WindowSink : public d3d8::PresentSink {
  public:
    // `window` (not owned, with a software surface) must outlive the sink.
    explicit WindowSink(Window& window) : window_(window) {}
    d3d8::PresentTarget Acquire() override;
    void Show() override;
    Window& Target() const { return window_; }

  private:
    Window& window_;
};

}  // namespace platform
