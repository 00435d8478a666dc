// 3DNow! quaternion operations.
#include "amd3dnow/amd3dnow_common.h"
#include "dispatch/op_table.h"

namespace d3dx::amd3dnow {

using namespace mmx;

namespace {

inline constexpr Mm kSlerpThreshold = PairFromBits(0x3F7FFF58u, 0x3F7FFF58u);  // 0.999989986
inline constexpr Mm kMinusQuarter = PairFromBits(0xBE800000u, 0xBE800000u);    // -0.25
inline constexpr Quad kConjugateSigns{kSignBoth, kSignLo};                     // (-, -, -, +)
inline constexpr Quad kUnitX{kOneLo, kZeros};                                  // (1, 0, 0)

// The vector part (x, y, z) as a triple.
Quad VectorPart(Quad q) { return {q.xy, pand(q.zw, kLoLane)}; }

// A triple scaled by a factor in both lanes, w set from lane 0 of w.
Quad ScaledWithW(Quad q, Mm factor, Mm w) {
    return {pfmul(q.xy, factor), punpckldq(pfmul(q.zw, factor), w)};
}

// |s| >= FLT_EPSILON, the test Ln and Exp scale the vector part by.
Mm NotTiny(Mm s) { return pfcmpge(pand(s, kMagnitude), kFltEpsilon); }

// The sine of lane 0 (second sine/cosine routine), in lane 0.
Mm SineOf(Mm angle) { return SinCosSineLow(angle); }

// (sin a0, sin a1)
Mm SinesOf(Mm angles) { return punpckldq(SineOf(angles), SineOf(BroadcastHi(angles))); }

// Slerp weights (w1, w2) for the cosine c of the angle between the
// quaternions (c >= 0 here): linear (1 - t, t) above the threshold, else
// (sin((1 - t)·w), sin(t·w)) / sin(w) with w = atan2(sin w, c).
Mm SlerpWeights(Mm c, float t) {
    const Mm tt = Splat(t);
    const Mm linear = punpckldq(pfsub(kOnes, tt), tt);
    const Mm inverseSine = RefinedReciprocalSqrt(pfsub(kOnes, pfmul(c, c)));
    const Mm sine = RefinedReciprocal(inverseSine);
    const Mm omega = ArcTan2(sine, c);
    const Mm arc = pfmul(SinesOf(pfmul(linear, omega)), inverseSine);
    return Select(pfcmpge(kSlerpThreshold, c), arc, linear);
}

D3DXQUATERNION Slerped(const D3DXQUATERNION& q1, const D3DXQUATERNION& q2, float t) {
    D3DXQUATERNION out;
    QuaternionSlerp(&out, &q1, &q2, t);
    return out;
}

D3DXQUATERNION Product(const D3DXQUATERNION& p, const D3DXQUATERNION& q) {
    D3DXQUATERNION out;
    QuaternionMultiply(&out, &p, &q);
    return out;
}

D3DXQUATERNION Stored(Quad q) {
    D3DXQUATERNION out;
    StoreQuad(&out, q);
    return out;
}

// b negated when it is closer to -a than to a.
Quad AlignedWith(Quad a, Quad b) {
    const Mm away = pfcmpgt(SquaredLength4(Sub(a, b)), SquaredLength4(Add(a, b)));
    const Mm flip = pand(away, kSignBoth);
    return {pxor(b.xy, flip), pxor(b.zw, flip)};
}

// cur·Exp(-0.25·(Ln(cur⁻¹·next) + Ln(cur⁻¹·prev))), the Squad control point.
D3DXQUATERNION ControlPoint(Quad prev, Quad cur, Quad next) {
    D3DXQUATERNION inverse;
    const D3DXQUATERNION current = Stored(cur);
    QuaternionInverse(&inverse, &current);
    D3DXQUATERNION towardNext = Product(inverse, Stored(next));
    D3DXQUATERNION towardPrev = Product(inverse, Stored(prev));
    QuaternionLn(&towardNext, &towardNext);
    QuaternionLn(&towardPrev, &towardPrev);
    const D3DXQUATERNION tangent =
        Stored(Scale(Add(LoadQuad(towardNext), LoadQuad(towardPrev)), kMinusQuarter));
    D3DXQUATERNION exp;
    QuaternionExp(&exp, &tangent);
    return Product(current, exp);
}

}  // namespace

// Q2 × Q1 = w2·Q1 + x2·(w1, -z1, y1, -x1) + y2·(z1, w1, -x1, -y1) + z2·(-y1, x1, w1, -z1)
D3DXQUATERNION* QuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                   const D3DXQUATERNION* pQ2) {
    if (!pOut || !pQ1 || !pQ2) return nullptr;
    const Quad a = LoadQuad(*pQ1);
    const Quad b = LoadQuad(*pQ2);
    const Quad forX{pxor(SwapLanes(a.zw), kSignHi), pxor(SwapLanes(a.xy), kSignHi)};
    const Quad forY{a.zw, pxor(a.xy, kSignBoth)};
    const Quad forZ{pxor(SwapLanes(a.xy), kSignLo), pxor(SwapLanes(a.zw), kSignHi)};
    const Quad first = Add(Scale(a, W(b)), Scale(forX, X(b)));
    const Quad second = Add(Scale(forY, Y(b)), Scale(forZ, Z(b)));
    StoreQuad(pOut, Add(first, second));
    femms();
    return pOut;
}

