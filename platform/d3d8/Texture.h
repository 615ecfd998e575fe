// A texture of the software device: one level of A8R8G8B8 texels (in memory
// blue, green, red, alpha), power-of-two sides, written through LockRect.
// A texture keeps its device alive until the texture itself goes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d8/D3D8Types.h"
#include "platform/d3d8/Unknown.h"

namespace d3d8 {

class Device;

class Texture final : public Unknown {
  public:
    // The device keeps the top level only.
    uint32_t GetLevelCount() const { return 1; }
    Result GetLevelDesc(uint32_t level, SurfaceDesc& desc) const;
    // The texels of `rect` (the whole level when null) for writing and
    // reading, `Pitch` bytes a row. Drawing already asked for is done first.
    Result LockRect(uint32_t level, LockedRect& locked, const Rect* rect, uint32_t flags);
    Result UnlockRect(uint32_t level);

    // For the device: the texels, row by row; and the same with the first
    // column repeated on the right and the first row below (Width() + 1 a
    // row), as of the last unlock.
    const uint32_t* Texels() const { return texels_.data(); }
    const uint32_t* WrappedTexels() const { return wrapped_.data(); }
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    bool Locked() const { return locked_; }

  private:
    friend class Device;
    Texture(Device& device, uint32_t width, uint32_t height, Format format);
    ~Texture() override;

    Device* device_;
    uint32_t width_, height_;
    Format format_;
    std::vector<uint32_t> texels_;
    std::vector<uint32_t> wrapped_;
    bool locked_ = false;
    Rect lockedRect_{};
};

}  // namespace d3d8
