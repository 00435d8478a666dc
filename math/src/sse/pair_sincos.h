// Sine and cosine of one angle in one register, for the SSE2 rotation
// builders: (cos, sin, cos, sin). Same constants, reduction and polynomials
// as QuadSinCos; lane 0 evaluates the sine polynomial and lane 1 the cosine
// polynomial in the same instructions, then k decides which lane is which.
#pragma once

#include "sse/sincos_kernels.h"
#include "sse/sse2_isa.h"

namespace d3dx::simd {

// The angle sits in all four lanes of `angle`.
inline __m128 PairSinCos(__m128 angle) {
    using namespace sincos;
    const Reduction red = Reduce<Sse2Isa>(angle);
    const __m128 multiplier = _mm_unpacklo_ps(red.r, red.z);  // (r, z, r, z)
    __m128 p = _mm_add_ps(_mm_mul_ps(LaneBits<kS3, kC4, kS3, kC4>(), red.z),
                          LaneBits<kS2, kC3, kS2, kC3>());
    p = _mm_add_ps(_mm_mul_ps(p, red.z), LaneBits<kS1, kC2, kS1, kC2>());
    p = _mm_add_ps(_mm_mul_ps(p, red.z), LaneBits<kOneBits, kC1, kOneBits, kC1>());
    p = _mm_add_ps(_mm_mul_ps(p, multiplier),
                   LaneBits<0u, kOneBits, 0u, kOneBits>());  // (Ps, Pc, Ps, Pc)
    // Even k: sin = Ps, cos = Pc, so the lanes of each pair trade places.
    const __m128 cosSin = Select(red.quadrants.odd, p, Sse2Isa::Permute<1, 0, 3, 2>(p));
    const __m128 flips =
        _mm_unpacklo_ps(red.quadrants.cosineFlip, _mm_xor_ps(red.quadrants.sineFlip, red.sign));
    return _mm_xor_ps(cosSin, flips);
}

}  // namespace d3dx::simd
