// The double-precision sine, cosine, arc tangent and arc cosine of the x87
// reference against the long-double C library over their whole input ranges.
// Errors are measured in units in the last place of a double and printed
// even when the test passes.
#include "x87/trig_kernels.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace d3dx::x87 {
namespace {

constexpr int kSamples = 200000;
// About 1e-15 relative: a few units in the last place of a double.
constexpr double kMaxUlps = 4.0;

// |got - want| in units in the last place of want rounded to double; a
// NaN where NaN is due counts as exact, any other disagreement as infinite.
double UlpsOff(double got, long double want) {
    if (std::isnan(got) && std::isnan(want)) return 0.0;
    if (std::isnan(got) || std::isnan(want)) return std::numeric_limits<double>::infinity();
    const double rounded = static_cast<double>(want);
    if (got == rounded) return 0.0;
    const double magnitude = std::fabs(rounded);
    const double ulp =
        std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
    return static_cast<double>(std::fabs(static_cast<long double>(got) - want) / ulp);
}

class WorstCase {
public:
    explicit WorstCase(const char* what) : what_(what) {}
    ~WorstCase() { std::printf("%-28s max %.2f ulps at %.17g\n", what_, worst_, at_); }

    void Add(double ulps, double input) {
        if (ulps > worst_ || std::isnan(ulps)) {
            worst_ = ulps;
            at_ = input;
        }
    }
    double Worst() const { return worst_; }

private:
    const char* what_;
    double worst_ = 0.0;
    double at_ = 0.0;
};

// Uniform on [-limit, limit] and log-uniform magnitudes down to 2^-40, so
// that both large angles and tiny ones are covered.
class Angles {
public:
    explicit Angles(double limit) : uniform_(-limit, limit), exponent_(-40.0, std::log2(limit)) {}

    double operator()(std::mt19937_64& rng) {
        if (rng() % 2 == 0) return uniform_(rng);
        const double magnitude = std::exp2(exponent_(rng));
        return rng() % 2 == 0 ? magnitude : -magnitude;
    }

private:
    std::uniform_real_distribution<double> uniform_;
    std::uniform_real_distribution<double> exponent_;
};

void CheckSinCos(double limit, const char* what) {
    std::mt19937_64 rng(7);
    Angles angle(limit);
    WorstCase sines(what), cosines(what);
    for (int i = 0; i < kSamples; ++i) {
        const double x = angle(rng);
        const SinCos got = SinCosOf(x);
        sines.Add(UlpsOff(got.sin, std::sin(static_cast<long double>(x))), x);
        cosines.Add(UlpsOff(got.cos, std::cos(static_cast<long double>(x))), x);
    }
    EXPECT_LE(sines.Worst(), kMaxUlps) << what << " sine";
    EXPECT_LE(cosines.Worst(), kMaxUlps) << what << " cosine";
}

TEST(TrigKernels, SineAndCosineOverTheReducedRange) {
    CheckSinCos(trig::kMaxReducedAngle, "sin/cos up to 2^19");
    CheckSinCos(4.0, "sin/cos up to 4");
}

TEST(TrigKernels, SineAndCosineBeyondTheReducedRange) { CheckSinCos(1e30, "sin/cos up to 1e30"); }

// The angles a single-precision argument can hold, near the multiples of pi/2
// where the reduction cancels most.
TEST(TrigKernels, SineAndCosineOfFloatsNearMultiplesOfHalfPi) {
    WorstCase worst("sin/cos near k pi/2");
    for (int k = -20000; k <= 20000; ++k) {
        float x = static_cast<float>(k * 1.57079632679489661923);
        for (int step = 0; step < 3; ++step, x = std::nextafter(x, 1e30f)) {
            const SinCos got = SinCosOf(x);
            worst.Add(UlpsOff(got.sin, std::sin(static_cast<long double>(x))), x);
            worst.Add(UlpsOff(got.cos, std::cos(static_cast<long double>(x))), x);
        }
    }
    EXPECT_LE(worst.Worst(), kMaxUlps);
}

TEST(TrigKernels, SinesOfTwoAnglesAreThoseOfEach) {
    std::mt19937_64 rng(11);
    Angles angle(1e3);
    for (int i = 0; i < 1000; ++i) {
        const double a = angle(rng), b = angle(rng);
        const SinePair pair = SinesOf(a, b);
        EXPECT_EQ(pair.first, SinCosOf(a).sin);
        EXPECT_EQ(pair.second, SinCosOf(b).sin);
    }
}

TEST(TrigKernels, SineAndCosineOfSpecialValues) {
    EXPECT_TRUE(std::signbit(SinCosOf(-0.0).sin));
    EXPECT_EQ(SinCosOf(0.0).cos, 1.0);
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(SinCosOf(x).sin)) << x;
        EXPECT_TRUE(std::isnan(SinCosOf(x).cos)) << x;
    }
}

