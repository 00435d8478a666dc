// Quaternion operations: interpolation, inverse, logarithm and exponential,
// and the conversions from and to axes, angles and matrices.
#include "x87_test_support.h"

namespace d3dx {
using namespace d3dx::testing;
namespace {

using QuaternionOps = X87Entries;

constexpr float kPi = 3.14159265f;
constexpr float kTs[] = {0.0f, 0.1f, 0.25f, 0.5f, 0.75f, 0.9f, 1.0f};

D3DXQUATERNION Slerp(const D3DXQUATERNION& a, const D3DXQUATERNION& b, float t) {
    D3DXQUATERNION out;
    D3DXQuaternionSlerp(&out, &a, &b, t);
    return out;
}

D3DXMATRIX MatrixOf(const D3DXQUATERNION& q) {
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &q);
    return m;
}

TEST_F(QuaternionOps, SlerpOfOppositeQuaternionsStaysAtTheFirst) {
    for (const D3DXQUATERNION& q : RandomUnitQuaternions(8)) {
        for (float t : kTs) ExpectNear(Slerp(q, Negated(q), t), q);
    }
}

TEST_F(QuaternionOps, SlerpEndpointsAreTheKeysOnTheShortWay) {
    const std::vector<D3DXQUATERNION> q = RandomUnitQuaternions(16);
    for (size_t i = 0; i + 1 < q.size(); i += 2) {
        const float dot =
            q[i].x * q[i + 1].x + q[i].y * q[i + 1].y + q[i].z * q[i + 1].z + q[i].w * q[i + 1].w;
        ExpectNear(Slerp(q[i], q[i + 1], 0.0f), q[i]);
        ExpectNear(Slerp(q[i], q[i + 1], 1.0f), dot < 0 ? Negated(q[i + 1]) : q[i + 1]);
    }
}

TEST_F(QuaternionOps, SlerpFollowsTheArcAtConstantSpeed) {
    const D3DXQUATERNION from = AxisAngleQuaternion({0, 0, 1}, 0.2f);
    const D3DXQUATERNION to = AxisAngleQuaternion({0, 0, 1}, 1.4f);
    for (float t : kTs)
        ExpectSameRotation(Slerp(from, to, t), AxisAngleQuaternion({0, 0, 1}, 0.2f + 1.2f * t));
}

TEST_F(QuaternionOps, MultiplyAppliesTheFirstRotationFirst) {
    const D3DXQUATERNION i{1, 0, 0, 0}, j{0, 1, 0, 0};
    D3DXQUATERNION out;
    D3DXQuaternionMultiply(&out, &i, &j);  // j * i = -k
    ExpectNear(out, {0, 0, -1, 0}, 0);
    const std::vector<D3DXQUATERNION> q = RandomUnitQuaternions(2, 7);
    const D3DXMATRIX first = MatrixOf(q[0]), second = MatrixOf(q[1]);
    D3DXMATRIX both;
    D3DXMatrixMultiply(&both, &first, &second);
    D3DXQuaternionMultiply(&out, &q[0], &q[1]);
    ExpectNear(MatrixOf(out), both, 1e-5f);
}

TEST_F(QuaternionOps, InverseConjugatesAndDividesByTheSquaredLength) {
    struct Case {
        D3DXQUATERNION in, expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 1e-10f}, {0, 0, 0, 0}},          // squared length below 2^-63
        {{0.6f, 0, 0, 0.8f}, {-0.6f, 0, 0, 0.8f}},  // unit: conjugate only
        {{0, 2, 0, 0}, {0, -0.5f, 0, 0}},
        {{1, 1, 1, 1}, {-0.25f, -0.25f, -0.25f, 0.25f}},
    };
    for (const Case& c : cases) {
        D3DXQUATERNION out;
        EXPECT_EQ(D3DXQuaternionInverse(&out, &c.in), &out);
        ExpectNear(out, c.expected);
    }
}

