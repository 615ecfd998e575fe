#include "platform/window/WindowSink.h"

#include "platform/window/Window.h"

namespace platform {

d3d8::PresentTarget WindowSink::Acquire() {
    int width = 0, height = 0;
    uint32_t* pixels = window_.SoftwareFrame(width, height);
    if (pixels == nullptr) return {};
    return {pixels, width, height, width};
}

void WindowSink::Show() { window_.ShowSoftwareFrame(); }

}  // namespace platform