D3DXQUATERNION* QuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const Quad q = LoadQuad(*pQ);
    StoreQuad(pOut, NormalizedBy(q, SquaredLength4(q)));
    femms();
    return pOut;
}

// The conjugate masked by s > FLT_MIN, times the refined 1/s.
D3DXQUATERNION* QuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const Quad q = LoadQuad(*pQ);
    const Mm s = SquaredLength4(q);
    StoreQuad(pOut, Scale(And(Xor(q, kConjugateSigns), AboveFltMin(s)), RefinedReciprocal(s)));
    femms();
    return pOut;
}

void QuaternionToAxisAngle(const D3DXQUATERNION* pQ, D3DXVECTOR3* pAxis, float* pAngle) {
    if (!pQ) return;
    const Quad q = LoadQuad(*pQ);
    const Mm s = SquaredLength4(q);
    const Mm usable = AboveFltMin(s);
    if (pAxis)
        StoreTriple(pAxis, Select(usable, Scale(VectorPart(q), RefinedReciprocalSqrt(s)), kUnitX));
    if (pAngle) movd(pAngle, pand(pfmul(ArcCos(W(q)), kTwos), usable));
    femms();
}

RotationCandidates RotationCandidatesOf(const MatrixPairs& m) {
    const auto at = [&](int r, int c) {
        return Element(m.row[r], c);
    };
    const Mm m00 = at(0, 0), m11 = at(1, 1), m22 = at(2, 2);
    const Mm trace = pfadd(pfadd(m11, m22), m00);
    const Mm d0 = pfsub(pfsub(m00, m11), m22);
    const Mm d1 = pfsub(pfsub(m11, m00), m22);
    const Mm d2 = pfsub(pfsub(m22, m00), m11);
    const Mm p01 = pfadd(at(0, 1), at(1, 0)), p02 = pfadd(at(0, 2), at(2, 0)),
             p12 = pfadd(at(1, 2), at(2, 1));
    const Mm n12 = pfsub(at(1, 2), at(2, 1)), n20 = pfsub(at(2, 0), at(0, 2)),
             n01 = pfsub(at(0, 1), at(1, 0));
    RotationCandidates c{};
    c.root[0] = pfadd(trace, kOnes);
    c.root[1] = pfadd(d0, kOnes);
    c.root[2] = pfadd(d1, kOnes);
    c.root[3] = pfadd(d2, kOnes);
    c.value[0] = {punpckldq(n12, n20), punpckldq(n01, c.root[0])};
    c.value[1] = {punpckldq(c.root[1], p01), punpckldq(p02, n12)};
    c.value[2] = {punpckldq(p01, c.root[2]), punpckldq(p12, n20)};
    c.value[3] = {punpckldq(p02, p12), punpckldq(c.root[3], n01)};
    // Ties go to the lower index: 0 if d0 >= d1 and d0 >= d2, 1 if d1 > d0
    // and d1 >= d2, else 2.
    const Mm positive = pfcmpgt(trace, kZeros);
    const Mm first = pandn(positive, pand(pfcmpge(d0, d1), pfcmpge(d0, d2)));
    const Mm second = pandn(positive, pand(pfcmpgt(d1, d0), pfcmpge(d1, d2)));
    c.chosen[0] = positive;
    c.chosen[1] = first;
    c.chosen[2] = second;
    c.chosen[3] = pandn(por(positive, por(first, second)), PairFromBits(kAllOnes, kAllOnes));
    return c;
}

