// Null pointers and aliased outputs, for every vector and matrix operation of
// the x87 table and for the reference and the alternate of slots 0-7.
#include "x87_test_support.h"

#include <functional>
#include <vector>

namespace d3dx {
using namespace d3dx::testing;
namespace {

// Everything a call may read or write. A call given a null required pointer
// must leave all of it bit-for-bit unchanged.
struct Arena {
    D3DXMATRIX m[2] = {kGeneral, kOther};
    D3DXVECTOR2 v2[5] = {{1, 2}, {3, -1}, {0.5f, 4}, {-2, 1}, {7, 7}};
    D3DXVECTOR3 v3[5] = {{1, 2, 3}, {3, -1, 2}, {0.5f, 4, -1}, {-2, 1, 1}, {7, 7, 7}};
    D3DXVECTOR4 v4[5] = {
        {1, 2, 3, 4}, {3, -1, 2, 1}, {0.5f, 4, -1, 2}, {-2, 1, 1, 3}, {7, 7, 7, 7}};
    D3DXQUATERNION q = {0, 0, 0.6f, 0.8f};
    D3DXVIEWPORT viewport = {0, 0, 640, 480, 0, 1};
    float determinant = 3;
};

// Argument `index` of a call, or null when it is the one under test.
template <class T>
T* Or(int nullIndex, int index, T* p) {
    return nullIndex == index ? nullptr : p;
}

struct NullCase {
    const char* name;
    int requiredCount;  // the first requiredCount argument indices are required
    std::function<const void*(Arena&, int)> call;
};

template <class F>
NullCase Unary(const char* name, F* f) {
    // (out, v) of one type.
    return {name, 2, [f](Arena& a, int n) {
                return static_cast<const void*>(f(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1])));
            }};
}

