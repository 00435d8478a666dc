// 3DNow! matrix operations: products, transpose, determinant and inverse,
// the builders (translation, scaling, rotations, shadow, reflection) and the
// composite transformations.
#include "amd3dnow/amd3dnow_common.h"
#include "dispatch/op_table.h"

namespace d3dx::amd3dnow {

using namespace mmx;

namespace {

// (a0·b0 + a1·b1) + (a2·b2 + a3·b3) for two columns at once: PFACC of the
// paired products, then PFACC of the two partial sums.
Mm RowTimesColumns(Quad row, Quad columnA, Quad columnB) {
    const Mm a = pfacc(pfmul(row.xy, columnA.xy), pfmul(row.zw, columnA.zw));
    const Mm b = pfacc(pfmul(row.xy, columnB.xy), pfmul(row.zw, columnB.zw));
    return pfacc(a, b);
}

Quad RowTimesMatrix(Quad row, const MatrixPairs& columns) {
    return {RowTimesColumns(row, columns.row[0], columns.row[1]),
            RowTimesColumns(row, columns.row[2], columns.row[3])};
}

// Minor k (0..5: columns 01, 02, 03, 12, 13, 23) of a minor set, in both lanes.
Mm MinorAt(const Mm (&pairs)[3], int k) {
    return (k % 2 == 0) ? BroadcastLo(pairs[k / 2]) : BroadcastHi(pairs[k / 2]);
}

// Which three elements and minors make up each adjugate row.
struct CofactorTerms {
    int element[3];
    int minor[3];
};
inline constexpr CofactorTerms kCofactorTerms[4] = {
    {{1, 2, 3}, {5, 4, 3}},
    {{0, 2, 3}, {5, 2, 1}},
    {{0, 1, 3}, {4, 2, 0}},
    {{0, 1, 2}, {3, 1, 0}},
};

// e0·m0 - e1·m1 + e2·m2 over the element pairs (from rows p and q) and minors.
Mm CofactorPair(Quad p, Quad q, const Mm (&minors)[3], const CofactorTerms& terms) {
    const auto pairAt = [&](int i) {
        return punpckldq(Element(p, terms.element[i]), Element(q, terms.element[i]));
    };
    const Mm first = pfsub(pfmul(pairAt(0), MinorAt(minors, terms.minor[0])),
                           pfmul(pairAt(1), MinorAt(minors, terms.minor[1])));
    return pfadd(first, pfmul(pairAt(2), MinorAt(minors, terms.minor[2])));
}

MatrixPairs Adjugate(const MatrixPairs& m, const Minors& minors) {
    MatrixPairs adjugate{};
    for (int i = 0; i < 4; ++i) {
        const Mm signs = (i % 2 == 0) ? kSignHi : kSignLo;
        adjugate.row[i].xy =
            pxor(CofactorPair(m.row[1], m.row[0], minors.lower, kCofactorTerms[i]), signs);
        adjugate.row[i].zw =
            pxor(CofactorPair(m.row[3], m.row[2], minors.upper, kCofactorTerms[i]), signs);
    }
    return adjugate;
}

// Row 0 times the first column of the adjugate: (a0c0 + a2c2) + (a1c1 + a3c3).
Mm DeterminantOf(Quad row0, const MatrixPairs& adjugate) {
    const Mm low = punpckldq(adjugate.row[0].xy, adjugate.row[1].xy);
    const Mm high = punpckldq(adjugate.row[2].xy, adjugate.row[3].xy);
    const Mm sums = pfadd(pfmul(row0.xy, low), pfmul(row0.zw, high));
    return pfacc(sums, sums);
}

// The 2x2 minors of two rows p, q, paired as (01, 02), (03, 12), (13, 23):
// minor ij = p_i·q_j - p_j·q_i.
void RowMinors(Quad p, Quad q, Mm (&out)[3]) {
    const Mm p12 = punpckldq(BroadcastHi(p.xy), p.zw);
    const Mm q12 = punpckldq(BroadcastHi(q.xy), q.zw);
    out[0] = pfsub(pfmul(Element(p, 0), q12), pfmul(p12, Element(q, 0)));
    out[1] = pfsub(pfmul(p.xy, SwapLanes(q.zw)), pfmul(SwapLanes(p.zw), q.xy));
    out[2] = pfsub(pfmul(p12, Element(q, 3)), pfmul(Element(p, 3), q12));
}

Quad Row(Mm xy, Mm zw) { return {xy, zw}; }

MatrixPairs FromRows(Quad r0, Quad r1, Quad r2, Quad r3) { return {{r0, r1, r2, r3}}; }

inline constexpr Quad kIdentityRow3{kZeros, kOneHi};

// A triple added to (or taken from) row 3, the translation row.
MatrixPairs RowThreePlus(MatrixPairs m, Quad v) {
    m.row[3] = Add(m.row[3], v);
    return m;
}
MatrixPairs RowThreeMinus(MatrixPairs m, Quad v) {
    m.row[3] = Sub(m.row[3], v);
    return m;
}

MatrixPairs Diagonal(Mm xy, Mm zw) {
    return FromRows(Row(pand(xy, kLoLane), kZeros), Row(pandn(kLoLane, xy), kZeros),
                    Row(kZeros, pand(zw, kLoLane)), Row(kZeros, pandn(kLoLane, zw)));
}

MatrixPairs RotationOf(fn::MatrixRotationQuaternion* rotation, const D3DXQUATERNION& q) {
    D3DXMATRIX m;
    rotation(&m, &q);
    return LoadMatrix(m);
}

// Step 4 and 5 of the transformation builders: an optional rotation about an
// optional centre, then an optional translation.
MatrixPairs RotatedAndTranslated(MatrixPairs out, fn::MatrixRotationQuaternion* rotation,
                                 const D3DXVECTOR3* pRotationCenter,
                                 const D3DXQUATERNION* pRotation, const D3DXVECTOR3* pTranslation) {
    if (pRotation) {
        const MatrixPairs r = RotationOf(rotation, *pRotation);
        if (pRotationCenter) {
            const Quad centre = LoadTriple(*pRotationCenter);
            out = RowThreePlus(Product(RowThreeMinus(out, centre), r), centre);
        } else {
            out = Product(out, r);
        }
    }
    if (pTranslation) out = RowThreePlus(out, LoadTriple(*pTranslation));
    return out;
}

// Scaling about a centre, in the frame of a scaling rotation.
MatrixPairs OrientedScaling(fn::MatrixRotationQuaternion* rotation,
                            const D3DXVECTOR3* pScalingCenter,
                            const D3DXQUATERNION& scalingRotation, const D3DXVECTOR3& scaling) {
    const Quad s = LoadTriple(scaling);
    const MatrixPairs scale = Diagonal(s.xy, por(s.zw, kOneHi));
    const MatrixPairs r = RotationOf(rotation, scalingRotation);
    if (!pScalingCenter) return Product(Product(Transposed(r), scale), r);
    const Quad centre = LoadTriple(*pScalingCenter);
    const MatrixPairs moved = RowThreeMinus(IdentityPairs(), centre);
    return RowThreePlus(Product(Product(Product(moved, Transposed(r)), scale), r), centre);
}

// All-ones in lane i of a row, zero elsewhere.
Quad DiagonalMask(int i) {
    const Quad unit = IdentityPairs().row[i];
    return {pcmpeqd(unit.xy, kOnes), pcmpeqd(unit.zw, kOnes)};
}

// Row i = (dot on the diagonal) - P_i·L, P the normalised plane.
MatrixPairs ShadowRows(Quad plane, Quad light) {
    const Quad p = NormalizedBy(plane, SquaredLength4({plane.xy, pand(plane.zw, kLoLane)}));
    const Mm dot = Dot4(p, light);
    MatrixPairs out{};
    for (int i = 0; i < 4; ++i) {
        const Quad mask = DiagonalMask(i);
        const Quad dotOnDiagonal{pand(dot, mask.xy), pand(dot, mask.zw)};
        out.row[i] = Sub(dotOnDiagonal, Scale(light, Element(p, i)));
    }
    return out;
}

}  // namespace

MatrixPairs IdentityPairs() {
    return FromRows(Row(kOneLo, kZeros), Row(kOneHi, kZeros), Row(kZeros, kOneLo), kIdentityRow3);
}

// The four 2x2 blocks transposed: diagonal blocks in place, off-diagonal
// blocks exchanged.
MatrixPairs Transposed(const MatrixPairs& m) {
    const Quad* r = m.row;
    return FromRows(Row(punpckldq(r[0].xy, r[1].xy), punpckldq(r[2].xy, r[3].xy)),
                    Row(punpckhdq(r[0].xy, r[1].xy), punpckhdq(r[2].xy, r[3].xy)),
                    Row(punpckldq(r[0].zw, r[1].zw), punpckldq(r[2].zw, r[3].zw)),
                    Row(punpckhdq(r[0].zw, r[1].zw), punpckhdq(r[2].zw, r[3].zw)));
}

Quad Cross(Quad u, Quad v) {
    // (uy·vz - uz·vy, uz·vx - ux·vz | ux·vy - uy·vx, 0)
    const Mm uYZ = punpckldq(BroadcastHi(u.xy), u.zw);
    const Mm vYZ = punpckldq(BroadcastHi(v.xy), v.zw);
    const Mm uZX = punpckldq(u.zw, u.xy);
    const Mm vZX = punpckldq(v.zw, v.xy);
    const Mm xy = pfsub(pfmul(uYZ, vZX), pfmul(uZX, vYZ));
    const Mm zTerms = pfmul(u.xy, punpckldq(BroadcastHi(v.xy), v.xy));
    return {xy, pand(pfsub(zTerms, BroadcastHi(zTerms)), kLoLane)};
}

MatrixPairs Product(const MatrixPairs& a, const MatrixPairs& b) {
    const MatrixPairs columns = Transposed(b);
    MatrixPairs out{};
    for (int i = 0; i < 4; ++i) out.row[i] = RowTimesMatrix(a.row[i], columns);
    return out;
}

Minors PairMinors(const MatrixPairs& m) {
    Minors minors{};
    RowMinors(m.row[0], m.row[1], minors.upper);
    RowMinors(m.row[2], m.row[3], minors.lower);
    return minors;
}

Mm DeterminantFromMinors(const MatrixPairs& m, const Minors& minors) {
    return DeterminantOf(m.row[0], Adjugate(m, minors));
}

bool InvertFromMinors(D3DXMATRIX* out, float* det, const MatrixPairs& m, const Minors& minors) {
    const MatrixPairs adjugate = Adjugate(m, minors);
    const Mm determinant = DeterminantOf(m.row[0], adjugate);
    if (det) movd(det, determinant);
    if (LoLaneSet(pfcmpeq(determinant, kZeros))) return false;
    const Mm q = RefinedReciprocal(determinant);
    StoreMatrix(out, FromRows(Scale(adjugate.row[0], q), Scale(adjugate.row[1], q),
                              Scale(adjugate.row[2], q), Scale(adjugate.row[3], q)));
    return true;
}

D3DXMATRIX* StoreRotationOfQuaternion(D3DXMATRIX* pOut, Quad squares, Mm xyZw, Mm xzYw, Mm yzXw) {
    // Diagonal: (1 - yy2) - zz2, (1 - xx2) - zz2, (1 - xx2) - yy2.
    const Mm zz = BroadcastLo(squares.zw);
    const Mm d01 = pfsub(pfsub(kOnes, SwapLanes(squares.xy)), zz);
    const Mm d2 = pfsub(pfsub(kOnes, squares.xy), BroadcastHi(squares.xy));
    const Quad r0{punpckldq(d01, BroadcastHi(xyZw)), punpckldq(xzYw, kZeros)};
    const Quad r1{punpckldq(xyZw, BroadcastHi(d01)), punpckhdq(yzXw, kZeros)};
    const Quad r2{punpckldq(BroadcastHi(xzYw), yzXw), pand(d2, kLoLane)};
    StoreMatrix(pOut, FromRows(r0, r1, r2, kIdentityRow3));
    return pOut;
}

MatrixPairs CombinedTransform(const D3DXMATRIX* pWorld, const D3DXMATRIX* pView,
                              const D3DXMATRIX* pProjection) {
    MatrixPairs combined = IdentityPairs();
    bool any = false;
    for (const D3DXMATRIX* m : {pWorld, pView, pProjection}) {
        if (!m) continue;
        combined = any ? Product(combined, LoadMatrix(*m)) : LoadMatrix(*m);
        any = true;
    }
    return combined;
}

D3DXMATRIX* TransformationWith(fn::MatrixRotationQuaternion* rotation, D3DXMATRIX* pOut,
                               const D3DXVECTOR3* pScalingCenter,
                               const D3DXQUATERNION* pScalingRotation, const D3DXVECTOR3* pScaling,
                               const D3DXVECTOR3* pRotationCenter, const D3DXQUATERNION* pRotation,
                               const D3DXVECTOR3* pTranslation) {
    if (!pOut) return nullptr;
    MatrixPairs out = IdentityPairs();
    if (pScaling && !pScalingRotation) {
        const Quad s = LoadTriple(*pScaling);
        out = Diagonal(s.xy, por(s.zw, kOneHi));
    } else if (pScaling) {
        out = OrientedScaling(rotation, pScalingCenter, *pScalingRotation, *pScaling);
    }
    StoreMatrix(pOut,
                RotatedAndTranslated(out, rotation, pRotationCenter, pRotation, pTranslation));
    femms();
    return pOut;
}

D3DXMATRIX* MatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    if (!pOut || !pM1 || !pM2) return nullptr;
    const MatrixPairs columns = Transposed(LoadMatrix(*pM2));
    for (int i = 0; i < 4; ++i) StoreQuad(pOut->m[i], RowTimesMatrix(LoadQuad(pM1->m[i]), columns));
    femms();
    return pOut;
}

