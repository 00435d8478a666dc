// Normalisers and the plane-based builders: every length is turned into a
// factor by the refined reciprocal square root, never by a division or a
// square root.
#pragma once

#include "sse/simd_base.h"

namespace d3dx::simd {

// Lane 0 of a as a float.
inline float First(__m128 a) { return _mm_cvtss_f32(a); }

// s < 2^-46 by CMPLTSS, whose predicate is false for an unordered pair, so a
// NaN length is not below and normalises to NaN. (The COMISS intrinsic for
// "less than" reports an unordered pair as below with some compilers.)
inline bool BelowZeroLengthThreshold(__m128 squaredLength) {
    const __m128 below =
        _mm_cmplt_ss(squaredLength, _mm_set_ss(FloatFromBits(kZeroLengthThresholdBits)));
    return (_mm_movemask_ps(below) & 1) != 0;
}

// Squared length of lanes x, y, z: (x^2 + y^2) + z^2, in lane 0.
template <class Isa>
inline __m128 SquaredLength3(__m128 v) {
    return Sum3<Isa>(_mm_mul_ps(v, v));
}

template <class Isa>
inline __m128 ScaleByRsqrt(__m128 v, __m128 squaredLength) {
    return _mm_mul_ps(v, Isa::template Broadcast<0>(RefinedReciprocalSqrt(squaredLength)));
}

// s = (x^2 + y^2) + z^2, worked on the pair and the single separately.
template <class Isa>
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    const Split3 v = LoadSplit3(pV);
    const __m128 sqxy = _mm_mul_ps(v.xy, v.xy);
    const __m128 s = _mm_add_ss(_mm_add_ss(sqxy, LaneToFront<Isa, 1>(sqxy)), _mm_mul_ss(v.z, v.z));
    if (BelowZeroLengthThreshold(s)) {
        StoreSplit3(pOut, {_mm_setzero_ps(), _mm_setzero_ps()});
    } else {
        const __m128 q = Isa::template Broadcast<0>(RefinedReciprocalSqrt(s));
        StoreSplit3(pOut, {_mm_mul_ps(v.xy, q), _mm_mul_ss(v.z, q)});
    }
    return pOut;
}

template <class Isa>
D3DXPLANE* PlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP) {
    if (pOut == nullptr || pP == nullptr) return nullptr;
    const __m128 p = Load4(pP);
    const __m128 s = SquaredLength3<Isa>(p);  // the normal only; d is scaled along
    Store4(pOut, BelowZeroLengthThreshold(s) ? _mm_setzero_ps() : ScaleByRsqrt<Isa>(p, s));
    return pOut;
}

// (x^2 + y^2) + (z^2 + w^2) with no zero test: a zero vector gives NaN.
template <class Isa, class T>
T* Normalize4(T* pOut, const T* pV) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    const __m128 v = Load4(pV);
    const __m128 s = PairedSum4<Isa>(_mm_mul_ps(v, v));
    Store4(pOut, _mm_mul_ps(v, Isa::template Broadcast<0>(RefinedReciprocalSqrt4(s))));
    return pOut;
}

// Cross product of the x, y, z lanes (lane 3 becomes 0 for w = 0 inputs).
template <class Isa>
inline __m128 Cross3(__m128 e, __m128 f) {
    const __m128 eYzx = Isa::template Permute<1, 2, 0, 3>(e);
    const __m128 fZxy = Isa::template Permute<2, 0, 1, 3>(f);
    const __m128 eZxy = Isa::template Permute<2, 0, 1, 3>(e);
    const __m128 fYzx = Isa::template Permute<1, 2, 0, 3>(f);
    return _mm_sub_ps(_mm_mul_ps(eYzx, fZxy), _mm_mul_ps(eZxy, fYzx));
}

