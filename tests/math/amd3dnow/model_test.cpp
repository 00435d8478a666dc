// The float-pair model of the 3DNow! instructions: approximation accuracy,
// the Newton-Raphson pairs, lane semantics, conversions and masks.
#include "amd3dnow/amd3dnow_common.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace d3dx::amd3dnow {
namespace {

using namespace mmx;

constexpr int kSamples = 20000;

// Random positive floats over many binades, [2^-60, 2^60).
float RandomMagnitude(std::mt19937& rng) {
    std::uniform_real_distribution<float> mantissa(1.0f, 2.0f);
    std::uniform_int_distribution<int> exponent(-60, 59);
    return std::ldexp(mantissa(rng), exponent(rng));
}

double RelativeError(double value, double exact) {
    return std::fabs(value - exact) / std::fabs(exact);
}

// Mantissa bits below the given number of significant bits are zero.
bool HasAtMostSignificantBits(float f, int bits) {
    const std::uint32_t lowMask = (1u << (24 - bits)) - 1u;
    return (std::bit_cast<std::uint32_t>(f) & lowMask) == 0;
}

TEST(FloatPairApproximations, ReciprocalHasFourteenBitsAndBothLanes) {
    std::mt19937 rng(1);
    for (int i = 0; i < kSamples; ++i) {
        const float b = RandomMagnitude(rng) * (i % 2 ? -1.0f : 1.0f);
        const Mm r = pfrcp({b, 7.0f});
        ASSERT_EQ(Bits(r.lo), Bits(r.hi)) << "PFRCP writes lane 0's result to both lanes";
        ASSERT_LE(RelativeError(r.lo, 1.0 / b), std::ldexp(1.0, -14)) << b;
        ASSERT_TRUE(HasAtMostSignificantBits(r.lo, 14)) << b;
    }
}

TEST(FloatPairApproximations, ReciprocalSqrtHasFifteenBits) {
    std::mt19937 rng(2);
    for (int i = 0; i < kSamples; ++i) {
        const float b = RandomMagnitude(rng);
        const Mm r = pfrsqrt({b, 0.0f});
        ASSERT_EQ(Bits(r.lo), Bits(r.hi));
        ASSERT_LE(RelativeError(r.lo, 1.0 / std::sqrt(static_cast<double>(b))),
                  std::ldexp(1.0, -15))
            << b;
        ASSERT_TRUE(HasAtMostSignificantBits(r.lo, 15)) << b;
    }
}

TEST(FloatPairApproximations, OneNewtonRaphsonStepReachesSinglePrecision) {
    std::mt19937 rng(3);
    const double bound = std::ldexp(1.0, -22);
    double worstReciprocal = 0.0;
    double worstRsqrt = 0.0;
    for (int i = 0; i < kSamples; ++i) {
        const float b = RandomMagnitude(rng);
        const double reciprocal = RelativeError(RefinedReciprocal(movd(b)).lo, 1.0 / b);
        const double rsqrt = RelativeError(RefinedReciprocalSqrt(movd(b)).lo,
                                           1.0 / std::sqrt(static_cast<double>(b)));
        worstReciprocal = std::max(worstReciprocal, reciprocal);
        worstRsqrt = std::max(worstRsqrt, rsqrt);
    }
    EXPECT_LE(worstReciprocal, bound);
    EXPECT_LE(worstRsqrt, bound);
    // The step really refines: the raw approximations are far coarser.
    EXPECT_GT(RelativeError(pfrcp(movd(3.0f)).lo, 1.0 / 3.0), std::ldexp(1.0, -20));
}

TEST(FloatPairApproximations, ZeroGivesTheLargestFiniteValueNotInfinity) {
    EXPECT_EQ(pfrcp(movd(0.0f)).lo, FLT_MAX);
    EXPECT_EQ(pfrcp(movd(-0.0f)).lo, -FLT_MAX);
    EXPECT_EQ(pfrsqrt(movd(0.0f)).lo, FLT_MAX);
    EXPECT_EQ(RefinedReciprocal(movd(0.0f)).lo, FLT_MAX);
    EXPECT_EQ(RefinedReciprocalSqrt(movd(0.0f)).lo, FLT_MAX);
    // So a masked-out zero times the "reciprocal" of zero stays zero.
    EXPECT_EQ(pfmul(kZeros, RefinedReciprocal(kZeros)).lo, 0.0f);
    EXPECT_EQ(pfmul(Splat(FLT_MAX), kTwos).lo, FLT_MAX) << "overflow saturates";
    EXPECT_EQ(pfadd(Splat(-FLT_MAX), Splat(-FLT_MAX)).hi, -FLT_MAX);
}

struct LaneCase {
    const char* name;
    Mm (*op)(Mm, Mm);
    Mm expected;
};

TEST(FloatPairLanes, HorizontalAndSwapInstructions) {
    const Mm a{1.0f, 2.0f};
    const Mm b{10.0f, 4.0f};
    const LaneCase cases[] = {
        {"PFACC", pfacc, {3.0f, 14.0f}},        {"PFNACC", pfnacc, {-1.0f, 6.0f}},
        {"PFPNACC", pfpnacc, {-1.0f, 14.0f}},   {"PFSUB", pfsub, {-9.0f, -2.0f}},
        {"PFSUBR", pfsubr, {9.0f, 2.0f}},       {"PFMAX", pfmax, {10.0f, 4.0f}},
        {"PFMIN", pfmin, {1.0f, 2.0f}},         {"PUNPCKLDQ", punpckldq, {1.0f, 10.0f}},
        {"PUNPCKHDQ", punpckhdq, {2.0f, 4.0f}},
    };
    for (const LaneCase& c : cases) {
        const Mm got = c.op(a, b);
        EXPECT_EQ(got.lo, c.expected.lo) << c.name;
        EXPECT_EQ(got.hi, c.expected.hi) << c.name;
    }
    EXPECT_EQ(pswapd(a).lo, 2.0f);
    EXPECT_EQ(pswapd(a).hi, 1.0f);
}

TEST(FloatPairConversions, Pf2idTruncatesAndSaturates) {
    const struct {
        float in;
        std::int32_t out;
    } cases[] = {
        {1.9f, 1},
        {-1.9f, -1},
        {-0.5f, 0},
        {2147483520.0f, 2147483520},
        {3.0e9f, std::numeric_limits<std::int32_t>::max()},
        {-3.0e9f, std::numeric_limits<std::int32_t>::min()},
        {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases) EXPECT_EQ(IntOf(pf2id(Splat(c.in)).hi), c.out) << c.in;
}

TEST(FloatPairConversions, Pi2fdIsSignedAndTruncates) {
    EXPECT_EQ(pi2fd(PairFromBits(0xFFFFFFF6u, 640u)).lo, -10.0f);
    EXPECT_EQ(pi2fd(PairFromBits(0xFFFFFFF6u, 640u)).hi, 640.0f);
    EXPECT_EQ(pi2fd(movd_from_r32(16777217)).lo, 16777216.0f);
    EXPECT_EQ(pi2fd(movd_from_r32(-16777219)).lo, -16777218.0f);
}

TEST(FloatPairMasks, ComparesGiveAllOnesLanesAndNaNComparesFalse) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Mm a{2.0f, nan};
    const Mm b{1.0f, 1.0f};
    EXPECT_EQ(Bits(pfcmpgt(a, b).lo), kAllOnes);
    EXPECT_EQ(Bits(pfcmpgt(a, b).hi), 0u);
    EXPECT_EQ(Bits(pfcmpge(Splat(1.0f), b).lo), kAllOnes);
    EXPECT_EQ(Bits(pfcmpgt(Splat(1.0f), b).lo), 0u);
    EXPECT_EQ(Bits(pfcmpeq(Splat(-0.0f), kZeros).lo), kAllOnes) << "-0 == +0";
    EXPECT_EQ(Bits(pfcmpeq(a, a).hi), 0u);
    // FLT_MIN mask: strictly above 2^-126.
    EXPECT_EQ(Bits(AboveFltMin(Splat(FLT_MIN)).lo), 0u);
    EXPECT_EQ(Bits(AboveFltMin(Splat(std::nextafter(FLT_MIN, 1.0f))).lo), kAllOnes);
}

TEST(FloatPairMasks, BitInstructionsAndByteMask) {
    const Mm a = PairFromBits(0xF0F0F0F0u, 0x12345678u);
    const Mm b = PairFromBits(0xFF00FF00u, 0x0000FFFFu);
    EXPECT_EQ(Bits(pand(a, b).lo), 0xF000F000u);
    EXPECT_EQ(Bits(pandn(a, b).lo), 0x0F000F00u);
    EXPECT_EQ(Bits(por(a, b).hi), 0x1234FFFFu);
    EXPECT_EQ(Bits(pxor(a, b).hi), 0x1234A987u);
    EXPECT_EQ(Bits(psrld(a, 4).lo), 0x0F0F0F0Fu);
    EXPECT_EQ(Bits(pslld(a, 4).hi), 0x23456780u);
    EXPECT_EQ(pmovmskb(PairFromBits(0x80000080u, 0xFF000000u)), 0b10001001);
    EXPECT_EQ(pmovmskb(PairFromBits(kAllOnes, 0u)), 0x0F);
}

}  // namespace
}  // namespace d3dx::amd3dnow