const std::vector<NullCase>& NullCases() {
    static const std::vector<NullCase> cases = {
        {"Vec2Transform", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2Transform(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v2[0]), Or(n, 2, &a.m[0]));
         }},
        {"Vec3Transform", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3Transform(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v3[0]), Or(n, 2, &a.m[0]));
         }},
        {"Vec4Transform", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec4Transform(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]), Or(n, 2, &a.m[0]));
         }},
        {"Vec2TransformNormal", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2TransformNormal(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]),
                                            Or(n, 2, &a.m[0]));
         }},
        {"Vec3TransformNormal", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3TransformNormal(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]),
                                            Or(n, 2, &a.m[0]));
         }},
        {"Vec2TransformCoord", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2TransformCoord(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]),
                                           Or(n, 2, &a.m[0]));
         }},
        {"Vec3TransformCoord", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3TransformCoord(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]),
                                           Or(n, 2, &a.m[0]));
         }},
        {"reference Vec2Transform", 3,
         [](Arena& a, int n) -> const void* {
             return x87::Vec2Transform(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v2[0]), Or(n, 2, &a.m[0]));
         }},
        {"reference Vec3Transform", 3,
         [](Arena& a, int n) -> const void* {
             return x87::Vec3Transform(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v3[0]), Or(n, 2, &a.m[0]));
         }},
        {"reference Vec4Transform", 3,
         [](Arena& a, int n) -> const void* {
             return x87::Vec4Transform(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]), Or(n, 2, &a.m[0]));
         }},
        {"reference Vec2TransformNormal", 3,
         [](Arena& a, int n) -> const void* {
             return x87::Vec2TransformNormal(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]),
                                             Or(n, 2, &a.m[0]));
         }},
        {"reference Vec3TransformNormal", 3,
         [](Arena& a, int n) -> const void* {
             return x87::Vec3TransformNormal(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]),
                                             Or(n, 2, &a.m[0]));
         }},
        {"MatrixMultiply", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixMultiply(Or(n, 0, &a.m[0]), Or(n, 1, &a.m[0]), Or(n, 2, &a.m[1]));
         }},
        {"MatrixMultiplyTranspose", 3,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixMultiplyTranspose(Or(n, 0, &a.m[0]), Or(n, 1, &a.m[0]),
                                                Or(n, 2, &a.m[1]));
         }},
        {"reference MatrixMultiply", 3,
         [](Arena& a, int n) -> const void* {
             return x87::MatrixMultiply(Or(n, 0, &a.m[0]), Or(n, 1, &a.m[0]), Or(n, 2, &a.m[1]));
         }},
        {"reference MatrixMultiplyTranspose", 3,
         [](Arena& a, int n) -> const void* {
             return x87::MatrixMultiplyTranspose(Or(n, 0, &a.m[0]), Or(n, 1, &a.m[0]),
                                                 Or(n, 2, &a.m[1]));
         }},
        Unary("Vec3Normalize", &D3DXVec3Normalize),
        Unary("reference Vec3Normalize", &x87::Vec3Normalize),
        {"Vec2Normalize", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2Normalize(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]));
         }},
        {"Vec4Normalize", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXVec4Normalize(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]));
         }},
        {"Vec3Project", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3Project(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]), &a.viewport, &a.m[0],
                                    nullptr, &a.m[1]);
         }},
        {"Vec3Unproject", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3Unproject(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]), &a.viewport, &a.m[0],
                                      nullptr, &a.m[1]);
         }},
        {"Vec4Cross", 4,
         [](Arena& a, int n) -> const void* {
             return D3DXVec4Cross(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]), Or(n, 2, &a.v4[2]),
                                  Or(n, 3, &a.v4[3]));
         }},
        {"MatrixInverse", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixInverse(Or(n, 0, &a.m[0]), &a.determinant, Or(n, 1, &a.m[1]));
         }},
        {"MatrixTranslation", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixTranslation(Or(n, 0, &a.m[0]), 1, 2, 3);
         }},
        {"MatrixRotationX", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixRotationX(Or(n, 0, &a.m[0]), 1);
         }},
        {"MatrixRotationY", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixRotationY(Or(n, 0, &a.m[0]), 1);
         }},
        {"MatrixRotationZ", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixRotationZ(Or(n, 0, &a.m[0]), 1);
         }},
        {"MatrixScaling", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixScaling(Or(n, 0, &a.m[0]), 1, 2, 3);
         }},
        {"MatrixTranspose", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixTranspose(Or(n, 0, &a.m[0]), Or(n, 1, &a.m[1]));
         }},
        {"MatrixRotationQuaternion", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixRotationQuaternion(Or(n, 0, &a.m[0]), Or(n, 1, &a.q));
         }},
        {"MatrixTransformation", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixTransformation(Or(n, 0, &a.m[0]), &a.v3[0], &a.q, &a.v3[1], &a.v3[2],
                                             &a.q, &a.v3[3]);
         }},
        {"MatrixAffineTransformation", 1,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixAffineTransformation(Or(n, 0, &a.m[0]), 2, &a.v3[0], &a.q, &a.v3[1]);
         }},
        {"MatrixRotationAxis", 2,
         [](Arena& a, int n) -> const void* {
             return D3DXMatrixRotationAxis(Or(n, 0, &a.m[0]), Or(n, 1, &a.v3[0]), 1);
         }},
        {"Vec2Hermite", 5,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2Hermite(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]), Or(n, 2, &a.v2[2]),
                                    Or(n, 3, &a.v2[3]), Or(n, 4, &a.v2[4]), 0.5f);
         }},
        {"Vec3Hermite", 5,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3Hermite(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]), Or(n, 2, &a.v3[2]),
                                    Or(n, 3, &a.v3[3]), Or(n, 4, &a.v3[4]), 0.5f);
         }},
        {"Vec4Hermite", 5,
         [](Arena& a, int n) -> const void* {
             return D3DXVec4Hermite(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]), Or(n, 2, &a.v4[2]),
                                    Or(n, 3, &a.v4[3]), Or(n, 4, &a.v4[4]), 0.5f);
         }},
        {"Vec2CatmullRom", 5,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2CatmullRom(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]), Or(n, 2, &a.v2[2]),
                                       Or(n, 3, &a.v2[3]), Or(n, 4, &a.v2[4]), 0.5f);
         }},
        {"Vec3CatmullRom", 5,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3CatmullRom(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]), Or(n, 2, &a.v3[2]),
                                       Or(n, 3, &a.v3[3]), Or(n, 4, &a.v3[4]), 0.5f);
         }},
        {"Vec4CatmullRom", 5,
         [](Arena& a, int n) -> const void* {
             return D3DXVec4CatmullRom(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]), Or(n, 2, &a.v4[2]),
                                       Or(n, 3, &a.v4[3]), Or(n, 4, &a.v4[4]), 0.5f);
         }},
        {"Vec2BaryCentric", 4,
         [](Arena& a, int n) -> const void* {
             return D3DXVec2BaryCentric(Or(n, 0, &a.v2[0]), Or(n, 1, &a.v2[1]), Or(n, 2, &a.v2[2]),
                                        Or(n, 3, &a.v2[3]), 0.25f, 0.5f);
         }},
        {"Vec3BaryCentric", 4,
         [](Arena& a, int n) -> const void* {
             return D3DXVec3BaryCentric(Or(n, 0, &a.v3[0]), Or(n, 1, &a.v3[1]), Or(n, 2, &a.v3[2]),
                                        Or(n, 3, &a.v3[3]), 0.25f, 0.5f);
         }},
        {"Vec4BaryCentric", 4,
         [](Arena& a, int n) -> const void* {
             return D3DXVec4BaryCentric(Or(n, 0, &a.v4[0]), Or(n, 1, &a.v4[1]), Or(n, 2, &a.v4[2]),
                                        Or(n, 3, &a.v4[3]), 0.25f, 0.5f);
         }},
    };
    return cases;
}

