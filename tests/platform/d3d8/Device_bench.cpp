// The software device's fill rate at 640 × 480: screen-covering textured,
// blended, depth-tested quads, and a frame of many small scene triangles
// through the transform and clipping, on one thread and on all of them.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/d3d8/D3DX.h"
#include "platform/d3d8/Device.h"
#include "platform/d3d8/Direct3D.h"
#include "platform/d3d8/PresentSink.h"

namespace {

constexpr uint32_t kWidth = 640, kHeight = 480;

struct Bench {
    d3d8::Ref<d3d8::Direct3D> d3d{d3d8::Direct3D::Create(d3d8::kSdkVersion)};
    d3d8::Ref<d3d8::Device> device;
    d3d8::Ref<d3d8::Texture> texture;
    d3d8::Ref<d3d8::VertexBuffer> buffer;
    d3d8::MemorySink sink{kWidth, kHeight};

    Bench(uint32_t threads, uint32_t bytes) {
        d3d8::PresentParameters p;
        p.BackBufferWidth = kWidth;
        p.BackBufferHeight = kHeight;
        p.EnableAutoDepthStencil = true;
        p.AutoDepthStencilFormat = d3d8::Format::D16;
        p.RasterThreads = threads;
        d3d->CreateDevice(0, d3d8::DeviceType::Hal, 0, p, device.Out());
        d3dx::CreateTexture(device.Get(), 128, 128, 0, 0, d3d8::Format::A8R8G8B8,
                            d3d8::Pool::Managed, texture.Out());
        d3d8::LockedRect locked;
        texture->LockRect(0, locked, nullptr, 0);
        std::mt19937 random(1);
        for (int i = 0; i < 128 * 128; ++i) static_cast<uint32_t*>(locked.Bits)[i] = random();
        texture->UnlockRect(0);
        device->CreateVertexBuffer(bytes, 0, 0, d3d8::Pool::Default, buffer.Out());
        using d3d8::RenderState;
        using d3d8::StageState;
        device->SetRenderState(RenderState::CullMode, d3d8::kCullNone);
        device->SetRenderState(RenderState::Lighting, d3d8::kFalse);
        device->SetRenderState(RenderState::AlphaBlendEnable, d3d8::kTrue);
        device->SetRenderState(RenderState::SrcBlend, d3d8::kBlendSrcAlpha);
        device->SetRenderState(RenderState::DestBlend, d3d8::kBlendInvSrcAlpha);
        device->SetTextureStageState(0, StageState::MagFilter, d3d8::kTexfLinear);
        device->SetTextureStageState(0, StageState::MinFilter, d3d8::kTexfLinear);
        device->SetTextureStageState(0, StageState::ColorArg1, d3d8::kTaDiffuse);
        device->SetTextureStageState(0, StageState::ColorArg2, d3d8::kTaTexture);
        device->SetTextureStageState(0, StageState::AlphaOp, d3d8::kTopModulate);
        device->SetTexture(0, texture.Get());
    }
    void Write(const std::vector<float>& floats) {
        uint8_t* data = nullptr;
        buffer->Lock(0, 0, &data, 0);
        std::memcpy(data, floats.data(), floats.size() * 4);
        buffer->Unlock();
    }
};

void Colour(std::vector<float>& out, uint32_t c) {
    float f;
    std::memcpy(&f, &c, 4);
    out.push_back(f);
}

// Quads covering the whole back buffer, each at its own depth.
void BM_FillScreenQuads(benchmark::State& state) {
    constexpr int kQuads = 10;
    Bench b(static_cast<uint32_t>(state.range(0)), kQuads * 6 * 28);
    std::vector<float> v;
    for (int q = 0; q < kQuads; ++q) {
        const float z = 0.9f - q * 0.05f;
        const float corners[6][2] = {{0, 0}, {640, 0}, {640, 480}, {0, 0}, {640, 480}, {0, 480}};
        for (const auto& c : corners) {
            v.insert(v.end(), {c[0], c[1], z, 1.0f});
            Colour(v, 0xC0FFFFFF);
            v.insert(v.end(), {c[0] / 100, c[1] / 100});
        }
    }
    b.Write(v);
    b.device->SetStreamSource(0, b.buffer.Get(), 28);
    b.device->SetVertexShader(d3d8::kFvfScreenVertex);
    for (auto _ : state) {
        b.device->Clear(0, nullptr, d3d8::kClearTarget | d3d8::kClearZBuffer, 0, 1, 0);
        b.device->BeginScene();
        b.device->DrawPrimitive(d3d8::PrimitiveType::TriangleList, 0, kQuads * 2);
        b.device->EndScene();
        b.device->Present(nullptr, nullptr, &b.sink, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kQuads * kWidth * kHeight);
    state.counters["bands"] = b.device->RasterBands();
}
BENCHMARK(BM_FillScreenQuads)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// 20,000 small triangles in front of a camera, one draw call each, as the
// engine draws its render list.
void BM_SceneTriangles(benchmark::State& state) {
    constexpr int kTriangles = 20000;
    Bench b(static_cast<uint32_t>(state.range(0)), kTriangles * 3 * 24);
    std::mt19937 random(2);
    std::uniform_real_distribution<float> x(-900, 900), y(-700, 700), z(300, 3000), d(-60, 60);
    std::vector<float> v;
    for (int t = 0; t < kTriangles; ++t) {
        const float cx = x(random), cy = y(random), cz = z(random);
        for (int k = 0; k < 3; ++k) {
            v.insert(v.end(), {cx + d(random), cy + d(random), cz + d(random)});
            Colour(v, 0xFFC0C0C0);
            v.insert(v.end(), {k == 1 ? 0.995f : 0.005f, k == 2 ? 0.995f : 0.005f});
        }
    }
    b.Write(v);
    d3d8::Matrix m;
    d3dx::MatrixPerspectiveFovLH(m, -99.2319f, 4.0f / 3.0f, 1.0f, 16384.0f);
    b.device->SetTransform(d3d8::TransformState::Projection, m);
    b.device->SetStreamSource(0, b.buffer.Get(), 24);
    b.device->SetVertexShader(d3d8::kFvfSceneVertex);
    for (auto _ : state) {
        b.device->Clear(0, nullptr, d3d8::kClearTarget | d3d8::kClearZBuffer, 0, 1, 0);
        b.device->BeginScene();
        for (int t = 0; t < kTriangles; ++t) {
            b.device->DrawPrimitive(d3d8::PrimitiveType::TriangleList, static_cast<uint32_t>(t) * 3,
                                    1);
        }
        b.device->EndScene();
        b.device->Present(nullptr, nullptr, &b.sink, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kTriangles);
    state.counters["bands"] = b.device->RasterBands();
}
BENCHMARK(BM_SceneTriangles)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
