// Where the device shows its frames: a sink hands out the pixels of the
// surface it shows (a window's client area in the program, memory in tests),
// the device stretches its back buffer into a rectangle of them, and the sink
// shows the result. Also the stretch itself and a memory sink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d3d8/D3D8Types.h"

namespace d3d8 {

// Rows of X8R8G8B8 pixels, `pitch` pixels apart; null pixels: nothing to show on.
struct PresentTarget {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
};

class PresentSink {
  public:
    virtual ~PresentSink() = default;
    // The surface to draw the frame on; its pixels keep what was shown last.
    virtual PresentTarget Acquire() = 0;
    // Shows the surface handed out by the last Acquire.
    virtual void Show() = 0;
};

// Keeps the frames in memory: a surface of a fixed size, and the number of
// frames shown.
class MemorySink : public PresentSink {
  public:
    MemorySink(int32_t width, int32_t height, uint32_t fill = 0);
    PresentTarget Acquire() override;
    void Show() override { ++shown; }
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    int32_t width, height;
    std::vector<uint32_t> pixels;
    int shown = 0;
};

// Stretches the `source` rectangle of a `sourceWidth` × `sourceHeight` image
// onto the `dest` rectangle of `target` (parts outside the target are cut):
// each destination pixel takes the source pixel under its centre. Pixels of
// the target outside `dest` keep their value.
void StretchCopy(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight,
                 const Rect& sourceRect, const PresentTarget& target, const Rect& dest);

}  // namespace d3d8
