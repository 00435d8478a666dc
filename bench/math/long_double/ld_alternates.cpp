// The earlier long-double x87 forms: alternates of slots 0-7 (see ld_common.h).
#include "dispatch/op_table.h"
#include "long_double/ld_common.h"
#include "x87/rsqrt_segment_table.h"

#include <bit>
#include <cstdint>

namespace d3dx::x87ldalt {
namespace {

using x87ld::Components;
using x87ld::Ext;
using x87ld::Extend;
using x87ld::Layout;
using x87ld::Load;
using x87ld::RoundToFloat;
using x87ld::Store;

// ---------------------------------------------------------------------------
// Transforms.

// Column `col` of (v, extension)·M, summed from the last row up; the
// translation row of a point is added last.
template <std::size_t N>
Ext ReverseRowTimesColumn(const std::array<Ext, N>& v, const D3DXMATRIX& m, int col,
                          Extend extend) {
    Ext sum = v[N - 1] * m.m[N - 1][col];
    for (std::size_t k = N - 1; k-- > 0;) sum += v[k] * m.m[k][col];
    if (N < 4 && extend == Extend::kPoint) sum += m.m[3][col];
    return sum;
}

template <class Out, class In>
Out* Transform(Out* out, const In* v, const D3DXMATRIX* m, Extend extend) {
    return x87ld::TransformInto(
        out, v, m, extend, [](const Components<In>& c, const D3DXMATRIX& mm, int col, Extend e) {
            return ReverseRowTimesColumn(c, mm, col, e);
        });
}

// ---------------------------------------------------------------------------
// Matrix products.

using Quad = std::array<Ext, 4>;

// (r0·c0 + r1·c1) + (r2·c2 + r3·c3).
Ext PairwiseDot(const Quad& row, const Quad& col) {
    return (row[0] * col[0] + row[1] * col[1]) + (row[2] * col[2] + row[3] * col[3]);
}

Quad RowOf(const D3DXMATRIX& m, int i) { return {m.m[i][0], m.m[i][1], m.m[i][2], m.m[i][3]}; }
Quad ColumnOf(const D3DXMATRIX& m, int j) { return {m.m[0][j], m.m[1][j], m.m[2][j], m.m[3][j]}; }

Ext PairwiseElement(const D3DXMATRIX& a, const D3DXMATRIX& b, int i, int j) {
    return PairwiseDot(RowOf(a, i), ColumnOf(b, j));
}

// out = a·b, each row of a loaded before that row of out is written: safe
// when out is a, but not when out is b.
void MultiplyRowByRow(D3DXMATRIX& out, const D3DXMATRIX& a, const D3DXMATRIX& b) {
    for (int i = 0; i < 4; ++i) {
        const Quad row = RowOf(a, i);
        for (int j = 0; j < 4; ++j) out.m[i][j] = RoundToFloat(PairwiseDot(row, ColumnOf(b, j)));
    }
}

// out = a·b, each column of b loaded before that column of out is written:
// safe when out is b, but not when out is a.
void MultiplyColumnByColumn(D3DXMATRIX& out, const D3DXMATRIX& a, const D3DXMATRIX& b) {
    for (int j = 0; j < 4; ++j) {
        const Quad col = ColumnOf(b, j);
        for (int i = 0; i < 4; ++i) out.m[i][j] = RoundToFloat(PairwiseDot(RowOf(a, i), col));
    }
}

// ---------------------------------------------------------------------------
// Normaliser.

constexpr uint32_t kAbsMask = 0x7FFFFFFFu;
constexpr uint32_t kUnitToleranceBits = 0x3727C5ACu;  // 1e-5f
// Keeps the lowest exponent bit and the mantissa; with the exponent of 0.5
// put in, the result is the squared length scaled into [0.5, 2).
constexpr uint32_t kReducedMantissaMask = 0x00FFFFFFu;
constexpr uint32_t kHalfExponentBits = 0x3F000000u;  // 0.5f
// (kExponentBias - B) >> 1, masked to sign and exponent, is the power of two
// that undoes the reduction under the square root.
constexpr uint32_t kExponentBias = 0xBEFFFFFFu;
constexpr uint32_t kSignAndExponentMask = 0xFF800000u;

// An approximation of 1/sqrt(L) from L's bit pattern, with the table's
// relative error of at most 1.5e-6 for normal L.
Ext ApproximateInverseSqrt(float squaredLength) {
    const uint32_t bits = std::bit_cast<uint32_t>(squaredLength);
    const RsqrtSegment& segment = RsqrtSegmentTable[RsqrtSegmentIndex(bits)];
    const float reduced = std::bit_cast<float>((bits & kReducedMantissaMask) | kHalfExponentBits);
    const float scale = std::bit_cast<float>(((kExponentBias - bits) >> 1) & kSignAndExponentMask);
    const Ext estimate = static_cast<Ext>(reduced) * segment.slope + segment.intercept;
    return estimate * scale;
}

bool IsWithinUnitTolerance(float difference) {
    return (std::bit_cast<uint32_t>(difference) & kAbsMask) <= kUnitToleranceBits;
}

}  // namespace

D3DXVECTOR4* Vec2Transform(D3DXVECTOR4* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    return Transform(pOut, pV, pM, Extend::kPoint);
}

D3DXVECTOR4* Vec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return Transform(pOut, pV, pM, Extend::kPoint);
}

D3DXVECTOR4* Vec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    return Transform(pOut, pV, pM, Extend::kPoint);
}

D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    return Transform(pOut, pV, pM, Extend::kDirection);
}

D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return Transform(pOut, pV, pM, Extend::kDirection);
}

// A temporary only when out, M1 and M2 are all one matrix (M2 is copied);
// column by column when out is M2 alone; row by row otherwise.
D3DXMATRIX* MatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    if (pOut == nullptr || pM1 == nullptr || pM2 == nullptr) return nullptr;
    if (pOut == pM1 && pOut == pM2) {
        const D3DXMATRIX right = *pM2;
        MultiplyRowByRow(*pOut, *pM1, right);
    } else if (pOut == pM2) {
        MultiplyColumnByColumn(*pOut, *pM1, *pM2);
    } else {
        MultiplyRowByRow(*pOut, *pM1, *pM2);
    }
    return pOut;
}

D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                    const D3DXMATRIX* pM2) {
    return x87ld::MultiplyThroughTemporary(pOut, pM1, pM2, Layout::kTransposed, PairwiseElement);
}

// Only an exactly zero squared length gives the zero vector; one within 1e-5
// of 1 is copied; every other length, tiny and denormal ones included, is
// scaled by the table's approximation of 1/sqrt(L).
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    const Components<D3DXVECTOR3> c = Load(*pV);
    const Ext sum = x87ld::SumOfSquares(c);
    const float squaredLength = RoundToFloat(sum);
    if (std::bit_cast<uint32_t>(squaredLength) == 0u) {
        *pOut = D3DXVECTOR3{0.0f, 0.0f, 0.0f};
        return pOut;
    }
    if (IsWithinUnitTolerance(RoundToFloat(sum - 1.0L))) {
        if (pOut != pV) *pOut = *pV;
        return pOut;
    }
    const Ext factor = ApproximateInverseSqrt(squaredLength);
    Store(*pOut, {c[0] * factor, c[1] * factor, c[2] * factor});
    return pOut;
}

}  // namespace d3dx::x87ldalt
