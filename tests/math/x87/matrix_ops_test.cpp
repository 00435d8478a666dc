// Matrix operations of the x87 table: builders, products, transpose,
// determinant, inverse and the composed transformations.
#include "x87_test_support.h"

#include <cmath>
#include <numbers>
#include <string>

namespace d3dx {
using namespace d3dx::testing;
namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;
constexpr float kSqrtHalf = 0.70710678f;
constexpr D3DXQUATERNION kQuarterTurnAboutZ{0, 0, kSqrtHalf, kSqrtHalf};
constexpr D3DXQUATERNION kNoRotation{0, 0, 0, 1};

using MatrixMultiplyFn = d3dx::fn::MatrixMultiply*;

D3DXVECTOR3 ApplyToPoint(const D3DXMATRIX& m, D3DXVECTOR3 p) {
    D3DXVec3TransformCoord(&p, &p, &m);
    return p;
}

class MatrixBuilders : public X87Entries {};

TEST_F(MatrixBuilders, TranslationAndScalingHaveTheirRows) {
    D3DXMATRIX m;
    ASSERT_EQ(D3DXMatrixTranslation(&m, 1, 2, 3), &m);
    EXPECT_TRUE(SameBits(m, D3DXMATRIX{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}}}));
    ASSERT_EQ(D3DXMatrixScaling(&m, 2, 3, 4), &m);
    EXPECT_TRUE(SameBits(m, D3DXMATRIX{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}}}));
    EXPECT_EQ(D3DXMatrixTranslation(nullptr, 1, 2, 3), nullptr);
}

