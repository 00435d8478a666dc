// Vector operations of the x87 table: transforms, normalisers, projection,
// the 4D cross product and the splines.
#include "x87_test_support.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace d3dx {
using namespace d3dx::testing;
namespace {

// (1, 2[, 3[, 2]]) times kGeneral, worked out by hand.
constexpr D3DXVECTOR4 kVec2TimesGeneral{1, 9, -1, 6.25f};
constexpr D3DXVECTOR4 kVec3TimesGeneral{2.5f, 8.25f, 11, 9.25f};
constexpr D3DXVECTOR4 kVec4TimesGeneral{3.5f, 10.25f, 8, 14.25f};

struct TransformSet {
    const char* name;
    d3dx::fn::Vec2Transform* vec2;
    d3dx::fn::Vec3Transform* vec3;
    d3dx::fn::Vec4Transform* vec4;
    d3dx::fn::Vec2TransformNormal* vec2Normal;
    d3dx::fn::Vec3TransformNormal* vec3Normal;
};

const TransformSet kTransformSets[] = {
    {"reference", d3dx::x87::Vec2Transform, d3dx::x87::Vec3Transform, d3dx::x87::Vec4Transform,
     d3dx::x87::Vec2TransformNormal, d3dx::x87::Vec3TransformNormal},
    {"alternate", d3dx::x87alt::Vec2Transform, d3dx::x87alt::Vec3Transform,
     d3dx::x87alt::Vec4Transform, d3dx::x87alt::Vec2TransformNormal,
     d3dx::x87alt::Vec3TransformNormal},
};

TEST(VectorTransforms, PointsAndDirectionsOnBothPaths) {
    for (const TransformSet& set : kTransformSets) {
        SCOPED_TRACE(set.name);
        const D3DXVECTOR2 v2{1, 2};
        const D3DXVECTOR3 v3{1, 2, 3};
        const D3DXVECTOR4 v4{1, 2, 3, 2};
        D3DXVECTOR4 out;
        ASSERT_EQ(set.vec2(&out, &v2, &kGeneral), &out);
        EXPECT_TRUE(SameBits(out, kVec2TimesGeneral));
        ASSERT_EQ(set.vec3(&out, &v3, &kGeneral), &out);
        EXPECT_TRUE(SameBits(out, kVec3TimesGeneral));
        ASSERT_EQ(set.vec4(&out, &v4, &kGeneral), &out);
        EXPECT_TRUE(SameBits(out, kVec4TimesGeneral));
        D3DXVECTOR2 normal2;
        D3DXVECTOR3 normal3;
        ASSERT_EQ(set.vec2Normal(&normal2, &v2, &kGeneral), &normal2);
        EXPECT_TRUE(SameBits(normal2, D3DXVECTOR2{0, 7}));
        ASSERT_EQ(set.vec3Normal(&normal3, &v3, &kGeneral), &normal3);
        EXPECT_TRUE(SameBits(normal3, D3DXVECTOR3{1.5f, 6.25f, 14}));
    }
}

class TransformCoord : public X87Entries {};

TEST_F(TransformCoord, AnAffineMatrixGivesTheTransformUnchanged) {
    const D3DXVECTOR3 v{1, 2, 3};
    D3DXMATRIX affine = kGeneral;
    for (int r = 0; r < 4; ++r) affine.m[r][3] = (r == 3) ? 1.0f : 0.0f;
    D3DXVECTOR4 full;
    D3DXVECTOR3 out;
    d3dx::x87::Vec3Transform(&full, &v, &affine);
    ASSERT_EQ(D3DXVec3TransformCoord(&out, &v, &affine), &out);
    EXPECT_TRUE(SameBits(out, D3DXVECTOR3{full.x, full.y, full.z}));
}

// With v = 0 the result is row 3 of M, (w, 2w, -w), divided by w = m33 or not.
TEST_F(TransformCoord, DividesOnlyWhenWIsNotNearOne) {
    struct Case {
        float w;
        bool divides;
    };
    // FLT_EPSILON above 1 is still near; two of them are not.
    const Case cases[] = {{1, false},
                          {1 + FLT_EPSILON, false},
                          {1 - FLT_EPSILON, false},
                          {1 + 2 * FLT_EPSILON, true},
                          {4, true}};
    for (const Case& c : cases) {
        D3DXMATRIX m = kIdentity;
        m.m[3][0] = c.w;
        m.m[3][1] = 2 * c.w;
        m.m[3][2] = -c.w;
        m.m[3][3] = c.w;
        const D3DXVECTOR3 expected =
            c.divides ? D3DXVECTOR3{1, 2, -1} : D3DXVECTOR3{c.w, 2 * c.w, -c.w};
        const D3DXVECTOR3 origin{0, 0, 0};
        const D3DXVECTOR2 origin2{0, 0};
        D3DXVECTOR3 out;
        D3DXVECTOR2 out2;
        ASSERT_EQ(D3DXVec3TransformCoord(&out, &origin, &m), &out);
        EXPECT_TRUE(SameBits(out, expected)) << c.w;
        ASSERT_EQ(D3DXVec2TransformCoord(&out2, &origin2, &m), &out2);
        EXPECT_TRUE(SameBits(out2, D3DXVECTOR2{expected.x, expected.y})) << c.w;
    }
}

// ---------------------------------------------------------------------------
// Normalisers.

// (1, y, 0): the squared length is 1 + y².
D3DXVECTOR3 OffUnitBy(float y) { return {1, y, 0}; }

D3DXVECTOR3 Normalized(d3dx::fn::Vec3Normalize* normalize, D3DXVECTOR3 v) {
    D3DXVECTOR3 out{-7, -7, -7};
    EXPECT_EQ(normalize(&out, &v), &out);
    return out;
}

TEST(Normalizers, ReferenceUnitAndZeroRules) {
    const auto normalize = d3dx::x87::Vec3Normalize;
    // 1 + 3.5e-4² rounds to 1 + 2^-23 (near), 1 + 4.5e-4² to 1 + 2^-22 (not).
    EXPECT_TRUE(SameBits(Normalized(normalize, OffUnitBy(3.5e-4f)), OffUnitBy(3.5e-4f)));
    EXPECT_FALSE(SameBits(Normalized(normalize, OffUnitBy(4.5e-4f)), OffUnitBy(4.5e-4f)));
    const float belowRootMin = 0x1p-64f;  // squared: 2^-128, a denormal
    const float rootMin = 0x1p-63f;       // squared: exactly FLT_MIN
    const float aboveRootMin = 0x1p-62f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float x : {0.0f, belowRootMin, rootMin, nan})
        EXPECT_TRUE(SameBits(Normalized(normalize, {x, 0, 0}), D3DXVECTOR3{0, 0, 0})) << x;
    EXPECT_TRUE(SameBits(Normalized(normalize, {aboveRootMin, 0, 0}), D3DXVECTOR3{1, 0, 0}));
    ExpectNear(Normalized(normalize, {3, 0, 4}), D3DXVECTOR3{0.6f, 0, 0.8f});
}

