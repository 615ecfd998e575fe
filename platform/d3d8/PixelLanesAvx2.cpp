// The lane routines on eight pixels at a time with AVX2. This file alone is
// built for AVX2 (without fused multiply-add, which would change the
// picture); the device calls it only where the processor has AVX2.
#include <immintrin.h>

#include <cstring>
#include <utility>

#include "platform/d3d8/PixelLanes.h"

namespace d3d8 {
namespace {

struct Avx2 {
    static constexpr int kLanes = 8;
    using F = __m256;
    using I = __m256i;
    using Count = __m128i;

    static F Set(float v) { return _mm256_set1_ps(v); }
    static I Set(int32_t v) { return _mm256_set1_epi32(v); }
    static F Ramp() { return _mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f); }
    static F Add(F a, F b) { return _mm256_add_ps(a, b); }
    static F Sub(F a, F b) { return _mm256_sub_ps(a, b); }
    static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm256_div_ps(a, b); }
    // a > b ? a : b and a < b ? a : b, NaN giving b.
    static F Max(F a, F b) { return _mm256_max_ps(a, b); }
    static F Min(F a, F b) { return _mm256_min_ps(a, b); }
    static F Greater(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
    static F Less(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
    static F And(F a, F b) { return _mm256_and_ps(a, b); }
    static I AsInt(F v) { return _mm256_castps_si256(v); }
    static I Truncate(F v) { return _mm256_cvttps_epi32(v); }
    static F Floor(F v) { return _mm256_floor_ps(v); }

    static I Add(I a, I b) { return _mm256_add_epi32(a, b); }
    static I Sub(I a, I b) { return _mm256_sub_epi32(a, b); }
    static I And(I a, I b) { return _mm256_and_si256(a, b); }
    static I Or(I a, I b) { return _mm256_or_si256(a, b); }
    static I Xor(I a, I b) { return _mm256_xor_si256(a, b); }
    // ~a & b.
    static I AndNot(I a, I b) { return _mm256_andnot_si256(a, b); }
    static I ShiftLeft(I a, int n) { return _mm256_slli_epi32(a, n); }
    static I ShiftRight(I a, int n) { return _mm256_srli_epi32(a, n); }
    static Count ShiftCount(int n) { return _mm_cvtsi32_si128(n); }
    static I ShiftLeftBy(I a, Count count) { return _mm256_sll_epi32(a, count); }
    static I EqualInt(I a, I b) { return _mm256_cmpeq_epi32(a, b); }
    static I GreaterInt(I a, I b) { return _mm256_cmpgt_epi32(a, b); }
    // Products below 2^16 of values below 2^16.
    static I MulLow16(I a, I b) { return _mm256_mullo_epi16(a, b); }
    // The high halves of the products of the unsigned 16-bit halves.
    static I MulHigh16(I a, I b) { return _mm256_mulhi_epu16(a, b); }
    // a0 × b0 + a1 × b1 of the signed 16-bit halves of each lane.
    static I MulAddPairs(I a, I b) { return _mm256_madd_epi16(a, b); }
    static I Select(I mask, I a, I b) { return _mm256_blendv_epi8(b, a, mask); }
    static bool None(I mask) { return _mm256_testz_si256(mask, mask) != 0; }
    static bool All(I mask) { return _mm256_movemask_epi8(mask) == -1; }

    static I Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const I*>(p)); }
    static void Store(uint32_t* p, I v) { _mm256_storeu_si256(reinterpret_cast<I*>(p), v); }
    static I LoadDepth(const uint16_t* p) {
        return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    // Values 0..65535; the pack works within halves, the permute joins them.
    static void StoreDepth(uint16_t* p, I v) {
        const I packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(v, v), 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
    }
    static I Gather(const uint32_t* base, I index) {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), index, 4);
    }
    // base[index], base[index + 1], and the same a row of `pitch` further on,
    // for every lane.
    static void GatherSquares(const uint32_t* base, int32_t pitch, I index, I& c00, I& c10, I& c01,
                              I& c11) {
        alignas(32) uint32_t i[8];
        _mm256_store_si256(reinterpret_cast<I*>(i), index);
        for (int row = 0; row < 2; ++row, base += pitch) {
            const F a = _mm256_castsi256_ps(_mm256_setr_epi64x(
                Pair(base + i[0]), Pair(base + i[1]), Pair(base + i[4]), Pair(base + i[5])));
            const F b = _mm256_castsi256_ps(_mm256_setr_epi64x(
                Pair(base + i[2]), Pair(base + i[3]), Pair(base + i[6]), Pair(base + i[7])));
            (row == 0 ? c00 : c01) =
                _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
            (row == 0 ? c10 : c11) =
                _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
        }
    }
    static int64_t Pair(const uint32_t* p) {
        int64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
};

template <int... kIndex>
constexpr const SpanRoutine* Table(std::integer_sequence<int, kIndex...>) {
    return lanes::LaneTable<Avx2, kIndex...>::kRoutines;
}

}  // namespace

SpanRoutine Avx2LaneRoutine(int index) {
    static constexpr const SpanRoutine* kTable =
        Table(std::make_integer_sequence<int, kLaneRoutines>());
    return kTable[index];
}

}  // namespace d3d8