class NullPointers : public X87Entries {};

TEST_F(NullPointers, EveryRequiredPointerReturnsNullAndWritesNothing) {
    for (const NullCase& c : NullCases()) {
        SCOPED_TRACE(c.name);
        Arena complete;
        EXPECT_NE(c.call(complete, -1), nullptr) << "all pointers given";
        for (int n = 0; n < c.requiredCount; ++n) {
            Arena arena;
            const Arena before = arena;
            EXPECT_EQ(c.call(arena, n), nullptr) << "argument " << n;
            EXPECT_TRUE(SameBits(arena, before)) << "argument " << n;
        }
    }
    EXPECT_EQ(D3DXMatrixDeterminant(nullptr), 0.0f);
}

// ---------------------------------------------------------------------------
// Aliasing: the result with out equal to input k is the result with a
// separate out.

template <class T, class Op>
void ExpectAliasSafe(const char* name, const std::array<T, 4>& inputs, int usedCount, Op op) {
    SCOPED_TRACE(name);
    std::array<T, 4> separateInputs = inputs;
    T separate;
    op(&separate, separateInputs);
    for (int k = 0; k < usedCount; ++k) {
        std::array<T, 4> aliased = inputs;
        op(&aliased[k], aliased);
        EXPECT_TRUE(SameBits(aliased[k], separate)) << "out is input " << k;
    }
}

constexpr std::array<D3DXVECTOR2, 4> kV2s{{{1, 2}, {3, -1}, {0.5f, 4}, {-2, 1}}};
constexpr std::array<D3DXVECTOR3, 4> kV3s{{{1, 2, 3}, {3, -1, 2}, {0.5f, 4, -1}, {-2, 1, 1}}};
constexpr std::array<D3DXVECTOR4, 4> kV4s{
    {{1, 2, 3, 4}, {3, -1, 2, 1}, {0.5f, 4, -1, 2}, {-2, 1, 1, 3}}};
constexpr std::array<D3DXMATRIX, 4> kMatrices{{kGeneral, kOther, kGeneral, kOther}};

using V2s = std::array<D3DXVECTOR2, 4>;
using V3s = std::array<D3DXVECTOR3, 4>;
using V4s = std::array<D3DXVECTOR4, 4>;
using Ms = std::array<D3DXMATRIX, 4>;

class AliasedOutputs : public X87Entries {};

TEST_F(AliasedOutputs, TransformsAndNormalizersOnBothPaths) {
    ExpectAliasSafe("Vec4Transform", kV4s, 1,
                    [](D3DXVECTOR4* o, V4s& in) { x87::Vec4Transform(o, &in[0], &kGeneral); });
    ExpectAliasSafe("alt Vec4Transform", kV4s, 1,
                    [](D3DXVECTOR4* o, V4s& in) { x87alt::Vec4Transform(o, &in[0], &kGeneral); });
    ExpectAliasSafe("Vec2TransformNormal", kV2s, 1, [](D3DXVECTOR2* o, V2s& in) {
        x87::Vec2TransformNormal(o, &in[0], &kGeneral);
    });
    ExpectAliasSafe("alt Vec2TransformNormal", kV2s, 1, [](D3DXVECTOR2* o, V2s& in) {
        x87alt::Vec2TransformNormal(o, &in[0], &kGeneral);
    });
    ExpectAliasSafe("Vec3TransformNormal", kV3s, 1, [](D3DXVECTOR3* o, V3s& in) {
        x87::Vec3TransformNormal(o, &in[0], &kGeneral);
    });
    ExpectAliasSafe("alt Vec3TransformNormal", kV3s, 1, [](D3DXVECTOR3* o, V3s& in) {
        x87alt::Vec3TransformNormal(o, &in[0], &kGeneral);
    });
    ExpectAliasSafe("Vec2TransformCoord", kV2s, 1,
                    [](D3DXVECTOR2* o, V2s& in) { D3DXVec2TransformCoord(o, &in[0], &kGeneral); });
    ExpectAliasSafe("Vec3TransformCoord", kV3s, 1,
                    [](D3DXVECTOR3* o, V3s& in) { D3DXVec3TransformCoord(o, &in[0], &kGeneral); });
    ExpectAliasSafe("Vec2Normalize", kV2s, 1,
                    [](D3DXVECTOR2* o, V2s& in) { D3DXVec2Normalize(o, &in[0]); });
    ExpectAliasSafe("Vec3Normalize", kV3s, 1,
                    [](D3DXVECTOR3* o, V3s& in) { x87::Vec3Normalize(o, &in[0]); });
    ExpectAliasSafe("alt Vec3Normalize", kV3s, 1,
                    [](D3DXVECTOR3* o, V3s& in) { x87alt::Vec3Normalize(o, &in[0]); });
    ExpectAliasSafe("Vec4Normalize", kV4s, 1,
                    [](D3DXVECTOR4* o, V4s& in) { D3DXVec4Normalize(o, &in[0]); });
    const D3DXVIEWPORT viewport{0, 0, 640, 480, 0, 1};
    ExpectAliasSafe("Vec3Project", kV3s, 1, [&](D3DXVECTOR3* o, V3s& in) {
        D3DXVec3Project(o, &in[0], &viewport, &kGeneral, &kOther, nullptr);
    });
    ExpectAliasSafe("Vec3Unproject", kV3s, 1, [&](D3DXVECTOR3* o, V3s& in) {
        D3DXVec3Unproject(o, &in[0], &viewport, &kGeneral, &kOther, nullptr);
    });
}