// Output row j = column j of M2 against the four rows of M1. When pOut is
// M1, every row of M1 is still needed after row 0 is written, so all
// sixteen results are formed first.
D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                    const D3DXMATRIX* pM2) {
    if (!pOut || !pM1 || !pM2) return nullptr;
    const MatrixPairs columns = Transposed(LoadMatrix(*pM2));
    const MatrixPairs rows = LoadMatrix(*pM1);
    MatrixPairs out{};
    for (int j = 0; j < 4; ++j) out.row[j] = RowTimesMatrix(columns.row[j], rows);
    StoreMatrix(pOut, out);
    femms();
    return pOut;
}

D3DXMATRIX* MatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    StoreMatrix(pOut, Transposed(LoadMatrix(*pM)));
    femms();
    return pOut;
}

float MatrixDeterminant(const D3DXMATRIX* pM) {
    if (!pM) return 0.0f;
    const MatrixPairs m = LoadMatrix(*pM);
    const float det = DeterminantFromMinors(m, PairMinors(m)).lo;
    femms();
    return det;
}

D3DXMATRIX* MatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    const MatrixPairs m = LoadMatrix(*pM);
    const bool inverted = InvertFromMinors(pOut, pDeterminant, m, PairMinors(m));
    femms();
    return inverted ? pOut : nullptr;
}

