#include "engine/d3d8/D3D8Device.h"

#include <algorithm>
#include <string>

#include "engine/G3DBackend.h"
#include "engine/G3DEngine.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/window/Window.h"
#include "platform/window/WindowSink.h"
#include "support/WinFunc.h"

namespace {

using d3d8::RenderState;
using d3d8::StageState;

// Makes the Direct3D object and the device for a back buffer of the frame
// size; says once when it cannot.
void CreateDevice(const TDStuff& state, platform::Window& form) {
    G3DD3D8Objects& o = G3DD3D8();
    o.TriangleBuffer.Reset();
    o.OverlayBuffer.Reset();
    o.Device.Reset();
    o.Direct3D = d3d8::Ref<d3d8::Direct3D>(d3d8::Direct3D::Create(d3d8::kSdkVersion));
    d3d8::DisplayMode mode;
    if (o.Direct3D) o.Direct3D->GetAdapterDisplayMode(0, mode);
    o.BackBufferWidth = state.Frame.Width;
    o.BackBufferHeight = state.Frame.Height;
    o.DeviceWindow = std::make_unique<platform::WindowSink>(form);
    d3d8::PresentParameters params;
    params.BackBufferWidth = static_cast<uint32_t>(state.Frame.Width);
    params.BackBufferHeight = static_cast<uint32_t>(state.Frame.Height);
    params.BackBufferFormat = mode.format;
    params.SwapEffect = d3d8::kSwapEffectDiscard;
    params.DeviceSink = o.DeviceWindow.get();
    params.Windowed = true;
    params.EnableAutoDepthStencil = true;
    params.AutoDepthStencilFormat = d3d8::Format::D16;
    const bool made =
        o.Direct3D && d3d8::Succeeded(o.Direct3D->CreateDevice(
                          0, d3d8::DeviceType::Hal, d3d8::kCreateSoftwareVertexProcessing, params,
                          o.Device.Out()));
    if (!made) {
        o.Device.Reset();
        platform::ShowMessage("G3D: The 3D device cannot be made for a frame of " +
                              std::to_string(state.Frame.Width) + " x " +
                              std::to_string(state.Frame.Height));
    }
}

void SetFixedState(d3d8::Device& device) {
    device.SetRenderState(RenderState::CullMode, d3d8::kCullNone);
    device.SetRenderState(RenderState::Lighting, d3d8::kFalse);
    device.SetRenderState(RenderState::SpecularEnable, d3d8::kFalse);
    device.SetRenderState(RenderState::FogEnable, d3d8::kFalse);
    device.SetRenderState(RenderState::ColorVertex, d3d8::kTrue);
    device.SetRenderState(RenderState::LocalViewer, d3d8::kFalse);
    device.SetRenderState(RenderState::BlendOp, d3d8::kBlendOpAdd);
    device.SetRenderState(RenderState::SrcBlend, d3d8::kBlendSrcAlpha);
    device.SetRenderState(RenderState::DestBlend, d3d8::kBlendInvSrcAlpha);
    device.SetRenderState(RenderState::AlphaBlendEnable, d3d8::kTrue);
    device.SetRenderState(RenderState::ZEnable, d3d8::kZbTrue);
    device.SetTextureStageState(0, StageState::MagFilter, d3d8::kTexfLinear);
    device.SetTextureStageState(0, StageState::MinFilter, d3d8::kTexfLinear);
    device.SetTextureStageState(0, StageState::MipFilter, d3d8::kTexfNone);
    device.SetTextureStageState(0, StageState::ColorOp, d3d8::kTopModulate);
    device.SetTextureStageState(0, StageState::ColorArg2, d3d8::kTaTexture);
    device.SetTextureStageState(0, StageState::ColorArg1, d3d8::kTaDiffuse);
}

void RenewVertexBuffers(d3d8::Device& device) {
    G3DD3D8Objects& o = G3DD3D8();
    o.TriangleBuffer.Reset();
    device.CreateVertexBuffer(72, 0, d3d8::kFvfSceneVertex, d3d8::Pool::Default,
                              o.TriangleBuffer.Out());
    o.OverlayBuffer.Reset();
    device.CreateVertexBuffer(84, 0, d3d8::kFvfScreenVertex, d3d8::Pool::Default,
                              o.OverlayBuffer.Out());
    device.SetStreamSource(0, o.TriangleBuffer.Get(), 24);
}

}  // namespace

