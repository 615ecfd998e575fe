// Device creation and the objects' reference counts: what a device takes, and
// that resources keep their device alive whatever order they are released in.
#include "platform/d3d8/Direct3D.h"

#include <gtest/gtest.h>

#include "platform/d3d8/Device.h"

namespace {

using d3d8::Format;
using d3d8::Result;

d3d8::PresentParameters Parameters(uint32_t width, uint32_t height) {
    d3d8::PresentParameters p;
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.Windowed = true;
    p.EnableAutoDepthStencil = true;
    p.AutoDepthStencilFormat = Format::D16;
    p.RasterThreads = 2;
    return p;
}

TEST(Direct3D, CreatesDevicesOfTheSizesItTakes) {
    EXPECT_EQ(d3d8::Direct3D::Create(220), nullptr) << "another interface version";
    d3d8::Ref<d3d8::Direct3D> d3d(d3d8::Direct3D::Create(d3d8::kSdkVersion));
    ASSERT_TRUE(d3d);
    d3d8::DisplayMode mode;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(0, mode), Result::Ok);
    EXPECT_EQ(mode.format, Format::X8R8G8B8);
    const struct {
        uint32_t width, height;
        Format format, depth;
        Result expected;
    } cases[] = {
        {640, 480, Format::X8R8G8B8, Format::D16, Result::Ok},
        {1, 1, Format::Unknown, Format::D16, Result::Ok},
        {4096, 4, Format::X8R8G8B8, Format::D16, Result::Ok},
        {0, 480, Format::X8R8G8B8, Format::D16, Result::InvalidCall},
        {4097, 480, Format::X8R8G8B8, Format::D16, Result::NotAvailable},
        {640, 480, Format::A8R8G8B8, Format::D16, Result::NotAvailable},
        {640, 480, Format::X8R8G8B8, Format::X8R8G8B8, Result::NotAvailable},
    };
    for (const auto& c : cases) {
        d3d8::PresentParameters p = Parameters(c.width, c.height);
        p.BackBufferFormat = c.format;
        p.AutoDepthStencilFormat = c.depth;
        d3d8::Ref<d3d8::Device> device;
        EXPECT_EQ(d3d->CreateDevice(0, d3d8::DeviceType::Hal, 0, p, device.Out()), c.expected)
            << c.width << " x " << c.height;
        EXPECT_EQ(static_cast<bool>(device), c.expected == Result::Ok);
        if (device) {
            EXPECT_EQ(device->BackBufferWidth(), c.width);
            EXPECT_EQ(p.BackBufferFormat, Format::X8R8G8B8);
            uint32_t zEnable = 0;
            device->GetRenderState(d3d8::RenderState::ZEnable, zEnable);
            EXPECT_EQ(zEnable, d3d8::kZbTrue) << "on with a depth buffer";
        }
    }
}

// The shutdown order of the engine: textures, buffers, the device, the
// Direct3D object, then textures that outlive them all.
TEST(Direct3D, ResourcesKeepTheirDeviceAlive) {
    const int64_t before = d3d8::LiveObjects();
    d3d8::Direct3D* d3d = d3d8::Direct3D::Create(d3d8::kSdkVersion);
    d3d8::PresentParameters p = Parameters(8, 8);
    d3d8::Device* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, d3d8::DeviceType::Hal, 0, p, &device), Result::Ok);
    d3d8::Texture *bound = nullptr, *slot = nullptr;
    d3d8::VertexBuffer* buffer = nullptr;
    device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, d3d8::Pool::Managed, &bound);
    device->CreateTexture(2, 2, 1, 0, Format::A8R8G8B8, d3d8::Pool::Managed, &slot);
    device->CreateVertexBuffer(72, 0, d3d8::kFvfSceneVertex, d3d8::Pool::Default, &buffer);
    device->SetTexture(0, bound);
    device->SetStreamSource(0, buffer, 24);
    EXPECT_EQ(before + 5, d3d8::LiveObjects());

    EXPECT_EQ(bound->Release(), 1u) << "the device holds the texture set into it";
    EXPECT_EQ(buffer->Release(), 1u) << "and its stream";
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(d3d->Release(), 1u) << "the device, kept by the slot's texture, keeps it";
    EXPECT_EQ(before + 3, d3d8::LiveObjects()) << "device and Direct3D object live on for the slot";
    d3d8::LockedRect locked;
    ASSERT_EQ(slot->LockRect(0, locked, nullptr, 0), Result::Ok) << "the slot's device is there";
    static_cast<uint32_t*>(locked.Bits)[3] = 0xFF00FF00;
    slot->UnlockRect(0);
    EXPECT_EQ(slot->Release(), 0u);
    EXPECT_EQ(before, d3d8::LiveObjects()) << "all gone with the last texture";
}

TEST(Direct3D, RefHoldsOneReference) {
    const int64_t before = d3d8::LiveObjects();
    {
        d3d8::Ref<d3d8::Direct3D> a(d3d8::Direct3D::Create(d3d8::kSdkVersion));
        d3d8::Ref<d3d8::Direct3D> b = a;
        d3d8::Ref<d3d8::Direct3D> c = d3d8::Hold(a.Get());
        EXPECT_EQ(a->AddRef(), 4u);
        a->Release();
        b.Reset();
        EXPECT_EQ(before + 1, d3d8::LiveObjects());
    }
    EXPECT_EQ(before, d3d8::LiveObjects());
}

}  // namespace
