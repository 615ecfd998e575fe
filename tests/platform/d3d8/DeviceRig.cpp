#include "tests/platform/d3d8/DeviceRig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace d3d8test {
namespace {

constexpr uint32_t kBufferVertices = 3 * 512;

void Put(uint8_t*& at, float v) {
    std::memcpy(at, &v, 4);
    at += 4;
}

void Put(uint8_t*& at, uint32_t v) {
    std::memcpy(at, &v, 4);
    at += 4;
}

}  // namespace

uint32_t PackColour(const ref::Vertex& v) {
    return d3d8::ColorArgb(static_cast<uint32_t>(v.a), static_cast<uint32_t>(v.r),
                           static_cast<uint32_t>(v.g), static_cast<uint32_t>(v.b));
}

DeviceRig::DeviceRig(int width, int height, uint32_t threads, d3d8::PixelRoutines routines)
    : width(width), height(height), direct3d(d3d8::Direct3D::Create(d3d8::kSdkVersion)) {
    d3d8::PresentParameters p;
    p.BackBufferWidth = static_cast<uint32_t>(width);
    p.BackBufferHeight = static_cast<uint32_t>(height);
    p.Windowed = true;
    p.EnableAutoDepthStencil = true;
    p.AutoDepthStencilFormat = d3d8::Format::D16;
    p.RasterThreads = threads;
    p.Routines = routines;
    EXPECT_EQ(direct3d->CreateDevice(0, d3d8::DeviceType::Hal, 0, p, device.Out()),
              d3d8::Result::Ok);
    EXPECT_EQ(
        device->CreateVertexBuffer(kBufferVertices * 28, 0, 0, d3d8::Pool::Default, buffer.Out()),
        d3d8::Result::Ok);
    device->SetRenderState(d3d8::RenderState::CullMode, d3d8::kCullNone);
    device->SetRenderState(d3d8::RenderState::Lighting, d3d8::kFalse);
}

void DeviceRig::Draw(const std::vector<ref::Vertex>& vertices, bool screen) {
    ASSERT_LE(vertices.size(), kBufferVertices);
    const uint32_t stride = screen ? 28 : 24;
    uint8_t* at = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &at, 0), d3d8::Result::Ok);
    for (const ref::Vertex& v : vertices) {
        Put(at, static_cast<float>(v.x));
        Put(at, static_cast<float>(v.y));
        Put(at, static_cast<float>(v.z));
        if (screen) Put(at, static_cast<float>(v.rhw));
        Put(at, PackColour(v));
        Put(at, static_cast<float>(v.u));
        Put(at, static_cast<float>(v.v));
    }
    buffer->Unlock();
    device->SetStreamSource(0, buffer.Get(), stride);
    device->SetVertexShader(screen ? d3d8::kFvfScreenVertex : d3d8::kFvfSceneVertex);
    device->BeginScene();
    EXPECT_EQ(device->DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0,
                                    static_cast<uint32_t>(vertices.size() / 3)),
              d3d8::Result::Ok);
    device->EndScene();
}

void DeviceRig::Screen(const std::vector<ref::Vertex>& vertices) { Draw(vertices, true); }

void DeviceRig::Scene(const std::vector<ref::Vertex>& vertices) { Draw(vertices, false); }

void DeviceRig::SetTexture(const ref::Texels& texels) {
    ASSERT_EQ(device->CreateTexture(static_cast<uint32_t>(texels.width),
                                    static_cast<uint32_t>(texels.height), 1, 0,
                                    d3d8::Format::A8R8G8B8, d3d8::Pool::Managed, texture.Out()),
              d3d8::Result::Ok);
    d3d8::LockedRect locked;
    ASSERT_EQ(texture->LockRect(0, locked, nullptr, 0), d3d8::Result::Ok);
    for (int y = 0; y < texels.height; ++y) {
        std::memcpy(static_cast<uint8_t*>(locked.Bits) + y * locked.Pitch,
                    texels.texels.data() + static_cast<size_t>(y) * texels.width,
                    static_cast<size_t>(texels.width) * 4);
    }
    texture->UnlockRect(0);
    device->SetTexture(0, texture.Get());
}

std::vector<uint32_t> DeviceRig::Pixels() {
    std::vector<uint32_t> pixels;
    device->ReadBackBuffer(pixels);
    return pixels;
}

std::string Difference(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                       int width) {
    std::string out;
    for (size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        if ((actual[i] & 0xFFFFFF) == (expected[i] & 0xFFFFFF)) continue;
        char line[80];
        std::snprintf(line, sizeof line, "(%d,%d): %06x, expected %06x\n",
                      static_cast<int>(i % width), static_cast<int>(i / width),
                      actual[i] & 0xFFFFFF, expected[i] & 0xFFFFFF);
        out += line;
    }
    return out;
}

}  // namespace d3d8test
