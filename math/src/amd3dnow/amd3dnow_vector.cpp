// 3DNow! vector operations: transforms, normalisers, the 4-D cross product,
// and the Hermite, Catmull-Rom and barycentric interpolations.
#include "amd3dnow/amd3dnow_common.h"
#include "dispatch/op_table.h"

namespace d3dx::amd3dnow {

using namespace mmx;

namespace {

// (x·m[0] + m[3]) + y·m[1]
Quad Transform2(Mm xy, const MatrixPairs& m) {
    const Quad v{xy, kZeros};
    return Add(Add(Scale(m.row[0], X(v)), m.row[3]), Scale(m.row[1], Y(v)));
}

// (x·m[0] + m[3]) + (y·m[1] + z·m[2])
Quad Transform3(Quad v, const MatrixPairs& m) {
    return Add(Add(Scale(m.row[0], X(v)), m.row[3]),
               Add(Scale(m.row[1], Y(v)), Scale(m.row[2], Z(v))));
}

// The components divided by w, through the refined reciprocal of w.
Quad DividedByW(Quad v) { return Scale(v, RefinedReciprocal(BroadcastHi(v.zw))); }

// Vectors of 2, 3 or 4 floats as Quads (missing lanes zero).
Quad Load(const D3DXVECTOR2& v) { return {movq(&v.x), kZeros}; }
Quad Load(const D3DXVECTOR3& v) { return LoadTriple(v); }
Quad Load(const D3DXVECTOR4& v) { return LoadQuad(v); }
void Store(D3DXVECTOR2* out, Quad v) { movq(&out->x, v.xy); }
void Store(D3DXVECTOR3* out, Quad v) { StoreTriple(out, v); }
void Store(D3DXVECTOR4* out, Quad v) { StoreQuad(out, v); }

// A cubic basis: the weights of the four points are
// ((s·b[2] + b[3]) + s²·b[1]) + s³·b[0], two weights per register.
struct CubicBasis {
    Quad cubic;
    Quad square;
    Quad linear;
    Quad constant;
};

inline constexpr CubicBasis kHermite{
    {PairFromBits(0x40000000u, 0x3F800000u),
     PairFromBits(0xC0000000u, 0x3F800000u)},  // (2, 1, -2, 1)
    {PairFromBits(0xC0400000u, 0xC0000000u),
     PairFromBits(0x40400000u, 0xBF800000u)},               // (-3, -2, 3, -1)
    {PairFromBits(0u, 0x3F800000u), PairFromBits(0u, 0u)},  // (0, 1, 0, 0)
    {PairFromBits(0x3F800000u, 0u), PairFromBits(0u, 0u)},  // (1, 0, 0, 0)
};

inline constexpr CubicBasis kCatmullRom{
    {PairFromBits(0xBF000000u, 0x3FC00000u),
     PairFromBits(0xBFC00000u, 0x3F000000u)},  // (-0.5, 1.5, -1.5, 0.5)
    {PairFromBits(0x3F800000u, 0xC0200000u),
     PairFromBits(0x40000000u, 0xBF000000u)},                        // (1, -2.5, 2, -0.5)
    {PairFromBits(0xBF000000u, 0u), PairFromBits(0x3F000000u, 0u)},  // (-0.5, 0, 0.5, 0)
    {PairFromBits(0u, 0x3F800000u), PairFromBits(0u, 0u)},           // (0, 1, 0, 0)
};

Quad CubicWeights(const CubicBasis& basis, float s) {
    const Mm s1 = Splat(s);
    const Mm s2 = pfmul(s1, s1);
    const Mm s3 = pfmul(s2, s1);
    return Add(Add(Add(Scale(basis.linear, s1), basis.constant), Scale(basis.square, s2)),
               Scale(basis.cubic, s3));
}

// (w0·P0 + w1·P1) + (w2·P2 + w3·P3)
template <class V>
V* Cubic(V* pOut, const CubicBasis& basis, const V* p0, const V* p1, const V* p2, const V* p3,
         float s) {
    if (!pOut || !p0 || !p1 || !p2 || !p3) return nullptr;
    const Quad w = CubicWeights(basis, s);
    const Quad first = Add(Scale(Load(*p0), X(w)), Scale(Load(*p1), Y(w)));
    const Quad second = Add(Scale(Load(*p2), Z(w)), Scale(Load(*p3), W(w)));
    Store(pOut, Add(first, second));
    femms();
    return pOut;
}

// ((V2 - V1)·f + V1) + (V3 - V1)·g
template <class V>
V* BaryCentric(V* pOut, const V* p1, const V* p2, const V* p3, float f, float g) {
    if (!pOut || !p1 || !p2 || !p3) return nullptr;
    const Quad v1 = Load(*p1);
    const Quad towardV2 = Add(Scale(Sub(Load(*p2), v1), Splat(f)), v1);
    Store(pOut, Add(towardV2, Scale(Sub(Load(*p3), v1), Splat(g))));
    femms();
    return pOut;
}

// The 2x2 minors of the last three columns of two rows, in the pairs the 4-D
// cross product uses: (p, q), (r, u), (v, g).
struct CrossMinors {
    Mm pq;
    Mm ru;
    Mm vg;
};

CrossMinors CrossMinorsOf(Quad b, Quad c) {
    return {
        pfsub(pfmul(X(b), punpckldq(Y(c), Z(c))), pfmul(punpckldq(Y(b), Z(b)), X(c))),
        pfsub(pfmul(punpckldq(X(b), Y(b)), punpckldq(W(c), Z(c))),
              pfmul(punpckldq(W(b), Z(b)), punpckldq(X(c), Y(c)))),
        pfsub(pfmul(punpckldq(Y(b), Z(b)), W(c)), pfmul(W(b), punpckldq(Y(c), Z(c)))),
    };
}

}  // namespace

Quad TransformCoord3(Quad v, const MatrixPairs& m) { return DividedByW(Transform3(v, m)); }

Quad Transform4(Quad v, const MatrixPairs& m) {
    const Quad xy = Add(Scale(m.row[0], X(v)), Scale(m.row[1], Y(v)));
    return Add(xy, Add(Scale(m.row[2], Z(v)), Scale(m.row[3], W(v))));
}

D3DXVECTOR4* Vec2Transform(D3DXVECTOR4* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    StoreQuad(pOut, Transform2(movq(&pV->x), LoadMatrix(*pM)));
    femms();
    return pOut;
}

D3DXVECTOR4* Vec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    StoreQuad(pOut, Transform3(LoadTriple(*pV), LoadMatrix(*pM)));
    femms();
    return pOut;
}

