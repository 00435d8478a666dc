// Vector transforms and matrix products, four lanes at a time.
//
// Vectors are rows multiplied on the left: v*M = x*m[0] + y*m[1] + ... with
// each component broadcast across the lanes. The additions follow the
// grouping given beside each kernel; every kernel computes the same
// expression on its aligned and its unaligned path.
#pragma once

#include "sse/simd_base.h"

namespace d3dx::simd {

inline constexpr const char* kAdviceVec2Transform =
    "Matrix should be 16-byte aligned for optimized D3DXVec2Transform";
inline constexpr const char* kAdviceVec2TransformNormal =
    "Matrix should be 16-byte aligned for optimized D3DXVec2TransformNormal";
inline constexpr const char* kAdviceVec3TransformNormal =
    "Matrix should be 16-byte aligned for optimized D3DXVec3TransformNormal";
inline constexpr const char* kAdviceVec3Transform =
    "Matrix should be 16-byte aligned for optimized D3DXVec3Transform";
inline constexpr const char* kAdviceVec4Transform =
    "Matrix should be 16-byte aligned for optimized D3DXVec4Transform";
inline constexpr const char* kAdviceMatrixMultiply =
    "Matrices should be 16-byte aligned for optimized D3DXMatrixMultiply";
inline constexpr const char* kAdviceMatrixMultiplyTranspose =
    "Matrices should be 16-byte aligned for optimized D3DXMatrixMultiplyTranspose";

// One path for every alignment: 16-byte unaligned loads read the same bytes
// as aligned ones at the same speed, so results are identical either way.
// The advisory goes out after the result is stored.
template <class T>
inline T* Advised(bool aligned, const char* advice, T* result) {
    return aligned ? result : AdviseAlignmentReturning(advice, result);
}

// ---------------------------------------------------------------------------
// Row vector times matrix, one grouping per operation.

// (x*m0 + m3) + y*m1
template <class Isa>
inline __m128 PointTimes2(__m128 v, const Rows& m) {
    const __m128 x = Isa::template Broadcast<0>(v);
    const __m128 y = Isa::template Broadcast<1>(v);
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m.r[0]), m.r[3]), _mm_mul_ps(y, m.r[1]));
}

// x*m0 + y*m1
template <class Isa>
inline __m128 NormalTimes2(__m128 v, const Rows& m) {
    const __m128 x = Isa::template Broadcast<0>(v);
    const __m128 y = Isa::template Broadcast<1>(v);
    return _mm_add_ps(_mm_mul_ps(x, m.r[0]), _mm_mul_ps(y, m.r[1]));
}

// (x*m0 + y*m1) + (z*m2 + m3)
template <class Isa>
inline __m128 PointTimes3(const Split3& v, const Rows& m) {
    const __m128 x = Isa::template Broadcast<0>(v.xy);
    const __m128 y = Isa::template Broadcast<1>(v.xy);
    const __m128 z = Isa::template Broadcast<0>(v.z);
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m.r[0]), _mm_mul_ps(y, m.r[1])),
                      _mm_add_ps(_mm_mul_ps(z, m.r[2]), m.r[3]));
}

// (x*m0 + y*m1) + z*m2
template <class Isa>
inline __m128 NormalTimes3(const Split3& v, const Rows& m) {
    const __m128 x = Isa::template Broadcast<0>(v.xy);
    const __m128 y = Isa::template Broadcast<1>(v.xy);
    const __m128 z = Isa::template Broadcast<0>(v.z);
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m.r[0]), _mm_mul_ps(y, m.r[1])),
                      _mm_mul_ps(z, m.r[2]));
}

// (x*m0 + y*m1) + (z*m2 + w*m3)
template <class Isa>
inline __m128 VectorTimes4(__m128 v, const Rows& m) {
    const __m128 x = Isa::template Broadcast<0>(v);
    const __m128 y = Isa::template Broadcast<1>(v);
    const __m128 z = Isa::template Broadcast<2>(v);
    const __m128 w = Isa::template Broadcast<3>(v);
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m.r[0]), _mm_mul_ps(y, m.r[1])),
                      _mm_add_ps(_mm_mul_ps(z, m.r[2]), _mm_mul_ps(w, m.r[3])));
}