D3DXMATRIX* MatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z) {
    if (!pOut) return nullptr;
    MatrixPairs m = IdentityPairs();
    m.row[3] = {punpckldq(movd(x), movd(y)), por(movd(z), kOneHi)};
    StoreMatrix(pOut, m);
    femms();
    return pOut;
}

D3DXMATRIX* MatrixScaling(D3DXMATRIX* pOut, float sx, float sy, float sz) {
    if (!pOut) return nullptr;
    StoreMatrix(pOut, Diagonal(punpckldq(movd(sx), movd(sy)), por(movd(sz), kOneHi)));
    femms();
    return pOut;
}

D3DXMATRIX* MatrixRotationX(D3DXMATRIX* pOut, float angle) {
    if (!pOut) return nullptr;
    const Mm cs = PackedSinCos3DNow(movd(angle));
    const Quad r1{punpckldq(kZeros, cs), punpckhdq(cs, kZeros)};  // (0, c, s, 0)
    const Quad r2{punpckldq(kZeros, pxor(BroadcastHi(cs), kSignBoth)),
                  pand(cs, kLoLane)};  // (0, -s, c, 0)
    StoreMatrix(pOut, FromRows(IdentityPairs().row[0], r1, r2, kIdentityRow3));
    femms();
    return pOut;
}

