// The lane routines on four pixels at a time with SSE2, the x86-64 baseline.
#include <emmintrin.h>

#include <utility>

#include "platform/d3d8/PixelLanes.h"

namespace d3d8 {
namespace {

struct Sse2 {
    static constexpr int kLanes = 4;
    using F = __m128;
    using I = __m128i;
    using Count = __m128i;

    static F Set(float v) { return _mm_set1_ps(v); }
    static I Set(int32_t v) { return _mm_set1_epi32(v); }
    static F Ramp() { return _mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f); }
    static F Add(F a, F b) { return _mm_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm_div_ps(a, b); }
    // a > b ? a : b and a < b ? a : b, NaN giving b.
    static F Max(F a, F b) { return _mm_max_ps(a, b); }
    static F Min(F a, F b) { return _mm_min_ps(a, b); }
    static F Greater(F a, F b) { return _mm_cmpgt_ps(a, b); }
    static F Less(F a, F b) { return _mm_cmplt_ps(a, b); }
    static F And(F a, F b) { return _mm_and_ps(a, b); }
    static I AsInt(F v) { return _mm_castps_si128(v); }
    static I Truncate(F v) { return _mm_cvttps_epi32(v); }
    // floor(v) for |v| below 2^31.
    static F Floor(F v) {
        const F truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(v));
        return _mm_sub_ps(truncated, _mm_and_ps(_mm_cmplt_ps(v, truncated), _mm_set1_ps(1.0f)));
    }

    static I Add(I a, I b) { return _mm_add_epi32(a, b); }
    static I Sub(I a, I b) { return _mm_sub_epi32(a, b); }
    static I And(I a, I b) { return _mm_and_si128(a, b); }
    static I Or(I a, I b) { return _mm_or_si128(a, b); }
    static I Xor(I a, I b) { return _mm_xor_si128(a, b); }
    // ~a & b.
    static I AndNot(I a, I b) { return _mm_andnot_si128(a, b); }
    static I ShiftLeft(I a, int n) { return _mm_slli_epi32(a, n); }
    static I ShiftRight(I a, int n) { return _mm_srli_epi32(a, n); }
    static Count ShiftCount(int n) { return _mm_cvtsi32_si128(n); }
    static I ShiftLeftBy(I a, Count count) { return _mm_sll_epi32(a, count); }
    static I EqualInt(I a, I b) { return _mm_cmpeq_epi32(a, b); }
    static I GreaterInt(I a, I b) { return _mm_cmpgt_epi32(a, b); }
    // Products below 2^16 of values below 2^16.
    static I MulLow16(I a, I b) { return _mm_mullo_epi16(a, b); }
    // The high halves of the products of the unsigned 16-bit halves.
    static I MulHigh16(I a, I b) { return _mm_mulhi_epu16(a, b); }
    // a0 × b0 + a1 × b1 of the signed 16-bit halves of each lane.
    static I MulAddPairs(I a, I b) { return _mm_madd_epi16(a, b); }
    static I Select(I mask, I a, I b) {
        return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
    }
    static bool None(I mask) { return _mm_movemask_epi8(mask) == 0; }
    static bool All(I mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }

    static I Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const I*>(p)); }
    static void Store(uint32_t* p, I v) { _mm_storeu_si128(reinterpret_cast<I*>(p), v); }
    static I LoadDepth(const uint16_t* p) {
        return _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const I*>(p)),
                                  _mm_setzero_si128());
    }
    // Values 0..65535: the signed pack keeps their low 16 bits once they are
    // sign-extended from bit 15.
    static void StoreDepth(uint16_t* p, I v) {
        const I extended = _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);
        _mm_storel_epi64(reinterpret_cast<I*>(p), _mm_packs_epi32(extended, extended));
    }
    static I Gather(const uint32_t* base, I index) {
        alignas(16) uint32_t i[4];
        _mm_store_si128(reinterpret_cast<I*>(i), index);
        return _mm_setr_epi32(static_cast<int32_t>(base[i[0]]), static_cast<int32_t>(base[i[1]]),
                              static_cast<int32_t>(base[i[2]]), static_cast<int32_t>(base[i[3]]));
    }
    // base[index], base[index + 1], and the same a row of `pitch` further on,
    // for every lane.
    static void GatherSquares(const uint32_t* base, int32_t pitch, I index, I& c00, I& c10, I& c01,
                              I& c11) {
        alignas(16) uint32_t i[4];
        _mm_store_si128(reinterpret_cast<I*>(i), index);
        Split(Pair(base + i[0]), Pair(base + i[1]), Pair(base + i[2]), Pair(base + i[3]), c00, c10);
        base += pitch;
        Split(Pair(base + i[0]), Pair(base + i[1]), Pair(base + i[2]), Pair(base + i[3]), c01, c11);
    }
    // The first and second halves of four pairs.
    static void Split(I p0, I p1, I p2, I p3, I& first, I& second) {
        const F p01 = _mm_castsi128_ps(_mm_unpacklo_epi64(p0, p1));
        const F p23 = _mm_castsi128_ps(_mm_unpacklo_epi64(p2, p3));
        first = _mm_castps_si128(_mm_shuffle_ps(p01, p23, _MM_SHUFFLE(2, 0, 2, 0)));
        second = _mm_castps_si128(_mm_shuffle_ps(p01, p23, _MM_SHUFFLE(3, 1, 3, 1)));
    }
    static I Pair(const uint32_t* p) { return _mm_loadl_epi64(reinterpret_cast<const I*>(p)); }
};

template <int... kIndex>
constexpr const SpanRoutine* Table(std::integer_sequence<int, kIndex...>) {
    return lanes::LaneTable<Sse2, kIndex...>::kRoutines;
}

}  // namespace

SpanRoutine Sse2LaneRoutine(int index) {
    static constexpr const SpanRoutine* kTable =
        Table(std::make_integer_sequence<int, kLaneRoutines>());
    return kTable[index];
}

}  // namespace d3d8
