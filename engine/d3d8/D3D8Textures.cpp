#include "engine/d3d8/D3D8Textures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/G3DBackend.h"
#include "engine/G3DPcx.h"
#include "engine/d3d8/D3D8Device.h"
#include "platform/d3d8/D3DX.h"

namespace {

using d3d8::RenderState;
using d3d8::StageState;

uint32_t HeldByte(double v) {
    if (!(v > 0)) return 0;
    return v >= 255 ? 255u : static_cast<uint32_t>(v);
}

d3d8::Texture* SlotTexture(const TG3DImage& image) {
    const G3DD3D8Objects& o = G3DD3D8();
    if (image.TextureName == 0 || image.TextureName > o.SlotTextures.size()) return nullptr;
    return o.SlotTextures[image.TextureName - 1].Get();
}

void SetOverlayState(d3d8::Device& device, d3d8::Texture* texture, bool alphaTest) {
    G3DD3D8Objects& o = G3DD3D8();
    device.SetRenderState(RenderState::ZEnable, d3d8::kZbFalse);
    device.SetTextureStageState(0, StageState::MagFilter, d3d8::kTexfLinear);
    device.SetTextureStageState(0, StageState::MinFilter, d3d8::kTexfLinear);
    device.SetTextureStageState(0, StageState::MipFilter, d3d8::kTexfNone);
    device.BeginScene();
    device.SetStreamSource(0, o.OverlayBuffer.Get(), 28);
    device.SetTexture(0, texture);
    device.SetTextureStageState(0, StageState::ColorOp, d3d8::kTopModulate);
    device.SetTextureStageState(0, StageState::ColorArg1, d3d8::kTaDiffuse);
    device.SetTextureStageState(0, StageState::ColorArg2, d3d8::kTaTexture);
    device.SetTextureStageState(0, StageState::AlphaOp,
                                alphaTest ? d3d8::kTopModulate : d3d8::kTopDisable);
}

}  // namespace

bool G3DD3D8MakeTexture(const uint8_t* rgba, int32_t width, int32_t height, int32_t stride,
                        d3d8::Ref<d3d8::Texture>& out) {
    out.Reset();
    d3d8::Device* device = G3DD3D8Device();
    if (device == nullptr || width <= 0 || height <= 0) return false;
    if (!d3d8::Succeeded(
            d3dx::CreateTexture(device, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                0, 0, d3d8::Format::A8R8G8B8, d3d8::Pool::Managed, out.Out()))) {
        out.Reset();
        return false;
    }
    if (!G3DD3D8FillTexture(*out, rgba, width, height, stride)) {
        out.Reset();
        return false;
    }
    return true;
}

bool G3DD3D8FillTexture(d3d8::Texture& texture, const uint8_t* rgba, int32_t width, int32_t height,
                        int32_t stride) {
    d3d8::SurfaceDesc desc;
    d3d8::LockedRect locked;
    if (!d3d8::Succeeded(texture.GetLevelDesc(0, desc)) ||
        !d3d8::Succeeded(texture.LockRect(0, locked, nullptr, 0))) {
        return false;
    }
    const int32_t columns = std::min(width, static_cast<int32_t>(desc.Width));
    const int32_t rows = std::min(height, static_cast<int32_t>(desc.Height));
    for (int32_t y = 0; y < rows; ++y) {
        uint8_t* row = static_cast<uint8_t*>(locked.Bits) + static_cast<size_t>(y) * locked.Pitch;
        const uint8_t* from = rgba + static_cast<size_t>(y) * stride * 4;
        for (int32_t x = 0; x < columns; ++x, from += 4) {
            const uint32_t texel = d3d8::ColorArgb(from[3], from[0], from[1], from[2]);
            std::memcpy(row + static_cast<size_t>(x) * 4, &texel, 4);
        }
    }
    texture.UnlockRect(0);
    return true;
}

