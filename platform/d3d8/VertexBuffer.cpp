#include "platform/d3d8/VertexBuffer.h"

#include "platform/d3d8/Device.h"

namespace d3d8 {

VertexBuffer::VertexBuffer(Device& device, uint32_t length, uint32_t fvf)
    : device_(&device), bytes_(length, 0), fvf_(fvf) {
    device_->AdoptChild();
}

VertexBuffer::~VertexBuffer() { device_->DropChild(); }

Result VertexBuffer::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t /*flags*/) {
    device_->Note("VertexBuffer.Lock " + std::to_string(offset) + " " + std::to_string(size));
    if (data == nullptr) return Result::InvalidCall;
    *data = nullptr;
    const uint64_t end = size == 0 ? bytes_.size() : uint64_t{offset} + size;
    if (locked_ || offset >= bytes_.size() || end > bytes_.size()) return Result::InvalidCall;
    *data = bytes_.data() + offset;
    locked_ = true;
    return Result::Ok;
}

Result VertexBuffer::Unlock() {
    device_->Note("VertexBuffer.Unlock");
    if (!locked_) return Result::InvalidCall;
    locked_ = false;
    return Result::Ok;
}

}  // namespace d3d8
