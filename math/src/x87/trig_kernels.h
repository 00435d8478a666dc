// Double-precision sine, cosine, arc tangent and arc cosine for the x87
// reference operations.
//
// The C library's double functions are accurate but are calls that test for
// every case; the reference needs a sine and cosine of one angle, the sines
// of two angles (the two weights of a spherical interpolation) and arc
// functions of values it has already bounded. These kernels are inline so
// that two evaluations interleave. Each is accurate to about one unit in the
// last place of a double (relative error about 1e-16), far below the single
// precision the results are stored in.
//
// Sine and cosine reduce the angle by pi/2 in three parts (each part's
// product with the quadrant number is exact for angles below 2^19) and
// evaluate minimax polynomials on [-pi/4, pi/4]; larger angles, infinities
// and NaN go to the C library. The arc tangent folds its argument into
// [-7/16, 7/16] with atan(a) + atan((t - a) / (1 + a t)) for a = 1/2 or 1,
// using one division, and evaluates an odd minimax polynomial there. The arc
// cosine is the arc tangent of sqrt((1 - x)(1 + x)) / x, where both factors
// are exact for a single-precision x.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3dx::x87 {

struct SinCos {
    double sin, cos;
};

struct SinePair {
    double first, second;
};

namespace trig {

// Angles up to this size are reduced here; the quadrant number then has at
// most 19 bits, so its products with the 33-bit parts of pi/2 are exact.
inline constexpr double kMaxReducedAngle = 0x1p19;

inline constexpr double kTwoOverPi = 6.36619772367581382433e-01;
// pi/2 = kPiOver2Part1 + kPiOver2Part2 + kPiOver2Part3 to about 120 bits; the
// first two parts have 33 significant bits each.
inline constexpr double kPiOver2Part1 = 1.57079632673412561417e+00;
inline constexpr double kPiOver2Part2 = 6.07710050630396597660e-11;
inline constexpr double kPiOver2Part3 = 2.02226624879595063154e-21;
// Adding and subtracting 1.5 * 2^52 rounds a double of magnitude below 2^51
// to the nearest integer in the current (round-to-nearest) mode.
inline constexpr double kRoundingBias = 0x1.8p52;

// sin r = r + r^3 (S1 + r^2 (S2 + ... + r^2 S6)) on [-pi/4, pi/4].
inline constexpr double kS1 = -1.66666666666666324348e-01;
inline constexpr double kS2 = 8.33333333332248946124e-03;
inline constexpr double kS3 = -1.98412698298579493134e-04;
inline constexpr double kS4 = 2.75573137070700676789e-06;
inline constexpr double kS5 = -2.50507602534068634195e-08;
inline constexpr double kS6 = 1.58969099521155010221e-10;

// cos r = 1 - r^2/2 + r^4 (C1 + r^2 (C2 + ... + r^2 C6)) on [-pi/4, pi/4].
inline constexpr double kC1 = 4.16666666666666019037e-02;
inline constexpr double kC2 = -1.38888888888741095749e-03;
inline constexpr double kC3 = 2.48015872894767294178e-05;
inline constexpr double kC4 = -2.75573143513906633035e-07;
inline constexpr double kC5 = 2.08757232129817482790e-09;
inline constexpr double kC6 = -1.13596475577881948265e-11;

// The polynomials are evaluated in pairs of terms (Estrin's scheme), which
// shortens the chain of dependent operations to about half of Horner's.
inline double SinPolynomial(double r) {
    if (r == 0.0) return r;  // keeps the sign of a zero angle
    const double z = r * r;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double tail = ((kS1 + z * kS2) + z2 * (kS3 + z * kS4)) + z4 * (kS5 + z * kS6);
    return r + (r * z) * tail;
}

inline double CosPolynomial(double r) {
    const double z = r * r;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double tail = ((kC1 + z * kC2) + z2 * (kC3 + z * kC4)) + z4 * (kC5 + z * kC6);
    return (1.0 - 0.5 * z) + z2 * tail;
}

// The angle as r + q * pi/2 with |r| <= pi/4 (a little more at the rounding
// boundaries, where the polynomials are still accurate).
struct Reduced {
    double r;
    std::int64_t quadrant;
};

inline Reduced Reduce(double x) {
    const double k = (x * kTwoOverPi + kRoundingBias) - kRoundingBias;
    const double r = ((x - k * kPiOver2Part1) - k * kPiOver2Part2) - k * kPiOver2Part3;
    return {r, static_cast<std::int64_t>(k)};
}

inline bool IsReducible(double x) { return std::fabs(x) <= kMaxReducedAngle; }

// sin(r + q pi/2) and cos(r + q pi/2) from sin r and cos r.
inline SinCos Rotate(double sinR, double cosR, std::int64_t quadrant) {
    switch (quadrant & 3) {
        case 0:
            return {sinR, cosR};
        case 1:
            return {cosR, -sinR};
        case 2:
            return {-sinR, -cosR};
        default:
            return {-cosR, sinR};
    }
}

inline double Sine(double x) {
    if (!IsReducible(x)) return std::sin(x);
    const Reduced red = Reduce(x);
    const double s = (red.quadrant & 1) ? CosPolynomial(red.r) : SinPolynomial(red.r);
    return (red.quadrant & 2) ? -s : s;
}

// atan t = t - t^3 (T0 + t^2 T1 + ... + t^20 T10) on [0, 7/16].
inline constexpr double kT0 = 3.33333333333329318027e-01;
inline constexpr double kT1 = -1.99999999998764832476e-01;
inline constexpr double kT2 = 1.42857142725034663711e-01;
inline constexpr double kT3 = -1.11111104054623557880e-01;
inline constexpr double kT4 = 9.09088713343650656196e-02;
inline constexpr double kT5 = -7.69187620504482999495e-02;
inline constexpr double kT6 = 6.66107313738753120669e-02;
inline constexpr double kT7 = -5.83357013379057348645e-02;
inline constexpr double kT8 = 4.97687799461593236017e-02;
inline constexpr double kT9 = -3.65315727442169155270e-02;
inline constexpr double kT10 = 1.62858201153657823623e-02;

// atan(1/2) and atan(1), each as a double and the remainder.
inline constexpr double kAtanHalfHigh = 4.63647609000806093515e-01;
inline constexpr double kAtanHalfLow = 2.26987774529616870924e-17;
inline constexpr double kAtanOneHigh = 7.85398163397448278999e-01;
inline constexpr double kAtanOneLow = 3.06161699786838301793e-17;
// pi/2 and pi, each as a double and the remainder.
inline constexpr double kPiOver2High = 1.57079632679489655800e+00;
inline constexpr double kPiOver2Low = 6.12323399573676603587e-17;
inline constexpr double kPiHigh = 3.14159265358979311600e+00;
inline constexpr double kPiLow = 1.22464679914735317720e-16;

// The folding points of the arc tangent's argument.
inline constexpr double kAtanDirectLimit = 0.4375;  // 7/16
inline constexpr double kAtanHalfLimit = 0.6875;    // 11/16

// t·(T0 t^2 + T1 t^4 + ...), the part of atan t beyond t, for |t| <= 7/16.
inline double AtanTail(double t) {
    const double z = t * t;
    const double w = z * z;
    const double w2 = w * w;
    const double w4 = w2 * w2;
    const double even = ((kT0 + w * kT2) + w2 * (kT4 + w * kT6)) + w4 * ((kT8 + w * kT10));
    const double odd = ((kT1 + w * kT3) + w2 * (kT5 + w * kT7)) + w4 * kT9;
    return t * (z * even + w * odd);
}

// Above this the sums of the folded arguments could overflow.
inline constexpr double kAtanScaleLimit = 0x1p1020;

// atan(y / x) for 0 <= y <= x, x > 0, with one division: the argument is
// folded with atan(y/x) - atan(a) = atan((y - a x) / (x + a y)) without
// forming y/x first.
inline double AtanOfRatio(double y, double x) {
    if (x > kAtanScaleLimit) {
        x *= 0.25;
        y *= 0.25;
    }
    if (y < kAtanDirectLimit * x) {
        const double t = y / x;
        return t - AtanTail(t);
    }
    if (y < kAtanHalfLimit * x) {
        const double u = (2.0 * y - x) / (2.0 * x + y);
        return kAtanHalfHigh - ((AtanTail(u) - kAtanHalfLow) - u);
    }
    const double u = (y - x) / (y + x);
    return kAtanOneHigh - ((AtanTail(u) - kAtanOneLow) - u);
}

#if defined(__SSE2__)
// Two lanes at once (SSE2, every x86-64 processor): lane 0 and lane 1 each
// evaluate the sine or the cosine polynomial of their own argument, chosen by
// loading that polynomial's coefficients into the lane. Every lane performs
// exactly the operations of SinPolynomial or CosPolynomial.

struct alignas(16) LanePair {
    double lane[2];
};
using PairCoefficients = std::array<LanePair, 6>;

inline constexpr double kSinCoefficients[6] = {kS1, kS2, kS3, kS4, kS5, kS6};
inline constexpr double kCosCoefficients[6] = {kC1, kC2, kC3, kC4, kC5, kC6};

// Indexed by which lanes take the cosine: bit 0 for lane 0, bit 1 for lane 1.
inline constexpr std::array<PairCoefficients, 4> kPairCoefficients = [] {
    std::array<PairCoefficients, 4> tables{};
    for (int cosines = 0; cosines < 4; ++cosines)
        for (int i = 0; i < 6; ++i)
            for (int lane = 0; lane < 2; ++lane)
                tables[cosines][i].lane[lane] =
                    ((cosines >> lane) & 1) ? kCosCoefficients[i] : kSinCoefficients[i];
    return tables;
}();
// All-ones in the lanes that take the cosine, and the sign bit in the lanes
// to negate; both indexed like kPairCoefficients.
inline constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};
inline constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
struct alignas(16) LaneMask {
    std::uint64_t lane[2];
};
inline constexpr LaneMask kCosineLanes[4] = {
    {{0, 0}}, {{kAllOnes, 0}}, {{0, kAllOnes}}, {{kAllOnes, kAllOnes}}};
