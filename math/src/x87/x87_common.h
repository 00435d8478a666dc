// Shared pieces of the x87 reference implementations.
//
// Every operation loads its single-precision inputs into double, computes
// there and rounds to single precision only when it stores a result. Products
// of two floats are exact in double, and the few roundings of a formula stay
// far below a float's, so the stored floats are those the formulas give in the
// x87 unit's extended precision (tests/math/x87/long_double_formulas_test.cpp
// compares them on random inputs). The helpers below give the common steps
// names: loading and storing vector-like values and matrices, the tolerance
// test against FLT_EPSILON, a row vector times a matrix, and the default
// normalisation rule that the vector, quaternion and plane normalisers share.
#pragma once

#include "d3dx_math.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3dx::x87 {

// The working precision of every operation.
using Real = double;

inline constexpr float kFltEpsilon = FLT_EPSILON;  // 2^-23, bits 0x34000000
inline constexpr float kFltMin = FLT_MIN;          // 2^-126, bits 0x00800000

// Rounds a working value to single precision, as a store to memory does.
constexpr float RoundToFloat(Real v) { return static_cast<float>(v); }

// a and b differ by at most FLT_EPSILON (inclusive), the difference taken in
// the working precision. NaN is never near anything.
constexpr bool IsNear(Real a, Real b) {
    const Real difference = a - b;
    return difference >= -static_cast<Real>(kFltEpsilon) &&
           difference <= static_cast<Real>(kFltEpsilon);
}

constexpr bool IsNearOne(Real v) { return IsNear(v, 1.0); }

// ---------------------------------------------------------------------------
// Vector-like values: D3DXVECTOR2/3/4, D3DXQUATERNION and D3DXPLANE are plain
// structs of consecutive floats and are handled as arrays of components.

template <class T>
inline constexpr std::size_t kComponentCount = sizeof(T) / sizeof(float);

template <class T>
using Components = std::array<Real, kComponentCount<T>>;

// The components of each type, read and written member by member: a copy of
// the whole struct would go through memory and cost a store-to-load round
// trip.
inline std::array<float, 2> FloatsOf(const D3DXVECTOR2& v) { return {v.x, v.y}; }
inline std::array<float, 3> FloatsOf(const D3DXVECTOR3& v) { return {v.x, v.y, v.z}; }
inline std::array<float, 4> FloatsOf(const D3DXVECTOR4& v) { return {v.x, v.y, v.z, v.w}; }
inline std::array<float, 4> FloatsOf(const D3DXQUATERNION& q) { return {q.x, q.y, q.z, q.w}; }
inline std::array<float, 4> FloatsOf(const D3DXPLANE& p) { return {p.a, p.b, p.c, p.d}; }

inline void SetFloats(D3DXVECTOR2& v, const std::array<float, 2>& f) { v = {f[0], f[1]}; }
inline void SetFloats(D3DXVECTOR3& v, const std::array<float, 3>& f) { v = {f[0], f[1], f[2]}; }
inline void SetFloats(D3DXVECTOR4& v, const std::array<float, 4>& f) {
    v = {f[0], f[1], f[2], f[3]};
}
inline void SetFloats(D3DXQUATERNION& q, const std::array<float, 4>& f) {
    q = {f[0], f[1], f[2], f[3]};
}
inline void SetFloats(D3DXPLANE& p, const std::array<float, 4>& f) { p = {f[0], f[1], f[2], f[3]}; }

template <class T>
Components<T> Load(const T& value) {
    const auto floats = FloatsOf(value);
    static_assert(floats.size() == kComponentCount<T>);
    Components<T> result;
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = floats[i];
    return result;
}

template <class T>
void Store(T& out, const Components<T>& components) {
    std::array<float, kComponentCount<T>> floats;
    for (std::size_t i = 0; i < floats.size(); ++i) floats[i] = RoundToFloat(components[i]);
    SetFloats(out, floats);
}

// Sum of the squares of the first `count` components, in the working precision.
template <std::size_t N>
Real SumOfSquares(const std::array<Real, N>& c, std::size_t count = N) {
    Real sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) sum += c[i] * c[i];
    return sum;
}

