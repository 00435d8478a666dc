// The 3DNow! extension variants: the same results as the plain 3DNow!
// variants, with PSWAPD, PFNACC and PFPNACC forming the pairs the plain
// code builds with unpacks, and PMOVMSKB turning the branch masks of the
// rotation-matrix conversion into an index.
#include "amd3dnow/amd3dnow_common.h"
#include "dispatch/op_table.h"

#include <bit>

namespace d3dx::amd3dnowext {

using namespace amd3dnow;
using namespace amd3dnow::mmx;

namespace {

// The 2x2 minors of rows p, q as differences of swapped products:
// PFNACC of (p_i·q_j, p_j·q_i) gives minor ij. Arranged as the plain
// minors: (01, 02), (03, 12), (13, 23).
void SwappedRowMinors(Quad p, Quad q, Mm (&out)[3]) {
    const Mm m01m23 = pfnacc(pfmul(p.xy, pswapd(q.xy)), pfmul(p.zw, pswapd(q.zw)));
    const Mm m02m13 = pfnacc(pfmul(punpckldq(p.xy, p.zw), punpckldq(q.zw, q.xy)),
                             pfmul(punpckhdq(p.xy, p.zw), punpckhdq(q.zw, q.xy)));
    const Mm p03 = punpckldq(p.xy, pswapd(p.zw));
    const Mm p12 = punpckldq(pswapd(p.xy), p.zw);
    const Mm q30 = pswapd(punpckldq(q.xy, pswapd(q.zw)));
    const Mm q21 = pswapd(punpckldq(pswapd(q.xy), q.zw));
    out[0] = punpckldq(m01m23, m02m13);
    out[1] = pfnacc(pfmul(p03, q30), pfmul(p12, q21));
    out[2] = punpckhdq(m02m13, m01m23);
}

Minors SwappedMinors(const MatrixPairs& m) {
    Minors minors{};
    SwappedRowMinors(m.row[0], m.row[1], minors.upper);
    SwappedRowMinors(m.row[2], m.row[3], minors.lower);
    return minors;
}

// Index of the one candidate whose mask is set: PMOVMSKB of the masks,
// four bits per candidate.
int ChosenCandidate(const RotationCandidates& c) {
    const int low = pmovmskb(punpckldq(c.chosen[0], c.chosen[1]));
    const int high = pmovmskb(punpckldq(c.chosen[2], c.chosen[3]));
    constexpr int kBitsPerCandidate = 4;
    return std::countr_zero(static_cast<unsigned>(low | (high << 8))) / kBitsPerCandidate;
}

}  // namespace

D3DXMATRIX* MatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    const MatrixPairs m = LoadMatrix(*pM);
    const bool inverted = InvertFromMinors(pOut, pDeterminant, m, SwappedMinors(m));
    femms();
    return inverted ? pOut : nullptr;
}

D3DXVECTOR3* Vec3Unproject(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXVIEWPORT* pViewport,
                           const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                           const D3DXMATRIX* pWorld) {
    return UnprojectWith(SwappedMinors, pOut, pV, pViewport, pProjection, pView, pWorld);
}

D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    const RotationCandidates c = RotationCandidatesOf(LoadMatrix(*pM));
    const int k = ChosenCandidate(c);
    StoreQuad(pOut, QuaternionOfCandidate(c.value[k], c.root[k]));
    femms();
    return pOut;
}

// PFPNACC of (a, b) products gives (a - b, a + b) in one instruction.
D3DXMATRIX* MatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const Quad q = LoadQuad(*pQ);
    const Quad twice = Add(q, q);
    const Mm xyZw = pfmul(punpckldq(q.xy, q.zw), punpckhdq(twice.xy, twice.zw));
    const Mm xzYw = pfmul(q.xy, twice.zw);
    const Mm yzXw = pfmul(pswapd(q.xy), twice.zw);
    StoreRotationOfQuaternion(pOut, Mul(q, twice), pfpnacc(xyZw, xyZw), pfpnacc(xzYw, xzYw),
                              pfpnacc(yzXw, yzXw));
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

}  // namespace d3dx::amd3dnowext
