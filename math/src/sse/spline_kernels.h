// Splines, barycentric combinations and the line-plane intersection.
//
// A spline's four weights come from a 4x4 basis held as rows B0 (s^3),
// B1 (s^2), B2 (s) and B3 (1): w = ((s*B2 + B3) + s^2*B1) + s^3*B0, then
// out = w0*P0 + w1*P1 + w2*P2 + w3*P3 with the points in argument order.
#pragma once

#include "sse/simd_base.h"

namespace d3dx::simd {

struct SplineBasis {
    float b0[4], b1[4], b2[4], b3[4];
};

inline constexpr SplineBasis kHermiteBasis{{2.0f, 1.0f, -2.0f, 1.0f},
                                           {-3.0f, -2.0f, 3.0f, -1.0f},
                                           {0.0f, 1.0f, 0.0f, 0.0f},
                                           {1.0f, 0.0f, 0.0f, 0.0f}};
inline constexpr SplineBasis kCatmullRomBasis{{-0.5f, 1.5f, -1.5f, 0.5f},
                                              {1.0f, -2.5f, 2.0f, -0.5f},
                                              {-0.5f, 0.0f, 0.5f, 0.0f},
                                              {0.0f, 1.0f, 0.0f, 0.0f}};

inline __m128 SplineWeights(const SplineBasis& basis, float s) {
    const __m128 s1 = _mm_set1_ps(s);
    const __m128 s2 = _mm_mul_ps(s1, s1);
    const __m128 s3 = _mm_mul_ps(s2, s1);
    const __m128 w = _mm_add_ps(_mm_mul_ps(s1, _mm_loadu_ps(basis.b2)), _mm_loadu_ps(basis.b3));
    return _mm_add_ps(_mm_add_ps(w, _mm_mul_ps(s2, _mm_loadu_ps(basis.b1))),
                      _mm_mul_ps(s3, _mm_loadu_ps(basis.b0)));
}

// Loads and stores by vector type.
inline __m128 LoadVector(const D3DXVECTOR2* v) { return Load2(v); }
inline __m128 LoadVector(const D3DXVECTOR3* v) { return Load3(v); }
inline __m128 LoadVector(const D3DXVECTOR4* v) { return Load4(v); }
inline void StoreVector(D3DXVECTOR2* out, __m128 v) { Store2(out, v); }
inline void StoreVector(D3DXVECTOR3* out, __m128 v) { Store3(out, v); }
inline void StoreVector(D3DXVECTOR4* out, __m128 v) { Store4(out, v); }

struct SplineTerms {
    __m128 t[4];  // w_i * P_i
};

template <class Isa, class V>
inline SplineTerms WeightedPoints(const SplineBasis& basis, float s, const V* p0, const V* p1,
                                  const V* p2, const V* p3) {
    const __m128 w = SplineWeights(basis, s);
    return {{_mm_mul_ps(Isa::template Broadcast<0>(w), LoadVector(p0)),
             _mm_mul_ps(Isa::template Broadcast<1>(w), LoadVector(p1)),
             _mm_mul_ps(Isa::template Broadcast<2>(w), LoadVector(p2)),
             _mm_mul_ps(Isa::template Broadcast<3>(w), LoadVector(p3))}};
}

// ((w0*P0 + w1*P1) + w2*P2) + w3*P3
template <class Isa, const SplineBasis& kBasis, class V>
V* Spline(V* pOut, const V* p0, const V* p1, const V* p2, const V* p3, float s) {
    if (pOut == nullptr || p0 == nullptr || p1 == nullptr || p2 == nullptr || p3 == nullptr)
        return nullptr;
    const SplineTerms w = WeightedPoints<Isa>(kBasis, s, p0, p1, p2, p3);
    StoreVector(pOut, _mm_add_ps(_mm_add_ps(_mm_add_ps(w.t[0], w.t[1]), w.t[2]), w.t[3]));
    return pOut;
}

// The 2-vector Hermite groups its sum as (w0*V1 + w2*V2) + (w1*T1 + w3*T2).
template <class Isa>
D3DXVECTOR2* Vec2Hermite(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pT1,
                         const D3DXVECTOR2* pV2, const D3DXVECTOR2* pT2, float s) {
    if (pOut == nullptr || pV1 == nullptr || pT1 == nullptr || pV2 == nullptr || pT2 == nullptr)
        return nullptr;
    const SplineTerms w = WeightedPoints<Isa>(kHermiteBasis, s, pV1, pT1, pV2, pT2);
    StoreVector(pOut, _mm_add_ps(_mm_add_ps(w.t[0], w.t[2]), _mm_add_ps(w.t[1], w.t[3])));
    return pOut;
}

// ((V2 - V1)*f + V1) + (V3 - V1)*g
template <class Isa, class V>
V* BaryCentric(V* pOut, const V* pV1, const V* pV2, const V* pV3, float f, float g) {
    if (pOut == nullptr || pV1 == nullptr || pV2 == nullptr || pV3 == nullptr) return nullptr;
    const __m128 v1 = LoadVector(pV1);
    const __m128 along2 =
        _mm_add_ps(_mm_mul_ps(_mm_sub_ps(LoadVector(pV2), v1), _mm_set1_ps(f)), v1);
    StoreVector(pOut,
                _mm_add_ps(along2, _mm_mul_ps(_mm_sub_ps(LoadVector(pV3), v1), _mm_set1_ps(g))));
    return pOut;
}

// (c*z + a*x) + b*y: the plane normal times a point, without d. `c` holds the
// plane's c in lane 0; the point comes as its pair and its single.
template <class Isa>
inline __m128 NormalDot(__m128 plane, __m128 c, const Split3& point) {
    const __m128 axby = _mm_mul_ps(plane, point.xy);
    return _mm_add_ss(_mm_add_ss(_mm_mul_ss(c, point.z), axby), LaneToFront<Isa, 1>(axby));
}

// t = (dot1 + d) * q with q the refined reciprocal of dot1 - dot2; out = V1 + t*(V2 - V1).
// An exactly zero (or NaN) denominator means a parallel line: null, nothing written.
template <class Isa>
D3DXVECTOR3* PlaneIntersectLine(D3DXVECTOR3* pOut, const D3DXPLANE* pP, const D3DXVECTOR3* pV1,
                                const D3DXVECTOR3* pV2) {
    if (pOut == nullptr || pP == nullptr || pV1 == nullptr || pV2 == nullptr) return nullptr;
    const __m128 plane = Load4(pP);
    const __m128 c = LaneToFront<Isa, 2>(plane);
    const Split3 v1 = LoadSplit3(pV1);
    const Split3 v2 = LoadSplit3(pV2);
    const __m128 dot1 = NormalDot<Isa>(plane, c, v1);
    const __m128 den = _mm_sub_ss(dot1, NormalDot<Isa>(plane, c, v2));
    if (IsZeroOrNaN(_mm_cvtss_f32(den))) return nullptr;
    const __m128 num = _mm_add_ss(dot1, LaneToFront<Isa, 3>(plane));
    const __m128 t = Isa::template Broadcast<0>(_mm_mul_ss(num, RefinedReciprocal(den)));
    StoreSplit3(pOut, {_mm_add_ps(v1.xy, _mm_mul_ps(t, _mm_sub_ps(v2.xy, v1.xy))),
                       _mm_add_ss(v1.z, _mm_mul_ss(t, _mm_sub_ss(v2.z, v1.z)))});
    return pOut;
}

}  // namespace d3dx::simd
