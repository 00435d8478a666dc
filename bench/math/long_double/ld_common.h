// The x87 forms as they were before they computed in double: every value in
// long double (x87 extended precision), the long-double C library for sines,
// cosines and arc functions, 80-bit temporaries. Kept in the benchmark program
// only, so that it can time them beside the library's current forms in one
// run. Only the operations the benchmark times are kept.
#pragma once

#include "d3dx_math.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace d3dx::x87ld {

#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT

// x87 extended precision.
using Ext = long double;

inline constexpr float kFltEpsilon = FLT_EPSILON;  // 2^-23, bits 0x34000000
inline constexpr float kFltMin = FLT_MIN;          // 2^-126, bits 0x00800000

// Rounds an extended value to single precision, as a store to memory does.
constexpr float RoundToFloat(Ext v) { return static_cast<float>(v); }

// a and b differ by at most FLT_EPSILON (inclusive), the difference taken in
// extended precision. NaN is never near anything.
constexpr bool IsNear(Ext a, Ext b) {
    const Ext difference = a - b;
    return difference >= -static_cast<Ext>(kFltEpsilon) &&
           difference <= static_cast<Ext>(kFltEpsilon);
}

constexpr bool IsNearOne(Ext v) { return IsNear(v, 1.0L); }

// ---------------------------------------------------------------------------
// Vector-like values: D3DXVECTOR2/3/4, D3DXQUATERNION and D3DXPLANE are plain
// structs of consecutive floats and are handled as arrays of components.

template <class T>
inline constexpr std::size_t kComponentCount = sizeof(T) / sizeof(float);

template <class T>
using Components = std::array<Ext, kComponentCount<T>>;

template <class T>
Components<T> Load(const T& value) {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) % sizeof(float) == 0);
    std::array<float, kComponentCount<T>> floats{};
    std::memcpy(floats.data(), &value, sizeof(T));
    Components<T> result{};
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = floats[i];
    return result;
}

template <class T>
void Store(T& out, const Components<T>& components) {
    std::array<float, kComponentCount<T>> floats{};
    for (std::size_t i = 0; i < floats.size(); ++i) floats[i] = RoundToFloat(components[i]);
    std::memcpy(&out, floats.data(), sizeof(T));
}

// Sum of the squares of the first `count` components, in extended precision.
template <std::size_t N>
Ext SumOfSquares(const std::array<Ext, N>& c, std::size_t count = N) {
    Ext sum = 0.0L;
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
        const Ext factor = 1.0L / std::sqrt(static_cast<Ext>(squaredLength));
        for (std::size_t i = 0; i < result.size(); ++i) result[i] = c[i] * factor;
    }
    Store(*out, result);
    return out;
}

// ---------------------------------------------------------------------------
// Matrices.

using ExtMatrix = std::array<std::array<Ext, 4>, 4>;

inline constexpr D3DXMATRIX kIdentityMatrix{{
    {1.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 1.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f},
}};

inline ExtMatrix LoadMatrix(const D3DXMATRIX& m) {
    ExtMatrix result{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result[r][c] = m.m[r][c];
    return result;
}

inline void StoreMatrix(D3DXMATRIX& out, const ExtMatrix& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out.m[r][c] = RoundToFloat(m[r][c]);
}

// How a vector of fewer than four components is extended to a row of four:
// a direction gets 0 in the missing places, a point gets 0 and a final 1.
enum class Extend {
    kDirection,
    kPoint
};

// Column `col` of the row (v, extension) times M. Terms that would multiply
// by an implied 0 are left out (so an infinite matrix element in an unused
// row does not turn the result into NaN), and an implied 1 adds m[3][col].
template <std::size_t N>
Ext RowTimesColumn(const std::array<Ext, N>& v, const D3DXMATRIX& m, int col, Extend extend) {
    static_assert(N >= 1 && N <= 4);
    Ext sum = v[0] * m.m[0][col];
    for (std::size_t k = 1; k < N; ++k) sum += v[k] * m.m[k][col];
    if (N < 4 && extend == Extend::kPoint) sum += m.m[3][col];
    return sum;
}

// out = the row vector v (extended as given) times M, for the first
// kComponentCount<Out> columns; `column(c, m, j, extend)` computes one
// column, so the reference and the alternates can differ in summation order.
// A null out, v or m returns null and writes nothing; out may be v.
template <class Out, class In, class ColumnFn>
Out* TransformInto(Out* out, const In* v, const D3DXMATRIX* m, Extend extend, ColumnFn column) {
    if (out == nullptr || v == nullptr || m == nullptr) return nullptr;
    const Components<In> c = Load(*v);
    Components<Out> result{};
    for (std::size_t j = 0; j < result.size(); ++j)
        result[j] = column(c, *m, static_cast<int>(j), extend);
    Store(*out, result);
    return out;
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

}  // namespace d3dx::x87ld

namespace d3dx::x87ldalt {
#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace d3dx::x87ldalt