D3DXVECTOR4* Vec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    StoreQuad(pOut, Transform4(LoadQuad(*pV), LoadMatrix(*pM)));
    femms();
    return pOut;
}

// x·m[0] + y·m[1], first two lanes.
D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    const Mm v = movq(&pV->x);
    movq(&pOut->x,
         pfadd(pfmul(BroadcastLo(v), movq(pM->m[0])), pfmul(BroadcastHi(v), movq(pM->m[1]))));
    femms();
    return pOut;
}

// (x·m[0] + y·m[1]) + z·m[2], first three lanes.
D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    const Quad v = LoadTriple(*pV);
    const MatrixPairs m = LoadMatrix(*pM);
    StoreTriple(pOut,
                Add(Add(Scale(m.row[0], X(v)), Scale(m.row[1], Y(v))), Scale(m.row[2], Z(v))));
    femms();
    return pOut;
}

D3DXVECTOR2* Vec2TransformCoord(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    movq(&pOut->x, DividedByW(Transform2(movq(&pV->x), LoadMatrix(*pM))).xy);
    femms();
    return pOut;
}

D3DXVECTOR3* Vec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    if (!pOut || !pV || !pM) return nullptr;
    StoreTriple(pOut, TransformCoord3(LoadTriple(*pV), LoadMatrix(*pM)));
    femms();
    return pOut;
}

D3DXVECTOR2* Vec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV) {
    if (!pOut || !pV) return nullptr;
    const Mm v = movq(&pV->x);
    const Mm s = SquaredLength2(v);
    movq(&pOut->x, pfmul(pand(v, AboveFltMin(s)), RefinedReciprocalSqrt(s)));
    femms();
    return pOut;
}

