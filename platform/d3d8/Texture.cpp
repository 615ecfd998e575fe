#include "platform/d3d8/Texture.h"

#include <algorithm>

#include "platform/d3d8/Device.h"

namespace d3d8 {

Texture::Texture(Device& device, uint32_t width, uint32_t height, Format format)
    : device_(&device),
      width_(width),
      height_(height),
      format_(format),
      texels_(static_cast<size_t>(width) * height, 0),
      wrapped_(static_cast<size_t>(width + 1) * (height + 1), 0) {
    device_->AdoptChild();
}

Texture::~Texture() { device_->DropChild(); }

Result Texture::GetLevelDesc(uint32_t level, SurfaceDesc& desc) const {
    if (level != 0) return Result::InvalidCall;
    desc = {format_, width_, height_};
    return Result::Ok;
}

Result Texture::LockRect(uint32_t level, LockedRect& locked, const Rect* rect, uint32_t /*flags*/) {
    device_->Note("Texture.LockRect " + std::to_string(level));
    const Rect r = rect != nullptr
                       ? *rect
                       : Rect{0, 0, static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    if (level != 0 || locked_ || r.left < 0 || r.top < 0 || r.left >= r.right ||
        r.top >= r.bottom || r.right > static_cast<int32_t>(width_) ||
        r.bottom > static_cast<int32_t>(height_)) {
        return Result::InvalidCall;
    }
    device_->Flush();  // drawing asked for before sees the texels as they were
    locked.Pitch = static_cast<int32_t>(width_ * 4);
    locked.Bits = texels_.data() + static_cast<size_t>(r.top) * width_ + r.left;
    locked_ = true;
    lockedRect_ = r;
    return Result::Ok;
}

Result Texture::UnlockRect(uint32_t level) {
    device_->Note("Texture.UnlockRect " + std::to_string(level));
    if (level != 0 || !locked_) return Result::InvalidCall;
    locked_ = false;
    // The rows of the locked rectangle, and the first row again below the last.
    auto copyRow = [this](uint32_t from, uint32_t to) {
        const uint32_t* source = texels_.data() + static_cast<size_t>(from) * width_;
        uint32_t* wrapped = wrapped_.data() + static_cast<size_t>(to) * (width_ + 1);
        std::copy(source, source + width_, wrapped);
        wrapped[width_] = source[0];
    };
    for (int32_t y = lockedRect_.top; y < lockedRect_.bottom; ++y) {
        copyRow(static_cast<uint32_t>(y), static_cast<uint32_t>(y));
    }
    if (lockedRect_.top == 0) copyRow(0, height_);
    return Result::Ok;
}

}  // namespace d3d8