TEST_F(QuaternionOps, NormalizeFollowsTheUnitLengthRule) {
    struct Case {
        D3DXQUATERNION in, expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 0}},
        {{0, 0, 0, 1e-20f}, {0, 0, 0, 0}},  // squared length below FLT_MIN
        {{0, 0, 0, 2}, {0, 0, 0, 1}},
        {{1, 2, 2, 4}, {0.2f, 0.4f, 0.4f, 0.8f}},
    };
    for (const Case& c : cases) {
        D3DXQUATERNION out;
        D3DXQuaternionNormalize(&out, &c.in);
        ExpectNear(out, c.expected);
    }
}

TEST_F(QuaternionOps, AxisAngleRoundTrip) {
    D3DXVECTOR3 axis{-5, -5, -5};
    float angle = -5;
    const D3DXQUATERNION zero{0, 0, 0, 0};
    D3DXQuaternionToAxisAngle(&zero, &axis, &angle);
    ExpectNear(axis, {1, 0, 0}, 0);
    EXPECT_EQ(angle, 0.0f);
    const D3DXQUATERNION q = AxisAngleQuaternion({0, 3, 4}, 1.2f);
    D3DXQuaternionToAxisAngle(&q, &axis, &angle);
    EXPECT_NEAR(angle, 1.2f, 1e-6f);
    const float s = std::sin(0.6f);  // the axis keeps the length of the vector part
    ExpectNear(axis, {0, 0.6f * s, 0.8f * s});
    D3DXQuaternionToAxisAngle(&q, nullptr, nullptr);  // both outputs optional
}

TEST_F(QuaternionOps, AxisQuaternionGivesTheAxisRotationMatrix) {
    const D3DXVECTOR3 axes[] = {{1, 0, 0}, {0, 2, 0}, {1, -2, 3}, {-0.3f, 0.1f, -0.9f}};
    for (const D3DXVECTOR3& axis : axes) {
        for (float angle : {-2.5f, 0.3f, 1.0f, kPi}) {
            D3DXMATRIX expected;
            D3DXMatrixRotationAxis(&expected, &axis, angle);
            ExpectNear(MatrixOf(AxisAngleQuaternion(axis, angle)), expected);
        }
    }
}

TEST_F(QuaternionOps, RotationMatrixRecoversTheQuaternion) {
    int traceBranch = 0, diagonalBranch = 0;
    for (const D3DXQUATERNION& q : RandomUnitQuaternions(200, 42)) {
        const D3DXMATRIX m = MatrixOf(q);
        (m.m[0][0] + m.m[1][1] + m.m[2][2] > 0 ? traceBranch : diagonalBranch)++;
        D3DXQUATERNION out;
        D3DXQuaternionRotationMatrix(&out, &m);
        ExpectSameRotation(out, q);
    }
    EXPECT_GT(traceBranch, 20);
    EXPECT_GT(diagonalBranch, 20);
}

// Half turns have trace -1 and take the diagonal branch; the diagonals
// without a rotation show which index wins a tie.
TEST_F(QuaternionOps, RotationMatrixDiagonalBranchPicksTheLargestTerm) {
    struct Case {
        float d0, d1, d2;
        D3DXQUATERNION expected;
    };
    const float h = std::sqrt(2.0f) / 2;
    const Case cases[] = {
        {1, -1, -1, {1, 0, 0, 0}}, {-1, 1, -1, {0, 1, 0, 0}},
        {-1, -1, 1, {0, 0, 1, 0}}, {-1, -1, -1, {h, 0, 0, 0}},  // all terms equal: index 0
        {-1, 0, 0, {0, h, 0, 0}},                               // terms 1 and 2 equal: index 1
    };
    for (const Case& c : cases) {
        const D3DXMATRIX m{{{c.d0, 0, 0, 0}, {0, c.d1, 0, 0}, {0, 0, c.d2, 0}, {0, 0, 0, 1}}};
        D3DXQUATERNION out;
        D3DXQuaternionRotationMatrix(&out, &m);
        ExpectNear(out, c.expected);
    }
}