inline constexpr LaneMask kNegatedLanes[4] = {
    {{0, 0}}, {{kSignBit, 0}}, {{0, kSignBit}}, {{kSignBit, kSignBit}}};

inline __m128d LoadPair(const LanePair& p) { return _mm_load_pd(p.lane); }
inline __m128d LoadMask(const LaneMask& m) {
    return _mm_castsi128_pd(_mm_load_si128(reinterpret_cast<const __m128i*>(m.lane)));
}
inline __m128d Select(__m128d mask, __m128d ifSet, __m128d otherwise) {
    return _mm_or_pd(_mm_and_pd(mask, ifSet), _mm_andnot_pd(mask, otherwise));
}

// Per lane, sin r (a zero keeps its sign) or cos r, as `cosines` says.
inline __m128d PairPolynomials(__m128d r, int cosines) {
    const PairCoefficients& c = kPairCoefficients[cosines];
    const __m128d z = _mm_mul_pd(r, r);
    const __m128d z2 = _mm_mul_pd(z, z);
    const __m128d z4 = _mm_mul_pd(z2, z2);
    const __m128d low = _mm_add_pd(LoadPair(c[0]), _mm_mul_pd(z, LoadPair(c[1])));
    const __m128d middle = _mm_add_pd(LoadPair(c[2]), _mm_mul_pd(z, LoadPair(c[3])));
    const __m128d high = _mm_add_pd(LoadPair(c[4]), _mm_mul_pd(z, LoadPair(c[5])));
    const __m128d tail = _mm_add_pd(_mm_add_pd(low, _mm_mul_pd(z2, middle)), _mm_mul_pd(z4, high));
    // sin: r + (r z) tail;  cos: (1 - z/2) + z^2 tail.
    const __m128d cosineLanes = LoadMask(kCosineLanes[cosines]);
    const __m128d head =
        Select(cosineLanes, _mm_sub_pd(_mm_set1_pd(1.0), _mm_mul_pd(_mm_set1_pd(0.5), z)), r);
    const __m128d factor = Select(cosineLanes, z2, _mm_mul_pd(r, z));
    const __m128d value = _mm_add_pd(head, _mm_mul_pd(factor, tail));
    const __m128d zeroSines = _mm_andnot_pd(cosineLanes, _mm_cmpeq_pd(r, _mm_setzero_pd()));
    return Select(zeroSines, r, value);
}

