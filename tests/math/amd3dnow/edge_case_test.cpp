// The edges where the 3DNow! set has rules of its own: the FLT_MIN mask of
// the normalisers and of the quaternion inverse, the determinant stored
// before the singular test, the slerp threshold and sign flip, the
// FLT_EPSILON rule of Ln and Exp, signed viewports, and the cases where a
// defined answer replaces an undefined one (singular unprojection, a zero
// barycentric weight sum).
#include "dispatch/op_table.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <numbers>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kRounding = 2e-7f;

template <class T>
bool SameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

void ExpectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tolerance) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

void ExpectNear(const D3DXQUATERNION& got, const D3DXQUATERNION& want, float tolerance) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
    EXPECT_NEAR(got.w, want.w, tolerance);
}

D3DXMATRIX Identity() {
    return D3DXMATRIX{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

// ---------------------------------------------------------------------------

TEST(Amd3DNowNormalizers, Vec3LengthsAboveFltMinAreNormalised) {
    D3DXVECTOR3 out{};
    const D3DXVECTOR3 tiny{1e-8f, 0, 0};  // s = 1e-16 > FLT_MIN
    ASSERT_EQ(amd3dnow::Vec3Normalize(&out, &tiny), &out);
    ExpectNear(out, {1, 0, 0}, kRounding);
    const D3DXVECTOR3 tinier{1e-20f, 0, 0};  // s = 1e-40 <= FLT_MIN
    amd3dnow::Vec3Normalize(&out, &tinier);
    EXPECT_TRUE(SameBytes(out, D3DXVECTOR3{0, 0, 0}));
    const D3DXVECTOR3 general{3, -4, 12};
    amd3dnow::Vec3Normalize(&out, &general);
    ExpectNear(out, {3.0f / 13, -4.0f / 13, 12.0f / 13}, kRounding);
}

TEST(Amd3DNowNormalizers, ZeroLengthsGiveZerosNotNaN) {
    const D3DXVECTOR4 zero4{0, 0, 0, 0};
    D3DXVECTOR4 out4{1, 1, 1, 1};
    amd3dnow::Vec4Normalize(&out4, &zero4);
    EXPECT_TRUE(SameBytes(out4, zero4));

    const D3DXQUATERNION zeroQ{0, 0, 0, 0};
    D3DXQUATERNION outQ{1, 1, 1, 1};
    amd3dnow::QuaternionNormalize(&outQ, &zeroQ);
    EXPECT_TRUE(SameBytes(outQ, zeroQ));

    const D3DXVECTOR2 tiny2{1e-20f, -1e-20f};
    D3DXVECTOR2 out2{1, 1};
    amd3dnow::Vec2Normalize(&out2, &tiny2);
    EXPECT_TRUE(SameBytes(out2, D3DXVECTOR2{0, 0}));

    // Collinear points: the normal has zero length and the plane is zero.
    const D3DXVECTOR3 a{1, 1, 1}, b{2, 2, 2}, c{3, 3, 3};
    D3DXPLANE plane{5, 5, 5, 5};
    amd3dnow::PlaneFromPoints(&plane, &a, &b, &c);
    EXPECT_TRUE(plane.a == 0 && plane.b == 0 && plane.c == 0 && plane.d == 0);
}

TEST(Amd3DNowNormalizers, PlaneScalesDByTheNormalLength) {
    D3DXPLANE out{};
    const D3DXPLANE onlyD{0, 0, 0, 5};
    amd3dnow::PlaneNormalize(&out, &onlyD);
    EXPECT_TRUE(SameBytes(out, D3DXPLANE{0, 0, 0, 0}));
    const D3DXPLANE scaled{0, 2, 0, 4};
    amd3dnow::PlaneNormalize(&out, &scaled);
    EXPECT_NEAR(out.a, 0, kRounding);
    EXPECT_NEAR(out.b, 1, kRounding);
    EXPECT_NEAR(out.c, 0, kRounding);
    EXPECT_NEAR(out.d, 2, 2 * kRounding);
}

TEST(Amd3DNowQuaternionInverse, ZeroQuaternionGivesZeros) {
    const D3DXQUATERNION zero{0, 0, 0, 0};
    D3DXQUATERNION out{1, 2, 3, 4};
    ASSERT_EQ(amd3dnow::QuaternionInverse(&out, &zero), &out);
    EXPECT_TRUE(SameBytes(out, zero));
    const D3DXQUATERNION q{0, 0, 0, 2};
    amd3dnow::QuaternionInverse(&out, &q);
    ExpectNear(out, {0, 0, 0, 0.5f}, kRounding);
    const D3DXQUATERNION unit{0.6f, 0, 0, 0.8f};
    amd3dnow::QuaternionInverse(&out, &unit);
    ExpectNear(out, {-0.6f, 0, 0, 0.8f}, kRounding);
}

// ---------------------------------------------------------------------------

using InverseFn = fn::MatrixInverse;
struct InverseVariant {
    const char* name;
    InverseFn* inverse;
};
constexpr InverseVariant kInverses[] = {{"3DNow!", amd3dnow::MatrixInverse},
                                        {"3DNow!+ext", amd3dnowext::MatrixInverse}};

TEST(Amd3DNowMatrixInverse, SingularStoresItsDeterminantAndLeavesTheOutputAlone) {
    D3DXMATRIX zeroRow = Identity();
    zeroRow.m[2][0] = zeroRow.m[2][1] = zeroRow.m[2][2] = zeroRow.m[2][3] = 0;
    for (const InverseVariant& v : kInverses) {
        D3DXMATRIX out;
        std::memset(&out, 0x5A, sizeof out);
        const D3DXMATRIX before = out;
        float det = 99.0f;
        EXPECT_EQ(v.inverse(&out, &det, &zeroRow), nullptr) << v.name;
        EXPECT_EQ(det, 0.0f) << v.name;
        EXPECT_TRUE(SameBytes(out, before)) << v.name;
        EXPECT_EQ(v.inverse(&out, nullptr, &zeroRow), nullptr) << v.name;
    }
}

TEST(Amd3DNowMatrixInverse, IdentityAndInPlace) {
    const D3DXMATRIX m{{{2, 0, 0, 0}, {0, 4, 0, 0}, {1, 0, 0.5f, 0}, {3, -2, 1, 1}}};
    for (const InverseVariant& v : kInverses) {
        D3DXMATRIX out{};
        float det = 0;
        const D3DXMATRIX identity = Identity();
        ASSERT_EQ(v.inverse(&out, &det, &identity), &out) << v.name;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) EXPECT_EQ(out.m[i][j], identity.m[i][j]) << v.name;
        EXPECT_EQ(det, 1.0f) << v.name;

        D3DXMATRIX inPlace = m;
        ASSERT_EQ(v.inverse(&inPlace, &det, &inPlace), &inPlace) << v.name;
        EXPECT_NEAR(det, 4.0f, 1e-6f) << v.name;
        D3DXMATRIX product{};
        amd3dnow::MatrixMultiply(&product, &m, &inPlace);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                EXPECT_NEAR(product.m[i][j], i == j ? 1.0f : 0.0f, 1e-6f) << v.name;
    }
}

// ---------------------------------------------------------------------------

D3DXQUATERNION AboutZ(float angle) { return {0, 0, std::sin(angle / 2), std::cos(angle / 2)}; }

TEST(Amd3DNowSlerp, EqualAndOppositeQuaternionsGiveTheFirstForEveryT) {
    const D3DXQUATERNION q{0.18257419f, 0.36514837f, 0.54772256f, 0.73029674f};
    const D3DXQUATERNION minusQ{-q.x, -q.y, -q.z, -q.w};
    for (float t : {0.0f, 0.25f, 0.5f, 0.9f, 1.0f, 1.5f}) {
        D3DXQUATERNION out{};
        amd3dnow::QuaternionSlerp(&out, &q, &q, t);
        ExpectNear(out, q, kRounding);
        amd3dnow::QuaternionSlerp(&out, &q, &minusQ, t);
        ExpectNear(out, q, kRounding);
    }
}

// On both sides of the 0.999989986 threshold the result agrees with the
// exact spherical one: to single precision on the arc side, and within the
// error of linear weights (t(1 - t)·w²/2, about 2e-6 at the threshold) on
// the other. The short way is taken.
TEST(Amd3DNowSlerp, AcrossTheLinearThresholdAndTheShortWay) {
    const float threshold = 0.999989986f;
    const float halfAngleAtThreshold = std::acos(threshold);
    for (float scale : {0.5f, 0.99f, 1.01f, 2.0f, 100.0f, 4000.0f}) {
        const float angle = 2 * halfAngleAtThreshold * scale;
        if (angle >= kPi) continue;
        const D3DXQUATERNION a = AboutZ(0.3f);
        const D3DXQUATERNION b = AboutZ(0.3f + angle);
        for (float t : {0.0f, 0.3f, 1.0f}) {
            D3DXQUATERNION out{};
            amd3dnow::QuaternionSlerp(&out, &a, &b, t);
            const float tolerance = scale < 1.0f ? 3e-6f : 1e-6f;
            ExpectNear(out, AboutZ(0.3f + t * angle), tolerance);
            const D3DXQUATERNION minusB{-b.x, -b.y, -b.z, -b.w};
            amd3dnow::QuaternionSlerp(&out, &a, &minusB, t);
            ExpectNear(out, AboutZ(0.3f + t * angle), tolerance);
        }
    }
}

// ---------------------------------------------------------------------------

TEST(Amd3DNowLnExp, IdentityAndPureScalar) {
    D3DXQUATERNION out{9, 9, 9, 9};
    const D3DXQUATERNION identity{0, 0, 0, 1};
    amd3dnow::QuaternionLn(&out, &identity);
    EXPECT_TRUE(SameBytes(out, D3DXQUATERNION{0, 0, 0, 0}));
    for (float w : {0.0f, 1.0f, -3.0f}) {
        const D3DXQUATERNION scalar{0, 0, 0, w};
        amd3dnow::QuaternionExp(&out, &scalar);
        EXPECT_TRUE(SameBytes(out, D3DXQUATERNION{0, 0, 0, 1})) << w;
    }
}

TEST(Amd3DNowLnExp, ScaledOnlyAboveFltEpsilon) {
    D3DXQUATERNION out{};
    // Exp: |v| = pi has a sine below FLT_EPSILON but is itself large: the
    // result is the unit quaternion (0, 0, 0, -1), not (pi, 0, 0, -1).
    const D3DXQUATERNION halfTurn{kPi, 0, 0, 7};
    amd3dnow::QuaternionExp(&out, &halfTurn);
    ExpectNear(out, {0, 0, 0, -1}, kRounding);
    // |v| below FLT_EPSILON likewise.
    const D3DXQUATERNION tiny{1e-7f, 0, 0, 0};
    amd3dnow::QuaternionExp(&out, &tiny);
    EXPECT_EQ(out.x, 1e-7f);
    // |v| = pi/2: scaled to sin(pi/2)/(pi/2).
    const D3DXQUATERNION quarterTurn{0, kPi / 2, 0, 0};
    amd3dnow::QuaternionExp(&out, &quarterTurn);
    ExpectNear(out, {0, 1, 0, 0}, kRounding);

    // Ln: w = -1 gives theta = pi and a sine below FLT_EPSILON: unscaled.
    const D3DXQUATERNION opposite{1e-3f, 0, 0, -1};
    amd3dnow::QuaternionLn(&out, &opposite);
    EXPECT_TRUE(SameBytes(out, D3DXQUATERNION{1e-3f, 0, 0, 0}));
    const D3DXQUATERNION general{0.6f, 0, 0, 0.8f};
    amd3dnow::QuaternionLn(&out, &general);
    ExpectNear(out, {std::acos(0.8f), 0, 0, 0}, 4e-7f);
    // w >= 1: the vector part as it is.
    const D3DXQUATERNION beyond{0.25f, 0.5f, 0, 1.5f};
    amd3dnow::QuaternionLn(&out, &beyond);
    EXPECT_TRUE(SameBytes(out, D3DXQUATERNION{0.25f, 0.5f, 0, 0}));
}

// ---------------------------------------------------------------------------

constexpr D3DXVIEWPORT kScreen{0, 0, 640, 480, 0.0f, 1.0f};

TEST(Amd3DNowProjection, ViewportMapsTheCentreBothWays) {
    const D3DXMATRIX identity = Identity();
    const D3DXVECTOR3 centre{0, 0, 0.5f};
    D3DXVECTOR3 out{};
    ASSERT_EQ(amd3dnow::Vec3Project(&out, &centre, &kScreen, &identity, &identity, &identity),
              &out);
    ExpectNear(out, {320, 240, 0.5f}, 1e-4f);
    const D3DXVECTOR3 screen{320, 240, 0.5f};
    for (auto* unproject : {amd3dnow::Vec3Unproject, amd3dnowext::Vec3Unproject}) {
        ASSERT_EQ(unproject(&out, &screen, &kScreen, &identity, nullptr, nullptr), &out);
        ExpectNear(out, centre, 1e-6f);
    }
}

TEST(Amd3DNowProjection, NoMatricesAndNoViewportKeepThePoint) {
    const D3DXVECTOR3 p{1.5f, -2.25f, 3.0f};
    D3DXVECTOR3 out{};
    amd3dnow::Vec3Project(&out, &p, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SameBytes(out, p));
    amd3dnow::Vec3Unproject(&out, &p, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SameBytes(out, p));
}

TEST(Amd3DNowProjection, ViewportFieldsAreSigned) {
    const D3DXVIEWPORT shifted{0xFFFFFFF6u, 0xFFFFFFECu, 640, 480, 0.0f, 1.0f};  // X = -10, Y = -20
    const D3DXVECTOR3 centre{0, 0, 0.5f};
    D3DXVECTOR3 out{};
    amd3dnow::Vec3Project(&out, &centre, &shifted, nullptr, nullptr, nullptr);
    ExpectNear(out, {310, 220, 0.5f}, 1e-4f);
    const D3DXVECTOR3 screen{310, 220, 0.5f};
    amd3dnow::Vec3Unproject(&out, &screen, &shifted, nullptr, nullptr, nullptr);
    ExpectNear(out, centre, 1e-6f);
}

TEST(Amd3DNowProjection, SingularUnprojectionReturnsNullAndWritesNothing) {
    const D3DXMATRIX zero{};
    const D3DXVECTOR3 p{1, 2, 3};
    for (auto* unproject : {amd3dnow::Vec3Unproject, amd3dnowext::Vec3Unproject}) {
        D3DXVECTOR3 out{7, 8, 9};
        EXPECT_EQ(unproject(&out, &p, &kScreen, &zero, nullptr, nullptr), nullptr);
        EXPECT_TRUE(SameBytes(out, D3DXVECTOR3{7, 8, 9}));
    }
}

// ---------------------------------------------------------------------------

TEST(Amd3DNowBaryCentric, ZeroWeightSumGivesTheFirstQuaternion) {
    const D3DXQUATERNION q1{0.6f, 0, 0, 0.8f}, q2{0, 0.6f, 0, 0.8f}, q3{0, 0, 0.6f, 0.8f};
    D3DXQUATERNION out{};
    ASSERT_EQ(amd3dnow::QuaternionBaryCentric(&out, &q1, &q2, &q3, 0.5f, -0.5f), &out);
    EXPECT_TRUE(SameBytes(out, q1));
    amd3dnow::QuaternionBaryCentric(&out, &q1, &q2, &q3, 1.0f, 0.0f);
    ExpectNear(out, q2, 1e-6f);
}

TEST(Amd3DNowPlaneIntersectLine, ExactZeroDenominatorOnly) {
    const D3DXPLANE floor{0, 1, 0, -1};  // y = 1
    const D3DXVECTOR3 a{0, 3, 0}, b{1, 3, 5}, below{2, -1, 0};
    D3DXVECTOR3 out{4, 4, 4};
    EXPECT_EQ(amd3dnow::PlaneIntersectLine(&out, &floor, &a, &b), nullptr);
    EXPECT_EQ(amd3dnow::PlaneIntersectLine(&out, &floor, &a, &a), nullptr);
    EXPECT_TRUE(SameBytes(out, D3DXVECTOR3{4, 4, 4}));
    ASSERT_EQ(amd3dnow::PlaneIntersectLine(&out, &floor, &a, &below), &out);
    ExpectNear(out, {1, 1, 0}, 1e-6f);
    // Beyond the segment, and a nearly parallel line still intersects.
    const D3DXVECTOR3 c{1, 2, 0};
    amd3dnow::PlaneIntersectLine(&out, &floor, &a, &c);
    ExpectNear(out, {2, 1, 0}, 1e-6f);
    const D3DXVECTOR3 almost{1, 3 - 1.0f / 1024, 0};
    ASSERT_EQ(amd3dnow::PlaneIntersectLine(&out, &floor, &a, &almost), &out);
    ExpectNear(out, {2048, 1, 0}, 1e-3f);
}

}  // namespace
}  // namespace d3dx