D3DXMATRIX* MatrixRotationY(D3DXMATRIX* pOut, float angle) {
    if (!pOut) return nullptr;
    const Mm cs = PackedSinCos3DNow(movd(angle));
    const Quad r0{pand(cs, kLoLane),
                  pand(pxor(BroadcastHi(cs), kSignBoth), kLoLane)};  // (c, 0, -s, 0)
    const Quad r2{punpckhdq(cs, kZeros), pand(cs, kLoLane)};         // (s, 0, c, 0)
    StoreMatrix(pOut, FromRows(r0, IdentityPairs().row[1], r2, kIdentityRow3));
    femms();
    return pOut;
}

D3DXMATRIX* MatrixRotationZ(D3DXMATRIX* pOut, float angle) {
    if (!pOut) return nullptr;
    const Mm cs = PackedSinCos3DNow(movd(angle));
    const Quad r0{cs, kZeros};                            // (c, s, 0, 0)
    const Quad r1{pxor(SwapLanes(cs), kSignLo), kZeros};  // (-s, c, 0, 0)
    StoreMatrix(pOut, FromRows(r0, r1, IdentityPairs().row[2], kIdentityRow3));
    femms();
    return pOut;
}

// Products of the quaternion with its double: squares (xx2, yy2 | zz2, ww2)
// and the pairs (xy2, zw2), (xz2, yw2), (yz2, xw2), each turned into
// (difference, sum).
D3DXMATRIX* MatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const Quad q = LoadQuad(*pQ);
    const Quad twice = Add(q, q);
    const auto differenceAndSum = [](Mm products) {
        return punpckldq(pfsub(products, BroadcastHi(products)),
                         pfadd(products, BroadcastHi(products)));
    };
    const Mm xyZw = pfmul(punpckldq(q.xy, q.zw), punpckhdq(twice.xy, twice.zw));
    const Mm xzYw = pfmul(q.xy, twice.zw);
    const Mm yzXw = pfmul(SwapLanes(q.xy), twice.zw);
    StoreRotationOfQuaternion(pOut, Mul(q, twice), differenceAndSum(xyZw), differenceAndSum(xzYw),
                              differenceAndSum(yzXw));
    femms();
    return pOut;
}