inline double Lane0(__m128d v) { return _mm_cvtsd_f64(v); }
inline double Lane1(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
#endif

}  // namespace trig

// sin x and cos x.
inline SinCos SinCosOf(double x) {
    if (!trig::IsReducible(x)) return {std::sin(x), std::cos(x)};
    const trig::Reduced red = trig::Reduce(x);
    return trig::Rotate(trig::SinPolynomial(red.r), trig::CosPolynomial(red.r), red.quadrant);
}

// sin a and sin b, evaluated side by side.
inline SinePair SinesOf(double a, double b) {
#if defined(__SSE2__)
    if (trig::IsReducible(a) && trig::IsReducible(b)) {
        const __m128d x = _mm_set_pd(b, a);
        const __m128d k = _mm_sub_pd(_mm_add_pd(_mm_mul_pd(x, _mm_set1_pd(trig::kTwoOverPi)),
                                                _mm_set1_pd(trig::kRoundingBias)),
                                     _mm_set1_pd(trig::kRoundingBias));
        const __m128d r =
            _mm_sub_pd(_mm_sub_pd(_mm_sub_pd(x, _mm_mul_pd(k, _mm_set1_pd(trig::kPiOver2Part1))),
                                  _mm_mul_pd(k, _mm_set1_pd(trig::kPiOver2Part2))),
                       _mm_mul_pd(k, _mm_set1_pd(trig::kPiOver2Part3)));
        const auto qa = static_cast<std::int64_t>(trig::Lane0(k));
        const auto qb = static_cast<std::int64_t>(trig::Lane1(k));
        // Odd quadrants take the cosine; quadrants 2 and 3 negate.
        const int cosines = static_cast<int>((qa & 1) | ((qb & 1) << 1));
        const int negated = static_cast<int>(((qa >> 1) & 1) | (((qb >> 1) & 1) << 1));
        const __m128d sines = _mm_xor_pd(trig::PairPolynomials(r, cosines),
                                         trig::LoadMask(trig::kNegatedLanes[negated]));
        return {trig::Lane0(sines), trig::Lane1(sines)};
    }
#endif
    return {trig::Sine(a), trig::Sine(b)};
}

// The angle of the point (x, y) in (-pi, pi], with the C library's results
// for zeros, infinities and NaN.
inline double ArcTan2(double y, double x) {
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if (!(ax + ay > 0.0) || !std::isfinite(ax + ay)) return std::atan2(y, x);
    double angle;
    if (ay <= ax) {
        angle = trig::AtanOfRatio(ay, ax);
    } else {
        angle = (trig::kPiOver2High - trig::AtanOfRatio(ax, ay)) + trig::kPiOver2Low;
    }
    if (x < 0.0) angle = (trig::kPiHigh - angle) + trig::kPiLow;
    return std::copysign(angle, y);
}

// acos x for x in [-1, 1]; NaN outside.
inline double ArcCos(double x) { return ArcTan2(std::sqrt((1.0 - x) * (1.0 + x)), x); }

}  // namespace d3dx::x87
