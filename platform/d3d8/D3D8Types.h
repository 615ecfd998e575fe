// The types and constants of the software 3-D device: results, render and
// texture-stage states with their values, vertex formats, pixel formats,
// matrices, rectangles and the device's creation parameters. The numbers are
// those of the Direct3D 8 interface the engine was written against, so that a
// state set by number means what it meant there.
#pragma once

#include <cstdint>

namespace d3d8 {

class PresentSink;

enum class Result {
    Ok,
    InvalidCall,   // bad argument, or a call the device's state does not allow
    OutOfMemory,   // a buffer could not be allocated
    NotAvailable,  // a format or size the device does not offer
};

inline bool Succeeded(Result r) { return r == Result::Ok; }

// Render states (SetRenderState). Values of other numbers are refused.
enum class RenderState : uint32_t {
    ZEnable = 7,
    FillMode = 8,
    ShadeMode = 9,
    ZWriteEnable = 14,
    AlphaTestEnable = 15,
    LastPixel = 16,
    SrcBlend = 19,
    DestBlend = 20,
    CullMode = 22,
    ZFunc = 23,
    AlphaRef = 24,
    AlphaFunc = 25,
    DitherEnable = 26,
    AlphaBlendEnable = 27,
    FogEnable = 28,
    SpecularEnable = 29,
    Lighting = 137,
    ColorVertex = 141,
    LocalViewer = 142,
    BlendOp = 171,
};
constexpr uint32_t kRenderStateSlots = 256;

// Texture-stage states (SetTextureStageState).
enum class StageState : uint32_t {
    ColorOp = 1,
    ColorArg1 = 2,
    ColorArg2 = 3,
    AlphaOp = 4,
    AlphaArg1 = 5,
    AlphaArg2 = 6,
    AddressU = 13,
    AddressV = 14,
    MagFilter = 16,
    MinFilter = 17,
    MipFilter = 18,
};
constexpr uint32_t kStageStateSlots = 32;
constexpr uint32_t kTextureStages = 8;

// Render-state values.
constexpr uint32_t kFalse = 0, kTrue = 1;
constexpr uint32_t kCullNone = 1, kCullCw = 2, kCullCcw = 3;
constexpr uint32_t kZbFalse = 0, kZbTrue = 1;
constexpr uint32_t kBlendZero = 1, kBlendOne = 2, kBlendSrcAlpha = 5, kBlendInvSrcAlpha = 6,
                   kBlendDestAlpha = 7, kBlendInvDestAlpha = 8;
constexpr uint32_t kBlendOpAdd = 1;
constexpr uint32_t kCmpNever = 1, kCmpLess = 2, kCmpEqual = 3, kCmpLessEqual = 4, kCmpGreater = 5,
                   kCmpNotEqual = 6, kCmpGreaterEqual = 7, kCmpAlways = 8;
constexpr uint32_t kFillSolid = 3;
constexpr uint32_t kShadeGouraud = 2;

// Texture-stage values.
constexpr uint32_t kTopDisable = 1, kTopSelectArg1 = 2, kTopSelectArg2 = 3, kTopModulate = 4;
constexpr uint32_t kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2;
constexpr uint32_t kTexfNone = 0, kTexfPoint = 1, kTexfLinear = 2;
constexpr uint32_t kAddressWrap = 1, kAddressClamp = 3;

// Clear flags.
constexpr uint32_t kClearTarget = 1, kClearZBuffer = 2, kClearStencil = 4;

// Flexible vertex format bits, and the two formats the device draws.
constexpr uint32_t kFvfXyz = 0x002, kFvfXyzRhw = 0x004, kFvfDiffuse = 0x040, kFvfTex1 = 0x100;
// x, y, z; colour; u, v: 24 bytes, transformed by world, view and projection.
constexpr uint32_t kFvfSceneVertex = kFvfXyz | kFvfDiffuse | kFvfTex1;  // 0x142
// x, y, z, rhw; colour; u, v: 28 bytes, already in back-buffer pixels.
constexpr uint32_t kFvfScreenVertex = kFvfXyzRhw | kFvfDiffuse | kFvfTex1;  // 0x144

enum class Format : uint32_t {
    Unknown = 0,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    D16 = 80,
};

enum class Pool : uint32_t { Default = 0, Managed = 1 };
enum class DeviceType : uint32_t { Hal = 1, Ref = 2 };
enum class PrimitiveType : uint32_t { TriangleList = 4 };
enum class TransformState : uint32_t { View = 2, Projection = 3, World = 256 };

constexpr uint32_t kSdkVersion = 120;
constexpr uint32_t kCreateSoftwareVertexProcessing = 0x20;
constexpr uint32_t kSwapEffectDiscard = 1;

// A colour: alpha in bits 24..31, red 16..23, green 8..15, blue 0..7.
using Color = uint32_t;
constexpr Color ColorArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a & 255) << 24 | (r & 255) << 16 | (g & 255) << 8 | (b & 255);
}

// Row-vector matrices: a point p becomes p · M.
struct Matrix {
    float m[4][4];
};

struct Vector3 {
    float x, y, z;
};

// Left, top inclusive; right, bottom exclusive.
struct Rect {
    int32_t left, top, right, bottom;
};

struct LockedRect {
    int32_t Pitch = 0;  // bytes from one row to the next
    void* Bits = nullptr;
};

struct SurfaceDesc {
    Format format = Format::Unknown;
    uint32_t Width = 0;
    uint32_t Height = 0;
};

struct DisplayMode {
    Format format = Format::Unknown;  // the software adapter shows X8R8G8B8 frames
};

// The pixel routines a device draws with: the fastest the processor has, or
// one kind (to compare them); a kind the processor lacks gives the next
// simpler one. All draw the same picture.
enum class PixelRoutines : uint8_t { Fastest, OnePixel, Sse2, Avx2 };

struct PresentParameters {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    Format BackBufferFormat = Format::Unknown;  // Unknown or X8R8G8B8
    uint32_t BackBufferCount = 0;
    uint32_t MultiSampleType = 0;
    uint32_t SwapEffect = 0;
    PresentSink* DeviceSink = nullptr;  // where Present shows frames unless told otherwise
    bool Windowed = false;
    bool EnableAutoDepthStencil = false;
    Format AutoDepthStencilFormat = Format::Unknown;  // D16
    uint32_t Flags = 0;
    uint32_t RefreshRate = 0;
    uint32_t PresentationInterval = 0;
    uint32_t RasterThreads = 0;  // threads that draw; 0: one per processor
    PixelRoutines Routines = PixelRoutines::Fastest;
};

// Largest back-buffer and texture side the device takes.
constexpr uint32_t kMaxSurfaceSide = 4096;

// Names of states and values for call traces ("ZENABLE", "MODULATE").
const char* RenderStateName(uint32_t state);
const char* StageStateName(uint32_t state);

}  // namespace d3d8
