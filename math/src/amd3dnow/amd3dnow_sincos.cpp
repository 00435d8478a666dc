// The 3DNow! set's private transcendental routines: PackedSinCos3DNow, the
// second sine/cosine routine (same reduction, sine in the low lane), the
// two-argument arc tangent and the arc cosine. Values come and go in lane 0
// of a register (results of the sine/cosine routines in both lanes).
#include "amd3dnow/amd3dnow_common.h"

#include <cstdint>

namespace d3dx::amd3dnow {

using namespace mmx;

namespace {

// Octant reduction.
inline constexpr Mm kFourOverPi = PairFromBits(0x3FA2F983u, 0x3FA2F983u);     // 1.27323949
inline constexpr Mm kQuarterPiHigh = PairFromBits(0xBF490000u, 0xBF490000u);  // -0.78515625
inline constexpr Mm kQuarterPiLow = PairFromBits(0xB97DAA22u, 0xB97DAA22u);   // -2.41913396e-4
inline constexpr Mm kQuarterPi = PairFromBits(0x3F490FDBu, 0x3F490FDBu);      // 0.785398185
inline constexpr Mm kHalfPi = PairFromBits(0x3FC90FDBu, 0x3FC90FDBu);         // 1.57079637
inline constexpr Mm kPi = PairFromBits(0x40490FDBu, 0x40490FDBu);             // 3.14159274
inline constexpr Mm kMinusHalf = PairFromBits(0xBF000000u, 0xBF000000u);      // -0.5
inline constexpr Mm kIntOne = PairFromBits(1u, 1u);
inline constexpr int kSignShift = 31;

// PackedSinCos3DNow's nested factors, lanes (cosine, sine).
inline constexpr Mm kNest56And42 = PairFromBits(0xBC924925u, 0xBCC30C31u);  // -1/56, -1/42
inline constexpr Mm kNest30And20 = PairFromBits(0xBD088889u, 0xBD4CCCCDu);  // -1/30, -1/20
inline constexpr Mm kNest12And6 = PairFromBits(0xBDAAAAABu, 0xBE2AAAABu);   // -1/12, -1/6

// The second routine's Taylor coefficients, lanes (cosine, sine), highest first.
inline constexpr Mm kLongSinCos[] = {
    PairFromBits(0x37D00D01u, 0x3638EF1Du),  // 1/40320, 1/362880
    PairFromBits(0xBAB60B61u, 0xB9500D01u),  // -1/720, -1/5040
    PairFromBits(0x3D2AAAABu, 0x3C088889u),  // 1/24, 1/120
    PairFromBits(0xBF000000u, 0xBE2AAAABu),  // -1/2, -1/6
    PairFromBits(0x3F800000u, 0x3F800000u),  // 1, 1
};

// atan(u) = u + u·z·P(z), z = u², fitted on u in [0, 1]; highest first.
inline constexpr Mm kArcTanP[] = {
    Splat(FloatFromBits(0x3B3D8204u)),  // 0.00289166067
    Splat(FloatFromBits(0xBC851FF1u)),  // -0.0162505824
    Splat(FloatFromBits(0x3D303494u)),  // 0.0430188924
    Splat(FloatFromBits(0xBD9A5497u)),  // -0.0753566548
    Splat(FloatFromBits(0x3DDA4750u)),  // 0.10658133
    Splat(FloatFromBits(0xBE11801Bu)),  // -0.142090246
    Splat(FloatFromBits(0x3E4CBBCFu)),  // 0.199935183
    Splat(FloatFromBits(0xBEAAAA6Au)),  // -0.333331406
};

// asin(y) = y + y·z·P(z), z = y², fitted on y in [0, 0.5]; highest first.
inline constexpr Mm kArcSinP[] = {
    Splat(FloatFromBits(0x3D2CA2ABu)),  // 0.0421473198
    Splat(FloatFromBits(0x3CC62755u)),  // 0.0241886768
    Splat(FloatFromBits(0x3D3A3DE5u)),  // 0.0454691835
    Splat(FloatFromBits(0x3D9980F3u)),  // 0.0749529824
    Splat(FloatFromBits(0x3E2AAAE5u)),  // 0.166667536
};

template <std::size_t N>
Mm Horner(Mm z, const Mm (&coefficients)[N]) {
    Mm sum = coefficients[0];
    for (std::size_t i = 1; i < N; ++i) sum = pfadd(pfmul(sum, z), coefficients[i]);
    return sum;
}

// The angle reduced to r in [0, pi/4] (lane 0), with the octant k in both lanes.
struct Reduced {
    Mm r;
    Mm k;
};

Reduced ReduceToOctant(Mm angle) {
    const Mm a = pand(angle, kMagnitude);
    const Mm k = BroadcastLo(pf2id(pfmul(a, kFourOverPi)));
    const Mm kf = pi2fd(k);
    const Mm r = pfadd(pfadd(a, pfmul(kf, kQuarterPiHigh)), pfmul(kf, kQuarterPiLow));
    const Mm odd = pcmpeqd(pand(k, kIntOne), kIntOne);
    return {Select(odd, pfsub(kQuarterPi, r), r), k};
}

// Bit 0 of an integer pair, as a lane mask.
Mm BitZeroMask(Mm k) { return pcmpeqd(pand(k, kIntOne), kIntOne); }
// Bit 0 of an integer pair, moved to the sign bit.
Mm BitZeroAsSign(Mm k) { return pslld(pand(k, kIntOne), kSignShift); }

// Undoes the octant reduction on (cos r, sin r): lanes swapped in the
// octants where sine and cosine trade places, then the signs of the quadrant
// (and of the angle, for the sine).
Mm UnfoldOctant(Mm cosSin, Mm k, Mm angle) {
    const Mm swapped = punpckldq(BroadcastHi(cosSin), cosSin);
    const Mm folded = Select(BitZeroMask(pxor(k, psrld(k, 1))), swapped, cosSin);
    const Mm cosineFlip = BitZeroAsSign(pxor(psrld(k, 1), psrld(k, 2)));
    const Mm sineFlip = pxor(BitZeroAsSign(psrld(k, 2)), BroadcastLo(pand(angle, kSignLo)));
    return pxor(folded, punpckldq(cosineFlip, sineFlip));
}

// cos r = 1 - z/2·(1 - z/12·(1 - z/30·(1 - z/56))),
// sin r = r·(1 - z/6·(1 - z/20·(1 - z/42))), lanes (cos, sin).
Mm ShortCosSin(Mm r) {
    const Mm z = pfmul(r, r);
    const Mm zz = BroadcastLo(z);
    Mm nest = pfadd(kOnes, pfmul(zz, kNest56And42));
    nest = pfadd(kOnes, pfmul(pfmul(zz, kNest30And20), nest));
    nest = pfadd(kOnes, pfmul(pfmul(zz, kNest12And6), nest));
    const Mm outer = punpckldq(pfmul(z, kMinusHalf), r);
    return pfadd(pfmul(outer, nest), kOneLo);
}

// Taylor polynomials through r^10 (cosine) and r^9 (sine), lanes (cos, sin).
Mm LongCosSin(Mm r) {
    const Mm zz = BroadcastLo(pfmul(r, r));
    return pfmul(Horner(zz, kLongSinCos), punpckldq(kOnes, r));
}

// asin(y) for y in [0, 0.5].
Mm ArcSinSmall(Mm y) {
    const Mm z = pfmul(y, y);
    return pfadd(y, pfmul(pfmul(y, z), Horner(z, kArcSinP)));
}

}  // namespace

Mm PackedSinCos3DNow(Mm angle) {
    const Reduced reduced = ReduceToOctant(angle);
    return UnfoldOctant(ShortCosSin(reduced.r), reduced.k, angle);
}

Mm SinCosSineLow(Mm angle) {
    const Reduced reduced = ReduceToOctant(angle);
    const Mm cosSin = UnfoldOctant(LongCosSin(reduced.r), reduced.k, angle);
    return punpckldq(BroadcastHi(cosSin), cosSin);
}

Mm ArcTan2(Mm y, Mm x) {
    const Mm larger = pfmax(y, x);
    const Mm smaller = pfmin(y, x);
    const Mm u = pfmul(smaller, RefinedReciprocal(larger));
    const Mm z = pfmul(u, u);
    const Mm atan = pfadd(u, pfmul(pfmul(u, z), Horner(z, kArcTanP)));
    return BroadcastLo(Select(pfcmpgt(y, x), pfsub(kHalfPi, atan), atan));
}

// acos|x| = pi/2 - asin|x| for |x| <= 0.5, else 2·asin(sqrt((1 - |x|)·0.5)),
// the root as v times the refined 1/sqrt(v); acos x = pi - acos|x| for x < 0.
Mm ArcCos(Mm x) {
    const Mm magnitude = pand(x, kMagnitude);
    const Mm v = pfmul(pfsub(kOnes, magnitude), kHalves);
    const Mm nearOne = pfcmpgt(magnitude, kHalves);
    const Mm y = Select(nearOne, pfmul(v, RefinedReciprocalSqrt(v)), magnitude);
    const Mm asin = ArcSinSmall(y);
    const Mm ofMagnitude = Select(nearOne, pfmul(asin, kTwos), pfsub(kHalfPi, asin));
    return BroadcastLo(Select(pfcmpgt(kZeros, x), pfsub(kPi, ofMagnitude), ofMagnitude));
}

}  // namespace d3dx::amd3dnow
