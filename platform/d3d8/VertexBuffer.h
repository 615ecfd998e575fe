// A vertex buffer of the software device: bytes the program writes through
// Lock and the device reads vertices from when it draws. A buffer keeps its
// device alive until the buffer itself goes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d8/D3D8Types.h"
#include "platform/d3d8/Unknown.h"

namespace d3d8 {

class Device;

class VertexBuffer final : public Unknown {
  public:
    // Bytes offset..offset + size (size 0: to the end) for writing.
    Result Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags);
    Result Unlock();

    uint32_t Length() const { return static_cast<uint32_t>(bytes_.size()); }
    uint32_t Fvf() const { return fvf_; }
    bool Locked() const { return locked_; }
    const uint8_t* Bytes() const { return bytes_.data(); }

  private:
    friend class Device;
    VertexBuffer(Device& device, uint32_t length, uint32_t fvf);
    ~VertexBuffer() override;

    Device* device_;
    std::vector<uint8_t> bytes_;
    uint32_t fvf_;
    bool locked_ = false;
};

}  // namespace d3d8
