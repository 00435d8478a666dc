// 3DNow! plane operations and the viewport projections.
#include "amd3dnow/amd3dnow_common.h"
#include "dispatch/op_table.h"

namespace d3dx::amd3dnow {

using namespace mmx;

namespace {

// The normal (a, b, c) of a plane as a triple (lanes a, b | c, 0).
Quad NormalOf(Quad plane) { return {plane.xy, pand(plane.zw, kLoLane)}; }

// (n, -(n·p)) for a normal n and a point p, both triples.
Quad PlaneThrough(Quad normal, Quad point) {
    const Mm negatedDot = pxor(Dot4(normal, point), kSignBoth);
    return {normal.xy, punpckldq(normal.zw, negatedDot)};
}

// The viewport's integer fields read as signed 32-bit values and converted.
Mm SignedPair(std::uint32_t first, std::uint32_t second) {
    return pi2fd(PairFromBits(first, second));
}
Mm Origin(const D3DXVIEWPORT& vp) { return SignedPair(vp.X, vp.Y); }
Mm Extent(const D3DXVIEWPORT& vp) { return SignedPair(vp.Width, vp.Height); }
Mm DepthRange(const D3DXVIEWPORT& vp) { return pfsub(movd(vp.MaxZ), movd(vp.MinZ)); }

// x' = X + (1 + x)·(Width·0.5), y' = Y + (1 - y)·(Height·0.5),
// z' = MinZ + z·(MaxZ - MinZ).
Quad ToViewport(Quad v, const D3DXVIEWPORT& vp) {
    const Mm onePlusMinus = pfadd(kOnes, pxor(v.xy, kSignHi));
    const Mm xy = pfadd(Origin(vp), pfmul(onePlusMinus, pfmul(Extent(vp), kHalves)));
    const Mm z = pfadd(movd(vp.MinZ), pfmul(v.zw, DepthRange(vp)));
    return {xy, pand(z, kLoLane)};
}

// x' = (x - X)·(2/Width) - 1, y' = 1 - (y - Y)·(2/Height),
// z' = (z - MinZ)·(1/(MaxZ - MinZ)), every reciprocal refined.
Quad FromViewport(Quad v, const D3DXVIEWPORT& vp) {
    const Mm twoOverExtent = pfmul(RefinedReciprocalPair(Extent(vp)), kTwos);
    const Mm scaled = pfmul(pfsub(v.xy, Origin(vp)), twoOverExtent);
    const Mm xy = pxor(pfsub(scaled, kOnes), kSignHi);
    const Mm z = pfmul(pfsub(v.zw, movd(vp.MinZ)), RefinedReciprocal(DepthRange(vp)));
    return {xy, pand(z, kLoLane)};
}

bool AnyMatrix(const D3DXMATRIX* a, const D3DXMATRIX* b, const D3DXMATRIX* c) {
    return a || b || c;
}

}  // namespace

D3DXPLANE* PlaneFromPointNormal(D3DXPLANE* pOut, const D3DXVECTOR3* pPoint,
                                const D3DXVECTOR3* pNormal) {
    if (!pOut || !pPoint || !pNormal) return nullptr;
    StoreQuad(pOut, PlaneThrough(LoadTriple(*pNormal), LoadTriple(*pPoint)));
    femms();
    return pOut;
}

D3DXPLANE* PlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                           const D3DXVECTOR3* pV3) {
    if (!pOut || !pV1 || !pV2 || !pV3) return nullptr;
    const Quad v1 = LoadTriple(*pV1);
    const Quad normal = Cross(Sub(v1, LoadTriple(*pV2)), Sub(v1, LoadTriple(*pV3)));
    StoreQuad(pOut, PlaneThrough(NormalizedTriple(normal), v1));
    femms();
    return pOut;
}

// (a² + c²) + b², the d lane masked out of the sum; all four scaled.
D3DXPLANE* PlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP) {
    if (!pOut || !pP) return nullptr;
    const Quad plane = LoadQuad(*pP);
    StoreQuad(pOut, NormalizedBy(plane, SquaredLength4(NormalOf(plane))));
    femms();
    return pOut;
}

D3DXPLANE* PlaneTransform(D3DXPLANE* pOut, const D3DXPLANE* pP, const D3DXMATRIX* pM) {
    if (!pOut || !pP || !pM) return nullptr;
    StoreQuad(pOut, Transform4(LoadQuad(*pP), LoadMatrix(*pM)));
    femms();
    return pOut;
}

// den = n·V1 - n·V2 (each dot (a·x + c·z) + b·y); exactly zero: parallel.
// pOut = V1 + ((n·V1 + d)·(1/den))·(V2 - V1).
D3DXVECTOR3* PlaneIntersectLine(D3DXVECTOR3* pOut, const D3DXPLANE* pP, const D3DXVECTOR3* pV1,
                                const D3DXVECTOR3* pV2) {
    if (!pOut || !pP || !pV1 || !pV2) return nullptr;
    const Quad plane = LoadQuad(*pP);
    const Quad normal = NormalOf(plane);
    const Quad v1 = LoadTriple(*pV1);
    const Quad v2 = LoadTriple(*pV2);
    const Mm first = pfadd(pfmul(normal.xy, v1.xy), pfmul(normal.zw, v1.zw));
    const Mm second = pfadd(pfmul(normal.xy, v2.xy), pfmul(normal.zw, v2.zw));
    const Mm dots = pfacc(first, second);
    const Mm den = pfsub(dots, BroadcastHi(dots));
    if (LoLaneSet(pfcmpeq(den, kZeros))) {
        femms();
        return nullptr;
    }
    const Mm num = pfadd(dots, BroadcastHi(plane.zw));
    const Mm t = BroadcastLo(pfmul(num, RefinedReciprocal(den)));
    StoreTriple(pOut, Add(v1, Scale(Sub(v2, v1), t)));
    femms();
    return pOut;
}

D3DXVECTOR3* Vec3Project(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXVIEWPORT* pViewport,
                         const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                         const D3DXMATRIX* pWorld) {
    if (!pOut || !pV) return nullptr;
    Quad v = TransformCoord3(LoadTriple(*pV), CombinedTransform(pWorld, pView, pProjection));
    if (pViewport) v = ToViewport(v, *pViewport);
    StoreTriple(pOut, v);
    femms();
    return pOut;
}

D3DXVECTOR3* UnprojectWith(MinorsRoutine* minorsOf, D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                           const D3DXVIEWPORT* pViewport, const D3DXMATRIX* pProjection,
                           const D3DXMATRIX* pView, const D3DXMATRIX* pWorld) {
    if (!pOut || !pV) return nullptr;
    MatrixPairs transform = CombinedTransform(pWorld, pView, pProjection);
    if (AnyMatrix(pWorld, pView, pProjection)) {
        D3DXMATRIX inverse;
        if (!InvertFromMinors(&inverse, nullptr, transform, minorsOf(transform))) {
            femms();
            return nullptr;
        }
        transform = LoadMatrix(inverse);
    }
    Quad v = LoadTriple(*pV);
    if (pViewport) v = FromViewport(v, *pViewport);
    StoreTriple(pOut, TransformCoord3(v, transform));
    femms();
    return pOut;
}

D3DXVECTOR3* Vec3Unproject(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXVIEWPORT* pViewport,
                           const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                           const D3DXMATRIX* pWorld) {
    return UnprojectWith(PairMinors, pOut, pV, pViewport, pProjection, pView, pWorld);
}

}  // namespace d3dx::amd3dnow
