// Calling conventions shared by the quaternion and plane operations: null
// required pointers, outputs that alias inputs, and calls routed through the
// operation table.
#include "dispatch/op_table.h"
#include "x87_test_support.h"

#include <cstring>
#include <functional>
#include <string>

namespace d3dx {
using namespace d3dx::testing;
namespace {

using QuaternionPlaneConventions = X87Entries;

// Every argument object an operation can take, filled with a recognisable
// pattern; a call that must write nothing leaves all of it bitwise unchanged.
struct Args {
    D3DXQUATERNION q[4];
    D3DXQUATERNION outQ[3];
    D3DXVECTOR3 v[3];
    D3DXVECTOR3 outV;
    D3DXVECTOR4 light;
    D3DXPLANE plane, outPlane;
    D3DXMATRIX m, outM;
    float angle;
};

Args Filled() {
    Args a;
    float* f = reinterpret_cast<float*>(&a);
    for (size_t i = 0; i < sizeof(Args) / sizeof(float); ++i)
        f[i] = 0.125f * static_cast<float>(i % 13) - 0.6f;
    return a;
}

// Pointer to obj, or null when this is the argument under test.
template <class T>
T* Arg(T& obj, int index, int nullIndex) {
    return index == nullIndex ? nullptr : &obj;
}

struct NullCase {
    const char* name;
    int requiredPointers;
    std::function<const void*(Args&, int)> call;  // returns the operation's result
};

const NullCase kNullCases[] = {
    {"PlaneFromPointNormal", 3,
     [](Args& a, int n) {
         return D3DXPlaneFromPointNormal(Arg(a.outPlane, 0, n), Arg(a.v[0], 1, n),
                                         Arg(a.v[1], 2, n));
     }},
    {"PlaneFromPoints", 4,
     [](Args& a, int n) {
         return D3DXPlaneFromPoints(Arg(a.outPlane, 0, n), Arg(a.v[0], 1, n), Arg(a.v[1], 2, n),
                                    Arg(a.v[2], 3, n));
     }},
    {"QuaternionMultiply", 3,
     [](Args& a, int n) {
         return D3DXQuaternionMultiply(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n), Arg(a.q[1], 2, n));
     }},
    {"QuaternionNormalize", 2,
     [](Args& a, int n) {
         return D3DXQuaternionNormalize(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n));
     }},
    {"PlaneNormalize", 2,
     [](Args& a, int n) {
         return D3DXPlaneNormalize(Arg(a.outPlane, 0, n), Arg(a.plane, 1, n));
     }},
    {"PlaneIntersectLine", 4,
     [](Args& a, int n) {
         return D3DXPlaneIntersectLine(Arg(a.outV, 0, n), Arg(a.plane, 1, n), Arg(a.v[0], 2, n),
                                       Arg(a.v[1], 3, n));
     }},
    {"QuaternionToAxisAngle", 1,
     [](Args& a, int n) -> const void* {
         D3DXQuaternionToAxisAngle(Arg(a.q[0], 0, n), &a.outV, &a.angle);
         return nullptr;
     }},
    {"QuaternionRotationMatrix", 2,
     [](Args& a, int n) {
         return D3DXQuaternionRotationMatrix(Arg(a.outQ[0], 0, n), Arg(a.m, 1, n));
     }},
    {"QuaternionRotationYawPitchRoll", 1,
     [](Args& a, int n) {
         return D3DXQuaternionRotationYawPitchRoll(Arg(a.outQ[0], 0, n), 0.1f, 0.2f, 0.3f);
     }},
    {"MatrixShadow", 3,
     [](Args& a, int n) {
         return D3DXMatrixShadow(Arg(a.outM, 0, n), Arg(a.light, 1, n), Arg(a.plane, 2, n));
     }},
    {"MatrixReflect", 2,
     [](Args& a, int n) {
         return D3DXMatrixReflect(Arg(a.outM, 0, n), Arg(a.plane, 1, n));
     }},
    {"QuaternionRotationAxis", 2,
     [](Args& a, int n) {
         return D3DXQuaternionRotationAxis(Arg(a.outQ[0], 0, n), Arg(a.v[0], 1, n), 0.5f);
     }},
    {"PlaneTransform", 3,
     [](Args& a, int n) {
         return D3DXPlaneTransform(Arg(a.outPlane, 0, n), Arg(a.plane, 1, n), Arg(a.m, 2, n));
     }},
    {"QuaternionSlerp", 3,
     [](Args& a, int n) {
         return D3DXQuaternionSlerp(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n), Arg(a.q[1], 2, n),
                                    0.3f);
     }},
    {"QuaternionBaryCentric", 4,
     [](Args& a, int n) {
         return D3DXQuaternionBaryCentric(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n),
                                          Arg(a.q[1], 2, n), Arg(a.q[2], 3, n), 0.2f, 0.3f);
     }},
    {"MatrixRotationYawPitchRoll", 1,
     [](Args& a, int n) {
         return D3DXMatrixRotationYawPitchRoll(Arg(a.outM, 0, n), 0.1f, 0.2f, 0.3f);
     }},
    {"QuaternionSquad", 5,
     [](Args& a, int n) {
         return D3DXQuaternionSquad(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n), Arg(a.q[1], 2, n),
                                    Arg(a.q[2], 3, n), Arg(a.q[3], 4, n), 0.4f);
     }},
    {"QuaternionInverse", 2,
     [](Args& a, int n) {
         return D3DXQuaternionInverse(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n));
     }},
    {"QuaternionSquadSetup", 7,
     [](Args& a, int n) -> const void* {
         D3DXQuaternionSquadSetup(Arg(a.outQ[0], 0, n), Arg(a.outQ[1], 1, n), Arg(a.outQ[2], 2, n),
                                  Arg(a.q[0], 3, n), Arg(a.q[1], 4, n), Arg(a.q[2], 5, n),
                                  Arg(a.q[3], 6, n));
         return nullptr;
     }},
    {"QuaternionLn", 2,
     [](Args& a, int n) {
         return D3DXQuaternionLn(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n));
     }},
    {"QuaternionExp", 2,
     [](Args& a, int n) {
         return D3DXQuaternionExp(Arg(a.outQ[0], 0, n), Arg(a.q[0], 1, n));
     }},
};

