#include "platform/d3d8/PixelPipeline.h"

#include <cmath>

#include "platform/d3d8/D3D8Types.h"
#include "platform/d3d8/PixelLanes.h"

namespace d3d8 {
namespace {

struct Rgba {
    int32_t r, g, b, a;
};

// One row of a triangle: pixels x0..x1 (inclusive) of row y, the attributes'
// values at x0 and their change from one pixel to the next.
struct Span {
    int32_t x0 = 0, x1 = -1, y = 0;
    float start[kAttributes] = {};
    float step[kAttributes] = {};
};

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// Rounds to nearest (halves up) and clamps to 0..255; NaN gives 0.
inline int32_t ToByte(float v) {
    v = v > 0.0f ? v : 0.0f;
    v = v < 255.0f ? v : 255.0f;
    return static_cast<int32_t>(v + 0.5f);
}

inline uint32_t ToDepth(float z) {
    z = z > 0.0f ? z : 0.0f;
    z = z < 1.0f ? z : 1.0f;
    return static_cast<uint32_t>(z * 65535.0f + 0.5f);
}

// floor for |v| below 2^31.
inline int32_t Floor(float v) {
    const int32_t i = static_cast<int32_t>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

inline bool Compare(uint32_t func, uint32_t value, uint32_t reference) {
    switch (func) {
        case kCmpNever:
            return false;
        case kCmpLess:
            return value < reference;
        case kCmpEqual:
            return value == reference;
        case kCmpLessEqual:
            return value <= reference;
        case kCmpGreater:
            return value > reference;
        case kCmpNotEqual:
            return value != reference;
        case kCmpGreaterEqual:
            return value >= reference;
        default:
            return true;
    }
}

inline Rgba Unpack(uint32_t c) {
    return {static_cast<int32_t>(c >> 16 & 255), static_cast<int32_t>(c >> 8 & 255),
            static_cast<int32_t>(c & 255), static_cast<int32_t>(c >> 24)};
}

// Channels are 0..255: unsigned arithmetic lets the division by 255 be a
// multiplication and a shift.
inline int32_t Modulate(int32_t a, int32_t b) {
    return static_cast<int32_t>((static_cast<uint32_t>(a * b) + 127u) / 255u);
}

// A texture coordinate in texels, kept where float and int32 are exact.
inline float TexelCoordinate(float t) { return t > -4.0e6f && t < 4.0e6f ? t : 0.0f; }

inline int32_t Address(int32_t i, int32_t size, bool wrap) {
    if (wrap) return i & (size - 1);
    return i < 0 ? 0 : (i >= size ? size - 1 : i);
}

uint32_t SamplePoint(const PixelState& s, float u, float v) {
    const int32_t x = Floor(TexelCoordinate(u * s.texWidth));
    const int32_t y = Floor(TexelCoordinate(v * s.texHeight));
    return s
        .texels[Address(y, s.texHeight, s.wrapV) * s.texWidth + Address(x, s.texWidth, s.wrapU)];
}

// Red and blue of a texel in two 32-bit lanes, alpha and green in two more, so
// that one multiplication weighs two channels.
inline uint64_t RedBlue(uint32_t c) { return (c & 0xFFu) | uint64_t{c & 0xFF0000u} << 16; }
inline uint64_t AlphaGreen(uint32_t c) { return (c >> 8 & 0xFFu) | uint64_t{c >> 24} << 32; }

template <bool kWrapped = false>
[[gnu::always_inline]] inline uint32_t SampleLinear(const PixelState& s, float u, float v) {
    const float fu = TexelCoordinate(u * s.texWidth - 0.5f);
    const float fv = TexelCoordinate(v * s.texHeight - 0.5f);
    const int32_t iu = Floor(fu), iv = Floor(fv);
    const uint32_t wu = static_cast<uint32_t>((fu - static_cast<float>(iu)) * 256.0f);  // 0..256
    const uint32_t wv = static_cast<uint32_t>((fv - static_cast<float>(iv)) * 256.0f);
    const bool wrapU = kWrapped || s.wrapU, wrapV = kWrapped || s.wrapV;
    const int32_t x0 = Address(iu, s.texWidth, wrapU), x1 = Address(iu + 1, s.texWidth, wrapU);
    const int32_t y0 = Address(iv, s.texHeight, wrapV) * s.texWidth;
    const int32_t y1 = Address(iv + 1, s.texHeight, wrapV) * s.texWidth;
    const uint32_t c00 = s.texels[y0 + x0], c10 = s.texels[y0 + x1];
    const uint32_t c01 = s.texels[y1 + x0], c11 = s.texels[y1 + x1];
    const uint64_t w00 = (256 - wu) * (256 - wv), w10 = wu * (256 - wv);
    const uint64_t w01 = (256 - wu) * wv, w11 = wu * wv;
    // Each lane sums at most 255 × 65536: no carry into the next lane.
    constexpr uint64_t kHalf = 0x0000800000008000ull;
    const uint64_t rb =
        RedBlue(c00) * w00 + RedBlue(c10) * w10 + RedBlue(c01) * w01 + RedBlue(c11) * w11 + kHalf;
    const uint64_t ag = AlphaGreen(c00) * w00 + AlphaGreen(c10) * w10 + AlphaGreen(c01) * w01 +
                        AlphaGreen(c11) * w11 + kHalf;
    return static_cast<uint32_t>((rb >> 16 & 0xFF) | (rb >> 32 & 0xFF0000) | (ag >> 8 & 0xFF00) |
                                 (ag >> 24 & 0xFF000000u));
}

inline int32_t Operate(uint32_t op, int32_t diffuse, int32_t a1, int32_t a2) {
    switch (op) {
        case kTopModulate:
            return Modulate(a1, a2);
        case kTopSelectArg1:
            return a1;
        case kTopSelectArg2:
            return a2;
        default:
            return diffuse;  // stage 0 disabled: the diffuse colour goes on
    }
}

// Stage 0's colour and alpha operations on the diffuse colour and the texel.
inline Rgba Combine(const PixelState& s, const Rgba& d, const Rgba& t) {
    const Rgba& c1 = s.colourArg1 == kTaTexture ? t : d;
    const Rgba& c2 = s.colourArg2 == kTaTexture ? t : d;
    const Rgba& a1 = s.alphaArg1 == kTaTexture ? t : d;
    const Rgba& a2 = s.alphaArg2 == kTaTexture ? t : d;
    return {Operate(s.colourOp, d.r, c1.r, c2.r), Operate(s.colourOp, d.g, c1.g, c2.g),
            Operate(s.colourOp, d.b, c1.b, c2.b), Operate(s.alphaOp, d.a, a1.a, a2.a)};
}

inline int32_t Factor(uint32_t blend, int32_t srcAlpha) {
    switch (blend) {
        case kBlendZero:
        case kBlendInvDestAlpha:  // the back buffer's alpha is always 255
            return 0;
        case kBlendSrcAlpha:
            return srcAlpha;
        case kBlendInvSrcAlpha:
            return 255 - srcAlpha;
        default:
            return 255;  // one, destination alpha
    }
}

inline int32_t BlendChannel(int32_t s, int32_t fs, int32_t d, int32_t fd) {
    const uint32_t v = (static_cast<uint32_t>(s * fs + d * fd) + 127u) / 255u;
    return v > 255u ? 255 : static_cast<int32_t>(v);
}

// The stage's work as the engine sets it: colour = diffuse × texel, alpha =
// diffuse alpha (× texel alpha when `alphaModulate`), and blending with
// source alpha, inverse source alpha.
struct Plan {
    bool modulate;       // colour is diffuse × texture (either order)
    bool alphaModulate;  // alpha is diffuse alpha × texture alpha (either order)
    bool alphaDiffuse;   // alpha is the diffuse alpha
    bool sourceOver;     // blending is source alpha over the back buffer
};

Plan MakePlan(const PixelState& s) {
    auto pair = [](uint8_t op, uint8_t a1, uint8_t a2) {
        const bool d1 = a1 != kTaTexture, d2 = a2 != kTaTexture;
        return op == kTopModulate && d1 != d2;
    };
    const bool diffuseAlpha = s.alphaOp == kTopDisable ||
                              (s.alphaOp == kTopSelectArg1 && s.alphaArg1 != kTaTexture) ||
                              (s.alphaOp == kTopSelectArg2 && s.alphaArg2 != kTaTexture);
    return {pair(s.colourOp, s.colourArg1, s.colourArg2), pair(s.alphaOp, s.alphaArg1, s.alphaArg2),
            diffuseAlpha, s.srcBlend == kBlendSrcAlpha && s.destBlend == kBlendInvSrcAlpha};
}

[[gnu::always_inline]] inline Rgba Stage(const PixelState& s, const Plan& plan, const Rgba& d,
                                         uint32_t texel) {
    const Rgba t = Unpack(texel);
    if (plan.modulate && (plan.alphaModulate || plan.alphaDiffuse)) {
        return {Modulate(d.r, t.r), Modulate(d.g, t.g), Modulate(d.b, t.b),
                plan.alphaModulate ? Modulate(d.a, t.a) : d.a};
    }
    return Combine(s, d, t);
}

inline uint32_t Blended(const PixelState& s, const Plan& plan, const Rgba& c, uint32_t back) {
    const Rgba dst = Unpack(back);
    int32_t fs = c.a, fd = 255 - c.a;
    if (!plan.sourceOver) fs = Factor(s.srcBlend, c.a), fd = Factor(s.destBlend, c.a);
    return 0xFF000000u | static_cast<uint32_t>(BlendChannel(c.r, fs, dst.r, fd)) << 16 |
           static_cast<uint32_t>(BlendChannel(c.g, fs, dst.g, fd)) << 8 |
           static_cast<uint32_t>(BlendChannel(c.b, fs, dst.b, fd));
}

// kCommon: the state the engine draws its scenes with (depth test less or
// equal, wrapped texture, no alpha test, colour and alpha modulated or
// diffuse alpha), with those tests taken out of the loop.
template <bool kDepth, bool kTexture, bool kLinear, bool kBlend, bool kCommon = false>
void Shade(const Span& span, const PixelState& s, const RenderTarget& target) {
    uint32_t* colour = target.colour + static_cast<size_t>(span.y) * target.width;
    uint16_t* depth = kDepth ? target.depth + static_cast<size_t>(span.y) * target.width : nullptr;
    const float* a = span.start;
    const float* d = span.step;
    const Plan plan = MakePlan(s);
    for (int32_t x = span.x0; x <= span.x1; ++x) {
        const float i = static_cast<float>(x - span.x0);
        uint32_t z = 0;
        if constexpr (kDepth) {
            z = ToDepth(a[1] + d[1] * i);
            if (kCommon ? z > depth[x] : !Compare(s.zFunc, z, depth[x])) continue;
        }
        const float w = 1.0f / (a[0] + d[0] * i);
        const Rgba diffuse{ToByte((a[2] + d[2] * i) * w), ToByte((a[3] + d[3] * i) * w),
                           ToByte((a[4] + d[4] * i) * w), ToByte((a[5] + d[5] * i) * w)};
        uint32_t texel = kOpaqueWhite;
        if constexpr (kTexture) {
            const float u = (a[6] + d[6] * i) * w, v = (a[7] + d[7] * i) * w;
            texel = kLinear ? SampleLinear<kCommon>(s, u, v) : SamplePoint(s, u, v);
        }
        const Rgba out = Stage(s, plan, diffuse, texel);
        if (!kCommon && s.alphaTest &&
            !Compare(s.alphaFunc, static_cast<uint32_t>(out.a), s.alphaRef)) {
            continue;
        }
        if constexpr (kBlend) {
            // Source over with full alpha gives the source exactly: (s × 255 +
            // 127) / 255 = s.
            colour[x] = plan.sourceOver && out.a == 255
                            ? 0xFF000000u | static_cast<uint32_t>(out.r) << 16 |
                                  static_cast<uint32_t>(out.g) << 8 | static_cast<uint32_t>(out.b)
                            : Blended(s, plan, out, colour[x]);
        } else {
            colour[x] = 0xFF000000u | static_cast<uint32_t>(out.r) << 16 |
                        static_cast<uint32_t>(out.g) << 8 | static_cast<uint32_t>(out.b);
        }
        if constexpr (kDepth) {
            if (s.zWrite) depth[x] = static_cast<uint16_t>(z);
        }
    }
}

// The spans of a batch, one after the other.
template <bool kDepth, bool kTexture, bool kLinear, bool kBlend, bool kCommon = false>
void ShadeRows(const SpanBatch& batch, const PixelState& s, const RenderTarget& target) {
    const AttributePlanes& p = *batch.planes;
    Span span;
    for (int a = 0; a < kAttributes; ++a) span.step[a] = static_cast<float>(p.dx[a]);
    for (int r = 0; r < batch.count; ++r) {
        const SpanRow& row = batch.rows[r];
        span.x0 = row.x0;
        span.x1 = row.x1;
        span.y = row.y;
        const double dx = static_cast<double>(row.x0) - p.originX, dy = row.y - p.originY;
        for (int a = 0; a < kAttributes; ++a) {
            span.start[a] = static_cast<float>(p.value[a] + p.dx[a] * dx + p.dy[a] * dy);
        }
        Shade<kDepth, kTexture, kLinear, kBlend, kCommon>(span, s, target);
    }
}

template <int kIndex>
constexpr SpanRoutine ShadeVariant() {
    return &ShadeRows<(kIndex & 1) != 0, (kIndex & 2) != 0, (kIndex & 4) != 0, (kIndex & 8) != 0>;
}

constexpr SpanRoutine kShadeVariants[16] = {
    ShadeVariant<0>(),  ShadeVariant<1>(),  ShadeVariant<2>(),  ShadeVariant<3>(),
    ShadeVariant<4>(),  ShadeVariant<5>(),  ShadeVariant<6>(),  ShadeVariant<7>(),
    ShadeVariant<8>(),  ShadeVariant<9>(),  ShadeVariant<10>(), ShadeVariant<11>(),
    ShadeVariant<12>(), ShadeVariant<13>(), ShadeVariant<14>(), ShadeVariant<15>()};

SpanRoutine OnePixelRoutine(const PixelState& state, bool depthBuffer, bool linear) {
    const bool depth = state.zEnable && depthBuffer;
    const bool texture = SamplesTexture(state);
    const Plan plan = MakePlan(state);
    if (depth && texture && linear && state.blend && state.zFunc == kCmpLessEqual && state.wrapU &&
        state.wrapV && !state.alphaTest && plan.modulate &&
        (plan.alphaModulate || plan.alphaDiffuse)) {
        return &ShadeRows<true, true, true, true, true>;
    }
    return kShadeVariants[(depth ? 1 : 0) | (texture ? 2 : 0) | (linear ? 4 : 0) |
                          (state.blend ? 8 : 0)];
}

#ifdef D3D8_PIXEL_LANES
PixelRoutines Available(PixelRoutines kind) {
    static const bool avx2 = __builtin_cpu_supports("avx2") != 0;
    if (kind == PixelRoutines::Fastest || kind == PixelRoutines::Avx2) {
        return avx2 ? PixelRoutines::Avx2 : PixelRoutines::Sse2;
    }
    return kind;
}

// The lane routine for the state with the given sampling, or null when the
// state is not one the lane routines draw.
SpanRoutine LaneRoutineFor(const PixelState& state, bool depthBuffer, bool linear,
                           PixelRoutines kind) {
    const Plan plan = MakePlan(state);
    const bool depth = state.zEnable && depthBuffer;
    const bool texture = SamplesTexture(state);
    if (state.alphaTest || !plan.modulate || !(plan.alphaModulate || plan.alphaDiffuse) ||
        (depth && state.zFunc != kCmpLessEqual) || (state.blend && !plan.sourceOver) ||
        (texture && !(state.wrapU && state.wrapV))) {
        return nullptr;
    }
    const int filter = !texture ? kLaneNoTexture : linear ? kLaneLinear : kLanePoint;
    const int index = LaneRoutineIndex(depth, filter, texture && plan.alphaModulate, state.blend);
    return kind == PixelRoutines::Avx2 ? Avx2LaneRoutine(index) : Sse2LaneRoutine(index);
}
#endif

}  // namespace

bool SamplesTexture(const PixelState& s) {
    if (s.texels == nullptr || s.colourOp == kTopDisable) return false;
    const bool colour = (s.colourOp == kTopModulate &&
                         (s.colourArg1 == kTaTexture || s.colourArg2 == kTaTexture)) ||
                        (s.colourOp == kTopSelectArg1 && s.colourArg1 == kTaTexture) ||
                        (s.colourOp == kTopSelectArg2 && s.colourArg2 == kTaTexture);
    const bool alpha =
        (s.alphaOp == kTopModulate && (s.alphaArg1 == kTaTexture || s.alphaArg2 == kTaTexture)) ||
        (s.alphaOp == kTopSelectArg1 && s.alphaArg1 == kTaTexture) ||
        (s.alphaOp == kTopSelectArg2 && s.alphaArg2 == kTaTexture);
    return colour || alpha;
}

void ChooseRoutines(PixelState& state, bool depthBuffer, PixelRoutines kind) {
    for (int linear = 0; linear < 2; ++linear) {
        state.routines[linear] = OnePixelRoutine(state, depthBuffer, linear != 0);
#ifdef D3D8_PIXEL_LANES
        kind = Available(kind);
        if (kind == PixelRoutines::OnePixel) continue;
        if (SpanRoutine lanes = LaneRoutineFor(state, depthBuffer, linear != 0, kind)) {
            state.routines[linear] = lanes;
        }
#else
        (void)kind;
#endif
    }
}

void ShadeSpans(const SpanBatch& batch, const PixelState& state, const RenderTarget& target) {
    const SpanRoutine routine = state.routines[batch.linear ? 1 : 0];
    (routine != nullptr ? routine : OnePixelRoutine(state, target.depth != nullptr, batch.linear))(
        batch, state, target);
}

}  // namespace d3d8
