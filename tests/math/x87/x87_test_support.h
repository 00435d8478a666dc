// Shared fixture, values and comparisons of the x87 reference tests.
#pragma once

#include "d3dx_math.h"
#include "dispatch/op_table.h"
#include "dispatch/test_hooks.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx::testing {

// Binds the public entries to the x87 table (the reference everywhere, the
// x87 alternates in slots 0-7) before and after every test.
class X87Entries : public ::testing::Test {
protected:
    void SetUp() override { SelectInstructionSet("none"); }
    void TearDown() override { SelectInstructionSet("none"); }
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
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(a[i], e[i], tolerance) << "component " << i;
}

// Bit-for-bit equality, so that -0 and NaN payloads count too.
template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

inline constexpr D3DXMATRIX kIdentity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// A well-conditioned matrix with no special structure.
inline constexpr D3DXMATRIX kGeneral{
    {{2, 1, 0.5f, 0.25f}, {-1, 3, 0.75f, 0.5f}, {0.5f, -0.25f, 4, 1}, {1, 2, -3, 5}}};
inline constexpr D3DXMATRIX kOther{
    {{0.5f, -2, 1, 3}, {1.5f, 0.25f, -1, 2}, {-0.75f, 1, 2.5f, -0.5f}, {3, -1, 0.5f, 1}}};

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

inline D3DXQUATERNION Negated(const D3DXQUATERNION& q) { return {-q.x, -q.y, -q.z, -q.w}; }

// q or -q: both stand for the same rotation.
inline void ExpectSameRotation(const D3DXQUATERNION& actual, const D3DXQUATERNION& expected) {
    const float dot = actual.x * expected.x + actual.y * expected.y + actual.z * expected.z +
                      actual.w * expected.w;
    ExpectNear(actual, dot < 0 ? Negated(expected) : expected, 1e-5f);
}

// Row vector (x, y, z, 1) times m, divided by its w.
inline D3DXVECTOR3 TransformPoint(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
    float r[4];
    for (int j = 0; j < 4; ++j)
        r[j] = p.x * m.m[0][j] + p.y * m.m[1][j] + p.z * m.m[2][j] + m.m[3][j];
    return {r[0] / r[3], r[1] / r[3], r[2] / r[3]};
}

// Unit quaternions from a fixed seed, so failures reproduce.
inline std::vector<D3DXQUATERNION> RandomUnitQuaternions(int count, unsigned seed = 1234) {
    std::mt19937 rng(seed);
    std::normal_distribution<float> gauss;
    std::vector<D3DXQUATERNION> out;
    while (static_cast<int>(out.size()) < count) {
        const D3DXQUATERNION q{gauss(rng), gauss(rng), gauss(rng), gauss(rng)};
        const float len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
        if (len > 1e-3f) out.push_back({q.x / len, q.y / len, q.z / len, q.w / len});
    }
    return out;
}

inline D3DXQUATERNION AxisAngleQuaternion(D3DXVECTOR3 axis, float angle) {
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axis, angle);
    return q;
}

}  // namespace d3dx::testing
