// x87 alternates of slots 0-7, installed over the reference at every
// initialisation.
//
// The transforms and products compute the same formulas as the reference in
// another order: sums run from the last row up, and the four products of a
// matrix element are added in pairs. The matrix product avoids a temporary
// wherever the aliasing allows. The normaliser replaces the square root and
// the division by a table lookup, one multiply-add and an exponent
// manipulation on the bit pattern of the squared length.
#include "dispatch/op_table.h"
#include "x87/rsqrt_segment_table.h"
#include "x87/x87_common.h"

#include <bit>
#include <cstdint>

namespace d3dx::x87alt {
namespace {

using x87::Components;
using x87::Extend;
using x87::Layout;
using x87::Load;
using x87::Real;
using x87::RoundToFloat;
using x87::RowOrder;
using x87::Store;
using x87::TransformInto;

// ---------------------------------------------------------------------------
// Matrix products.
//
// A row or column is held as the four floats it was loaded as and widened
// where it is used: four floats fit one register, while four wide values
// would be spilled to the stack and reloaded for every element.

using Quad = std::array<float, 4>;

// (r0·c0 + r1·c1) + (r2·c2 + r3·c3); each product of two floats is exact.
Real PairwiseDot(const Quad& row, const Quad& col) {
    const Real p0 = static_cast<Real>(row[0]) * col[0];
    const Real p1 = static_cast<Real>(row[1]) * col[1];
    const Real p2 = static_cast<Real>(row[2]) * col[2];
    const Real p3 = static_cast<Real>(row[3]) * col[3];
    return (p0 + p1) + (p2 + p3);
}

Quad RowOf(const D3DXMATRIX& m, int i) { return {m.m[i][0], m.m[i][1], m.m[i][2], m.m[i][3]}; }
Quad ColumnOf(const D3DXMATRIX& m, int j) { return {m.m[0][j], m.m[1][j], m.m[2][j], m.m[3][j]}; }

Real PairwiseElement(const D3DXMATRIX& a, const D3DXMATRIX& b, int i, int j) {
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
Real ApproximateInverseSqrt(float squaredLength) {
    const uint32_t bits = std::bit_cast<uint32_t>(squaredLength);
    const RsqrtSegment& segment = RsqrtSegmentTable[RsqrtSegmentIndex(bits)];
    const float reduced = std::bit_cast<float>((bits & kReducedMantissaMask) | kHalfExponentBits);
    const float scale = std::bit_cast<float>(((kExponentBias - bits) >> 1) & kSignAndExponentMask);
    const Real estimate = static_cast<Real>(reduced) * segment.slope + segment.intercept;
    return estimate * scale;
}

bool IsWithinUnitTolerance(float difference) {
    return (std::bit_cast<uint32_t>(difference) & kAbsMask) <= kUnitToleranceBits;
}

}  // namespace

D3DX_X87_TRANSFORMS(RowOrder::kLastToFirst)

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
    return x87::MultiplyThroughTemporary(pOut, pM1, pM2, Layout::kTransposed, PairwiseElement);
}

// Only an exactly zero squared length gives the zero vector; one within 1e-5
// of 1 is copied; every other length, tiny and denormal ones included, is
// scaled by the table's approximation of 1/sqrt(L).
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    const Components<D3DXVECTOR3> c = Load(*pV);
    const Real sum = x87::SumOfSquares(c);
    const float squaredLength = RoundToFloat(sum);
    if (std::bit_cast<uint32_t>(squaredLength) == 0u) {
        *pOut = D3DXVECTOR3{0.0f, 0.0f, 0.0f};
        return pOut;
    }
    if (IsWithinUnitTolerance(RoundToFloat(sum - 1.0))) {
        if (pOut != pV) *pOut = *pV;
        return pOut;
    }
    const Real factor = ApproximateInverseSqrt(squaredLength);
    Store(*pOut, {c[0] * factor, c[1] * factor, c[2] * factor});
    return pOut;
}

}  // namespace d3dx::x87alt

namespace d3dx {
static const VariantEntry kEntries[] = {
    {kVec2Transform, Erase(&x87alt::Vec2Transform)},
    {kVec3Transform, Erase(&x87alt::Vec3Transform)},
    {kVec4Transform, Erase(&x87alt::Vec4Transform)},
    {kMatrixMultiply, Erase(&x87alt::MatrixMultiply)},
    {kMatrixMultiplyTranspose, Erase(&x87alt::MatrixMultiplyTranspose)},
    {kVec2TransformNormal, Erase(&x87alt::Vec2TransformNormal)},
    {kVec3TransformNormal, Erase(&x87alt::Vec3TransformNormal)},
    {kVec3Normalize, Erase(&x87alt::Vec3Normalize)},
};
const VariantList kX87AltVariants{kEntries};
}  // namespace d3dx