TEST_F(AliasedOutputs, CombinationsOfSeveralVectors) {
    ExpectAliasSafe("Vec4Cross", kV4s, 3,
                    [](D3DXVECTOR4* o, V4s& in) { D3DXVec4Cross(o, &in[0], &in[1], &in[2]); });
    ExpectAliasSafe("Vec2Hermite", kV2s, 4, [](D3DXVECTOR2* o, V2s& in) {
        D3DXVec2Hermite(o, &in[0], &in[1], &in[2], &in[3], 0.3f);
    });
    ExpectAliasSafe("Vec3Hermite", kV3s, 4, [](D3DXVECTOR3* o, V3s& in) {
        D3DXVec3Hermite(o, &in[0], &in[1], &in[2], &in[3], 0.3f);
    });
    ExpectAliasSafe("Vec4Hermite", kV4s, 4, [](D3DXVECTOR4* o, V4s& in) {
        D3DXVec4Hermite(o, &in[0], &in[1], &in[2], &in[3], 0.3f);
    });
    ExpectAliasSafe("Vec2CatmullRom", kV2s, 4, [](D3DXVECTOR2* o, V2s& in) {
        D3DXVec2CatmullRom(o, &in[0], &in[1], &in[2], &in[3], 0.3f);
    });
    ExpectAliasSafe("Vec3CatmullRom", kV3s, 4, [](D3DXVECTOR3* o, V3s& in) {
        D3DXVec3CatmullRom(o, &in[0], &in[1], &in[2], &in[3], 0.3f);
    });
    ExpectAliasSafe("Vec4CatmullRom", kV4s, 4, [](D3DXVECTOR4* o, V4s& in) {
        D3DXVec4CatmullRom(o, &in[0], &in[1], &in[2], &in[3], 0.3f);
    });
    ExpectAliasSafe("Vec2BaryCentric", kV2s, 3, [](D3DXVECTOR2* o, V2s& in) {
        D3DXVec2BaryCentric(o, &in[0], &in[1], &in[2], 0.25f, 0.5f);
    });
    ExpectAliasSafe("Vec3BaryCentric", kV3s, 3, [](D3DXVECTOR3* o, V3s& in) {
        D3DXVec3BaryCentric(o, &in[0], &in[1], &in[2], 0.25f, 0.5f);
    });
    ExpectAliasSafe("Vec4BaryCentric", kV4s, 3, [](D3DXVECTOR4* o, V4s& in) {
        D3DXVec4BaryCentric(o, &in[0], &in[1], &in[2], 0.25f, 0.5f);
    });
}

TEST_F(AliasedOutputs, MatrixOperations) {
    ExpectAliasSafe("MatrixMultiply", kMatrices, 2,
                    [](D3DXMATRIX* o, Ms& in) { x87::MatrixMultiply(o, &in[0], &in[1]); });
    ExpectAliasSafe("alt MatrixMultiply", kMatrices, 2,
                    [](D3DXMATRIX* o, Ms& in) { x87alt::MatrixMultiply(o, &in[0], &in[1]); });
    ExpectAliasSafe("MatrixMultiplyTranspose", kMatrices, 2,
                    [](D3DXMATRIX* o, Ms& in) { x87::MatrixMultiplyTranspose(o, &in[0], &in[1]); });
    ExpectAliasSafe("alt MatrixMultiplyTranspose", kMatrices, 2, [](D3DXMATRIX* o, Ms& in) {
        x87alt::MatrixMultiplyTranspose(o, &in[0], &in[1]);
    });
    ExpectAliasSafe("MatrixInverse", kMatrices, 1,
                    [](D3DXMATRIX* o, Ms& in) { D3DXMatrixInverse(o, nullptr, &in[0]); });
    ExpectAliasSafe("MatrixTranspose", kMatrices, 1,
                    [](D3DXMATRIX* o, Ms& in) { D3DXMatrixTranspose(o, &in[0]); });
}

}  // namespace
}  // namespace d3dx
