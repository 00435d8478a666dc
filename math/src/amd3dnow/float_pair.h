// A small software model of the 3DNow! and MMX instructions the 3DNow!
// variants are written in.
//
// No processor this library is built and tested on executes 3DNow!, so the
// variants are written against this model: one inline function per
// instruction, named after the instruction, operating on `Mm`, one 64-bit MMX
// register seen as two 32-bit lanes (lane 0 = lo, lane 1 = hi). Reading a
// variant therefore reads like its instruction sequence, and the sequence is
// testable here.
//
// The model of each instruction:
//  - PFADD, PFSUB, PFSUBR, PFMUL, PFMAX, PFMIN: lane-wise IEEE single
//    precision, round to nearest. Like the hardware, no instruction produces
//    an infinity: a result that overflows saturates to the largest finite
//    value of its sign (+-FLT_MAX). Denormal results are kept (the hardware
//    flushes them to zero; the variants mask lengths at FLT_MIN, so this
//    never shows in their results).
//  - PFACC (lo = a.lo + a.hi, hi = b.lo + b.hi), PFNACC (differences
//    lo - hi), PFPNACC (lo = a.lo - a.hi, hi = b.lo + b.hi), PSWAPD (lanes
//    exchanged).
//  - PFCMPGT, PFCMPGE, PFCMPEQ: all-ones lane where the comparison holds,
//    zero elsewhere (NaN compares false). PAND, PANDN (~a & b), POR, PXOR
//    work on the 64 bits.
//  - PF2ID truncates toward zero and saturates to [INT32_MIN, INT32_MAX]
//    (NaN gives INT32_MIN). PI2FD converts an int32 to float, truncating
//    toward zero when it is not exact.
//  - PFRCP: the exact reciprocal of lane 0 rounded to 14 significant bits
//    (relative error below 2^-14), written to both lanes. PFRSQRT: the exact
//    1/sqrt(|lane 0|) rounded to 15 significant bits (error below 2^-15),
//    with the sign of the input, written to both lanes. A zero input gives
//    +-FLT_MAX.
//  - The Newton-Raphson steps, lane-wise, with the residual formed exactly
//    and rounded once:
//      PFRCPIT1(b, x0)  = 1 - b*x0                    (reciprocal residual)
//      PFRSQIT1(x0², b) = (1 - x0²*b) / 2             (rsqrt residual)
//      PFRCPIT2(e, x0)  = x0 + x0*e                   (apply the step)
//    so PFRCP -> PFRCPIT1 -> PFRCPIT2 gives 1/b and PFRSQRT -> PFMUL ->
//    PFRSQIT1 -> PFRCPIT2 gives 1/sqrt(b), each to about 23 bits.
//  - MMX integer instructions on the 32-bit lanes: PADDD, PSUBD, PSRLD,
//    PSLLD, PCMPEQD, PUNPCKLDQ, PUNPCKHDQ; PMOVMSKB gathers the top bit of
//    each of the eight bytes (bit i from byte i, lo lane first).
//  - MOVD/MOVQ are plain loads and stores of one lane or both lanes.
//  - FEMMS hands the registers back to the x87 unit; in the model it does
//    nothing, but the variants call it where the hardware code executes it.
#pragma once

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace d3dx::amd3dnow::mmx {

// One MMX register: two 32-bit lanes, held as floats. Masks and integers are
// stored by bit pattern (std::bit_cast), never through float arithmetic.
struct Mm {
    float lo;
    float hi;
};

// ---------------------------------------------------------------------------
// Bit patterns.

constexpr std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }
constexpr float FloatFromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }
constexpr std::int32_t IntOf(float lane) { return std::bit_cast<std::int32_t>(lane); }
constexpr float LaneOfInt(std::int32_t value) { return std::bit_cast<float>(value); }

// A register given by the bit patterns of its lanes.
constexpr Mm PairFromBits(std::uint32_t lo, std::uint32_t hi) {
    return {FloatFromBits(lo), FloatFromBits(hi)};
}
constexpr Mm Splat(float f) { return {f, f}; }

inline constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;

