#include "platform/window/WindowSink.h"

#include "platform/window/Window.h"

namespace platform {

d3d8::PresentTarget WindowSink::Acquire() {
    int width = 0, height = 0, pitch = 0;
    uint32_t* pixels = window_.SoftwareFrame(width, height, pitch);
    if (pixels == nullptr) return {};
    return {pixels, width, height, pitch};
}

void WindowSink::Show() { window_.ShowSoftwareFrame(); }

}  // namespace platform