TEST_F(MatrixBuilders, QuarterTurnsAboutEachAxis) {
    struct Case {
        const char* name;
        D3DXMATRIX* (*rotate)(D3DXMATRIX*, float);
        D3DXMATRIX expected;
    };
    const Case cases[] = {
        {"x", D3DXMatrixRotationX, {{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}}}},
        {"y", D3DXMatrixRotationY, {{{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}}},
        {"z", D3DXMatrixRotationZ, {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXMATRIX m;
        ASSERT_EQ(c.rotate(&m, kHalfPi), &m);
        ExpectNear(m, c.expected);
    }
}

TEST_F(MatrixBuilders, RotationAxisAboutTheAxesEqualsTheAxisRotations) {
    struct Case {
        D3DXVECTOR3 axis;  // deliberately not unit length
        D3DXMATRIX* (*rotate)(D3DXMATRIX*, float);
    };
    const Case cases[] = {{{2, 0, 0}, D3DXMatrixRotationX},
                          {{0, 0.5f, 0}, D3DXMatrixRotationY},
                          {{0, 0, 3}, D3DXMatrixRotationZ}};
    for (const Case& c : cases) {
        for (float angle : {0.3f, -1.2f, 2.5f}) {
            D3DXMATRIX byAxis;
            D3DXMATRIX expected;
            ASSERT_EQ(D3DXMatrixRotationAxis(&byAxis, &c.axis, angle), &byAxis);
            c.rotate(&expected, angle);
            ExpectNear(byAxis, expected);
        }
    }
}

TEST_F(MatrixBuilders, RotationQuaternionOfAQuarterTurnAboutZ) {
    D3DXMATRIX m;
    ASSERT_EQ(D3DXMatrixRotationQuaternion(&m, &kQuarterTurnAboutZ), &m);
    ExpectNear(m, D3DXMATRIX{{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
}

class MatrixAlgebra : public X87Entries {};

TEST_F(MatrixAlgebra, DeterminantsOfKnownMatrices) {
    const D3DXMATRIX lowerTriangular{{{2, 0, 0, 0}, {7, 3, 0, 0}, {-1, 5, 4, 0}, {9, 8, -6, 5}}};
    const D3DXMATRIX rowSwap{{{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&lowerTriangular), 120.0f);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&rowSwap), -1.0f);
    EXPECT_FLOAT_EQ(D3DXMatrixDeterminant(&kIdentity), 1.0f);
    EXPECT_EQ(D3DXMatrixDeterminant(nullptr), 0.0f);
    // det(A·B) = det(A)·det(B).
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &kGeneral, &kOther);
    const float expected = D3DXMatrixDeterminant(&kGeneral) * D3DXMatrixDeterminant(&kOther);
    EXPECT_NEAR(D3DXMatrixDeterminant(&product), expected, std::fabs(expected) * 1e-5f);
}

TEST_F(MatrixAlgebra, InverseOfAScaledTranslation) {
    const D3DXMATRIX m{{{2, 0, 0, 0}, {0, 4, 0, 0}, {0, 0, 5, 0}, {1, 2, 3, 1}}};
    D3DXMATRIX inverse;
    float determinant = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inverse, &determinant, &m), &inverse);
    EXPECT_FLOAT_EQ(determinant, 40.0f);
    ExpectNear(
        inverse,
        D3DXMATRIX{{{0.5f, 0, 0, 0}, {0, 0.25f, 0, 0}, {0, 0, 0.2f, 0}, {-0.5f, -0.5f, -0.6f, 1}}});
}

TEST_F(MatrixAlgebra, SingularMatricesLeaveOutUntouchedButReportTheDeterminant) {
    const D3DXMATRIX zero{};
    // 1/D overflows single precision although D is not zero.
    const D3DXMATRIX tiny{
        {{1e-10f, 0, 0, 0}, {0, 1e-10f, 0, 0}, {0, 0, 1e-10f, 0}, {0, 0, 0, 1e-10f}}};
    for (const D3DXMATRIX* m : {&zero, &tiny}) {
        D3DXMATRIX out = kGeneral;
        float determinant = -1.0f;
        EXPECT_EQ(D3DXMatrixInverse(&out, &determinant, m), nullptr);
        EXPECT_TRUE(SameBits(out, kGeneral));
        EXPECT_EQ(determinant, D3DXMatrixDeterminant(m));
        EXPECT_EQ(D3DXMatrixInverse(&out, nullptr, m), nullptr);
    }
    D3DXMATRIX out;
    float determinant = -1.0f;
    D3DXMatrixInverse(&out, &determinant, &zero);
    EXPECT_EQ(determinant, 0.0f);
}

TEST_F(MatrixAlgebra, InverseTimesMatrixIsIdentityAndWorksInPlace) {
    std::mt19937 rng(7);
    for (int n = 0; n < 50; ++n) {
        const D3DXMATRIX m = RandomWellConditioned(rng);
        D3DXMATRIX inverse;
        D3DXMATRIX product;
        ASSERT_EQ(D3DXMatrixInverse(&inverse, nullptr, &m), &inverse);
        D3DXMatrixMultiply(&product, &m, &inverse);
        ExpectNear(product, kIdentity, 1e-6f);
        D3DXMATRIX inPlace = m;
        ASSERT_EQ(D3DXMatrixInverse(&inPlace, nullptr, &inPlace), &inPlace);
        EXPECT_TRUE(SameBits(inPlace, inverse));
    }
}

TEST_F(MatrixAlgebra, TransposeSwapsAndTwiceRestores) {
    D3DXMATRIX t;
    D3DXMATRIX back;
    ASSERT_EQ(D3DXMatrixTranspose(&t, &kGeneral), &t);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(t.m[r][c], kGeneral.m[c][r]);
    D3DXMatrixTranspose(&back, &t);
    EXPECT_TRUE(SameBits(back, kGeneral));
    D3DXMATRIX inPlace = kGeneral;
    D3DXMatrixTranspose(&inPlace, &inPlace);
    EXPECT_TRUE(SameBits(inPlace, t));
}

// Every product: the reference, the alternate and the public entry.
class MatrixProducts : public X87Entries, public ::testing::WithParamInterface<MatrixMultiplyFn> {};

TEST_P(MatrixProducts, AliasedOutputsGiveTheSameProduct) {
    const MatrixMultiplyFn multiply = GetParam();
    D3DXMATRIX separate;
    ASSERT_EQ(multiply(&separate, &kGeneral, &kOther), &separate);
    EXPECT_FLOAT_EQ(separate.m[0][0], 2.875f);
    D3DXMATRIX outIsM1 = kGeneral;
    D3DXMATRIX outIsM2 = kOther;
    ASSERT_EQ(multiply(&outIsM1, &outIsM1, &kOther), &outIsM1);
    ASSERT_EQ(multiply(&outIsM2, &kGeneral, &outIsM2), &outIsM2);
    EXPECT_TRUE(SameBits(outIsM1, separate));
    EXPECT_TRUE(SameBits(outIsM2, separate));
    D3DXMATRIX square;
    D3DXMATRIX all = kGeneral;
    multiply(&square, &kGeneral, &kGeneral);
    ASSERT_EQ(multiply(&all, &all, &all), &all);
    EXPECT_TRUE(SameBits(all, square));
}

// Named after the path, so test names stay the same from run to run.
std::string ProductPathName(const ::testing::TestParamInfo<MatrixMultiplyFn>& info) {
    if (info.param == &d3dx::x87::MatrixMultiply) return "Reference";
    if (info.param == &d3dx::x87alt::MatrixMultiply) return "Alternate";
    return "PublicEntry";
}

INSTANTIATE_TEST_SUITE_P(Variants, MatrixProducts,
                         ::testing::Values(&d3dx::x87::MatrixMultiply,
                                           &d3dx::x87alt::MatrixMultiply, &D3DXMatrixMultiply),
                         ProductPathName);

TEST(MatrixProductTranspose, EqualsTransposeOfProductOnBothPaths) {
    for (MatrixMultiplyFn multiplyTranspose :
         {&d3dx::x87::MatrixMultiplyTranspose, &d3dx::x87alt::MatrixMultiplyTranspose}) {
        D3DXMATRIX product;
        D3DXMATRIX expected;
        D3DXMATRIX actual;
        d3dx::x87::MatrixMultiply(&product, &kGeneral, &kOther);
        d3dx::x87::MatrixTranspose(&expected, &product);
        ASSERT_EQ(multiplyTranspose(&actual, &kGeneral, &kOther), &actual);
        ExpectNear(actual, expected);
        D3DXMATRIX inPlace = kOther;
        multiplyTranspose(&inPlace, &kGeneral, &inPlace);
        EXPECT_TRUE(SameBits(inPlace, actual));
    }
}

class Transformations : public X87Entries {};

TEST_F(Transformations, EveryOptionalPointerNullGivesIdentity) {
    D3DXMATRIX m = kGeneral;
    ASSERT_EQ(D3DXMatrixTransformation(&m, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              &m);
    EXPECT_TRUE(SameBits(m, kIdentity));
    EXPECT_EQ(
        D3DXMatrixTransformation(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

TEST_F(Transformations, ScalingCentreNeedsAScalingRotation) {
    const D3DXVECTOR3 scaling{2, 3, 4};
    const D3DXVECTOR3 centre{1, 1, 1};
    D3DXMATRIX m;
    // Without a scaling rotation the centre is ignored: scaling about the origin.
    D3DXMatrixTransformation(&m, &centre, nullptr, &scaling, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SameBits(m, D3DXMATRIX{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}}}));
    // With one, the centre stays fixed: row 3 = c - c·S.
    D3DXMatrixTransformation(&m, &centre, &kNoRotation, &scaling, nullptr, nullptr, nullptr);
    ExpectNear(m, D3DXMATRIX{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {-1, -2, -3, 1}}});
}

// Scaling x by 2 in a frame turned a quarter about z scales y in the world.
TEST_F(Transformations, ScalingInTheFrameOfTheScalingRotation) {
    const D3DXVECTOR3 scaling{2, 1, 1};
    const D3DXVECTOR3 centre{0, 1, 0};
    D3DXMATRIX m;
    D3DXMatrixTransformation(&m, nullptr, &kQuarterTurnAboutZ, &scaling, nullptr, nullptr, nullptr);
    ExpectNear(ApplyToPoint(m, {0, 1, 0}), D3DXVECTOR3{0, 2, 0}, 1e-6f);
    ExpectNear(ApplyToPoint(m, {1, 0, 0}), D3DXVECTOR3{1, 0, 0}, 1e-6f);
    D3DXMatrixTransformation(&m, &centre, &kQuarterTurnAboutZ, &scaling, nullptr, nullptr, nullptr);
    ExpectNear(ApplyToPoint(m, {0, 3, 0}), D3DXVECTOR3{0, 5, 0}, 1e-6f);
    ExpectNear(ApplyToPoint(m, {1, 1, 0}), D3DXVECTOR3{1, 1, 0}, 1e-6f);
}

TEST_F(Transformations, RotationAboutACentreThenTranslation) {
    const D3DXVECTOR3 centre{1, 0, 0};
    const D3DXVECTOR3 translation{0, 0, 5};
    D3DXMATRIX m;
    D3DXMatrixTransformation(&m, nullptr, nullptr, nullptr, &centre, &kQuarterTurnAboutZ,
                             &translation);
    ExpectNear(ApplyToPoint(m, {2, 0, 0}), D3DXVECTOR3{1, 1, 5}, 1e-6f);
    // The rotation centre is used only with a rotation.
    D3DXMatrixTransformation(&m, nullptr, nullptr, nullptr, &centre, nullptr, &translation);
    EXPECT_TRUE(SameBits(m, D3DXMATRIX{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 5, 1}}}));
}

TEST_F(Transformations, AffineScalesRotatesAboutTheCentreAndTranslates) {
    const D3DXVECTOR3 centre{1, 0, 0};
    const D3DXVECTOR3 translation{0, 0, 5};
    D3DXMATRIX m;
    ASSERT_EQ(D3DXMatrixAffineTransformation(&m, 2, &centre, &kQuarterTurnAboutZ, &translation),
              &m);
    ExpectNear(ApplyToPoint(m, {2, 0, 0}), D3DXVECTOR3{1, 3, 5}, 1e-6f);
    D3DXMatrixAffineTransformation(&m, 2, &centre, nullptr, nullptr);
    EXPECT_TRUE(SameBits(m, D3DXMATRIX{{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}}}));
    EXPECT_EQ(D3DXMatrixAffineTransformation(nullptr, 2, &centre, nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace d3dx