D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    if (!pOut || !pV) return nullptr;
    StoreTriple(pOut, NormalizedTriple(LoadTriple(*pV)));
    femms();
    return pOut;
}

D3DXVECTOR4* Vec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV) {
    if (!pOut || !pV) return nullptr;
    const Quad v = LoadQuad(*pV);
    StoreQuad(pOut, NormalizedBy(v, SquaredLength4(v)));
    femms();
    return pOut;
}

D3DXVECTOR4* Vec4Cross(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                       const D3DXVECTOR4* pV3) {
    if (!pOut || !pV1 || !pV2 || !pV3) return nullptr;
    const Quad a = LoadQuad(*pV1);
    const CrossMinors m = CrossMinorsOf(LoadQuad(*pV2), LoadQuad(*pV3));
    // x = a.y·g - a.z·v + a.w·u;   y = -a.x·g + a.z·r - a.w·q
    const Mm xyFirst = pxor(pfmul(punpckldq(Y(a), X(a)), BroadcastHi(m.vg)), kSignHi);
    const Mm xySecond = pxor(pfmul(Z(a), punpckldq(m.vg, m.ru)), kSignLo);
    const Mm xyThird = pxor(pfmul(W(a), punpckldq(BroadcastHi(m.ru), BroadcastHi(m.pq))), kSignHi);
    // z = a.x·v - a.y·r + a.w·p;   w = -a.x·u + a.y·q - a.z·p
    const Mm zwFirst = pxor(pfmul(X(a), punpckldq(m.vg, BroadcastHi(m.ru))), kSignHi);
    const Mm zwSecond = pxor(pfmul(Y(a), punpckldq(m.ru, BroadcastHi(m.pq))), kSignLo);
    const Mm zwThird = pxor(pfmul(punpckldq(W(a), Z(a)), BroadcastLo(m.pq)), kSignHi);
    StoreQuad(pOut,
              {pfadd(pfadd(xyFirst, xySecond), xyThird), pfadd(pfadd(zwFirst, zwSecond), zwThird)});
    femms();
    return pOut;
}

D3DXVECTOR2* Vec2Hermite(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pT1,
                         const D3DXVECTOR2* pV2, const D3DXVECTOR2* pT2, float s) {
    return Cubic(pOut, kHermite, pV1, pT1, pV2, pT2, s);
}
D3DXVECTOR3* Vec3Hermite(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pT1,
                         const D3DXVECTOR3* pV2, const D3DXVECTOR3* pT2, float s) {
    return Cubic(pOut, kHermite, pV1, pT1, pV2, pT2, s);
}
D3DXVECTOR4* Vec4Hermite(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pT1,
                         const D3DXVECTOR4* pV2, const D3DXVECTOR4* pT2, float s) {
    return Cubic(pOut, kHermite, pV1, pT1, pV2, pT2, s);
}

D3DXVECTOR2* Vec2CatmullRom(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV0, const D3DXVECTOR2* pV1,
                            const D3DXVECTOR2* pV2, const D3DXVECTOR2* pV3, float s) {
    return Cubic(pOut, kCatmullRom, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR3* Vec3CatmullRom(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV0, const D3DXVECTOR3* pV1,
                            const D3DXVECTOR3* pV2, const D3DXVECTOR3* pV3, float s) {
    return Cubic(pOut, kCatmullRom, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR4* Vec4CatmullRom(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV0, const D3DXVECTOR4* pV1,
                            const D3DXVECTOR4* pV2, const D3DXVECTOR4* pV3, float s) {
    return Cubic(pOut, kCatmullRom, pV0, pV1, pV2, pV3, s);
}

D3DXVECTOR2* Vec2BaryCentric(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2,
                             const D3DXVECTOR2* pV3, float f, float g) {
    return BaryCentric(pOut, pV1, pV2, pV3, f, g);
}
D3DXVECTOR3* Vec3BaryCentric(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                             const D3DXVECTOR3* pV3, float f, float g) {
    return BaryCentric(pOut, pV1, pV2, pV3, f, g);
}
D3DXVECTOR4* Vec4BaryCentric(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                             const D3DXVECTOR4* pV3, float f, float g) {
    return BaryCentric(pOut, pV1, pV2, pV3, f, g);
}

}  // namespace d3dx::amd3dnow
