// The software-device backend's hold on the main window: the device made at
// the first engine start (its back buffer keeps that frame size for the whole
// run and is stretched to the window when shown), the fixed render state and
// the two vertex buffers renewed at every start, clearing, presenting, full
// screen over the desktop, and the release of every device object at the end
// of the run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/G3DState.h"
#include "platform/d3d8/Device.h"
#include "platform/d3d8/Direct3D.h"

namespace platform {
class WindowSink;
}

// The backend's device objects. Filled by the first G3DInit (device) and by
// every G3DInit (vertex buffers); textures by the picture and slot uploads.
// Released, in this order, by G3DD3D8Release: the picture textures, the
// overlay buffer, the triangle buffer, the device, the Direct3D object, then
// the slot textures and the video texture (each texture keeps its device
// alive until it goes).
struct G3DD3D8Objects {
    d3d8::Ref<d3d8::Direct3D> Direct3D;
    d3d8::Ref<d3d8::Device> Device;
    bool Created = false;  // the device has been asked for (once a run)
    int32_t BackBufferWidth = 0;
    int32_t BackBufferHeight = 0;
    std::unique_ptr<platform::WindowSink> DeviceWindow;               // where frames are shown
    d3d8::Ref<d3d8::VertexBuffer> TriangleBuffer;                     // 3 scene vertices, 72 bytes
    d3d8::Ref<d3d8::VertexBuffer> OverlayBuffer;                      // 3 screen vertices, 84 bytes
    std::array<d3d8::Ref<d3d8::Texture>, kG3DTextureCount> Textures;  // by picture number
    // Image-slot textures; a slot's TextureName is its index + 1. Entries are
    // emptied, never removed, so a name stays its slot's.
    std::vector<d3d8::Ref<d3d8::Texture>> SlotTextures;
    // The last video picture shown (G3DBackendShowVideo), and what it holds.
    d3d8::Ref<d3d8::Texture> VideoTexture;
    int32_t VideoWidth = 0, VideoHeight = 0;
    uint64_t VideoSerial = 0;

    G3DD3D8Objects();
    ~G3DD3D8Objects();
    G3DD3D8Objects(const G3DD3D8Objects&) = delete;
    G3DD3D8Objects& operator=(const G3DD3D8Objects&) = delete;
};

// The backend's objects (one for the program).
G3DD3D8Objects& G3DD3D8();

// The device when it exists; null before the first G3DInit or when it could
// not be made.
d3d8::Device* G3DD3D8Device();

// Releases every device object in the order above. The next G3DInit makes a
// new device (sized by that call).
void G3DD3D8Release();