// value·(0.5/sqrt(root)): the root lane becomes sqrt(root)/2, the others
// their sums or differences times 1/(4·(sqrt(root)/2)).
Quad QuaternionOfCandidate(Quad value, Mm root) {
    return Scale(value, pfmul(RefinedReciprocalSqrt(root), kHalves));
}

D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    if (!pOut || !pM) return nullptr;
    const RotationCandidates c = RotationCandidatesOf(LoadMatrix(*pM));
    Quad value = And(c.value[0], c.chosen[0]);
    Mm root = pand(c.root[0], c.chosen[0]);
    for (int k = 1; k < 4; ++k) {
        value = {por(value.xy, pand(c.value[k].xy, c.chosen[k])),
                 por(value.zw, pand(c.value[k].zw, c.chosen[k]))};
        root = por(root, pand(c.root[k], c.chosen[k]));
    }
    StoreQuad(pOut, QuaternionOfCandidate(value, root));
    femms();
    return pOut;
}

// x = cy·sp·cr + sy·cp·sr; y = sy·cp·cr - cy·sp·sr;
// z = cy·cp·sr - sy·sp·cr; w = cy·cp·cr + sy·sp·sr.
D3DXQUATERNION* QuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, float yaw, float pitch,
                                               float roll) {
    if (!pOut) return nullptr;
    const Mm yawCS = PackedSinCos3DNow(pfmul(movd(yaw), kHalves));
    const Mm pitchCS = PackedSinCos3DNow(pfmul(movd(pitch), kHalves));
    const Mm rollCS = PackedSinCos3DNow(pfmul(movd(roll), kHalves));
    const Mm cySp_syCp = pfmul(yawCS, SwapLanes(pitchCS));
    const Mm xyFirst = pfmul(cySp_syCp, BroadcastLo(rollCS));
    const Mm xySecond = pxor(pfmul(SwapLanes(cySp_syCp), BroadcastHi(rollCS)), kSignHi);
    const Mm zwFirst = pfmul(pfmul(BroadcastLo(yawCS), BroadcastLo(pitchCS)), SwapLanes(rollCS));
    const Mm zwSecond =
        pxor(pfmul(pfmul(BroadcastHi(yawCS), BroadcastHi(pitchCS)), rollCS), kSignLo);
    StoreQuad(pOut, {pfadd(xyFirst, xySecond), pfadd(zwFirst, zwSecond)});
    femms();
    return pOut;
}

D3DXQUATERNION* QuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, float angle) {
    if (!pOut || !pV) return nullptr;
    const Quad axis = NormalizedTriple(LoadTriple(*pV));
    const Mm cs = PackedSinCos3DNow(pfmul(movd(angle), kHalves));
    StoreQuad(pOut, ScaledWithW(axis, BroadcastHi(cs), cs));
    femms();
    return pOut;
}

// c = (x1x2 + z1z2) + (y1y2 + w1w2); the short way round (c <= 0: c = -c,
// the second weight negated); pOut = w1·Q1 + w2·Q2.
D3DXQUATERNION* QuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                const D3DXQUATERNION* pQ2, float t) {
    if (!pOut || !pQ1 || !pQ2) return nullptr;
    const Quad q1 = LoadQuad(*pQ1);
    const Quad q2 = LoadQuad(*pQ2);
    const Mm dot = Dot4(q1, q2);
    const Mm flip = pand(pfcmpge(kZeros, dot), kSignBoth);
    const Mm weights = pxor(SlerpWeights(pxor(dot, flip), t), pand(flip, kSignHi));
    StoreQuad(pOut, Add(Scale(q1, BroadcastLo(weights)), Scale(q2, BroadcastHi(weights))));
    femms();
    return pOut;
}