G3DD3D8Objects::G3DD3D8Objects() = default;

G3DD3D8Objects::~G3DD3D8Objects() { G3DD3D8Release(); }

G3DD3D8Objects& G3DD3D8() {
    static G3DD3D8Objects objects;
    return objects;
}

d3d8::Device* G3DD3D8Device() { return G3DD3D8().Device.Get(); }

void G3DD3D8Release() {
    G3DD3D8Objects& o = G3DD3D8();
    for (d3d8::Ref<d3d8::Texture>& t : o.Textures) t.Reset();
    o.OverlayBuffer.Reset();
    o.TriangleBuffer.Reset();
    o.Device.Reset();
    o.Direct3D.Reset();
    for (d3d8::Ref<d3d8::Texture>& t : o.SlotTextures) t.Reset();
    o.VideoTexture.Reset();
    o.VideoSerial = 0;
    o.DeviceWindow.reset();
    o.Created = false;
}

void G3DBackendInit(TDStuff& state, platform::Window& form) {
    G3DD3D8Objects& o = G3DD3D8();
    if (!o.Created) {
        o.Created = true;
        CreateDevice(state, form);
    }
    if (!o.Device) return;
    SetFixedState(*o.Device);
    RenewVertexBuffers(*o.Device);
}

int32_t G3DBackendMaxTextureSize() { return static_cast<int32_t>(d3d8::kMaxSurfaceSide); }

int32_t G3DBackendMaxFrameSide(platform::Window& /*form*/) {
    return static_cast<int32_t>(d3d8::kMaxSurfaceSide);
}

void G3DClearScreen(uint8_t index, TDStuff& state) {
    d3d8::Device* device = G3DD3D8Device();
    if (device == nullptr) return;
    const TPalette& p = state.MainPalette;
    device->Clear(0, nullptr, d3d8::kClearTarget,
                  d3d8::ColorArgb(255, p[index], p[256 + index], p[512 + index]), 1.0f, 0);
}

void G3DPresent(platform::Window& form, int32_t x, int32_t y, int32_t w, int32_t h,
                TDStuff& /*state*/) {
    G3DD3D8Objects& o = G3DD3D8();
    if (!o.Device) return;
    if (FullScreenActive) {
        x = 0;
        y = 0;
        form.ClientSize(w, h);
    }
    auto held = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const d3d8::Rect dest{x, y, held(int64_t{x} + w), held(int64_t{y} + h)};
    // Another window than the device's gets the frame through a sink of its own.
    const bool deviceWindow = o.DeviceWindow && &o.DeviceWindow->Target() == &form;
    platform::WindowSink other(form);
    o.Device->Present(nullptr, &dest, deviceWindow ? nullptr : &other, nullptr);
}

void G3DFullScreen(platform::Window& form, TDStuff& /*state*/) {
    form.SetDesktopFullScreen(true);  // the display keeps its mode
    FullScreenActive = true;
}

void G3DWindowed(platform::Window& form, TDStuff& state) {
    FullScreenActive = false;
    form.SetDesktopFullScreen(false);
    form.SetPosition(0, 0);
    form.SetClientSize(state.Frame.Width, state.Frame.Height);
}

void G3DDone() {
    // The display mode was never changed; the device lives on until the end.
}

void G3DReset(TDStuff& /*state*/, platform::Window& /*form*/) {
    // The device survives display changes: nothing to make again.
}

bool G3DDisplayMode(platform::Window& form, int32_t index, int32_t& width, int32_t& height) {
    int w = 0, h = 0;
    if (!form.DisplayMode(index, w, h)) return false;
    width = w;
    height = h;
    return true;
}