TEST(TrigKernels, ArcTangentInEveryQuadrantAndScale) {
    std::mt19937_64 rng(13);
    std::uniform_real_distribution<double> exponent(-60.0, 60.0);
    WorstCase worst("atan2");
    for (int i = 0; i < kSamples; ++i) {
        const double y = std::exp2(exponent(rng)) * (rng() % 2 ? 1.0 : -1.0);
        // Half the points near the diagonal and the axes, where the folding
        // points of the argument lie.
        const double x = (i % 2 == 0) ? std::exp2(exponent(rng)) * (rng() % 2 ? 1.0 : -1.0)
                                      : y * std::ldexp(1.0 + (rng() % 4096) / 4096.0,
                                                       static_cast<int>(rng() % 5) - 2);
        worst.Add(UlpsOff(ArcTan2(y, x),
                          std::atan2(static_cast<long double>(y), static_cast<long double>(x))),
                  y / x);
    }
    EXPECT_LE(worst.Worst(), kMaxUlps);
}

// Near the largest doubles the folded arguments are scaled down first; near
// the smallest the quotient is subnormal.
TEST(TrigKernels, ArcTangentAtTheEndsOfTheDoubleRange) {
    WorstCase worst("atan2 at the range ends");
    const double pairs[][2] = {{1e308, 1.7e308}, {1.7e308, -1e308}, {-1.7e308, 1.6e308},
                               {1e308, 0.9e308}, {1e-310, 3e-310},  {-3e-310, 1e-310},
                               {1e-300, 1e300},  {1e300, -1e-300}};
    for (const auto& p : pairs)
        worst.Add(UlpsOff(ArcTan2(p[0], p[1]), std::atan2(static_cast<long double>(p[0]),
                                                          static_cast<long double>(p[1]))),
                  p[0] / p[1]);
    EXPECT_LE(worst.Worst(), kMaxUlps);
}

TEST(TrigKernels, ArcTangentOfZerosInfinitiesAndNaNAsTheCLibrary) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0.0, -0.0, 1.0, -1.0, inf, -inf, nan};
    for (double y : values) {
        for (double x : values) {
            const double want = std::atan2(y, x);
            const double got = ArcTan2(y, x);
            if (std::isnan(want)) {
                EXPECT_TRUE(std::isnan(got)) << y << ", " << x;
            } else {
                EXPECT_EQ(got, want) << y << ", " << x;
                EXPECT_EQ(std::signbit(got), std::signbit(want)) << y << ", " << x;
            }
        }
    }
}

TEST(TrigKernels, ArcCosineOverItsDomain) {
    std::mt19937_64 rng(17);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> exponent(-50.0, -1.0);
    WorstCase worst("acos");
    for (int i = 0; i < kSamples; ++i) {
        // Single-precision arguments, as the operations pass; a third of them
        // within 2^-50 .. 2^-1 of +-1, where the result changes fastest.
        double x = unit(rng);
        if (i % 3 == 0) x = std::copysign(1.0 - std::exp2(exponent(rng)), x);
        x = static_cast<float>(x);
        worst.Add(UlpsOff(ArcCos(x), std::acos(static_cast<long double>(x))), x);
    }
    EXPECT_LE(worst.Worst(), kMaxUlps);
    EXPECT_EQ(ArcCos(1.0), 0.0);
    EXPECT_EQ(ArcCos(-1.0), static_cast<double>(std::acos(-1.0L)));
    for (double x : {1.0000001, -1.5, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(std::isnan(ArcCos(x))) << x;
}

}  // namespace
}  // namespace d3dx::x87
