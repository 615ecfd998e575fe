// The software device's fill rate: screen-covering quads, each at its own
// depth and nearer than the last, in the pixel kinds the engine draws with
// (kind 0: textured, modulated, alpha-blended and depth-tested, its scene
// triangles; 1: the same without blending; 2: flat, blended, depth-tested,
// its untextured faces; 3: textured and blended without depth, its overlays),
// at 640 × 480 and 1920 × 1080, on one thread and on all of them; kind 0 with
// each kind of pixel routine; and a frame of many small scene triangles
// through the transform and clipping. items_per_second is pixels (triangles
// for the last).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/d3d8/D3DX.h"
#include "platform/d3d8/Device.h"
#include "platform/d3d8/Direct3D.h"
#include "platform/d3d8/PresentSink.h"

namespace {

struct Bench {
    d3d8::Ref<d3d8::Direct3D> d3d{d3d8::Direct3D::Create(d3d8::kSdkVersion)};
    d3d8::Ref<d3d8::Device> device;
    d3d8::Ref<d3d8::Texture> texture;
    d3d8::Ref<d3d8::VertexBuffer> buffer;
    d3d8::MemorySink sink;

    Bench(uint32_t width, uint32_t height, uint32_t threads, uint32_t bytes,
          d3d8::PixelRoutines routines = d3d8::PixelRoutines::Fastest)
        : sink(static_cast<int32_t>(width), static_cast<int32_t>(height)) {
        d3d8::PresentParameters p;
        p.BackBufferWidth = width;
        p.BackBufferHeight = height;
        p.EnableAutoDepthStencil = true;
        p.AutoDepthStencilFormat = d3d8::Format::D16;
        p.RasterThreads = threads;
        p.Routines = routines;
        d3d->CreateDevice(0, d3d8::DeviceType::Hal, 0, p, device.Out());
        d3dx::CreateTexture(device.Get(), 128, 128, 0, 0, d3d8::Format::A8R8G8B8,
                            d3d8::Pool::Managed, texture.Out());
        d3d8::LockedRect locked;
        texture->LockRect(0, locked, nullptr, 0);
        std::mt19937 random(1);
        for (int y = 0; y < 128; ++y) {
            uint32_t* row =
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.Bits) + y * locked.Pitch);
            for (int x = 0; x < 128; ++x) row[x] = random();
        }
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

void FillScreen(benchmark::State& state, int kind, uint32_t width, uint32_t height,
                uint32_t threads, d3d8::PixelRoutines routines) {
    constexpr int kQuads = 10;
    Bench b(width, height, threads, kQuads * 6 * 28, routines);
    if (kind == 1) b.device->SetRenderState(d3d8::RenderState::AlphaBlendEnable, d3d8::kFalse);
    if (kind == 2) b.device->SetTexture(0, nullptr);
    if (kind == 3) b.device->SetRenderState(d3d8::RenderState::ZEnable, d3d8::kZbFalse);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    std::vector<float> v;
    for (int q = 0; q < kQuads; ++q) {
        const float z = 0.9f - q * 0.05f;
        const float corners[6][2] = {{0, 0}, {w, 0}, {w, h}, {0, 0}, {w, h}, {0, h}};
        for (const auto& c : corners) {
            // Darker and more see-through towards the right, as the engine's faces are.
            v.insert(v.end(), {c[0], c[1], z, 1.0f - c[0] / w * 0.5f});
            Colour(v, c[0] == 0 ? 0xC0FFFFFF : 0x90A0A0A0);
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
    state.SetItemsProcessed(state.iterations() * kQuads * width * height);
    state.counters["bands"] = b.device->RasterBands();
}

// Arguments: pixel kind, width, height, threads (0: one per processor).
void BM_Fill(benchmark::State& state) {
    FillScreen(state, static_cast<int>(state.range(0)), static_cast<uint32_t>(state.range(1)),
               static_cast<uint32_t>(state.range(2)), static_cast<uint32_t>(state.range(3)),
               d3d8::PixelRoutines::Fastest);
}
BENCHMARK(BM_Fill)
    ->ArgNames({"kind", "width", "height", "threads"})
    ->ArgsProduct({{0, 1, 2, 3}, {640}, {480}, {1, 0}})
    ->ArgsProduct({{0, 1, 2, 3}, {1920}, {1080}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Kind 0 at 640 × 480 on one thread with each kind of pixel routine
// (d3d8::PixelRoutines: 1 one pixel at a time, 2 SSE2, 3 AVX2 where the
// processor has it).
void BM_FillRoutines(benchmark::State& state) {
    FillScreen(state, 0, 640, 480, 1, static_cast<d3d8::PixelRoutines>(state.range(0)));
}
BENCHMARK(BM_FillRoutines)
    ->ArgNames({"routines"})
    ->DenseRange(1, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 20,000 small triangles in front of a camera, one draw call each, as the
// engine draws its render list.
void BM_SceneTriangles(benchmark::State& state) {
    constexpr int kTriangles = 20000;
    Bench b(640, 480, static_cast<uint32_t>(state.range(0)), kTriangles * 3 * 24);
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
BENCHMARK(BM_SceneTriangles)
    ->ArgNames({"threads"})
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
