// Building blocks of the 3DNow! variants, written over the float-pair model:
// the read-only constant pairs, loads and stores of the D3DX types as pairs,
// the refined reciprocal and reciprocal square root, the FLT_MIN mask, and
// the private routines (sine/cosine, arc tangent, arc cosine) the variants
// share.
#pragma once

#include "amd3dnow/float_pair.h"
#include "d3dx_math.h"
#include "dispatch/op_table.h"

#include <cstdint>

namespace d3dx::amd3dnow {

using mmx::Mm;

// ---------------------------------------------------------------------------
// Constants, by bit pattern.

inline constexpr Mm kOnes = mmx::PairFromBits(0x3F800000u, 0x3F800000u);    // (1.0, 1.0)
inline constexpr Mm kHalves = mmx::PairFromBits(0x3F000000u, 0x3F000000u);  // (0.5, 0.5)
inline constexpr Mm kTwos = mmx::PairFromBits(0x40000000u, 0x40000000u);    // (2.0, 2.0)
inline constexpr Mm kZeros = mmx::PairFromBits(0u, 0u);
inline constexpr Mm kOneLo = mmx::PairFromBits(0x3F800000u, 0u);              // (1.0, 0)
inline constexpr Mm kOneHi = mmx::PairFromBits(0u, 0x3F800000u);              // (0, 1.0)
inline constexpr Mm kSignBoth = mmx::PairFromBits(0x80000000u, 0x80000000u);  // (-0, -0)
inline constexpr Mm kSignHi = mmx::PairFromBits(0u, 0x80000000u);             // (0, -0)
inline constexpr Mm kSignLo = mmx::PairFromBits(0x80000000u, 0u);             // (-0, 0)
inline constexpr Mm kMagnitude =
    mmx::PairFromBits(0x7FFFFFFFu, 0x7FFFFFFFu);                            // clears the sign bits
inline constexpr Mm kLoLane = mmx::PairFromBits(mmx::kAllOnes, 0u);         // keeps lane 0
inline constexpr Mm kFltMin = mmx::PairFromBits(0x00800000u, 0x00800000u);  // 2^-126
inline constexpr Mm kFltEpsilon = mmx::PairFromBits(0x34000000u, 0x34000000u);  // 2^-23

// ---------------------------------------------------------------------------
// A 4-float value (D3DXVECTOR4, D3DXQUATERNION, D3DXPLANE, a matrix row) is
// two registers; a D3DXVECTOR3 is a pair and a single (zw = (z, 0)).

struct Quad {
    Mm xy;
    Mm zw;
};

inline Quad LoadQuad(const float* p) { return {mmx::movq(p), mmx::movq(p + 2)}; }
inline void StoreQuad(float* p, Quad q) {
    mmx::movq(p, q.xy);
    mmx::movq(p + 2, q.zw);
}
inline Quad LoadTriple(const float* p) { return {mmx::movq(p), mmx::movd(p[2])}; }
inline void StoreTriple(float* p, Quad q) {
    mmx::movq(p, q.xy);
    mmx::movd(p + 2, q.zw);
}

inline Quad LoadQuad(const D3DXVECTOR4& v) { return LoadQuad(&v.x); }
inline Quad LoadQuad(const D3DXQUATERNION& q) { return LoadQuad(&q.x); }
inline Quad LoadQuad(const D3DXPLANE& p) { return LoadQuad(&p.a); }
inline Quad LoadTriple(const D3DXVECTOR3& v) { return LoadTriple(&v.x); }
inline void StoreQuad(D3DXVECTOR4* out, Quad q) { StoreQuad(&out->x, q); }
inline void StoreQuad(D3DXQUATERNION* out, Quad q) { StoreQuad(&out->x, q); }
inline void StoreQuad(D3DXPLANE* out, Quad q) { StoreQuad(&out->a, q); }
inline void StoreTriple(D3DXVECTOR3* out, Quad q) { StoreTriple(&out->x, q); }

// Lane-wise operations on both registers of a Quad.
inline Quad Add(Quad a, Quad b) { return {mmx::pfadd(a.xy, b.xy), mmx::pfadd(a.zw, b.zw)}; }
inline Quad Sub(Quad a, Quad b) { return {mmx::pfsub(a.xy, b.xy), mmx::pfsub(a.zw, b.zw)}; }
inline Quad Mul(Quad a, Quad b) { return {mmx::pfmul(a.xy, b.xy), mmx::pfmul(a.zw, b.zw)}; }
inline Quad Scale(Quad a, Mm s) { return {mmx::pfmul(a.xy, s), mmx::pfmul(a.zw, s)}; }
inline Quad And(Quad a, Mm mask) { return {mmx::pand(a.xy, mask), mmx::pand(a.zw, mask)}; }
inline Quad Xor(Quad a, Quad b) { return {mmx::pxor(a.xy, b.xy), mmx::pxor(a.zw, b.zw)}; }
// Lane-wise select: where the mask is set, a; elsewhere b.
inline Mm Select(Mm mask, Mm a, Mm b) { return mmx::por(mmx::pand(mask, a), mmx::pandn(mask, b)); }
inline Quad Select(Mm mask, Quad a, Quad b) {
    return {Select(mask, a.xy, b.xy), Select(mask, a.zw, b.zw)};
}

// Lane 0 in both lanes, lane 1 in both lanes.
inline Mm BroadcastLo(Mm a) { return mmx::punpckldq(a, a); }
inline Mm BroadcastHi(Mm a) { return mmx::punpckhdq(a, a); }

// One coordinate of a Quad in both lanes; element e (0..3) likewise.
inline Mm X(Quad v) { return BroadcastLo(v.xy); }
inline Mm Y(Quad v) { return BroadcastHi(v.xy); }
inline Mm Z(Quad v) { return BroadcastLo(v.zw); }
inline Mm W(Quad v) { return BroadcastHi(v.zw); }
inline Mm Element(Quad v, int e) {
    const Mm pair = e < 2 ? v.xy : v.zw;
    return (e % 2 == 0) ? BroadcastLo(pair) : BroadcastHi(pair);
}

// The lanes exchanged (PUNPCKHDQ/PUNPCKLDQ; the extension has PSWAPD).
inline Mm SwapLanes(Mm a) { return mmx::punpckldq(BroadcastHi(a), a); }

// True when lane 0 of a mask is set (MOVD of the mask, then an integer test).
inline bool LoLaneSet(Mm mask) { return mmx::movd_r32(mask) != 0; }

// ---------------------------------------------------------------------------
// Matrices: four rows of two pairs.

struct MatrixPairs {
    Quad row[4];
};

inline MatrixPairs LoadMatrix(const D3DXMATRIX& m) {
    return {{LoadQuad(m.m[0]), LoadQuad(m.m[1]), LoadQuad(m.m[2]), LoadQuad(m.m[3])}};
}
inline void StoreMatrix(D3DXMATRIX* out, const MatrixPairs& m) {
    for (int i = 0; i < 4; ++i) StoreQuad(out->m[i], m.row[i]);
}
// The transpose in pair form: row j of the result is column j of m.
MatrixPairs Transposed(const MatrixPairs& m);
MatrixPairs IdentityPairs();

// ---------------------------------------------------------------------------
// Refined reciprocal and reciprocal square root of lane 0, in both lanes:
// the approximation plus one Newton-Raphson step.

inline Mm RefinedReciprocal(Mm t) {
    const Mm x0 = mmx::pfrcp(t);
    const Mm residual = mmx::pfrcpit1(BroadcastLo(t), x0);
    return mmx::pfrcpit2(residual, x0);
}

inline Mm RefinedReciprocalSqrt(Mm s) {
    const Mm x0 = mmx::pfrsqrt(s);
    const Mm residual = mmx::pfrsqit1(mmx::pfmul(x0, x0), BroadcastLo(s));
    return mmx::pfrcpit2(residual, x0);
}

// Both lanes reciprocal at once: two PFRCPs gathered, one packed refinement.
inline Mm RefinedReciprocalPair(Mm t) {
    const Mm x0 = mmx::punpckldq(mmx::pfrcp(t), mmx::pfrcp(BroadcastHi(t)));
    return mmx::pfrcpit2(mmx::pfrcpit1(t, x0), x0);
}

// All-ones where s > FLT_MIN: the lengths that can be normalised.
inline Mm AboveFltMin(Mm s) { return mmx::pfcmpgt(s, kFltMin); }

// Squared lengths, summed in pairs, the sum in both lanes.
inline Mm SquaredLength2(Mm xy) {
    const Mm squares = mmx::pfmul(xy, xy);
    return mmx::pfacc(squares, squares);
}
// (x² + z²) + y² for a triple (zw = (z, 0)) or (x² + z²) + (y² + w²) for four.
inline Mm SquaredLength4(Quad v) {
    const Mm sums = mmx::pfadd(mmx::pfmul(v.xy, v.xy), mmx::pfmul(v.zw, v.zw));
    return mmx::pfacc(sums, sums);
}

// Dot products of two Quads as (x1x2 + z1z2) + (y1y2 + w1w2), in both lanes.
inline Mm Dot4(Quad a, Quad b) {
    const Mm sums = mmx::pfadd(mmx::pfmul(a.xy, b.xy), mmx::pfmul(a.zw, b.zw));
    return mmx::pfacc(sums, sums);
}

// The normalisation scheme every 3DNow! normaliser shares: the input masked
// by s > FLT_MIN, times the refined 1/sqrt(s). Zeros when s <= FLT_MIN.
inline Quad NormalizedBy(Quad v, Mm squaredLength) {
    const Mm q = RefinedReciprocalSqrt(squaredLength);
    return Scale(And(v, AboveFltMin(squaredLength)), q);
}

// A triple normalised: (x² + z²) + y², masked, refined.
inline Quad NormalizedTriple(Quad v) { return NormalizedBy(v, SquaredLength4(v)); }

// Cross product of two triples (lanes x, y | z, 0).
Quad Cross(Quad u, Quad v);

// ---------------------------------------------------------------------------
// Private routines, register in and register out.

// (cos a, sin a) of the angle in lane 0, by an octant reduction with pi/4 in
// two parts and short Taylor polynomials.
Mm PackedSinCos3DNow(Mm angle);
// (sin a, cos a) of the angle in lane 0: the same reduction, longer
// polynomials (about single precision).
Mm SinCosSineLow(Mm angle);
// atan2(y, x) of two non-negative magnitudes in lane 0 of y and x, in both lanes.
Mm ArcTan2(Mm y, Mm x);
// acos of lane 0 (|x| <= 1), in both lanes.
Mm ArcCos(Mm x);

// The matrix inverse on pairs, shared by the plain and extension variants.
// Returns false (and writes nothing to *out) when the determinant is exactly
// zero; the determinant goes to *det, when given, before that test.
struct Minors {
    Mm upper[3];  // 2x2 minors of rows 0,1: (01,02) (03,12) (13,23)
    Mm lower[3];  // the same of rows 2,3
};
Minors PairMinors(const MatrixPairs& m);
Mm DeterminantFromMinors(const MatrixPairs& m, const Minors& minors);
bool InvertFromMinors(D3DXMATRIX* out, float* det, const MatrixPairs& m, const Minors& minors);

// The rotation matrix of a quaternion from its products with its double:
// squares (xx2, yy2 | zz2, ww2) and the (difference, sum) pairs
// (xy2 -+ zw2), (xz2 -+ yw2), (yz2 -+ xw2). The plain and the extension
// variants form those pairs with different instructions.
D3DXMATRIX* StoreRotationOfQuaternion(D3DXMATRIX* pOut, Quad squares, Mm xyZw, Mm xzYw, Mm yzXw);

// The transformation builder, with the rotation-matrix variant it uses.
D3DXMATRIX* TransformationWith(fn::MatrixRotationQuaternion* rotation, D3DXMATRIX* pOut,
                               const D3DXVECTOR3* pScalingCenter,
                               const D3DXQUATERNION* pScalingRotation, const D3DXVECTOR3* pScaling,
                               const D3DXVECTOR3* pRotationCenter, const D3DXQUATERNION* pRotation,
                               const D3DXVECTOR3* pTranslation);

// Combines World x View x Projection (null ones skipped; none: identity).
MatrixPairs CombinedTransform(const D3DXMATRIX* pWorld, const D3DXMATRIX* pView,
                              const D3DXMATRIX* pProjection);

// The matrix product and its transposed form, on pairs.
MatrixPairs Product(const MatrixPairs& a, const MatrixPairs& b);

// (x·m[0] + y·m[1]) + (z·m[2] + w·m[3])
Quad Transform4(Quad v, const MatrixPairs& m);

// v times a matrix with the TransformCoord rule: divided by its w through
// the refined reciprocal.
Quad TransformCoord3(Quad v, const MatrixPairs& m);

// Unprojection with the minors routine of the inverse it uses. Returns null,
// leaving pOut untouched, when the combined matrix cannot be inverted.
using MinorsRoutine = Minors(const MatrixPairs&);
D3DXVECTOR3* UnprojectWith(MinorsRoutine* minorsOf, D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                           const D3DXVIEWPORT* pViewport, const D3DXMATRIX* pProjection,
                           const D3DXMATRIX* pView, const D3DXMATRIX* pWorld);

// The quaternion of a rotation matrix: the four candidate results (positive
// trace; largest diagonal element 0, 1, 2), each as the values that get
// multiplied by 0.5/sqrt(root), with the masks that pick exactly one.
struct RotationCandidates {
    Quad value[4];
    Mm root[4];
    Mm chosen[4];
};
RotationCandidates RotationCandidatesOf(const MatrixPairs& m);
Quad QuaternionOfCandidate(Quad value, Mm root);

}  // namespace d3dx::amd3dnow