// The default normalisation rule. L is the sum of the squares of the first
// `lengthCount` components, rounded to single precision.
//  - L near 1: the output is the input unchanged (nothing is written when
//    out and v are the same object).
//  - L > FLT_MIN: every component (all of them, not only the first
//    lengthCount) is multiplied by 1/sqrt(L).
//  - otherwise, NaN included: every component of the output is 0.
// A null out or v returns null and writes nothing.
template <class T>
T* NormalizeComponents(T* out, const T* v, std::size_t lengthCount = kComponentCount<T>) {
    if (out == nullptr || v == nullptr) return nullptr;
    const Components<T> c = Load(*v);
    const float squaredLength = RoundToFloat(SumOfSquares(c, lengthCount));
    if (IsNearOne(squaredLength)) {
        if (out != v) *out = *v;
        return out;
    }
    Components<T> result{};
    if (squaredLength > kFltMin) {
        const Real factor = 1.0 / std::sqrt(static_cast<Real>(squaredLength));
        for (std::size_t i = 0; i < result.size(); ++i) result[i] = c[i] * factor;
    }
    Store(*out, result);
    return out;
}

// ---------------------------------------------------------------------------
// Matrices.

using RealMatrix = std::array<std::array<Real, 4>, 4>;

inline constexpr D3DXMATRIX kIdentityMatrix{{
    {1.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 1.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f},
}};

inline RealMatrix LoadMatrix(const D3DXMATRIX& m) {
    RealMatrix result{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result[r][c] = m.m[r][c];
    return result;
}

inline void StoreMatrix(D3DXMATRIX& out, const RealMatrix& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out.m[r][c] = RoundToFloat(m[r][c]);
}

// Writes one matrix row, in a single 16-byte store where SSE is there. A
// matrix product reads each row in one load, and the store buffer can hand it
// over only when the row was written in one piece; a row written element by
// element stalls the next product until the stores have retired.
inline void StoreRow(float (&row)[4], float a, float b, float c, float d) {
#if defined(__SSE2__)
    _mm_storeu_ps(row, _mm_setr_ps(a, b, c, d));
#else
    row[0] = a;
    row[1] = b;
    row[2] = c;
    row[3] = d;
#endif
}

// out = the 3x3 block a (row by row), rounded to single precision, with the
// last row and column of the identity. The nine values are passed one by one
// so that they stay in registers.
inline void StoreRotation(D3DXMATRIX& out, Real a00, Real a01, Real a02, Real a10, Real a11,
                          Real a12, Real a20, Real a21, Real a22) {
    StoreRow(out.m[0], RoundToFloat(a00), RoundToFloat(a01), RoundToFloat(a02), 0.0f);
    StoreRow(out.m[1], RoundToFloat(a10), RoundToFloat(a11), RoundToFloat(a12), 0.0f);
    StoreRow(out.m[2], RoundToFloat(a20), RoundToFloat(a21), RoundToFloat(a22), 0.0f);
    StoreRow(out.m[3], 0.0f, 0.0f, 0.0f, 1.0f);
}

// out = diagonal (sx, sy, sz, 1).
inline void StoreDiagonal(D3DXMATRIX& out, float sx, float sy, float sz) {
    StoreRow(out.m[0], sx, 0.0f, 0.0f, 0.0f);
    StoreRow(out.m[1], 0.0f, sy, 0.0f, 0.0f);
    StoreRow(out.m[2], 0.0f, 0.0f, sz, 0.0f);
    StoreRow(out.m[3], 0.0f, 0.0f, 0.0f, 1.0f);
}

// How a vector of fewer than four components is extended to a row of four:
// a direction gets 0 in the missing places, a point gets 0 and a final 1.
enum class Extend {
    kDirection,
    kPoint
};

// In which order the rows of a vector-matrix product are summed: the
// reference from the first row on, the alternates from the last row up.
enum class RowOrder {
    kFirstToLast,
    kLastToFirst
};

// The row (v, extension) times M, all four columns, the rows summed in
// `order`. Terms that would multiply by an implied 0 are left out (so an
// infinite matrix element in an unused row does not turn the result into
// NaN), and an implied 1 adds row 3 last. All columns are summed together,
// row after row; with SSE2 (every x86-64 processor) two columns share one
// packed double operation, which changes no result: each column still sees
// the same products added in the same order.
template <std::size_t N>
std::array<Real, 4> RowTimesMatrix(const std::array<Real, N>& v, const D3DXMATRIX& m, Extend extend,
                                   RowOrder order) {
    static_assert(N >= 1 && N <= 4);
    const auto row = [order](std::size_t i) {
        return order == RowOrder::kFirstToLast ? i : N - 1 - i;
    };
    const bool addLastRow = N < 4 && extend == Extend::kPoint;
    std::array<Real, 4> sum;
#if defined(__SSE2__)
    // Columns 0-1 and 2-3 of row k, widened to double.
    const auto widened = [&m](std::size_t k, __m128d& low, __m128d& high) {
        const __m128 floats = _mm_loadu_ps(m.m[k]);
        low = _mm_cvtps_pd(floats);
        high = _mm_cvtps_pd(_mm_movehl_ps(floats, floats));
    };
    __m128d low, high, rowLow, rowHigh;
    widened(row(0), rowLow, rowHigh);
    low = _mm_mul_pd(_mm_set1_pd(v[row(0)]), rowLow);
    high = _mm_mul_pd(_mm_set1_pd(v[row(0)]), rowHigh);
    for (std::size_t i = 1; i < N; ++i) {
        const __m128d factor = _mm_set1_pd(v[row(i)]);
        widened(row(i), rowLow, rowHigh);
        low = _mm_add_pd(low, _mm_mul_pd(factor, rowLow));
        high = _mm_add_pd(high, _mm_mul_pd(factor, rowHigh));
    }
    if (addLastRow) {
        widened(3, rowLow, rowHigh);
        low = _mm_add_pd(low, rowLow);
        high = _mm_add_pd(high, rowHigh);
    }
    _mm_storeu_pd(&sum[0], low);
    _mm_storeu_pd(&sum[2], high);
#else
    for (int j = 0; j < 4; ++j) sum[j] = v[row(0)] * m.m[row(0)][j];
    for (std::size_t i = 1; i < N; ++i)
        for (int j = 0; j < 4; ++j) sum[j] += v[row(i)] * m.m[row(i)][j];
    if (addLastRow)
        for (int j = 0; j < 4; ++j) sum[j] += m.m[3][j];
#endif
    return sum;
}

// out = the row vector v (extended as given) times M, the first
// kComponentCount<Out> columns. A null out, v or m returns null and writes
// nothing; out may be v.
template <class Out, class In>
Out* TransformInto(Out* out, const In* v, const D3DXMATRIX* m, Extend extend, RowOrder order) {
    if (out == nullptr || v == nullptr || m == nullptr) return nullptr;
    const std::array<Real, 4> row = RowTimesMatrix(Load(*v), *m, extend, order);
    Components<Out> result;
    for (std::size_t j = 0; j < result.size(); ++j) result[j] = row[j];
    Store(*out, result);
    return out;
}

// Defines the five transforms without a divide (slots 0-2, 5 and 6) in the
// enclosing namespace, summing the rows in `order`: the reference and the
// alternates differ only in that order.
#define D3DX_X87_TRANSFORMS(order)                                                               \
    D3DXVECTOR4* Vec2Transform(D3DXVECTOR4* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) { \
        return TransformInto(pOut, pV, pM, Extend::kPoint, order);                               \
    }                                                                                            \
    D3DXVECTOR4* Vec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) { \
        return TransformInto(pOut, pV, pM, Extend::kPoint, order);                               \
    }                                                                                            \
    D3DXVECTOR4* Vec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) { \
        return TransformInto(pOut, pV, pM, Extend::kPoint, order);                               \
    }                                                                                            \
    D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV,                   \
                                     const D3DXMATRIX* pM) {                                     \
        return TransformInto(pOut, pV, pM, Extend::kDirection, order);                           \
    }                                                                                            \
    D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,                   \
                                     const D3DXMATRIX* pM) {                                     \
        return TransformInto(pOut, pV, pM, Extend::kDirection, order);                           \
    }