TEST(Normalizers, AlternateUnitAndZeroRules) {
    const auto normalize = d3dx::x87alt::Vec3Normalize;
    // Within 1e-5 of unit length is copied: 1 + 0.003² is, 1 + 0.0035² is not.
    EXPECT_TRUE(SameBits(Normalized(normalize, OffUnitBy(0.003f)), OffUnitBy(0.003f)));
    EXPECT_FALSE(SameBits(Normalized(normalize, OffUnitBy(0.0035f)), OffUnitBy(0.0035f)));
    EXPECT_TRUE(SameBits(Normalized(normalize, {0, 0, 0}), D3DXVECTOR3{0, 0, 0}));
    // Only an exact zero gives zero: FLT_MIN normalises like any other length.
    ExpectNear(Normalized(normalize, {0x1p-63f, 0, 0}), D3DXVECTOR3{1, 0, 0});
    const D3DXVECTOR3 denormal = Normalized(normalize, {0x1p-70f, 0, 0});
    EXPECT_TRUE(std::isfinite(denormal.x) && denormal.x > 0) << denormal.x;
}

TEST(Normalizers, AlternateMatchesReferenceAcrossExponents) {
    for (int exponent = -60; exponent <= 60; ++exponent) {
        const float scale = std::ldexp(1.0f, exponent);
        for (const D3DXVECTOR3& direction :
             {D3DXVECTOR3{3, 0, 4}, D3DXVECTOR3{1, -2, 2}, D3DXVECTOR3{0.1f, 5, -0.3f}}) {
            const D3DXVECTOR3 v{direction.x * scale, direction.y * scale, direction.z * scale};
            ExpectNear(Normalized(d3dx::x87alt::Vec3Normalize, v),
                       Normalized(d3dx::x87::Vec3Normalize, v), 2e-6f);
        }
    }
}

