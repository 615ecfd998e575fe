// The software device's adapter object: it tells the display format and
// creates devices. Each device keeps its Direct3D object alive.
#pragma once

#include <cstdint>

#include "platform/d3d8/D3D8Types.h"
#include "platform/d3d8/Unknown.h"

namespace d3d8 {

class Device;

class Direct3D final : public Unknown {
  public:
    // A new object with one reference; null unless `sdkVersion` is kSdkVersion.
    static Direct3D* Create(uint32_t sdkVersion);

    uint32_t GetAdapterCount() const { return 1; }
    // The format of the frames the adapter shows (X8R8G8B8).
    Result GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) const;
    // A device with a back buffer of the parameters' size (1..kMaxSurfaceSide a
    // side, X8R8G8B8) and, when asked, a D16 depth buffer. An unknown back-buffer
    // format becomes X8R8G8B8 in `params`.
    Result CreateDevice(uint32_t adapter, DeviceType type, uint32_t behaviourFlags,
                        PresentParameters& params, Device** device);

  private:
    Direct3D() = default;
    ~Direct3D() override = default;
};

}  // namespace d3d8
