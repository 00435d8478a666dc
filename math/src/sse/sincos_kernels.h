// Sines and cosines without the runtime library.
//
// Per lane: a = |x| is reduced by the nearest multiple k of pi/2 (k found by
// adding 2^23 to a*2/pi, which rounds it into the mantissa), with pi/2 split
// into four parts so the reduction stays accurate; short polynomials give
// sin and cos of the remainder; k's low bits swap them and set their signs.
// Valid while a*2/pi < 2^23 (|x| below about 1.3e7); beyond that the result
// is meaningless, and infinities or NaN give NaN.
#pragma once

#include "sse/simd_base.h"

namespace d3dx::simd {

namespace sincos {
inline constexpr uint32_t kTwoOverPi = 0x3F22F983;     // 0.636619747
inline constexpr uint32_t kRoundingBias = 0x4B000000;  // 2^23
inline constexpr uint32_t kPiOver2Part1 = 0x3FC90000;  // 1.5703125
inline constexpr uint32_t kPiOver2Part2 = 0x39FDA000;  // 4.83751297e-4
inline constexpr uint32_t kPiOver2Part3 = 0x33A22000;  // 7.54953362e-8
inline constexpr uint32_t kPiOver2Part4 = 0x2C34611A;  // 2.56334407e-12
inline constexpr uint32_t kS1 = 0xBE2AAAA3;            // -0.166666552
inline constexpr uint32_t kS2 = 0x3C08839D;            // 8.3321603e-3
inline constexpr uint32_t kS3 = 0xB94CA1F0;            // -1.95152825e-4
inline constexpr uint32_t kC1 = 0xBF000000;            // -0.5
inline constexpr uint32_t kC2 = 0x3D2AAAA5;            // 0.0416666456
inline constexpr uint32_t kC3 = 0xBAB6061A;            // -1.38873165e-3
inline constexpr uint32_t kC4 = 0x37CCF5CE;            // 2.44331568e-5
}  // namespace sincos

// The reduced angle of every lane and what k says about it.
struct Reduction {
    __m128 sign;  // sign bit of the input
    __m128 r;     // remainder in [-pi/4, pi/4]
    __m128 z;     // r*r
    Quadrants quadrants;
};

template <class Isa>
inline Reduction Reduce(__m128 x) {
    using namespace sincos;
    const __m128 sign = _mm_and_ps(x, SplatBits<kSignBit>());
    const __m128 a = _mm_and_ps(x, SplatBits<kMagnitudeMask>());
    const __m128 bias = SplatBits<kRoundingBias>();
    const __m128 t = _mm_add_ps(_mm_mul_ps(a, SplatBits<kTwoOverPi>()), bias);
    const __m128 kf = _mm_sub_ps(t, bias);
    __m128 r = _mm_sub_ps(a, _mm_mul_ps(kf, SplatBits<kPiOver2Part1>()));
    r = _mm_sub_ps(r, _mm_mul_ps(kf, SplatBits<kPiOver2Part2>()));
    r = _mm_sub_ps(r, _mm_mul_ps(kf, SplatBits<kPiOver2Part3>()));
    r = _mm_sub_ps(r, _mm_mul_ps(kf, SplatBits<kPiOver2Part4>()));
    return {sign, r, _mm_mul_ps(r, r), Isa::QuadrantMasks(t)};
}

// (((S3*z + S2)*z + S1)*z + 1)*r
inline __m128 SinePolynomial(__m128 r, __m128 z) {
    using namespace sincos;
    __m128 p = _mm_add_ps(_mm_mul_ps(SplatBits<kS3>(), z), SplatBits<kS2>());
    p = _mm_add_ps(_mm_mul_ps(p, z), SplatBits<kS1>());
    p = _mm_add_ps(_mm_mul_ps(p, z), SplatBits<kOneBits>());
    return _mm_mul_ps(p, r);
}

// (((C4*z + C3)*z + C2)*z + C1)*z + 1
inline __m128 CosinePolynomial(__m128 z) {
    using namespace sincos;
    __m128 p = _mm_add_ps(_mm_mul_ps(SplatBits<kC4>(), z), SplatBits<kC3>());
    p = _mm_add_ps(_mm_mul_ps(p, z), SplatBits<kC2>());
    p = _mm_add_ps(_mm_mul_ps(p, z), SplatBits<kC1>());
    return _mm_add_ps(_mm_mul_ps(p, z), SplatBits<kOneBits>());
}

struct SinCos {
    __m128 sine;
    __m128 cosine;
};

// Sines and cosines of the four lanes of x.
template <class Isa>
inline SinCos SinCos4(__m128 x) {
    const Reduction red = Reduce<Isa>(x);
    const __m128 ps = SinePolynomial(red.r, red.z);
    const __m128 pc = CosinePolynomial(red.z);
    const __m128 sine = Select(red.quadrants.odd, pc, ps);
    const __m128 cosine = Select(red.quadrants.odd, ps, pc);
    return {_mm_xor_ps(sine, _mm_xor_ps(red.quadrants.sineFlip, red.sign)),
            _mm_xor_ps(cosine, red.quadrants.cosineFlip)};
}

// The array form: all three arrays 16-byte aligned; sines may be the angle
// array itself.
template <class Isa>
inline void QuadSinCos(const float* angles, float* sines, float* cosines) {
    const SinCos sc = SinCos4<Isa>(_mm_load_ps(angles));
    _mm_store_ps(sines, sc.sine);
    _mm_store_ps(cosines, sc.cosine);
}

}  // namespace d3dx::simd
