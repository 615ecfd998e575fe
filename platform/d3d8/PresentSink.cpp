#include "platform/d3d8/PresentSink.h"

#include <algorithm>
#include <cstring>

namespace d3d8 {

MemorySink::MemorySink(int32_t width, int32_t height, uint32_t fill)
    : width(std::max(width, 0)),
      height(std::max(height, 0)),
      pixels(static_cast<size_t>(this->width) * this->height, fill) {}

PresentTarget MemorySink::Acquire() {
    if (pixels.empty()) return {};
    return {pixels.data(), width, height, width};
}

void StretchCopy(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight,
                 const Rect& sourceRect, const PresentTarget& target, const Rect& dest) {
    const int64_t sx0 = std::clamp<int64_t>(sourceRect.left, 0, sourceWidth);
    const int64_t sy0 = std::clamp<int64_t>(sourceRect.top, 0, sourceHeight);
    const int64_t sw = std::clamp<int64_t>(sourceRect.right, 0, sourceWidth) - sx0;
    const int64_t sh = std::clamp<int64_t>(sourceRect.bottom, 0, sourceHeight) - sy0;
    const int64_t dw = int64_t{dest.right} - dest.left;
    const int64_t dh = int64_t{dest.bottom} - dest.top;
    if (target.pixels == nullptr || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const int64_t x0 = std::max<int64_t>(dest.left, 0);
    const int64_t x1 = std::min<int64_t>(dest.right, target.width);
    const int64_t y0 = std::max<int64_t>(dest.top, 0);
    const int64_t y1 = std::min<int64_t>(dest.bottom, target.height);
    if (x0 >= x1) return;
    const size_t count = static_cast<size_t>(x1 - x0);
    // Same width: each row is copied straight.
    const bool straight = sw == dw;
    std::vector<int32_t> columns(straight ? 0 : count);
    for (size_t i = 0; i < columns.size(); ++i) {
        // The source column under the centre of destination column x0 + i.
        const int64_t x = x0 + static_cast<int64_t>(i);
        columns[i] = static_cast<int32_t>(sx0 + (2 * (x - dest.left) + 1) * sw / (2 * dw));
    }
    const uint32_t* lastRow = nullptr;
    int64_t lastSource = -1;
    for (int64_t y = y0; y < y1; ++y) {
        const int64_t sy = sy0 + (2 * (y - dest.top) + 1) * sh / (2 * dh);
        uint32_t* to = target.pixels + y * target.pitch + x0;
        if (sy == lastSource) {
            // A row made taller: the row just drawn again.
            std::memcpy(to, lastRow, count * sizeof(uint32_t));
            continue;
        }
        const uint32_t* from = source + sy * sourceWidth;
        if (straight) {
            from += sx0 + (x0 - dest.left);
            for (size_t i = 0; i < count; ++i) to[i] = from[i] | 0xFF000000u;
        } else {
            for (size_t i = 0; i < count; ++i) to[i] = from[columns[i]] | 0xFF000000u;
        }
        lastRow = to;
        lastSource = sy;
    }
}

}  // namespace d3d8
