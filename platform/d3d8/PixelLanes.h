// The routines of the state combinations the engine draws with, several
// pixels at a time: one template over a set of vector operations `V` (four
// or eight lanes), instantiated once per instruction set in a file of its own
// (PixelLanesSse2.cpp, PixelLanesAvx2.cpp), each built for that set.
//
// Every lane does the same float operations in the same order as the
// one-pixel routine of PixelPipeline.cpp (no fused multiply-add, the same
// division), and the integer steps are exact, so both draw the same picture.
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

// Rounds to nearest (halves up) and holds to 0..255; NaN gives 0.
template <class V>
inline typename V::I ToByte(typename V::F v) {
    v = V::Min(V::Max(v, V::Set(0.0f)), V::Set(255.0f));
    return V::Truncate(V::Add(v, V::Set(0.5f)));
}

// x / 255 for lanes 0 ≤ x < 65536: (x × 0x8081) >> 23, exact in that range.
template <class V>
inline typename V::I Div255(typename V::I x) {
    return V::ShiftRight(V::MulHigh16(x, V::Set(0x8081)), 7);
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

// floor(v) of a held coordinate, as an integer.
template <class V>
inline typename V::I Floor(typename V::F v) {
    return V::Truncate(V::Floor(v));
}

// The texture as the lane routines read it, taken out of the state once a
// batch (stores into the target could otherwise alias it).
template <class V>
struct Sampler {
    explicit Sampler(const PixelState& s)
        : texels(s.texels),
          wrapped(s.wrappedTexels),
          width(V::Set(static_cast<float>(s.texWidth))),
          height(V::Set(static_cast<float>(s.texHeight))),
          maskU(V::Set(s.texWidth - 1)),
          maskV(V::Set(s.texHeight - 1)) {
        int n = 0;
        while ((1 << n) < s.texWidth) ++n;
        shift = V::ShiftCount(n);
        wrappedPitch = s.texWidth + 1;
    }
    const uint32_t* texels;
    const uint32_t* wrapped;
    typename V::F width, height;
    typename V::I maskU, maskV;
    typename V::Count shift;
    int32_t wrappedPitch;
};

// The texel under (u, v) of a wrapped texture: floor(u × width).
template <class V>
inline typename V::I SamplePoint(const Sampler<V>& t, typename V::F u, typename V::F v) {
    const typename V::I x = V::And(Floor<V>(Held<V>(V::Mul(u, t.width))), t.maskU);
    const typename V::I y = V::And(Floor<V>(Held<V>(V::Mul(v, t.height))), t.maskV);
    return V::Gather(t.texels, V::Add(V::ShiftLeftBy(y, t.shift), x));
}

// Bilinear sample of a wrapped texture, channel by channel (red, green, blue,
// alpha): the four texels around u × width − 0.5, v × height − 0.5 weighed
// by wu, wv in 1/256, the sum rounded to nearest. The two texels of a row
// are neighbours in the wrapped copy, and so are the two rows. The weighing
// is done in two steps, exactly: along u, two channels at a time in 16-bit
// halves (h = c0 × (256 − wu) + c1 × wu ≤ 65280), then along v as a
// multiply-add of 16-bit pairs, h − 32768 being a signed 16-bit number:
// h0 × (256 − wv) + h1 × wv = (h0 − 32768)(256 − wv) + (h1 − 32768) wv + 2^23.
template <class V>
inline void SampleLinear(const Sampler<V>& t, typename V::F u, typename V::F v,
                         typename V::I (&out)[4]) {
    using F = typename V::F;
    using I = typename V::I;
    const F fu = Held<V>(V::Sub(V::Mul(u, t.width), V::Set(0.5f)));
    const F fv = Held<V>(V::Sub(V::Mul(v, t.height), V::Set(0.5f)));
    const F floorU = V::Floor(fu), floorV = V::Floor(fv);
    const I iu = V::Truncate(floorU), iv = V::Truncate(floorV);
    const I wu = V::Truncate(V::Mul(V::Sub(fu, floorU), V::Set(256.0f)));  // 0..255
    const I wv = V::Truncate(V::Mul(V::Sub(fv, floorV), V::Set(256.0f)));
    const I y0 = V::And(iv, t.maskV);
    const I at = V::Add(V::Add(V::ShiftLeftBy(y0, t.shift), y0), V::And(iu, t.maskU));
    I c00, c10, c01, c11;
    V::GatherSquares(t.wrapped, t.wrappedPitch, at, c00, c10, c01, c11);
    // Along u: red and blue, alpha and green, in the two halves of a lane.
    const I pairs = V::Set(0x00FF00FF);
    const I right = V::Or(wu, V::ShiftLeft(wu, 16));
    const I left = V::Sub(V::Set(0x01000100), right);
    auto alongU = [&](I a, I b) {
        return V::Add(V::MulLow16(V::And(a, pairs), left), V::MulLow16(V::And(b, pairs), right));
    };
    auto alongUHigh = [&](I a, I b) {
        return V::Add(V::MulLow16(V::And(V::ShiftRight(a, 8), pairs), left),
                      V::MulLow16(V::And(V::ShiftRight(b, 8), pairs), right));
    };
    const I rb0 = alongU(c00, c10), rb1 = alongU(c01, c11);
    const I ag0 = alongUHigh(c00, c10), ag1 = alongUHigh(c01, c11);
    // Along v: (h0, h1) pairs of each channel against (256 − wv, wv).
    const I weights = V::Or(V::Sub(V::Set(256), wv), V::ShiftLeft(wv, 16));
    const I low = V::Set(0xFFFF), bias = V::Set(static_cast<int32_t>(0x80008000u));
    const I rounding = V::Set((1 << 23) + (1 << 15));
    auto alongV = [&](I h) {
        return V::ShiftRight(V::Add(V::MulAddPairs(V::Xor(h, bias), weights), rounding), 16);
    };
    out[0] = alongV(V::Or(V::ShiftRight(rb0, 16), V::AndNot(low, rb1)));
    out[1] = alongV(V::Or(V::And(ag0, low), V::ShiftLeft(ag1, 16)));
    out[2] = alongV(V::Or(V::And(rb0, low), V::ShiftLeft(rb1, 16)));
    out[3] = alongV(V::Or(V::ShiftRight(ag0, 16), V::AndNot(low, ag1)));
}

// The spans of a batch, a group of V::kLanes pixels at a time.
template <class V, bool kDepth, int kFilter, bool kAlphaModulate, bool kBlend>
class LaneSpans {
  public:
    using F = typename V::F;
    using I = typename V::I;

    LaneSpans(const SpanBatch& batch, const PixelState& s)
        : planes_(*batch.planes),
          sampler_(s),
          zWrite_(s.zWrite),
          // Grey vertices (the engine's textured faces) give three equal colour
          // planes: one of them gives all three.
          grey_(Same(planes_.value) && Same(planes_.dx) && Same(planes_.dy)) {
        for (int k = 0; k < kAttributes; ++k) step_[k] = V::Set(static_cast<float>(planes_.dx[k]));
    }

    // Starts the span of `row`: the attributes at its first pixel.
    void Row(const SpanRow& row) {
        const double dx = static_cast<double>(row.x0) - planes_.originX;
        const double dy = row.y - planes_.originY;
        float start[kAttributes];
        for (int k = 0; k < kAttributes; ++k) {
            start[k] =
                static_cast<float>(planes_.value[k] + planes_.dx[k] * dx + planes_.dy[k] * dy);
        }
        for (int k = 0; k < kAttributes; ++k) start_[k] = V::Set(start[k]);
        x0_ = row.x0;
    }

    // The group of pixels from x on, at `colour` and `depth`; with kPart, only
    // its first `count` pixels (the others are rewritten as they are).
    template <bool kPart>
    [[gnu::always_inline]] inline void Group(int32_t x, uint32_t* colour, uint16_t* depth,
                                             int32_t count = V::kLanes) const {
        const F ramp = V::Ramp();
        const F i = V::Add(V::Set(static_cast<float>(x - x0_)), ramp);
        I pass = kPart ? V::AsInt(V::Less(ramp, V::Set(static_cast<float>(count)))) : V::Set(-1);
        I z = V::Set(0), oldDepth = V::Set(0);
        if constexpr (kDepth) {
            const F zf = V::Min(V::Max(At(1, i), V::Set(0.0f)), V::Set(1.0f));
            z = V::Truncate(V::Add(V::Mul(zf, V::Set(65535.0f)), V::Set(0.5f)));
            oldDepth = V::LoadDepth(depth);
            pass = V::AndNot(V::GreaterInt(z, oldDepth), pass);
            if (V::None(pass)) return;
        }
        const F w = V::Div(V::Set(1.0f), At(0, i));
        I c[4];
        c[0] = ToByte<V>(V::Mul(At(2, i), w));
        if (grey_) {
            c[1] = c[2] = c[0];
        } else {
            c[1] = ToByte<V>(V::Mul(At(3, i), w));
            c[2] = ToByte<V>(V::Mul(At(4, i), w));
        }
        c[3] = ToByte<V>(V::Mul(At(5, i), w));
        if constexpr (kFilter != kLaneNoTexture) {
            const F u = V::Mul(At(6, i), w), v = V::Mul(At(7, i), w);
            I t[4];
            if constexpr (kFilter == kLaneLinear) {
                SampleLinear<V>(sampler_, u, v, t);
            } else {
                const I texel = SamplePoint<V>(sampler_, u, v);
                t[0] = Channel<V>(texel, 16), t[1] = Channel<V>(texel, 8);
                t[2] = Channel<V>(texel, 0), t[3] = V::ShiftRight(texel, 24);
            }
            for (int k = 0; k < 3; ++k) c[k] = Modulate<V>(c[k], t[k]);
            if constexpr (kAlphaModulate) c[3] = Modulate<V>(c[3], t[3]);
        }
        const I back = kBlend || kDepth || kPart ? V::Load(colour) : V::Set(0);
        // (s × a + d × (255 − a) + 127) / 255: at most 255, and s itself where
        // a = 255, so that opaque groups need no blending.
        if (kBlend && !V::All(V::EqualInt(c[3], V::Set(255)))) {
            const I inverse = V::Sub(V::Set(255), c[3]);
            for (int k = 0; k < 3; ++k) {
                const I d = Channel<V>(back, 16 - 8 * k);
                c[k] = Div255<V>(
                    V::Add(V::Add(V::MulLow16(c[k], c[3]), V::MulLow16(d, inverse)), V::Set(127)));
            }
        }
        I out = V::Or(V::Or(V::Set(static_cast<int32_t>(0xFF000000u)), V::ShiftLeft(c[0], 16)),
                      V::Or(V::ShiftLeft(c[1], 8), c[2]));
        if constexpr (kDepth || kPart) out = V::Select(pass, out, back);
        if constexpr (kDepth) {
            if (zWrite_) V::StoreDepth(depth, V::Select(pass, z, oldDepth));
        }
        V::Store(colour, out);
    }

  private:
    // start + step × i, as the one-pixel routine has it.
    F At(int k, F i) const { return V::Add(start_[k], V::Mul(step_[k], i)); }
    static bool Same(const double (&plane)[kAttributes]) {
        return plane[2] == plane[3] && plane[2] == plane[4];
    }

    const AttributePlanes& planes_;
    F start_[kAttributes];
    F step_[kAttributes];
    Sampler<V> sampler_;
    int32_t x0_ = 0;
    bool zWrite_;
    bool grey_;
};

template <class V, bool kDepth, int kFilter, bool kAlphaModulate, bool kBlend>
void ShadeLanes(const SpanBatch& batch, const PixelState& s, const RenderTarget& target) {
    constexpr int kLanes = V::kLanes;
    LaneSpans<V, kDepth, kFilter, kAlphaModulate, kBlend> lanes(batch, s);
    for (int r = 0; r < batch.count; ++r) {
        const SpanRow& row = batch.rows[r];
        lanes.Row(row);
        uint32_t* const colour = target.colour + static_cast<size_t>(row.y) * target.width;
        uint16_t* const depth =
            kDepth ? target.depth + static_cast<size_t>(row.y) * target.width : nullptr;
        int32_t x = row.x0;
        for (; x + kLanes - 1 <= row.x1; x += kLanes) {
            lanes.template Group<false>(x, colour + x, kDepth ? depth + x : nullptr);
        }
        const int32_t count = row.x1 - x + 1;
        if (count <= 0) continue;
        // The last, short group: in place while it stays in the row (the thread
        // drawing the span draws its whole row), else on copies, so that no
        // pixel past the row is touched.
        if (x + kLanes <= target.width) {
            lanes.template Group<true>(x, colour + x, kDepth ? depth + x : nullptr, count);
            continue;
        }
        uint32_t colourCopy[kLanes] = {};
        uint16_t depthCopy[kLanes] = {};
        for (int k = 0; k < count; ++k) {
            colourCopy[k] = colour[x + k];
            if constexpr (kDepth) depthCopy[k] = depth[x + k];
        }
        lanes.template Group<true>(x, colourCopy, depthCopy, count);
        for (int k = 0; k < count; ++k) {
            colour[x + k] = colourCopy[k];
            if constexpr (kDepth) depth[x + k] = depthCopy[k];
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