// s = f + g; with s (nearly) zero the blend is undefined and Q1 is the
// answer; otherwise slerp(slerp(Q1, Q2, s), slerp(Q1, Q3, s), g/s).
D3DXQUATERNION* QuaternionBaryCentric(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                      const D3DXQUATERNION* pQ2, const D3DXQUATERNION* pQ3, float f,
                                      float g) {
    if (!pOut || !pQ1 || !pQ2 || !pQ3) return nullptr;
    const Mm s = pfadd(movd(f), movd(g));
    if (!LoLaneSet(NotTiny(s))) {
        StoreQuad(pOut, LoadQuad(*pQ1));
        femms();
        return pOut;
    }
    const D3DXQUATERNION towardQ2 = Slerped(*pQ1, *pQ2, s.lo);
    const D3DXQUATERNION towardQ3 = Slerped(*pQ1, *pQ3, s.lo);
    const float blend = pfmul(movd(g), RefinedReciprocal(s)).lo;
    return QuaternionSlerp(pOut, &towardQ2, &towardQ3, blend);
}

D3DXQUATERNION* QuaternionSquad(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                const D3DXQUATERNION* pA, const D3DXQUATERNION* pB,
                                const D3DXQUATERNION* pC, float t) {
    if (!pOut || !pQ1 || !pA || !pB || !pC) return nullptr;
    const D3DXQUATERNION outer = Slerped(*pQ1, *pC, t);
    const D3DXQUATERNION inner = Slerped(*pA, *pB, t);
    const Mm tt = movd(t);
    const float blend = pfmul(pfsub(tt, pfmul(tt, tt)), kTwos).lo;
    return QuaternionSlerp(pOut, &outer, &inner, blend);
}

void QuaternionSquadSetup(D3DXQUATERNION* pAOut, D3DXQUATERNION* pBOut, D3DXQUATERNION* pCOut,
                          const D3DXQUATERNION* pQ0, const D3DXQUATERNION* pQ1,
                          const D3DXQUATERNION* pQ2, const D3DXQUATERNION* pQ3) {
    if (!pAOut || !pBOut || !pCOut || !pQ0 || !pQ1 || !pQ2 || !pQ3) return;
    const Quad q1 = LoadQuad(*pQ1);
    const Quad q0 = AlignedWith(q1, LoadQuad(*pQ0));
    const Quad q2 = AlignedWith(q1, LoadQuad(*pQ2));
    const Quad q3 = AlignedWith(q2, LoadQuad(*pQ3));
    const D3DXQUATERNION a = ControlPoint(q0, q1, q2);
    const D3DXQUATERNION b = ControlPoint(q1, q2, q3);
    *pAOut = a;
    *pBOut = b;
    StoreQuad(pCOut, q2);
    femms();
}

// w >= 1: (x, y, z, 0). Otherwise θ = acos w and, when |sin θ| >= FLT_EPSILON,
// the vector part scaled by θ/sin θ.
D3DXQUATERNION* QuaternionLn(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const Quad q = LoadQuad(*pQ);
    const Mm below = pfcmpgt(kOnes, W(q));
    const Mm theta = ArcCos(W(q));
    const Mm sine = BroadcastLo(SineOf(theta));
    const Mm factor =
        Select(pand(below, NotTiny(sine)), pfmul(theta, RefinedReciprocal(sine)), kOnes);
    StoreQuad(pOut, ScaledWithW(VectorPart(q), factor, kZeros));
    femms();
    return pOut;
}

// θ = |v| as s·(1/sqrt(s)); (cos θ, sin θ); the vector part scaled by
// sin θ/θ when θ >= FLT_EPSILON; w = cos θ. The test is on θ, not on sin θ:
// near a multiple of pi the sine is tiny too, and copying v there would give
// (v, -1) instead of the unit quaternion (0, -1). A zero v gives θ = 0
// (PFRSQRT of 0 is FLT_MAX, and 0·FLT_MAX is 0), which fails the test and
// copies the zeros.
D3DXQUATERNION* QuaternionExp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (!pOut || !pQ) return nullptr;
    const Quad v = VectorPart(LoadQuad(*pQ));
    const Mm s = SquaredLength4(v);
    const Mm q = RefinedReciprocalSqrt(s);
    const Mm theta = pfmul(s, q);
    const Mm cs = PackedSinCos3DNow(theta);
    const Mm sine = BroadcastHi(cs);
    const Mm factor = Select(NotTiny(BroadcastLo(theta)), pfmul(sine, q), kOnes);
    StoreQuad(pOut, ScaledWithW(v, factor, cs));
    femms();
    return pOut;
}

}  // namespace d3dx::amd3dnow