std::array<G3DOverlayVertex, 6> G3DD3D8OverlayQuad(int32_t width, int32_t height, float u, float v,
                                                   int32_t transparency, float x, float y, float w,
                                                   float h) {
    double px = double{x} * width, py = double{y} * height;
    double pw = double{w} * width, ph = double{h} * height;
    if (px < -width) px = -width;
    if (pw > 3.0 * width) pw = 3.0 * width;
    if (py < -height) py = -height;
    if (ph > 3.0 * height) ph = 3.0 * height;
    const double a = 1.0 - transparency / 100.0;
    const uint32_t colour = d3d8::ColorArgb(HeldByte(std::trunc(a * 255)), 255, 255, 255);
    const float uLo = 0.004f, vLo = 0.004f, uHi = u - 0.004f, vHi = v - 0.004f;
    const float left = static_cast<float>(px), top = static_cast<float>(py);
    const float right = static_cast<float>(px + pw), bottom = static_cast<float>(py + ph);
    auto at = [colour](float sx, float sy, float tu, float tv) {
        return G3DOverlayVertex{sx, sy, 100.0f, 1.0f, colour, tu, tv};
    };
    return {at(left, top, uLo, vLo),     at(right, top, uHi, vLo),   at(right, bottom, uHi, vHi),
            at(right, bottom, uHi, vHi), at(left, bottom, uLo, vHi), at(left, top, uLo, vLo)};
}

void G3DBackendUploadPicture(int32_t picture, const uint8_t* rgba, int32_t width, int32_t height) {
    if (picture < 0 || picture >= kG3DTextureCount) return;
    G3DD3D8MakeTexture(rgba, width, height, width, G3DD3D8().Textures[picture]);
}

void G3DBackendUploadImage(TG3DImage& image) {
    G3DD3D8Objects& o = G3DD3D8();
    if (image.TextureName == 0 || image.TextureName > o.SlotTextures.size()) {
        o.SlotTextures.emplace_back();
        image.TextureName = static_cast<uint32_t>(o.SlotTextures.size());
    }
    d3d8::Ref<d3d8::Texture>& texture = o.SlotTextures[image.TextureName - 1];
    const int64_t stride = G3DNextPowerOfTwo(image.Width);
    const int64_t needed = stride * G3DNextPowerOfTwo(image.Height) * 4;
    if (static_cast<int64_t>(image.Pixels.size()) < needed) {
        texture.Reset();
        return;
    }
    G3DD3D8MakeTexture(image.Pixels.data(), image.Width, image.Height, static_cast<int32_t>(stride),
                       texture);
}

void G3DBackendDrawImage(const TG3DImage& image, bool alphaTest, int32_t transparency, float x,
                         float y, float w, float h, TDStuff& /*state*/) {
    d3d8::Texture* texture = SlotTexture(image);
    if (texture != nullptr) {
        G3DD3D8DrawOverlay(texture, image.U, image.V, alphaTest, transparency, x, y, w, h);
    }
}

void G3DD3D8DrawOverlay(d3d8::Texture* texture, float u, float v, bool alphaTest,
                        int32_t transparency, float x, float y, float w, float h) {
    G3DD3D8Objects& o = G3DD3D8();
    if (!o.Device || !o.OverlayBuffer || !o.TriangleBuffer || texture == nullptr) return;
    d3d8::Device& device = *o.Device;
    const std::array<G3DOverlayVertex, 6> quad =
        G3DD3D8OverlayQuad(o.BackBufferWidth, o.BackBufferHeight, u, v, transparency, x, y, w, h);
    SetOverlayState(device, texture, alphaTest);
    for (int triangle = 0; triangle < 2; ++triangle) {
        uint8_t* data = nullptr;
        if (d3d8::Succeeded(o.OverlayBuffer->Lock(0, 84, &data, 0))) {
            std::memcpy(data, &quad[static_cast<size_t>(triangle) * 3], 84);
            o.OverlayBuffer->Unlock();
        }
        device.SetVertexShader(d3d8::kFvfScreenVertex);
        device.DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0, 1);
    }
    device.EndScene();
    device.SetStreamSource(0, o.TriangleBuffer.Get(), 24);
    device.SetRenderState(RenderState::ZEnable, d3d8::kZbTrue);
}