namespace detail {

// 3DNow! arithmetic never produces an infinity: overflow saturates.
constexpr float Saturate(float f) {
    if (f == std::numeric_limits<float>::infinity()) return FLT_MAX;
    if (f == -std::numeric_limits<float>::infinity()) return -FLT_MAX;
    return f;
}

constexpr float Saturate(double d) {
    if (d > static_cast<double>(FLT_MAX)) return FLT_MAX;
    if (d < -static_cast<double>(FLT_MAX)) return -FLT_MAX;
    return static_cast<float>(d);
}

// Rounds a double to `bits` significant bits (round to nearest, ties away).
constexpr double RoundToSignificantBits(double value, int bits) {
    constexpr int kDoubleMantissaBits = 52;
    const int dropped = kDoubleMantissaBits - (bits - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    const std::uint64_t keep = ~((std::uint64_t{1} << dropped) - 1);
    return std::bit_cast<double>((std::bit_cast<std::uint64_t>(value) + half) & keep);
}

constexpr std::uint32_t LaneMask(bool holds) { return holds ? kAllOnes : 0u; }

template <class Op>
constexpr Mm LaneWise(Mm a, Mm b, Op op) {
    return {Saturate(op(a.lo, b.lo)), Saturate(op(a.hi, b.hi))};
}

template <class Op>
constexpr Mm BitWise(Mm a, Mm b, Op op) {
    return PairFromBits(op(Bits(a.lo), Bits(b.lo)), op(Bits(a.hi), Bits(b.hi)));
}

template <class Op>
constexpr Mm IntWise(Mm a, Op op) {
    return {LaneOfInt(op(IntOf(a.lo))), LaneOfInt(op(IntOf(a.hi)))};
}

}  // namespace detail

inline constexpr int kReciprocalBits = 14;
inline constexpr int kReciprocalSqrtBits = 15;

// ---------------------------------------------------------------------------
// Loads and stores (MOVD, MOVQ).

// MOVQ mm, m64: both lanes from memory.
constexpr Mm movq(const float* p) { return {p[0], p[1]}; }
// MOVD mm, m32: lane 0 from memory, lane 1 cleared.
constexpr Mm movd(float f) { return {f, 0.0f}; }
// MOVQ m64, mm.
constexpr void movq(float* p, Mm a) {
    p[0] = a.lo;
    p[1] = a.hi;
}
// MOVD m32, mm: lane 0 only.
constexpr void movd(float* p, Mm a) { p[0] = a.lo; }
// MOVD r32, mm: lane 0's bits as an integer.
constexpr std::int32_t movd_r32(Mm a) { return IntOf(a.lo); }
// MOVD mm, r32.
constexpr Mm movd_from_r32(std::int32_t value) { return {LaneOfInt(value), 0.0f}; }

// FEMMS: leave MMX state. Nothing to do in the model.
constexpr void femms() {}

// ---------------------------------------------------------------------------
// 3DNow! arithmetic.

constexpr Mm pfadd(Mm a, Mm b) {
    return detail::LaneWise(a, b, [](float x, float y) { return x + y; });
}
constexpr Mm pfsub(Mm a, Mm b) {
    return detail::LaneWise(a, b, [](float x, float y) { return x - y; });
}
constexpr Mm pfsubr(Mm a, Mm b) {
    return detail::LaneWise(a, b, [](float x, float y) { return y - x; });
}
constexpr Mm pfmul(Mm a, Mm b) {
    return detail::LaneWise(a, b, [](float x, float y) { return x * y; });
}
constexpr Mm pfmax(Mm a, Mm b) {
    return detail::LaneWise(a, b, [](float x, float y) { return x > y ? x : y; });
}
constexpr Mm pfmin(Mm a, Mm b) {
    return detail::LaneWise(a, b, [](float x, float y) { return x < y ? x : y; });
}

// PFACC: horizontal sums, lo from a, hi from b.
constexpr Mm pfacc(Mm a, Mm b) {
    return {detail::Saturate(a.lo + a.hi), detail::Saturate(b.lo + b.hi)};
}
// PFNACC: horizontal differences lo - hi.
constexpr Mm pfnacc(Mm a, Mm b) {
    return {detail::Saturate(a.lo - a.hi), detail::Saturate(b.lo - b.hi)};
}
// PFPNACC: difference of a's lanes in lo, sum of b's lanes in hi.
constexpr Mm pfpnacc(Mm a, Mm b) {
    return {detail::Saturate(a.lo - a.hi), detail::Saturate(b.lo + b.hi)};
}
// PSWAPD: lanes exchanged.
constexpr Mm pswapd(Mm a) { return {a.hi, a.lo}; }

// Compares: all-ones lanes where a > b (a >= b, a == b).
constexpr Mm pfcmpgt(Mm a, Mm b) {
    return PairFromBits(detail::LaneMask(a.lo > b.lo), detail::LaneMask(a.hi > b.hi));
}
constexpr Mm pfcmpge(Mm a, Mm b) {
    return PairFromBits(detail::LaneMask(a.lo >= b.lo), detail::LaneMask(a.hi >= b.hi));
}
constexpr Mm pfcmpeq(Mm a, Mm b) {
    return PairFromBits(detail::LaneMask(a.lo == b.lo), detail::LaneMask(a.hi == b.hi));
}

// PF2ID: float to int32, truncating, saturating.
constexpr std::int32_t TruncateToInt32(float f) {
    if (!(f == f)) return std::numeric_limits<std::int32_t>::min();
    if (f >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
    if (f <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(f);
}
constexpr Mm pf2id(Mm a) {
    return {LaneOfInt(TruncateToInt32(a.lo)), LaneOfInt(TruncateToInt32(a.hi))};
}

// PI2FD: int32 to float, truncating toward zero.
constexpr float ConvertTruncating(std::int32_t i) {
    const double exact = static_cast<double>(i);
    float f = static_cast<float>(exact);
    if (static_cast<double>(f) > exact && exact >= 0.0) f = std::nextafter(f, 0.0f);
    if (static_cast<double>(f) < exact && exact < 0.0) f = std::nextafter(f, 0.0f);
    return f;
}
constexpr Mm pi2fd(Mm a) {
    return {ConvertTruncating(IntOf(a.lo)), ConvertTruncating(IntOf(a.hi))};
}

// PFRCP: ~14-bit reciprocal of lane 0, in both lanes.
constexpr float ApproximateReciprocal(float b) {
    const double exact = 1.0 / static_cast<double>(b);
    if (exact == std::numeric_limits<double>::infinity()) return FLT_MAX;
    if (exact == -std::numeric_limits<double>::infinity()) return -FLT_MAX;
    return detail::Saturate(detail::RoundToSignificantBits(exact, kReciprocalBits));
}
constexpr Mm pfrcp(Mm a) { return Splat(ApproximateReciprocal(a.lo)); }

// PFRSQRT: ~15-bit reciprocal square root of |lane 0|, sign of lane 0, in both lanes.
inline float ApproximateReciprocalSqrt(float b) {
    const double magnitude = std::fabs(static_cast<double>(b));
    const double exact =
        magnitude == 0.0 ? std::numeric_limits<double>::infinity() : 1.0 / std::sqrt(magnitude);
    const float rounded =
        detail::Saturate(detail::RoundToSignificantBits(exact, kReciprocalSqrtBits));
    return std::signbit(b) ? -rounded : rounded;
}
inline Mm pfrsqrt(Mm a) { return Splat(ApproximateReciprocalSqrt(a.lo)); }

// PFRCPIT1: reciprocal residual 1 - b*x0, lane-wise.
constexpr Mm pfrcpit1(Mm b, Mm x0) {
    const auto residual = [](float bl, float xl) {
        return detail::Saturate(1.0 - static_cast<double>(bl) * static_cast<double>(xl));
    };
    return {residual(b.lo, x0.lo), residual(b.hi, x0.hi)};
}

// PFRSQIT1: reciprocal-square-root residual (1 - x0²*b)/2, lane-wise.
constexpr Mm pfrsqit1(Mm x0Squared, Mm b) {
    const auto residual = [](float sl, float bl) {
        return detail::Saturate(0.5 * (1.0 - static_cast<double>(sl) * static_cast<double>(bl)));
    };
    return {residual(x0Squared.lo, b.lo), residual(x0Squared.hi, b.hi)};
}

// PFRCPIT2: applies a residual to the estimate, x0 + x0*e, lane-wise.
constexpr Mm pfrcpit2(Mm e, Mm x0) {
    const auto step = [](float el, float xl) {
        return detail::Saturate(static_cast<double>(xl) +
                                static_cast<double>(xl) * static_cast<double>(el));
    };
    return {step(e.lo, x0.lo), step(e.hi, x0.hi)};
}

// ---------------------------------------------------------------------------
// MMX bit and integer instructions.

constexpr Mm pand(Mm a, Mm b) {
    return detail::BitWise(a, b, [](std::uint32_t x, std::uint32_t y) { return x & y; });
}
constexpr Mm pandn(Mm a, Mm b) {
    return detail::BitWise(a, b, [](std::uint32_t x, std::uint32_t y) { return ~x & y; });
}
constexpr Mm por(Mm a, Mm b) {
    return detail::BitWise(a, b, [](std::uint32_t x, std::uint32_t y) { return x | y; });
}
constexpr Mm pxor(Mm a, Mm b) {
    return detail::BitWise(a, b, [](std::uint32_t x, std::uint32_t y) { return x ^ y; });
}
constexpr Mm paddd(Mm a, Mm b) {
    return detail::BitWise(a, b, [](std::uint32_t x, std::uint32_t y) { return x + y; });
}
constexpr Mm psubd(Mm a, Mm b) {
    return detail::BitWise(a, b, [](std::uint32_t x, std::uint32_t y) { return x - y; });
}
constexpr Mm pcmpeqd(Mm a, Mm b) {
    return detail::BitWise(
        a, b, [](std::uint32_t x, std::uint32_t y) { return detail::LaneMask(x == y); });
}
constexpr Mm psrld(Mm a, int count) {
    return PairFromBits(Bits(a.lo) >> count, Bits(a.hi) >> count);
}
constexpr Mm pslld(Mm a, int count) {
    return PairFromBits(Bits(a.lo) << count, Bits(a.hi) << count);
}

// PUNPCKLDQ: (a.lo, b.lo). PUNPCKHDQ: (a.hi, b.hi).
constexpr Mm punpckldq(Mm a, Mm b) { return {a.lo, b.lo}; }
constexpr Mm punpckhdq(Mm a, Mm b) { return {a.hi, b.hi}; }

// PMOVMSKB: the top bit of each byte, byte 0 of lane 0 into bit 0.
constexpr int pmovmskb(Mm a) {
    const std::uint64_t bits = std::uint64_t{Bits(a.lo)} | (std::uint64_t{Bits(a.hi)} << 32);
    int mask = 0;
    for (int byte = 0; byte < 8; ++byte)
        mask |= static_cast<int>((bits >> (byte * 8 + 7)) & 1u) << byte;
    return mask;
}

}  // namespace d3dx::amd3dnow::mmx
