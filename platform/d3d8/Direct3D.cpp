#include "platform/d3d8/Direct3D.h"

#include <new>

#include "platform/d3d8/Device.h"

namespace d3d8 {

Direct3D* Direct3D::Create(uint32_t sdkVersion) {
    if (sdkVersion != kSdkVersion) return nullptr;
    return new (std::nothrow) Direct3D();
}

Result Direct3D::GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) const {
    if (adapter != 0) return Result::InvalidCall;
    mode.format = Format::X8R8G8B8;
    return Result::Ok;
}

Result Direct3D::CreateDevice(uint32_t adapter, DeviceType /*type*/, uint32_t /*behaviourFlags*/,
                              PresentParameters& params, Device** device) {
    if (device == nullptr) return Result::InvalidCall;
    *device = nullptr;
    if (adapter != 0 || params.BackBufferWidth == 0 || params.BackBufferHeight == 0 ||
        params.BackBufferCount > 1 || params.MultiSampleType != 0) {
        return Result::InvalidCall;
    }
    if (params.BackBufferWidth > kMaxSurfaceSide || params.BackBufferHeight > kMaxSurfaceSide ||
        (params.BackBufferFormat != Format::Unknown &&
         params.BackBufferFormat != Format::X8R8G8B8) ||
        (params.EnableAutoDepthStencil && params.AutoDepthStencilFormat != Format::D16)) {
        return Result::NotAvailable;
    }
    params.BackBufferFormat = Format::X8R8G8B8;
    try {
        *device = new Device(*this, params);
    } catch (const std::bad_alloc&) {
        return Result::OutOfMemory;
    }
    return Result::Ok;
}

}  // namespace d3d8