TEST_F(QuaternionOps, YawPitchRollAppliesRollThenPitchThenYaw) {
    const float yaw = 0.7f, pitch = -0.4f, roll = 1.9f;
    D3DXQUATERNION q, expected;
    D3DXQuaternionRotationYawPitchRoll(&q, yaw, 0, 0);
    ExpectNear(q, {0, std::sin(yaw / 2), 0, std::cos(yaw / 2)});
    const D3DXQUATERNION y = AxisAngleQuaternion({0, 1, 0}, yaw),
                         p = AxisAngleQuaternion({1, 0, 0}, pitch),
                         r = AxisAngleQuaternion({0, 0, 1}, roll);
    D3DXQuaternionMultiply(&expected, &r, &p);
    D3DXQuaternionMultiply(&expected, &expected, &y);
    D3DXQuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
    ExpectNear(q, expected);
}

TEST_F(QuaternionOps, LnAndExpAreInverse) {
    D3DXQUATERNION out;
    const D3DXQUATERNION identity{0, 0, 0, 1};
    ExpectNear(*D3DXQuaternionLn(&out, &identity), {0, 0, 0, 0}, 0);
    for (float w : {-3.0f, 0.0f, 0.5f, 7.0f}) {
        const D3DXQUATERNION pure{0, 0, 0, w};
        ExpectNear(*D3DXQuaternionExp(&out, &pure), identity, 0);
    }
    for (const D3DXQUATERNION& q : RandomUnitQuaternions(50, 5)) {
        D3DXQUATERNION ln;
        D3DXQuaternionLn(&ln, &q);
        EXPECT_EQ(ln.w, 0.0f);
        ExpectNear(*D3DXQuaternionExp(&out, &ln), q, 1e-5f);
    }
}

// exp(pi * axis) is -1: near a multiple of pi only the sine vanishes, and
// the vector part must still be scaled by sin(theta) / theta.
TEST_F(QuaternionOps, ExpOfHalfTurnIsMinusOne) {
    for (const D3DXQUATERNION& v : {D3DXQUATERNION{kPi, 0, 0, 0}, D3DXQUATERNION{0, 0, -kPi, 9}}) {
        D3DXQUATERNION out;
        D3DXQuaternionExp(&out, &v);
        ExpectNear(out, {0, 0, 0, -1});
    }
}

TEST_F(QuaternionOps, BaryCentricCornersAreTheKeys) {
    const std::vector<D3DXQUATERNION> q = RandomUnitQuaternions(3, 11);
    struct Case {
        float f, g;
        int key;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, 0, 1}, Case{0, 1, 2}}) {
        D3DXQUATERNION out;
        D3DXQuaternionBaryCentric(&out, &q[0], &q[1], &q[2], c.f, c.g);
        ExpectSameRotation(out, q[c.key]);
    }
}

// Keys evenly spaced about one axis need no correction: the control points
// are the keys themselves, and the spline passes through its ends.
TEST_F(QuaternionOps, SquadSetupAndSquadOnEvenlySpacedKeys) {
    const D3DXVECTOR3 axis{1, 2, -1};
    D3DXQUATERNION k[4];
    for (int i = 0; i < 4; ++i) k[i] = AxisAngleQuaternion(axis, 0.5f * static_cast<float>(i));
    const D3DXQUATERNION flipped = Negated(k[2]);
    D3DXQUATERNION a, b, c, out;
    D3DXQuaternionSquadSetup(&a, &b, &c, &k[0], &k[1], &flipped, &k[3]);
    ExpectNear(a, k[1], 1e-5f);
    ExpectNear(b, k[2], 1e-5f);
    ExpectNear(c, k[2]);  // the flipped key is brought back next to k[1]
    ExpectNear(*D3DXQuaternionSquad(&out, &k[1], &a, &b, &c, 0), k[1], 1e-5f);
    ExpectNear(*D3DXQuaternionSquad(&out, &k[1], &a, &b, &c, 1), c, 1e-5f);
    ExpectSameRotation(*D3DXQuaternionSquad(&out, &k[1], &a, &b, &c, 0.5f),
                       AxisAngleQuaternion(axis, 0.75f));
}

}  // namespace
}  // namespace d3dx
