#include "engine/d3d8/D3D8Video.h"

#include <algorithm>

#include "engine/G3DBackend.h"
#include "engine/d3d8/D3D8Device.h"
#include "engine/d3d8/D3D8Textures.h"
#include "platform/window/Window.h"
#include "platform/window/WindowSink.h"

void G3DD3D8VideoTexturePart(int32_t width, int32_t height, uint32_t texWidth, uint32_t texHeight,
                             float& u, float& v) {
    u = texWidth == 0 ? 0.0f : std::min(1.0f, static_cast<float>(width) / texWidth);
    v = texHeight == 0 ? 0.0f : std::min(1.0f, static_cast<float>(height) / texHeight);
}

void G3DBackendShowVideo(const uint8_t* rgba, int32_t width, int32_t height, uint64_t serial,
                         platform::Window& form, TDStuff& /*state*/) {
    G3DD3D8Objects& o = G3DD3D8();
    if (!o.Device) return;
    // A texture of the picture's size is kept; each new picture fills it.
    if (!o.VideoTexture || width != o.VideoWidth || height != o.VideoHeight) {
        G3DD3D8MakeTexture(rgba, width, height, width, o.VideoTexture);
        o.VideoSerial = serial;
        o.VideoWidth = width;
        o.VideoHeight = height;
    } else if (serial != o.VideoSerial) {
        G3DD3D8FillTexture(*o.VideoTexture, rgba, width, height, width);
        o.VideoSerial = serial;
    }
    d3d8::SurfaceDesc desc;
    if (!o.VideoTexture || !d3d8::Succeeded(o.VideoTexture->GetLevelDesc(0, desc))) return;
    float u = 0, v = 0;
    G3DD3D8VideoTexturePart(width, height, desc.Width, desc.Height, u, v);
    o.Device->Clear(0, nullptr, d3d8::kClearTarget, d3d8::ColorArgb(255, 0, 0, 0), 1.0f, 0);
    G3DD3D8DrawOverlay(o.VideoTexture.Get(), u, v, false, 0, 0, 0, 1, 1);
    int clientWidth = 0, clientHeight = 0;
    form.ClientSize(clientWidth, clientHeight);
    const d3d8::Rect dest{0, 0, clientWidth, clientHeight};
    const bool deviceWindow = o.DeviceWindow && &o.DeviceWindow->Target() == &form;
    platform::WindowSink other(form);
    o.Device->Present(nullptr, &dest, deviceWindow ? nullptr : &other, nullptr);
}

void G3DBackendReleaseVideo(platform::Window& /*form*/) {
    G3DD3D8Objects& o = G3DD3D8();
    // The back buffer keeps what is presented: the last picture leaves it.
    if (o.Device)
        o.Device->Clear(0, nullptr, d3d8::kClearTarget, d3d8::ColorArgb(255, 0, 0, 0), 1.0f, 0);
    o.VideoTexture.Reset();
    o.VideoWidth = o.VideoHeight = 0;
    o.VideoSerial = 0;
}
