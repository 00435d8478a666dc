// Rotations about x and y from (cos, sin, cos, sin) of the angle: lanes are
// picked by a shuffle, unused lanes cleared by a mask, and -sin made by a
// sign mask. Only the SSE2 set has them: the sine and cosine come from
// PairSinCos, which needs SSE2's integer lane operations.
#pragma once

#include "sse/pair_sincos.h"
#include "sse/simd_base.h"

namespace d3dx::simd {

template <class Isa>
Rows RotationXRows(__m128 cs) {
    const __m128 middle = LaneMask<false, true, true, false>();
    const __m128 row1 = _mm_and_ps(Isa::template Permute<0, 0, 1, 0>(cs), middle);  // (0, c, s, 0)
    const __m128 row2 = _mm_xor_ps(_mm_and_ps(Isa::template Permute<0, 1, 0, 0>(cs), middle),
                                   SignMask<false, true, false, false>());  // (0, -s, c, 0)
    return {{IdentityRow<0>(), row1, row2, IdentityRow<3>()}};
}

template <class Isa>
Rows RotationYRows(__m128 cs) {
    const __m128 outer = LaneMask<true, false, true, false>();
    const __m128 row0 = _mm_xor_ps(_mm_and_ps(Isa::template Permute<0, 0, 1, 0>(cs), outer),
                                   SignMask<false, false, true, false>());         // (c, 0, -s, 0)
    const __m128 row2 = _mm_and_ps(Isa::template Permute<1, 1, 0, 0>(cs), outer);  // (s, 0, c, 0)
    return {{row0, IdentityRow<1>(), row2, IdentityRow<3>()}};
}

template <class Isa>
D3DXMATRIX* MatrixRotationX(D3DXMATRIX* pOut, float angle) {
    if (pOut == nullptr) return nullptr;
    StoreRows(pOut, RotationXRows<Isa>(PairSinCos(_mm_set1_ps(angle))));
    return pOut;
}

template <class Isa>
D3DXMATRIX* MatrixRotationY(D3DXMATRIX* pOut, float angle) {
    if (pOut == nullptr) return nullptr;
    StoreRows(pOut, RotationYRows<Isa>(PairSinCos(_mm_set1_ps(angle))));
    return pOut;
}

}  // namespace d3dx::simd
