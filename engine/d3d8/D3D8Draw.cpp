#include "engine/d3d8/D3D8Draw.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "engine/G3DBackend.h"
#include "engine/d3d8/D3D8Device.h"
#include "platform/d3d8/D3DX.h"

namespace {

// One vertex of the scene format as the triangle buffer holds it.
struct SceneVertex {
    float X, Y, Z;
    uint32_t Colour;
    float U, V;
};
static_assert(sizeof(SceneVertex) == 24, "scene vertices are 24 bytes");

uint32_t HeldByte(double v) {
    if (!(v > 0)) return 0;
    return v >= 255 ? 255u : static_cast<uint32_t>(std::trunc(v));
}

d3d8::Texture* PictureTexture(int32_t picture) {
    if (picture < 0 || picture >= kG3DTextureCount) return nullptr;  // drawn untextured
    return G3DD3D8().Textures[picture].Get();
}

}  // namespace

std::array<d3d8::Color, 3> G3DD3D8VertexColours(const TG3DTriangle& t) {
    const uint32_t alpha = HeldByte(double{t.Alpha} * 255);
    const float dark[3] = {t.Dark0, t.Dark1, t.Dark2};
    std::array<d3d8::Color, 3> out{};
    for (int k = 0; k < 3; ++k) {
        const double light = 1.0 - dark[k];
        if (t.Untextured) {
            out[k] = d3d8::ColorArgb(alpha, HeldByte(t.Red * light), HeldByte(t.Green * light),
                                     HeldByte(t.Blue * light));
        } else {
            const uint32_t grey = HeldByte(255.0 - double{dark[k]} * 255.0);
            out[k] = d3d8::ColorArgb(alpha, grey, grey, grey);
        }
    }
    return out;
}

std::array<std::array<float, 2>, 3> G3DD3D8TexCoords(bool layoutLow, bool layoutSwap) {
    constexpr float lo = 0.005f, hi = 0.995f;
    std::array<std::array<float, 2>, 3> uv =
        layoutLow ? std::array<std::array<float, 2>, 3>{{{lo, lo}, {hi, lo}, {hi, hi}}}
                  : std::array<std::array<float, 2>, 3>{{{hi, hi}, {lo, hi}, {lo, lo}}};
    if (layoutSwap) {
        for (std::array<float, 2>& c : uv) std::swap(c[0], c[1]);
    }
    return uv;
}

float G3DD3D8FieldOfView(const TDStuff& state) {
    int64_t s = int64_t{state.ProjectionBase} * state.ClipWidth / 320;
    if (s < 1) s = 1;
    const double ratio = static_cast<double>(state.ClipWidth) / static_cast<double>(s);
    return static_cast<float>(-(std::atan(ratio) * 1.455 * 180.0) / 3.1415);
}

void G3DD3D8ViewVectors(const TDStuff& state, d3d8::Vector3& at, d3d8::Vector3& up) {
    float cp = state.CosPitch;
    if (std::fabs(cp) < 0.005f) cp = cp > 0 ? 0.005f : -0.005f;
    at = {state.SinYaw * cp, state.SinPitch, state.CosYaw * cp};
    up = {0.0f, cp, 0.0f};
}

void G3DDrawTriangle(int32_t index, TDStuff& state) {
    G3DD3D8Objects& o = G3DD3D8();
    if (!o.Device || !o.TriangleBuffer || index < 0 ||
        index >= static_cast<int32_t>(state.RenderList.size())) {
        return;
    }
    d3d8::Device& device = *o.Device;
    const TG3DTriangle& t = state.RenderList[index];
    if (t.Untextured) {
        device.SetTexture(0, nullptr);
    } else {
        device.SetTexture(0, PictureTexture(t.Texture));
        device.SetTextureStageState(0, d3d8::StageState::AlphaOp,
                                    t.AlphaTest ? d3d8::kTopModulate : d3d8::kTopDisable);
    }
    const std::array<d3d8::Color, 3> colours = G3DD3D8VertexColours(t);
    const std::array<std::array<float, 2>, 3> uv = G3DD3D8TexCoords(t.LayoutLow, t.LayoutSwap);
    const SceneVertex vertices[3] = {{t.X0, t.Y0, t.Z0, colours[0], uv[0][0], uv[0][1]},
                                     {t.X1, t.Y1, t.Z1, colours[1], uv[1][0], uv[1][1]},
                                     {t.X2, t.Y2, t.Z2, colours[2], uv[2][0], uv[2][1]}};
    uint8_t* data = nullptr;
    if (d3d8::Succeeded(o.TriangleBuffer->Lock(0, sizeof vertices, &data, 0))) {
        std::memcpy(data, vertices, sizeof vertices);
        o.TriangleBuffer->Unlock();
    }
    device.SetVertexShader(d3d8::kFvfSceneVertex);
    device.DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0, 1);
}

void G3DBackendSetCamera(TDStuff& state) {
    d3d8::Device* device = G3DD3D8Device();
    if (device == nullptr) return;
    device->Clear(0, nullptr, d3d8::kClearZBuffer, 0, 1.0f, 0);
    device->BeginScene();
    d3d8::Matrix m;
    d3dx::MatrixIdentity(m);
    device->SetTransform(d3d8::TransformState::World, m);
    d3d8::Vector3 at, up;
    G3DD3D8ViewVectors(state, at, up);
    d3dx::MatrixLookAtLH(m, {0, 0, 0}, at, up);
    device->SetTransform(d3d8::TransformState::View, m);
    const float aspect =
        state.CentreY == 0 ? 1.0f
                           : static_cast<float>(state.CentreX) / static_cast<float>(state.CentreY);
    d3dx::MatrixPerspectiveFovLH(m, G3DD3D8FieldOfView(state), aspect, 1.0f, 16384.0f);
    device->SetTransform(d3d8::TransformState::Projection, m);
}

void G3DBackendDrawList(TDStuff& state, int32_t count) {
    d3d8::Device* device = G3DD3D8Device();
    if (device == nullptr) return;
    for (int32_t i = 0; i < count; ++i) G3DDrawTriangle(state.SortBuffer[i].Index, state);
    device->EndScene();  // whether or not anything was drawn
}

void G3DBackendReliefOff(TDStuff& /*state*/) {
    // Relief settings are kept but not drawn by this backend: nothing to restore.
}
