// The SSE2 instruction-set policy: the same lane permutations as SseIsa, done
// with the integer shuffle (one instruction, no register copy). Only the SSE2
// variant files include this header.
#pragma once

#include "sse/simd_base.h"

#include <emmintrin.h>

namespace d3dx::simd {

struct Sse2Isa {
    template <int I0, int I1, int I2, int I3>
    static __m128 Permute(__m128 v) {
        return _mm_castsi128_ps(
            _mm_shuffle_epi32(_mm_castps_si128(v), _MM_SHUFFLE(I3, I2, I1, I0)));
    }
    template <int I>
    static __m128 Broadcast(__m128 v) {
        return Permute<I, I, I, I>(v);
    }

    // The quadrant bits with integer lane operations.
    static Quadrants QuadrantMasks(__m128 roundedSum) {
        const __m128i one = _mm_set1_epi32(1);
        const __m128i two = _mm_set1_epi32(2);
        const __m128i k = _mm_and_si128(_mm_castps_si128(roundedSum),
                                        _mm_set1_epi32(static_cast<int>(kMantissaMask)));
        const __m128i odd = _mm_and_si128(k, one);
        const __m128i sineFlip = _mm_slli_epi32(_mm_and_si128(_mm_sub_epi32(k, odd), two), 30);
        const __m128i cosineFlip = _mm_slli_epi32(_mm_and_si128(_mm_add_epi32(k, odd), two), 30);
        return {_mm_castsi128_ps(_mm_cmpeq_epi32(odd, one)), _mm_castsi128_ps(sineFlip),
                _mm_castsi128_ps(cosineFlip)};
    }
};

}  // namespace d3dx::simd
