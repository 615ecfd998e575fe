// The span routines of the state combinations the engine draws with, several
// pixels at a time: one template over a set of vector operations `V` (four
// or eight lanes), instantiated once per instruction set in a file of its own
// (PixelLanesSse2.cpp, PixelLanesAvx2.cpp), each built for that set.
//
// Every lane does the same float operations in the same order as the
// one-pixel routine of PixelPipeline.cpp (no fused multiply-add, the same
// division), and the integer steps are exact, so both draw the same picture.
// Bilinear weights are summed in float: every product and partial sum is a
// whole number below 2^24, so the sums are exact.
//
// Only templates and constants live here, so that nothing built for one
// instruction set is shared with a file built for another.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/d3d8/PixelPipeline.h"

namespace d3d8 {

// What a lane routine is made for: depth test less-or-equal (else none),
// texture filter, texture alpha modulated into the diffuse alpha (else the
// diffuse alpha alone), blending source alpha over the back buffer (else
// none). Colour is the diffuse colour modulated by the texel.
enum LaneFilter : int { kLaneNoTexture = 0, kLanePoint = 1, kLaneLinear = 2 };
constexpr int kLaneRoutines = 32;
constexpr int LaneRoutineIndex(bool depth, int filter, bool alphaModulate, bool blend) {
    return (depth ? 1 : 0) | filter << 1 | (alphaModulate ? 8 : 0) | (blend ? 16 : 0);
}

namespace lanes {

template <class V>
struct Attributes {
    typename V::F start[kAttributes];
    typename V::F step[kAttributes];
};

// start + step × i, as the one-pixel routine has it.
template <class V>
inline typename V::F At(const Attributes<V>& a, int k, typename V::F i) {
    return V::Add(a.start[k], V::Mul(a.step[k], i));
}

// Rounds to nearest (halves up) and holds to 0..255; NaN gives 0.
template <class V>
inline typename V::I ToByte(typename V::F v) {
    v = V::Min(V::Max(v, V::Set(0.0f)), V::Set(255.0f));
    return V::Truncate(V::Add(v, V::Set(0.5f)));
}

// x / 255 for 0 ≤ x < 65535.
template <class V>
inline typename V::I Div255(typename V::I x) {
    return V::ShiftRight(V::Add(V::Add(x, V::Set(1)), V::ShiftRight(x, 8)), 8);
}

// a × b / 255 rounded to nearest, for bytes a, b.
template <class V>
inline typename V::I Modulate(typename V::I a, typename V::I b) {
    return Div255<V>(V::Add(V::MulLow16(a, b), V::Set(127)));
}

template <class V>
inline typename V::I Channel(typename V::I c, int shift) {
    return V::And(V::ShiftRight(c, shift), V::Set(255));
}

// A texel coordinate held where float and int32 are exact (else 0).
template <class V>
inline typename V::F Held(typename V::F v) {
    return V::And(V::And(V::Greater(v, V::Set(-4.0e6f)), V::Less(v, V::Set(4.0e6f))), v);
}

// floor(v) of a held coordinate.
template <class V>
inline typename V::I Floor(typename V::F v) {
    const typename V::I i = V::Truncate(v);
    return V::Add(i, V::AsInt(V::Less(v, V::ToFloat(i))));
}

// The texel under (u, v) of a wrapped texture: floor(u × width).
template <class V>
inline typename V::I SamplePoint(const PixelState& s, typename V::F u, typename V::F v,
                                 typename V::Count widthShift) {
    const typename V::I x =
        V::And(Floor<V>(Held<V>(V::Mul(u, V::Set(static_cast<float>(s.texWidth))))),
               V::Set(s.texWidth - 1));
    const typename V::I y =
        V::And(Floor<V>(Held<V>(V::Mul(v, V::Set(static_cast<float>(s.texHeight))))),
               V::Set(s.texHeight - 1));
    return V::Gather(s.texels, V::Add(V::ShiftLeftBy(y, widthShift), x));
}

// Bilinear sample of a wrapped texture, channel by channel (red, green, blue,
// alpha): the four texels around u × width − 0.5, v × height − 0.5, weights
// in 1/256, the sum rounded to nearest.
template <class V>
inline void SampleLinear(const PixelState& s, typename V::F u, typename V::F v,
                         typename V::Count widthShift, typename V::I (&out)[4]) {
    using F = typename V::F;
    using I = typename V::I;
    const F fu = Held<V>(V::Sub(V::Mul(u, V::Set(static_cast<float>(s.texWidth))), V::Set(0.5f)));
    const F fv = Held<V>(V::Sub(V::Mul(v, V::Set(static_cast<float>(s.texHeight))), V::Set(0.5f)));
    const I iu = Floor<V>(fu), iv = Floor<V>(fv);
    const F wu = V::ToFloat(V::Truncate(V::Mul(V::Sub(fu, V::ToFloat(iu)), V::Set(256.0f))));
    const F wv = V::ToFloat(V::Truncate(V::Mul(V::Sub(fv, V::ToFloat(iv)), V::Set(256.0f))));
    const I maskU = V::Set(s.texWidth - 1), maskV = V::Set(s.texHeight - 1);
    const I x0 = V::And(iu, maskU), x1 = V::And(V::Add(iu, V::Set(1)), maskU);
    const I y0 = V::ShiftLeftBy(V::And(iv, maskV), widthShift);
    const I y1 = V::ShiftLeftBy(V::And(V::Add(iv, V::Set(1)), maskV), widthShift);
    const I c00 = V::Gather(s.texels, V::Add(y0, x0)), c10 = V::Gather(s.texels, V::Add(y0, x1));
    const I c01 = V::Gather(s.texels, V::Add(y1, x0)), c11 = V::Gather(s.texels, V::Add(y1, x1));
    const F one = V::Set(256.0f);
    const F w00 = V::Mul(V::Sub(one, wu), V::Sub(one, wv)), w10 = V::Mul(wu, V::Sub(one, wv));
    const F w01 = V::Mul(V::Sub(one, wu), wv), w11 = V::Mul(wu, wv);
    constexpr int kShift[4] = {16, 8, 0, 24};
    for (int k = 0; k < 4; ++k) {
        const int shift = kShift[k];
        const F sum =
            V::Add(V::Add(V::Mul(V::ToFloat(Channel<V>(c00, shift)), w00),
                          V::Mul(V::ToFloat(Channel<V>(c10, shift)), w10)),
                   V::Add(V::Mul(V::ToFloat(Channel<V>(c01, shift)), w01),
                          V::Mul(V::ToFloat(Channel<V>(c11, shift)), w11)));
        out[k] = V::Truncate(V::Mul(V::Add(sum, V::Set(32768.0f)), V::Set(1.0f / 65536.0f)));
    }
}

template <class V, bool kDepth, int kFilter, bool kAlphaModulate, bool kBlend>
void ShadeLanes(const Span& span, const PixelState& s, const RenderTarget& target) {
    using F = typename V::F;
    using I = typename V::I;
    constexpr int kLanes = V::kLanes;
    uint32_t* const colourRow = target.colour + static_cast<size_t>(span.y) * target.width;
    uint16_t* const depthRow =
        kDepth ? target.depth + static_cast<size_t>(span.y) * target.width : nullptr;
    Attributes<V> a;
    for (int k = 0; k < kAttributes; ++k) {
        a.start[k] = V::Set(span.start[k]);
        a.step[k] = V::Set(span.step[k]);
    }
    int widthShift = 0;
    while ((1 << widthShift) < s.texWidth) ++widthShift;
    const typename V::Count shift = V::ShiftCount(widthShift);
    const bool zWrite = s.zWrite;
    for (int32_t x = span.x0; x <= span.x1; x += kLanes) {
        const int32_t count = span.x1 - x + 1 < kLanes ? span.x1 - x + 1 : kLanes;
        // A short group works on copies, so that no pixel past the span is touched.
        uint32_t colourCopy[kLanes] = {};
        uint16_t depthCopy[kLanes] = {};
        uint32_t* colour = colourRow + x;
        uint16_t* depth = kDepth ? depthRow + x : nullptr;
        if (count < kLanes) {
            for (int k = 0; k < count; ++k) {
                colourCopy[k] = colour[k];
                if constexpr (kDepth) depthCopy[k] = depth[k];
            }
            colour = colourCopy;
            depth = depthCopy;
        }
        const F i = V::Add(V::Set(static_cast<float>(x - span.x0)), V::Ramp());
        I pass = V::Set(-1), z = V::Set(0), oldDepth = V::Set(0);
        if constexpr (kDepth) {
            F zf = V::Min(V::Max(At<V>(a, 1, i), V::Set(0.0f)), V::Set(1.0f));
            z = V::Truncate(V::Add(V::Mul(zf, V::Set(65535.0f)), V::Set(0.5f)));
            oldDepth = V::LoadDepth(depth);
            pass = V::Not(V::GreaterInt(z, oldDepth));
            if (V::None(pass)) continue;
        }
        const F w = V::Div(V::Set(1.0f), At<V>(a, 0, i));
        I c[4] = {ToByte<V>(V::Mul(At<V>(a, 2, i), w)), ToByte<V>(V::Mul(At<V>(a, 3, i), w)),
                  ToByte<V>(V::Mul(At<V>(a, 4, i), w)), ToByte<V>(V::Mul(At<V>(a, 5, i), w))};
        if constexpr (kFilter != kLaneNoTexture) {
            const F u = V::Mul(At<V>(a, 6, i), w), v = V::Mul(At<V>(a, 7, i), w);
            I t[4];
            if constexpr (kFilter == kLaneLinear) {
                SampleLinear<V>(s, u, v, shift, t);
            } else {
                const I texel = SamplePoint<V>(s, u, v, shift);
                t[0] = Channel<V>(texel, 16), t[1] = Channel<V>(texel, 8);
                t[2] = Channel<V>(texel, 0), t[3] = V::ShiftRight(texel, 24);
            }
            for (int k = 0; k < 3; ++k) c[k] = Modulate<V>(c[k], t[k]);
            if constexpr (kAlphaModulate) c[3] = Modulate<V>(c[3], t[3]);
        }
        const I back = kBlend || kDepth ? V::Load(colour) : V::Set(0);
        if constexpr (kBlend) {
            // (s × a + d × (255 − a) + 127) / 255: at most 255, exact for a = 255.
            const I inverse = V::Sub(V::Set(255), c[3]);
            for (int k = 0; k < 3; ++k) {
                const I d = Channel<V>(back, 16 - 8 * k);
                c[k] = Div255<V>(V::Add(V::Add(V::MulLow16(c[k], c[3]), V::MulLow16(d, inverse)),
                                        V::Set(127)));
            }
        }
        I out = V::Or(V::Or(V::Set(static_cast<int32_t>(0xFF000000u)), V::ShiftLeft(c[0], 16)),
                      V::Or(V::ShiftLeft(c[1], 8), c[2]));
        if constexpr (kDepth) {
            out = V::Select(pass, out, back);
            if (zWrite) V::StoreDepth(depth, V::Select(pass, z, oldDepth));
        }
        V::Store(colour, out);
        if (count < kLanes) {
            for (int k = 0; k < count; ++k) {
                colourRow[x + k] = colourCopy[k];
                if constexpr (kDepth) depthRow[x + k] = depthCopy[k];
            }
        }
    }
}

// Null for the unused filter number 3.
template <class V, int kIndex>
constexpr SpanRoutine LaneRoutine() {
    if constexpr ((kIndex >> 1 & 3) == 3) {
        return nullptr;
    } else {
        return &ShadeLanes<V, (kIndex & 1) != 0, (kIndex >> 1 & 3), (kIndex & 8) != 0,
                           (kIndex & 16) != 0>;
    }
}

template <class V, int... kIndex>
struct LaneTable {
    static constexpr SpanRoutine kRoutines[sizeof...(kIndex)] = {LaneRoutine<V, kIndex>()...};
};

}  // namespace lanes

// The routine of LaneRoutineIndex(...) for each instruction set (null for
// filter number 3). Avx2LaneRoutine may only run where the processor has AVX2.
SpanRoutine Sse2LaneRoutine(int index);
SpanRoutine Avx2LaneRoutine(int index);
}  // namespace d3d8