// n = (V1 - V2) x (V1 - V3); (a, b, c) = n*q with s = (nx^2 + nz^2) + ny^2;
// d = -(a*x1 + (c*z1 + b*y1)). Collinear points give NaN.
template <class Isa>
D3DXPLANE* PlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                           const D3DXVECTOR3* pV3) {
    if (pOut == nullptr || pV1 == nullptr || pV2 == nullptr || pV3 == nullptr) return nullptr;
    const __m128 v1 = Load3(pV1);
    const __m128 n = Cross3<Isa>(_mm_sub_ps(v1, Load3(pV2)), _mm_sub_ps(v1, Load3(pV3)));
    const __m128 sq = _mm_mul_ps(n, n);
    const __m128 s = _mm_add_ss(_mm_add_ss(sq, LaneToFront<Isa, 2>(sq)), LaneToFront<Isa, 1>(sq));
    const __m128 unit = ScaleByRsqrt<Isa>(n, s);
    const __m128 p = _mm_mul_ps(unit, v1);  // (a*x1, b*y1, c*z1, 0)
    const __m128 inner = _mm_add_ss(LaneToFront<Isa, 2>(p), LaneToFront<Isa, 1>(p));
    const __m128 d = _mm_xor_ps(_mm_add_ss(p, inner), SplatBits<kSignBit>());
    // (a, b, c, d): lane 3 of unit is 0, so d goes in by a lane merge.
    const __m128 dz = _mm_shuffle_ps(unit, d, _MM_SHUFFLE(0, 0, 2, 2));  // (c, c, d, d)
    Store4(pOut, _mm_shuffle_ps(unit, dz, _MM_SHUFFLE(2, 0, 1, 0)));     // (a, b, c, d)
    return pOut;
}

// out[i][j] = delta_ij - 2*p'[i]*p'[j] for j < 3, column 3 = e_3, where p' is
// the plane scaled by the refined reciprocal square root of a^2 + b^2 + c^2.
template <class Isa>
D3DXMATRIX* MatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane) {
    if (pOut == nullptr || pPlane == nullptr) return nullptr;
    const __m128 p = Load4(pPlane);
    const __m128 unit = ScaleByRsqrt<Isa>(p, SquaredLength3<Isa>(p));
    const __m128 u = _mm_and_ps(_mm_mul_ps(unit, SplatBits<kMinusTwoBits>()),
                                LaneMask<true, true, true, false>());
    Rows out;
    out.r[0] = _mm_add_ps(_mm_mul_ps(u, Isa::template Broadcast<0>(unit)), IdentityRow<0>());
    out.r[1] = _mm_add_ps(_mm_mul_ps(u, Isa::template Broadcast<1>(unit)), IdentityRow<1>());
    out.r[2] = _mm_add_ps(_mm_mul_ps(u, Isa::template Broadcast<2>(unit)), IdentityRow<2>());
    out.r[3] = _mm_add_ps(_mm_mul_ps(u, Isa::template Broadcast<3>(unit)), IdentityRow<3>());
    StoreRows(pOut, out);
    return pOut;
}

// out[i][j] = delta_ij*dot - p'[i]*L[j], p' the plane normalised by
// RefinedRsqrt((a^2 + c^2) + b^2), or zero when that sum is exactly zero.
template <class Isa>
D3DXMATRIX* MatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane) {
    if (pOut == nullptr || pLight == nullptr || pPlane == nullptr) return nullptr;
    const __m128 light = Load4(pLight);
    const __m128 p = Load4(pPlane);
    const __m128 sq = _mm_mul_ps(p, p);
    const float s =
        First(_mm_add_ss(_mm_add_ss(sq, LaneToFront<Isa, 2>(sq)), LaneToFront<Isa, 1>(sq)));
    const __m128 unit = s == 0.0f ? _mm_setzero_ps() : _mm_mul_ps(p, _mm_set1_ps(RefinedRsqrt(s)));
    const __m128 dot = FoldedSum4All<Isa>(_mm_mul_ps(unit, light));
    const __m128 minusLight = _mm_xor_ps(light, SplatBits<kSignBit>());
    Rows out;
    out.r[0] = _mm_add_ps(_mm_mul_ps(minusLight, Isa::template Broadcast<0>(unit)),
                          _mm_and_ps(dot, IdentityLane<0>()));
    out.r[1] = _mm_add_ps(_mm_mul_ps(minusLight, Isa::template Broadcast<1>(unit)),
                          _mm_and_ps(dot, IdentityLane<1>()));
    out.r[2] = _mm_add_ps(_mm_mul_ps(minusLight, Isa::template Broadcast<2>(unit)),
                          _mm_and_ps(dot, IdentityLane<2>()));
    out.r[3] = _mm_add_ps(_mm_mul_ps(minusLight, Isa::template Broadcast<3>(unit)),
                          _mm_and_ps(dot, IdentityLane<3>()));
    if (IsAligned16(pOut)) {
        StoreRowsAligned(pOut, out);
    } else {
        StoreRows(pOut, out);
    }
    return pOut;
}

}  // namespace d3dx::simd
