// The 3DNow! set's private sine/cosine, arc tangent and arc cosine routines.
#include "amd3dnow/amd3dnow_common.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace d3dx::amd3dnow {
namespace {

using mmx::movd;

constexpr double kPi = std::numbers::pi;

struct SinCosCase {
    double angle;
    double tolerance;
};

// Exact (double) cosine and sine of the float angle the routine receives.
void ExpectPackedSinCos(float angle, double tolerance) {
    const Mm cs = PackedSinCos3DNow(movd(angle));
    EXPECT_NEAR(cs.lo, std::cos(static_cast<double>(angle)), tolerance) << "cos " << angle;
    EXPECT_NEAR(cs.hi, std::sin(static_cast<double>(angle)), tolerance) << "sin " << angle;
}

TEST(PackedSinCos3DNow, ExactAtZero) {
    const Mm cs = PackedSinCos3DNow(movd(0.0f));
    EXPECT_EQ(cs.lo, 1.0f);
    EXPECT_EQ(cs.hi, 0.0f);
}

TEST(PackedSinCos3DNow, SixthsOfPi) {
    const Mm minus = PackedSinCos3DNow(movd(static_cast<float>(-kPi / 6)));
    EXPECT_NEAR(minus.lo, 0.8660254, 2e-7);
    EXPECT_NEAR(minus.hi, -0.5, 2e-7);
    const Mm plus = PackedSinCos3DNow(movd(static_cast<float>(kPi / 6)));
    EXPECT_NEAR(plus.lo, 0.8660254, 2e-7);
    EXPECT_NEAR(plus.hi, 0.5, 2e-7);
}

// Every octant boundary and octant middle over two turns both ways: the
// lane swaps and sign flips of each octant.
TEST(PackedSinCos3DNow, EveryOctantOverTwoTurns) {
    for (int k = -16; k <= 16; ++k) {
        ExpectPackedSinCos(static_cast<float>(k * kPi / 4), 5e-7);
        ExpectPackedSinCos(static_cast<float>((k + 0.5) * kPi / 4), 5e-7);
    }
}

TEST(PackedSinCos3DNow, DenseSweepStaysNearSinglePrecision) {
    for (int i = -20000; i <= 20000; ++i) ExpectPackedSinCos(static_cast<float>(i * 1e-3), 5e-7);
}

// The two-part pi/4 keeps large angles usable.
TEST(PackedSinCos3DNow, LargeAngles) {
    for (const SinCosCase c : {SinCosCase{1000.0, 2e-6}, SinCosCase{-1000.0, 2e-6},
                               SinCosCase{12345.678, 1e-5}, SinCosCase{-40000.5, 4e-5}}) {
        ExpectPackedSinCos(static_cast<float>(c.angle), c.tolerance);
    }
}

TEST(SecondSinCos, SineInTheLowLaneToSinglePrecision) {
    for (int i = -7000; i <= 7000; ++i) {
        const float angle = static_cast<float>(i * 1e-3);
        const Mm sc = SinCosSineLow(movd(angle));
        ASSERT_NEAR(sc.lo, std::sin(static_cast<double>(angle)), 2e-7) << angle;
        ASSERT_NEAR(sc.hi, std::cos(static_cast<double>(angle)), 2e-7) << angle;
    }
}

TEST(ArcTan2, BothOrdersOfTheMagnitudes) {
    for (int i = 0; i <= 200; ++i) {
        for (int j = 0; j <= 200; ++j) {
            const float y = static_cast<float>(i) * 0.01f;
            const float x = static_cast<float>(j) * 0.01f;
            if (i == 0 && j == 0) continue;
            const double exact = std::atan2(static_cast<double>(y), static_cast<double>(x));
            ASSERT_NEAR(ArcTan2(movd(y), movd(x)).lo, exact, 3e-7) << y << ", " << x;
        }
    }
    EXPECT_EQ(ArcTan2(movd(0.0f), movd(0.0f)).lo, 0.0f);
    EXPECT_NEAR(ArcTan2(movd(1e-30f), movd(1.0f)).lo, 1e-30, 1e-36);
}

TEST(ArcCos, WholeDomainIncludingEnds) {
    for (int i = -10000; i <= 10000; ++i) {
        const float x = static_cast<float>(i) * 1e-4f;
        ASSERT_NEAR(ArcCos(movd(x)).lo, std::acos(static_cast<double>(x)), 4e-7) << x;
    }
    EXPECT_EQ(ArcCos(movd(1.0f)).lo, 0.0f);
    EXPECT_NEAR(ArcCos(movd(-1.0f)).lo, kPi, 3e-7);
}

}  // namespace
}  // namespace d3dx::amd3dnow