// Every lane times the refined reciprocal of lane 3 (no test for zero).
template <class Isa>
inline __m128 DivideByW(__m128 v) {
    return _mm_mul_ps(v, RefinedReciprocal(Isa::template Broadcast<3>(v)));
}

// ---------------------------------------------------------------------------
// The vector transforms.

template <class Isa>
D3DXVECTOR4* Vec2Transform(D3DXVECTOR4* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store4(pOut, PointTimes2<Isa>(Load2(pV), LoadRows(pM)));
    return Advised(IsAligned16(pM), kAdviceVec2Transform, pOut);
}

template <class Isa>
D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store2(pOut, NormalTimes2<Isa>(Load2(pV), LoadRows(pM)));
    return Advised(IsAligned16(pM), kAdviceVec2TransformNormal, pOut);
}

template <class Isa>
D3DXVECTOR2* Vec2TransformCoord(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store2(pOut, DivideByW<Isa>(PointTimes2<Isa>(Load2(pV), LoadRows(pM))));
    return pOut;
}

template <class Isa>
D3DXVECTOR4* Vec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store4(pOut, PointTimes3<Isa>(LoadSplit3(pV), LoadRows(pM)));
    return Advised(IsAligned16(pM), kAdviceVec3Transform, pOut);
}

template <class Isa>
D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store3(pOut, NormalTimes3<Isa>(LoadSplit3(pV), LoadRows(pM)));
    return Advised(IsAligned16(pM), kAdviceVec3TransformNormal, pOut);
}

template <class Isa>
D3DXVECTOR3* Vec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store3(pOut, DivideByW<Isa>(PointTimes3<Isa>(LoadSplit3(pV), LoadRows(pM))));
    return pOut;
}

template <class Isa>
D3DXVECTOR4* Vec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pV == nullptr || pM == nullptr) return nullptr;
    Store4(pOut, VectorTimes4<Isa>(Load4(pV), LoadRows(pM)));
    return Advised(IsAligned16(pM), kAdviceVec4Transform, pOut);
}

// ---------------------------------------------------------------------------
// Matrix products. M2 is read completely before the first product and the
// output is written only at the end, so pOut may be pM1, pM2 or both.

inline bool AllAligned16(const void* a, const void* b, const void* c) {
    return IsAligned16(a) && IsAligned16(b) && IsAligned16(c);
}

// Row i of M1*M2: ((a0*b0 + a1*b1) + a2*b2) + a3*b3, strictly left to right.
template <class Isa>
inline __m128 RowTimesMatrix(__m128 a, const Rows& b) {
    __m128 acc = _mm_mul_ps(Isa::template Broadcast<0>(a), b.r[0]);
    acc = _mm_add_ps(acc, _mm_mul_ps(Isa::template Broadcast<1>(a), b.r[1]));
    acc = _mm_add_ps(acc, _mm_mul_ps(Isa::template Broadcast<2>(a), b.r[2]));
    return _mm_add_ps(acc, _mm_mul_ps(Isa::template Broadcast<3>(a), b.r[3]));
}

template <class Isa>
inline Rows Product(const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    const Rows b = LoadRows(pM2);
    Rows out;
    for (int i = 0; i < 4; ++i) {
        out.r[i] = RowTimesMatrix<Isa>(LoadRowUnaligned(pM1, i), b);
        // Finish each row before the next: keeps the broadcasts of one row
        // live at a time, so nothing spills to the stack.
        asm volatile("" : "+x"(out.r[i]));
    }
    return out;
}

template <class Isa>
D3DXMATRIX* MatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    if (pOut == nullptr || pM1 == nullptr || pM2 == nullptr) return nullptr;
    StoreRows(pOut, Product<Isa>(pM1, pM2));
    return Advised(AllAligned16(pOut, pM1, pM2), kAdviceMatrixMultiply, pOut);
}

template <class Isa>
D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                    const D3DXMATRIX* pM2) {
    if (pOut == nullptr || pM1 == nullptr || pM2 == nullptr) return nullptr;
    StoreRows(pOut, Transposed(Product<Isa>(pM1, pM2)));
    return Advised(AllAligned16(pOut, pM1, pM2), kAdviceMatrixMultiplyTranspose, pOut);
}

}  // namespace d3dx::simd
