// Plane operations and the matrices built from planes and from yaw, pitch and
// roll.
#include "x87_test_support.h"

namespace d3dx {
using namespace d3dx::testing;
namespace {

using PlaneOps = X87Entries;

float Distance(const D3DXPLANE& p, const D3DXVECTOR3& v) {
    return p.a * v.x + p.b * v.y + p.c * v.z + p.d;
}

const D3DXVECTOR3 kPoints[] = {{0, 0, 0}, {1, 2, 3}, {-4, 0.5f, 2}, {10, -7, 0.25f}};

TEST_F(PlaneOps, PlaneFromPointNormalKeepsTheNormalsLength) {
    const D3DXVECTOR3 point{1, 3, 5}, normal{0, 2, 0};
    D3DXPLANE p;
    EXPECT_EQ(D3DXPlaneFromPointNormal(&p, &point, &normal), &p);
    ExpectNear(p, {0, 2, 0, -6}, 0);
}

TEST_F(PlaneOps, PlaneFromPointsPassesThroughThemWithAUnitNormal) {
    const D3DXVECTOR3 v1{1, 2, 3}, v2{4, -1, 0}, v3{-2, 5, 1};
    D3DXPLANE p;
    D3DXPlaneFromPoints(&p, &v1, &v2, &v3);
    EXPECT_NEAR(p.a * p.a + p.b * p.b + p.c * p.c, 1.0f, 1e-5f);
    for (const D3DXVECTOR3& v : {v1, v2, v3}) EXPECT_NEAR(Distance(p, v), 0.0f, 1e-5f);
    const D3DXVECTOR3 origin{0, 0, 0}, x{1, 0, 0}, z{0, 0, 1};
    D3DXPlaneFromPoints(&p, &origin, &x, &z);  // (v1 - v2) x (v1 - v3) = -y
    ExpectNear(p, {0, -1, 0, 0});
}

TEST_F(PlaneOps, PlaneNormalizeScalesByTheNormalOnly) {
    struct Case {
        D3DXPLANE in, expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 5}, {0, 0, 0, 0}},   {{0, 2, 0, 4}, {0, 1, 0, 2}},
        {{0, 1, 0, 7}, {0, 1, 0, 7}},   {{3, 0, 4, -10}, {0.6f, 0, 0.8f, -2}},
        {{NAN, 0, 0, 1}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        D3DXPLANE out;
        D3DXPlaneNormalize(&out, &c.in);
        ExpectNear(out, c.expected);
    }
}

TEST_F(PlaneOps, IntersectLineFindsThePointOnTheWholeLine) {
    const D3DXPLANE ground{0, 1, 0, -1};  // y = 1
    struct Case {
        D3DXVECTOR3 v1, v2, expected;
    };
    const Case cases[] = {
        {{0, 0, 0}, {0, 2, 0}, {0, 1, 0}},
        {{1, 2, 3}, {1, 3, 3}, {1, 1, 3}},    // plane behind V1
        {{0, -3, 0}, {2, -1, 4}, {4, 1, 8}},  // plane beyond V2
    };
    for (const Case& c : cases) {
        D3DXVECTOR3 out;
        ASSERT_EQ(D3DXPlaneIntersectLine(&out, &ground, &c.v1, &c.v2), &out);
        ExpectNear(out, c.expected);
    }
}

TEST_F(PlaneOps, IntersectLineWithoutAFiniteAnswerIsNullAndWritesNothing) {
    struct Case {
        D3DXPLANE plane;
        D3DXVECTOR3 v1, v2;
    };
    const Case cases[] = {
        {{0, 1, 0, -1}, {0, 0, 0}, {5, 0, 1}},          // parallel
        {{1, 0, 0, 1e30f}, {0, 0, 0}, {1e-30f, 0, 0}},  // parameter overflows
        {{1, 0, 0, NAN}, {0, 0, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        D3DXVECTOR3 out{7, 8, 9};
        EXPECT_EQ(D3DXPlaneIntersectLine(&out, &c.plane, &c.v1, &c.v2), nullptr);
        ExpectNear(out, {7, 8, 9}, 0);
    }
}

TEST_F(PlaneOps, PlaneTransformMovesThePlaneWithTheInverseTranspose) {
    const D3DXPLANE p{0, 0, 1, -2};  // z = 2
    const D3DXMATRIX inverseTransposeOfLift{
        {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, -3}, {0, 0, 0, 1}}};
    D3DXPLANE out;
    D3DXPlaneTransform(&out, &p, &inverseTransposeOfLift);  // lifted by 3 along z
    ExpectNear(out, {0, 0, 1, -5}, 0);
}

TEST_F(PlaneOps, ReflectMirrorsInThePlane) {
    D3DXMATRIX m;
    const D3DXPLANE ground{0, 1, 0, 0};
    D3DXMatrixReflect(&m, &ground);
    ExpectNear(m, {{{1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, 0);
    const D3DXPLANE tilted{1, -2, 2, 6};
    D3DXMatrixReflect(&m, &tilted);
    D3DXPLANE unit;
    D3DXPlaneNormalize(&unit, &tilted);
    for (const D3DXVECTOR3& v : kPoints) {
        const D3DXVECTOR3 mirrored = TransformPoint(v, m);
        EXPECT_NEAR(Distance(unit, mirrored), -Distance(unit, v), 1e-5f);
        ExpectNear(TransformPoint(mirrored, m), v, 1e-5f);
    }
}

TEST_F(PlaneOps, ShadowProjectsOntoThePlane) {
    D3DXMATRIX m;
    const D3DXVECTOR4 overhead{0, 1, 0, 0};
    const D3DXPLANE ground{0, 1, 0, 0};
    D3DXMatrixShadow(&m, &overhead, &ground);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(m.m[1][k], 0.0f);
        EXPECT_EQ(m.m[k][1], 0.0f);
    }
    const D3DXVECTOR4 lights[] = {{0.3f, -1, 0.2f, 0}, {2, 9, -1, 1}};
    const D3DXPLANE wall{2, 1, -1, 3};
    for (const D3DXVECTOR4& light : lights) {
        D3DXMatrixShadow(&m, &light, &wall);
        for (const D3DXVECTOR3& v : kPoints) {
            EXPECT_NEAR(Distance(wall, TransformPoint(v, m)), 0.0f, 1e-4f);
        }
    }
}

TEST_F(PlaneOps, MatrixRotationYawPitchRollIsRollThenPitchThenYaw) {
    const float angles[][3] = {{0.7f, -0.4f, 1.9f}, {-2.0f, 1.2f, 0.1f}, {0, 0, 3.0f}};
    for (const auto& a : angles) {
        D3DXMATRIX yaw, pitch, roll, expected, m;
        D3DXMatrixRotationY(&yaw, a[0]);
        D3DXMatrixRotationX(&pitch, a[1]);
        D3DXMatrixRotationZ(&roll, a[2]);
        D3DXMatrixMultiply(&expected, &roll, &pitch);
        D3DXMatrixMultiply(&expected, &expected, &yaw);
        EXPECT_EQ(D3DXMatrixRotationYawPitchRoll(&m, a[0], a[1], a[2]), &m);
        ExpectNear(m, expected);
    }
}

}  // namespace
}  // namespace d3dx
