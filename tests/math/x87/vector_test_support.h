// Shared fixture, values and comparisons of the vector and matrix tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <random>

#include "d3dx_math.h"
#include "dispatch/op_table.h"
#include "dispatch/test_hooks.h"

namespace x87_vector_test {

// Binds the public entries to the x87 table: the reference everywhere, the
// x87 alternates in slots 0-7.
class X87Entries : public ::testing::Test {
protected:
    void SetUp() override { d3dx::SelectInstructionSet("none"); }
};

inline constexpr float kTolerance = 2e-6f;

template <class T>
std::array<float, sizeof(T) / sizeof(float)> FloatsOf(const T& value) {
    std::array<float, sizeof(T) / sizeof(float)> floats;
    std::memcpy(floats.data(), &value, sizeof(T));
    return floats;
}

template <class T>
void ExpectNear(const T& actual, const T& expected, float tolerance = kTolerance) {
    const auto a = FloatsOf(actual);
    const auto e = FloatsOf(expected);
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], e[i], tolerance) << "component " << i;
}

// Bit-for-bit equality, so that -0 and NaN payloads count too.
template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

inline constexpr D3DXMATRIX kIdentity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// A well-conditioned matrix with no special structure.
inline constexpr D3DXMATRIX kGeneral{{{2, 1, 0.5f, 0.25f}, {-1, 3, 0.75f, 0.5f}, {0.5f, -0.25f, 4, 1}, {1, 2, -3, 5}}};
inline constexpr D3DXMATRIX kOther{{{0.5f, -2, 1, 3}, {1.5f, 0.25f, -1, 2}, {-0.75f, 1, 2.5f, -0.5f}, {3, -1, 0.5f, 1}}};

// Diagonally dominant random matrices from a fixed seed: invertible and
// well conditioned, and failures reproduce.
inline D3DXMATRIX RandomWellConditioned(std::mt19937& rng) {
    std::uniform_real_distribution<float> element(-1.0f, 1.0f);
    D3DXMATRIX m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = element(rng) + (r == c ? 5.0f : 0.0f);
    return m;
}

inline float FloatFromBits(uint32_t bits) { return std::bit_cast<float>(bits); }

}  // namespace x87_vector_test