class OtherNormalizers : public X87Entries {};

TEST_F(OtherNormalizers, Vec2AndVec4FollowTheReferenceRule) {
    D3DXVECTOR2 v2{1, 3.5e-4f};
    D3DXVECTOR2 out2;
    D3DXVec2Normalize(&out2, &v2);
    EXPECT_TRUE(SameBits(out2, v2));
    v2 = {0x1p-63f, 0};
    D3DXVec2Normalize(&out2, &v2);
    EXPECT_TRUE(SameBits(out2, D3DXVECTOR2{0, 0}));
    v2 = {-6, 8};
    D3DXVec2Normalize(&out2, &v2);
    ExpectNear(out2, D3DXVECTOR2{-0.6f, 0.8f});

    D3DXVECTOR4 v4{1, 0, 0, 3.5e-4f};
    D3DXVECTOR4 out4;
    D3DXVec4Normalize(&out4, &v4);
    EXPECT_TRUE(SameBits(out4, v4));
    v4 = {0, 0x1p-64f, 0, 0};
    D3DXVec4Normalize(&out4, &v4);
    EXPECT_TRUE(SameBits(out4, D3DXVECTOR4{0, 0, 0, 0}));
    v4 = {1, 1, 1, 1};
    D3DXVec4Normalize(&out4, &v4);
    ExpectNear(out4, D3DXVECTOR4{0.5f, 0.5f, 0.5f, 0.5f});
}

// ---------------------------------------------------------------------------
// Projection.

class Projection : public X87Entries {};

constexpr D3DXVIEWPORT kScreen{0, 0, 640, 480, 0, 1};

TEST_F(Projection, ViewportCentreAndBack) {
    const D3DXVECTOR3 centre{0, 0, 0.5f};
    D3DXVECTOR3 pixel;
    ASSERT_EQ(D3DXVec3Project(&pixel, &centre, &kScreen, &kIdentity, &kIdentity, &kIdentity),
              &pixel);
    EXPECT_TRUE(SameBits(pixel, D3DXVECTOR3{320, 240, 0.5f}));
    D3DXVECTOR3 back;
    ASSERT_EQ(D3DXVec3Unproject(&back, &pixel, &kScreen, &kIdentity, &kIdentity, &kIdentity),
              &back);
    ExpectNear(back, centre);
    const D3DXVECTOR3 corner{-1, 1, 0};
    D3DXVec3Project(&pixel, &corner, &kScreen, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SameBits(pixel, D3DXVECTOR3{0, 0, 0}));
}

TEST_F(Projection, WithoutMatricesOrViewportThePointIsUnchanged) {
    const D3DXVECTOR3 v{1.25f, -3, 7};
    D3DXVECTOR3 out;
    ASSERT_EQ(D3DXVec3Project(&out, &v, nullptr, nullptr, nullptr, nullptr), &out);
    EXPECT_TRUE(SameBits(out, v));
    ASSERT_EQ(D3DXVec3Unproject(&out, &v, nullptr, nullptr, nullptr, nullptr), &out);
    EXPECT_TRUE(SameBits(out, v));
}

TEST_F(Projection, UnprojectUndoesProjectThroughEveryMatrixCombination) {
    std::mt19937 rng(11);
    const D3DXMATRIX world = RandomWellConditioned(rng);
    const D3DXMATRIX view = RandomWellConditioned(rng);
    const D3DXMATRIX projection = RandomWellConditioned(rng);
    const D3DXVECTOR3 v{0.3f, -0.2f, 0.6f};
    for (int mask = 0; mask < 8; ++mask) {
        const D3DXMATRIX* p = (mask & 1) ? &projection : nullptr;
        const D3DXMATRIX* vw = (mask & 2) ? &view : nullptr;
        const D3DXMATRIX* w = (mask & 4) ? &world : nullptr;
        D3DXVECTOR3 pixel;
        D3DXVECTOR3 back;
        D3DXVec3Project(&pixel, &v, &kScreen, p, vw, w);
        ASSERT_EQ(D3DXVec3Unproject(&back, &pixel, &kScreen, p, vw, w), &back);
        ExpectNear(back, v, 1e-4f);
    }
}

