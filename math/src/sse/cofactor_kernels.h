// Cofactor expansions: the determinant, the inverse and the 4-D cross product.
//
// For rows a, b, c, d the cofactors of row a come from the 2x2 minors of rows
// c and d (s_kl = c_k*d_l - c_l*d_k), arranged so that one multiply-subtract
// yields four minors at once:
//   SA = (s23, s23, s13, s12), SB = (s13, s03, s03, s02), SC = (s12, s02, s01, s01)
//   cofactors(a) = (b1*SA - b2*SB + b3*SC) * (+, -, +, -)
// where bN is row b permuted by (1,0,0,0), (2,2,1,1) or (3,3,3,2). The same
// minors serve row b with the opposite signs, and the minors of rows a, b
// serve rows c and d.
#pragma once

#include "sse/simd_base.h"

namespace d3dx::simd {

template <class Isa>
inline __m128 Pick1(__m128 v) {
    return Isa::template Permute<1, 0, 0, 0>(v);
}
template <class Isa>
inline __m128 Pick2(__m128 v) {
    return Isa::template Permute<2, 2, 1, 1>(v);
}
template <class Isa>
inline __m128 Pick3(__m128 v) {
    return Isa::template Permute<3, 3, 3, 2>(v);
}

struct Minors {
    __m128 a, b, c;  // SA, SB, SC above
};

template <class Isa>
inline Minors MinorsOf(__m128 c, __m128 d) {
    const __m128 c1 = Pick1<Isa>(c), c2 = Pick2<Isa>(c), c3 = Pick3<Isa>(c);
    const __m128 d1 = Pick1<Isa>(d), d2 = Pick2<Isa>(d), d3 = Pick3<Isa>(d);
    return {_mm_sub_ps(_mm_mul_ps(c2, d3), _mm_mul_ps(c3, d2)),
            _mm_sub_ps(_mm_mul_ps(c1, d3), _mm_mul_ps(c3, d1)),
            _mm_sub_ps(_mm_mul_ps(c1, d2), _mm_mul_ps(c2, d1))};
}

// b1*SA - b2*SB + b3*SC, before the alternating signs.
template <class Isa>
inline __m128 Expand(__m128 b, const Minors& m) {
    return _mm_add_ps(_mm_sub_ps(_mm_mul_ps(Pick1<Isa>(b), m.a), _mm_mul_ps(Pick2<Isa>(b), m.b)),
                      _mm_mul_ps(Pick3<Isa>(b), m.c));
}

inline __m128 EvenSigns() { return SignMask<false, true, false, true>(); }  // (+, -, +, -)
inline __m128 OddSigns() { return SignMask<true, false, true, false>(); }   // (-, +, -, +)

// Cofactors of the first of the rows (first, b, c, d), signs applied.
template <class Isa>
inline __m128 FirstRowCofactors(__m128 b, __m128 c, __m128 d) {
    return _mm_xor_ps(Expand<Isa>(b, MinorsOf<Isa>(c, d)), EvenSigns());
}

// det = first row times its cofactors, folded as (p0 + p2) + (p1 + p3).
template <class Isa>
float MatrixDeterminant(const D3DXMATRIX* pM) {
    if (pM == nullptr) return 0.0f;
    const Rows m = LoadRows(pM);
    const __m128 cof = FirstRowCofactors<Isa>(m.r[1], m.r[2], m.r[3]);
    return _mm_cvtss_f32(FoldedSum4<Isa>(_mm_mul_ps(m.r[0], cof)));
}

// All sixteen cofactors; row i of the result holds the cofactors of row i.
template <class Isa>
inline Rows Cofactors(const Rows& m) {
    const Minors lower = MinorsOf<Isa>(m.r[2], m.r[3]);
    const Minors upper = MinorsOf<Isa>(m.r[0], m.r[1]);
    return {{_mm_xor_ps(Expand<Isa>(m.r[1], lower), EvenSigns()),
             _mm_xor_ps(Expand<Isa>(m.r[0], lower), OddSigns()),
             _mm_xor_ps(Expand<Isa>(m.r[3], upper), EvenSigns()),
             _mm_xor_ps(Expand<Isa>(m.r[2], upper), OddSigns())}};
}

// inverse = transpose(cofactors) * q, q the refined reciprocal of det. A zero
// or NaN determinant returns null and writes neither pOut nor *pDeterminant.
template <class Isa>
D3DXMATRIX* MatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pM == nullptr) return nullptr;
    const Rows m = LoadRows(pM);
    const Rows cof = Cofactors<Isa>(m);
    const __m128 det = FoldedSum4All<Isa>(_mm_mul_ps(m.r[0], cof.r[0]));
    const float detValue = _mm_cvtss_f32(det);
    if (IsZeroOrNaN(detValue)) return nullptr;
    if (pDeterminant != nullptr) *pDeterminant = detValue;
    const __m128 q = RefinedReciprocal(det);
    Rows adjugate = Transposed(cof);
    for (__m128& row : adjugate.r) row = _mm_mul_ps(row, q);
    StoreRows(pOut, adjugate);
    return pOut;
}

// The 4-D cross product: the cofactors of a first row taken with rows
// V1, V2, V3, i.e. sign mask (0, -0, 0, -0) over the expansion.
template <class Isa>
D3DXVECTOR4* Vec4Cross(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                       const D3DXVECTOR4* pV3) {
    if (pOut == nullptr || pV1 == nullptr || pV2 == nullptr || pV3 == nullptr) return nullptr;
    Store4(pOut, FirstRowCofactors<Isa>(Load4(pV1), Load4(pV2), Load4(pV3)));
    return pOut;
}

}  // namespace d3dx::simd