// Where an element of a matrix product is stored: out[i][j], or out[j][i]
// for the transposed product.
enum class Layout {
    kAsIs,
    kTransposed
};

// Writes the product a·b (or its transpose) into dst element by element;
// `element(a, b, i, j)` computes the sum for row i, column j. dst must be
// neither a nor b.
template <class ElementFn>
void WriteProduct(D3DXMATRIX& dst, const D3DXMATRIX& a, const D3DXMATRIX& b, Layout layout,
                  ElementFn element) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float value = RoundToFloat(element(a, b, i, j));
            if (layout == Layout::kAsIs) {
                dst.m[i][j] = value;
            } else {
                dst.m[j][i] = value;
            }
        }
    }
}

// out = M1·M2 (or its transpose), computed into a 16-float temporary and
// copied out when out is M1 or M2. A null pointer returns null.
template <class ElementFn>
D3DXMATRIX* MultiplyThroughTemporary(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2,
                                     Layout layout, ElementFn element) {
    if (out == nullptr || m1 == nullptr || m2 == nullptr) return nullptr;
    if (out != m1 && out != m2) {
        WriteProduct(*out, *m1, *m2, layout, element);
        return out;
    }
    D3DXMATRIX temporary;
    WriteProduct(temporary, *m1, *m2, layout, element);
    *out = temporary;
    return out;
}

}  // namespace d3dx::x87