// A combination without an inverse has no unprojection: null, out untouched.
TEST_F(Projection, UnprojectThroughASingularMatrixFails) {
    const D3DXMATRIX flatten{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 1}}};
    const D3DXVECTOR3 v{1, 2, 3};
    const D3DXVECTOR3 before{-5, -5, -5};
    for (const D3DXVIEWPORT* viewport : {static_cast<const D3DXVIEWPORT*>(nullptr), &kScreen}) {
        D3DXVECTOR3 out = before;
        EXPECT_EQ(D3DXVec3Unproject(&out, &v, viewport, &flatten, nullptr, nullptr), nullptr);
        EXPECT_TRUE(SameBits(out, before));
        EXPECT_EQ(D3DXVec3Unproject(&out, &v, viewport, &flatten, &kIdentity, &kGeneral), nullptr);
        EXPECT_TRUE(SameBits(out, before));
    }
}

// ---------------------------------------------------------------------------
// Cross product and splines.

class VectorCombinations : public X87Entries {};

TEST_F(VectorCombinations, Vec4CrossOfBasisAndOrthogonality) {
    const D3DXVECTOR4 ex{1, 0, 0, 0}, ey{0, 1, 0, 0}, ez{0, 0, 1, 0};
    D3DXVECTOR4 out;
    ASSERT_EQ(D3DXVec4Cross(&out, &ex, &ey, &ez), &out);
    ExpectNear(out, D3DXVECTOR4{0, 0, 0, -1});
    const D3DXVECTOR4 a{1, 2, -1, 0.5f}, b{0.5f, -3, 2, 1}, c{2, 1, 1, -2};
    D3DXVec4Cross(&out, &a, &b, &c);
    for (const D3DXVECTOR4* v : {&a, &b, &c})
        EXPECT_NEAR(out.x * v->x + out.y * v->y + out.z * v->z + out.w * v->w, 0.0f, 1e-5f);
}

TEST_F(VectorCombinations, HermiteEndsAndMidpoint) {
    const D3DXVECTOR2 v1{0, 0}, t1{1, 0}, v2{1, 1}, t2{0, 1};
    D3DXVECTOR2 out;
    ASSERT_EQ(D3DXVec2Hermite(&out, &v1, &t1, &v2, &t2, 0), &out);
    EXPECT_TRUE(SameBits(out, v1));
    D3DXVec2Hermite(&out, &v1, &t1, &v2, &t2, 1);
    EXPECT_TRUE(SameBits(out, v2));
    D3DXVec2Hermite(&out, &v1, &t1, &v2, &t2, 0.5f);
    ExpectNear(out, D3DXVECTOR2{0.625f, 0.375f});
    const D3DXVECTOR4 a{1, 2, 3, 4}, ta{0, 0, 0, 0}, b{5, 6, 7, 8};
    D3DXVECTOR4 out4;
    D3DXVec4Hermite(&out4, &a, &ta, &b, &ta, 0.5f);
    ExpectNear(out4, D3DXVECTOR4{3, 4, 5, 6});
}

TEST_F(VectorCombinations, CatmullRomPassesThroughTheInnerPoints) {
    const D3DXVECTOR3 p0{0, 0, 0}, p1{1, 2, 3}, p2{2, 4, 6}, p3{3, 6, 9};
    D3DXVECTOR3 out;
    ASSERT_EQ(D3DXVec3CatmullRom(&out, &p0, &p1, &p2, &p3, 0), &out);
    EXPECT_TRUE(SameBits(out, p1));
    D3DXVec3CatmullRom(&out, &p0, &p1, &p2, &p3, 1);
    EXPECT_TRUE(SameBits(out, p2));
    // Equally spaced collinear points: the curve is the line itself.
    D3DXVec3CatmullRom(&out, &p0, &p1, &p2, &p3, 0.25f);
    ExpectNear(out, D3DXVECTOR3{1.25f, 2.5f, 3.75f});
}

TEST_F(VectorCombinations, BaryCentricWeights) {
    const D3DXVECTOR3 a{1, 0, 0}, b{0, 2, 0}, c{0, 0, 4};
    D3DXVECTOR3 out;
    ASSERT_EQ(D3DXVec3BaryCentric(&out, &a, &b, &c, 0, 0), &out);
    EXPECT_TRUE(SameBits(out, a));
    D3DXVec3BaryCentric(&out, &a, &b, &c, 1, 0);
    EXPECT_TRUE(SameBits(out, b));
    D3DXVec3BaryCentric(&out, &a, &b, &c, 0.25f, 0.5f);
    ExpectNear(out, D3DXVECTOR3{0.25f, 0.5f, 2});
}

}  // namespace
}  // namespace d3dx