D3DXMATRIX* MatrixTransformation(D3DXMATRIX* pOut, const D3DXVECTOR3* pScalingCenter,
                                 const D3DXQUATERNION* pScalingRotation,
                                 const D3DXVECTOR3* pScaling, const D3DXVECTOR3* pRotationCenter,
                                 const D3DXQUATERNION* pRotation, const D3DXVECTOR3* pTranslation) {
    return TransformationWith(MatrixRotationQuaternion, pOut, pScalingCenter, pScalingRotation,
                              pScaling, pRotationCenter, pRotation, pTranslation);
}

D3DXMATRIX* MatrixAffineTransformation(D3DXMATRIX* pOut, float scaling,
                                       const D3DXVECTOR3* pRotationCenter,
                                       const D3DXQUATERNION* pRotation,
                                       const D3DXVECTOR3* pTranslation) {
    if (!pOut) return nullptr;
    const Mm s = Splat(scaling);
    const MatrixPairs scaled = Diagonal(s, por(pand(s, kLoLane), kOneHi));
    StoreMatrix(pOut, RotatedAndTranslated(scaled, MatrixRotationQuaternion, pRotationCenter,
                                           pRotation, pTranslation));
    femms();
    return pOut;
}

// Row i = (t·axis_i)·axis + the cosine on the diagonal and the sine terms
// off it: (c, sz, -sy), (-sz, c, sx), (sy, -sx, c).
D3DXMATRIX* MatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, float angle) {
    if (!pOut || !pV) return nullptr;
    const Quad axis = NormalizedTriple(LoadTriple(*pV));
    const Mm cs = PackedSinCos3DNow(movd(angle));
    const Mm c = pand(cs, kLoLane);
    const Quad t = Scale(axis, BroadcastLo(pfsub(kOnes, cs)));
    const Quad s = Scale(axis, BroadcastHi(cs));
    const Mm sx = BroadcastLo(s.xy);
    const Mm sy = BroadcastHi(s.xy);
    const Mm sz = BroadcastLo(s.zw);
    const Quad extra0{punpckldq(c, sz), pxor(pand(sy, kLoLane), kSignLo)};
    const Quad extra1{pxor(punpckldq(sz, c), kSignLo), pand(sx, kLoLane)};
    const Quad extra2{pxor(punpckldq(sy, sx), kSignHi), c};
    const Quad r0 = Add(Scale(axis, Element(t, 0)), extra0);
    const Quad r1 = Add(Scale(axis, Element(t, 1)), extra1);
    const Quad r2 = Add(Scale(axis, Element(t, 2)), extra2);
    StoreMatrix(pOut, FromRows(r0, r1, r2, kIdentityRow3));
    femms();
    return pOut;
}

D3DXMATRIX* MatrixRotationYawPitchRoll(D3DXMATRIX* pOut, float yaw, float pitch, float roll) {
    if (!pOut) return nullptr;
    D3DXQUATERNION q;
    QuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
    return MatrixRotationQuaternion(pOut, &q);
}

D3DXMATRIX* MatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane) {
    if (!pOut || !pLight || !pPlane) return nullptr;
    StoreMatrix(pOut, ShadowRows(LoadQuad(*pPlane), LoadQuad(*pLight)));
    femms();
    return pOut;
}

// Row i = e_i - (2·P_i)·(a, b, c, 0) with P the normalised plane.
D3DXMATRIX* MatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane) {
    if (!pOut || !pPlane) return nullptr;
    const Quad plane = LoadQuad(*pPlane);
    const Quad p = NormalizedBy(plane, SquaredLength4({plane.xy, pand(plane.zw, kLoLane)}));
    const Quad normal{p.xy, pand(p.zw, kLoLane)};
    const MatrixPairs identity = IdentityPairs();
    MatrixPairs out{};
    for (int i = 0; i < 4; ++i)
        out.row[i] = Sub(identity.row[i], Scale(normal, pfmul(kTwos, Element(p, i))));
    StoreMatrix(pOut, out);
    femms();
    return pOut;
}

}  // namespace d3dx::amd3dnow