TEST_F(QuaternionPlaneConventions, NullRequiredPointerReturnsNullAndWritesNothing) {
    for (const NullCase& c : kNullCases) {
        for (int n = 0; n < c.requiredPointers; ++n) {
            Args args = Filled();
            const Args before = args;
            EXPECT_EQ(c.call(args, n), nullptr) << c.name << " argument " << n;
            EXPECT_EQ(std::memcmp(&args, &before, sizeof(Args)), 0) << c.name << " argument " << n;
        }
    }
}

// An operation on quaternions, taking its inputs from in[].
struct AliasCase {
    const char* name;
    int inputs;
    std::function<void(D3DXQUATERNION*, const D3DXQUATERNION*)> call;
};

const AliasCase kAliasCases[] = {
    {"Multiply", 2,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionMultiply(o, &in[0], &in[1]);
     }},
    {"Normalize", 1,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionNormalize(o, &in[0]);
     }},
    {"Slerp", 2,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionSlerp(o, &in[0], &in[1], 0.3f);
     }},
    {"BaryCentric", 3,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionBaryCentric(o, &in[0], &in[1], &in[2], 0.25f, 0.5f);
     }},
    {"Squad", 4,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionSquad(o, &in[0], &in[1], &in[2], &in[3], 0.7f);
     }},
    {"Inverse", 1,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionInverse(o, &in[0]);
     }},
    {"Ln", 1,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionLn(o, &in[0]);
     }},
    {"Exp", 1,
     [](D3DXQUATERNION* o, const D3DXQUATERNION* in) {
         D3DXQuaternionExp(o, &in[0]);
     }},
};

TEST_F(QuaternionPlaneConventions, QuaternionOutputMayBeAnyInput) {
    const std::vector<D3DXQUATERNION> keys = RandomUnitQuaternions(4);
    for (const AliasCase& c : kAliasCases) {
        D3DXQUATERNION separate;
        c.call(&separate, keys.data());
        for (int k = 0; k < c.inputs; ++k) {
            std::vector<D3DXQUATERNION> in = keys;
            c.call(&in[k], in.data());
            EXPECT_EQ(std::memcmp(&in[k], &separate, sizeof separate), 0)
                << c.name << " out = input " << k;
        }
    }
}

TEST_F(QuaternionPlaneConventions, PlaneOutputMayBeTheInputPlane) {
    const D3DXPLANE plane{1, -2, 3, 4};
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, 0.3f, -0.2f, 0.9f);
    m.m[3][1] = 5;
    D3DXPLANE separate, inPlace = plane;
    D3DXPlaneNormalize(&separate, &plane);
    D3DXPlaneNormalize(&inPlace, &inPlace);
    EXPECT_EQ(std::memcmp(&inPlace, &separate, sizeof separate), 0);
    inPlace = plane;
    D3DXPlaneTransform(&separate, &plane, &m);
    D3DXPlaneTransform(&inPlace, &inPlace, &m);
    EXPECT_EQ(std::memcmp(&inPlace, &separate, sizeof separate), 0);
}

TEST_F(QuaternionPlaneConventions, SquadSetupOutputsMayOverwriteItsKeys) {
    const std::vector<D3DXQUATERNION> keys = RandomUnitQuaternions(4, 99);
    D3DXQUATERNION separate[3];
    D3DXQuaternionSquadSetup(&separate[0], &separate[1], &separate[2], &keys[0], &keys[1], &keys[2],
                             &keys[3]);
    std::vector<D3DXQUATERNION> q = keys;
    D3DXQuaternionSquadSetup(&q[1], &q[2], &q[3], &q[0], &q[1], &q[2], &q[3]);
    EXPECT_EQ(std::memcmp(&q[1], separate, sizeof separate), 0);
}

// Operations normalise axes through the table: with the x87 alternate in the
// normaliser slot an axis within 1e-5 of unit length is taken as it is, with
// the plain normaliser it is rescaled.
TEST_F(QuaternionPlaneConventions, AxisNormalisationGoesThroughTheInstalledNormaliser) {
    const float longer = std::sqrt(1.0f + 5e-6f);
    const D3DXVECTOR3 axis{longer, 0, 0};
    const D3DXVECTOR3 v1{0, 0, 0}, v2{0, 0, -1}, v3{0, longer, 0};  // normal (longer, 0, 0)
    struct Expectation {
        d3dx::OpFn normaliser;
        float length;
    };
    const Expectation table[] = {{d3dx::Erase(&d3dx::x87alt::Vec3Normalize), longer},
                                 {d3dx::Erase(&d3dx::x87::Vec3Normalize), 1.0f}};
    for (const Expectation& e : table) {
        d3dx::g_mathOps.Set(d3dx::kVec3Normalize, e.normaliser);
        D3DXQUATERNION q;
        D3DXQuaternionRotationAxis(&q, &axis, 3.14159265f);
        EXPECT_NEAR(q.x, e.length, 3e-7f);
        D3DXPLANE p;
        D3DXPlaneFromPoints(&p, &v1, &v2, &v3);
        EXPECT_NEAR(p.a, e.length, 3e-7f);
    }
}

}  // namespace
}  // namespace d3dx
