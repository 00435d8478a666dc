// Shared fixture and comparisons of the quaternion and plane tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "d3dx_math.h"
#include "dispatch/test_hooks.h"

namespace quaternion_plane_test {

// Runs every test on the plain x87 table with its alternates installed.
class X87Table : public ::testing::Test {
protected:
    void SetUp() override { d3dx::SelectInstructionSet("none"); }
    void TearDown() override { d3dx::SelectInstructionSet("none"); }
};

inline constexpr float kTol = 2e-6f;

inline void ExpectNear(const D3DXQUATERNION& a, const D3DXQUATERNION& b, float tol = kTol) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
    EXPECT_NEAR(a.w, b.w, tol);
}

inline void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float tol = kTol) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

inline void ExpectNear(const D3DXPLANE& a, const D3DXPLANE& b, float tol = kTol) {
    EXPECT_NEAR(a.a, b.a, tol);
    EXPECT_NEAR(a.b, b.b, tol);
    EXPECT_NEAR(a.c, b.c, tol);
    EXPECT_NEAR(a.d, b.d, tol);
}

inline void ExpectNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tol = kTol) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], tol) << "element " << i << "," << j;
    }
}

inline D3DXQUATERNION Negated(const D3DXQUATERNION& q) { return {-q.x, -q.y, -q.z, -q.w}; }

// q or -q: both stand for the same rotation.
inline void ExpectSameRotation(const D3DXQUATERNION& actual, const D3DXQUATERNION& expected) {
    const float dot = actual.x * expected.x + actual.y * expected.y + actual.z * expected.z + actual.w * expected.w;
    ExpectNear(actual, dot < 0 ? Negated(expected) : expected, 1e-5f);
}

// Row vector (x, y, z, 1) times m, divided by its w.
inline D3DXVECTOR3 TransformPoint(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
    float r[4];
    for (int j = 0; j < 4; ++j) r[j] = p.x * m.m[0][j] + p.y * m.m[1][j] + p.z * m.m[2][j] + m.m[3][j];
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

}  // namespace quaternion_plane_test
