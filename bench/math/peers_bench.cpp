// The library beside two other math libraries doing the same work on the
// same data, and the x87 alternates beside the plain x87 forms.
//
// "peers/<operation>/<who>", who =
//   d3dx              the public entry with the SSE2 set installed (this
//                     machine's default); for the operations that set leaves
//                     to the reference, that is the x87 form in double;
//   glm, eigen        the nearest equivalent in GLM (with its SSE intrinsics)
//                     and Eigen; absent where the library has none.
// "alternates/<operation>/<who>", who = plain (the x87 form the default table
// starts from), alternate (what every initialisation puts in slots 0-7):
// direct calls.
// "x87ref/<operation>": every x87 form called directly with the sample
// arguments, the baseline for the per-slot speed-ups of "public/<set>/...".
//
// Every iteration takes the next of 256 prepared input sets (unit
// quaternions, angles uniform in [-pi, pi], vectors in [-10, 10],
// rotation-scale-translation matrices) and leaves its whole result in memory,
// so no element can be skipped and no input is constant.
//
// Row-major D3DX matrices read by GLM (column-major) are the transposes, so
// GLM computes the same products in the mirrored order; Eigen uses row-major
// maps, or column-major 4x4 results stored as the transposes.
#define GLM_FORCE_INTRINSICS
#define GLM_ENABLE_EXPERIMENTAL
#include "bench_registry.h"
#include "dispatch/op_table.h"
#include "dispatch/test_hooks.h"

#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include <Eigen/Dense>
#include <Eigen/Geometry>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/gtx/euler_angles.hpp>
#include <glm/gtx/quaternion.hpp>

namespace d3dx::bench {
namespace {

using EigenMatrix = Eigen::Matrix<float, 4, 4, Eigen::RowMajor>;
using EigenMap = Eigen::Map<const EigenMatrix>;

constexpr std::size_t kPoolSize = 256;  // a power of two
constexpr float kPi = 3.14159265f;

struct Inputs {
    D3DXQUATERNION q[4];  // unit quaternions
    D3DXQUATERNION pure;  // (v, 0) with |v| <= pi
    D3DXVECTOR3 v[3];     // in [-10, 10]
    D3DXVECTOR3 scale;    // in [0.5, 2]
    D3DXVECTOR2 v2;       // in [-10, 10]
    D3DXPLANE plane;      // in [-10, 10]
    D3DXMATRIX m[3];      // rotation, scale in [0.5, 2], translation in [-10, 10]
    float angle[3];       // in [-pi, pi]
    float t, f, g;        // in [0, 1]
};

const D3DXVIEWPORT kViewport{0, 0, 640, 480, 0.0f, 1.0f};

class Maker {
public:
    float Uniform(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(rng_);
    }
    D3DXVECTOR3 Vector(float low, float high) {
        return {Uniform(low, high), Uniform(low, high), Uniform(low, high)};
    }
    D3DXQUATERNION UnitQuaternion() {
        std::normal_distribution<float> normal;
        D3DXQUATERNION q{normal(rng_), normal(rng_), normal(rng_), normal(rng_)};
        const float k = 1.0f / std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
        return {q.x * k, q.y * k, q.z * k, q.w * k};
    }
    D3DXMATRIX Transform() {
        D3DXMATRIX m;
        const D3DXQUATERNION q = UnitQuaternion();
        D3DXMatrixRotationQuaternion(&m, &q);
        const float s = Uniform(0.5f, 2.0f);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) m.m[r][c] *= s;
        const D3DXVECTOR3 t = Vector(-10, 10);
        m.m[3][0] = t.x;
        m.m[3][1] = t.y;
        m.m[3][2] = t.z;
        return m;
    }

private:
    std::mt19937 rng_{20240612u};
};

const std::array<Inputs, kPoolSize>& Pool() {
    static const std::array<Inputs, kPoolSize> pool = [] {
        std::array<Inputs, kPoolSize> p{};
        Maker make;
        for (Inputs& in : p) {
            for (D3DXQUATERNION& q : in.q) q = make.UnitQuaternion();
            const D3DXVECTOR3 axis = make.Vector(-1, 1);
            const float k = make.Uniform(0, kPi) /
                            std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
            in.pure = {axis.x * k, axis.y * k, axis.z * k, 0.0f};
            for (D3DXVECTOR3& v : in.v) v = make.Vector(-10, 10);
            in.scale = make.Vector(0.5f, 2.0f);
            in.v2 = {make.Uniform(-10, 10), make.Uniform(-10, 10)};
            in.plane = {make.Uniform(-10, 10), make.Uniform(-10, 10), make.Uniform(-10, 10),
                        make.Uniform(-10, 10)};
            for (D3DXMATRIX& m : in.m) m = make.Transform();
            for (float& a : in.angle) a = make.Uniform(-kPi, kPi);
            in.t = make.Uniform(0, 1);
            in.f = make.Uniform(0, 1);
            in.g = make.Uniform(0, 1);
        }
        return p;
    }();
    return pool;
}

template <class T, class U>
T As(const U& u) {
    static_assert(sizeof(T) == sizeof(U));
    T t;
    std::memcpy(static_cast<void*>(&t), &u, sizeof t);
    return t;
}

// One timed loop: body(inputs, out) once per iteration on the next input set;
// the whole of out is kept.
template <class Out, class Body>
void Loop(benchmark::State& state, Body body) {
    const std::array<Inputs, kPoolSize>& pool = Pool();
    Out out{};
    std::size_t i = 0;
    for (auto _ : state) {
        body(pool[i++ & (kPoolSize - 1)], out);
        benchmark::DoNotOptimize(out);
    }
}

template <class Out, class Body>
void Peer(const char* operation, const char* who, Body body) {
    RegisterOnce(std::string("peers/") + operation, who,
                 [body](benchmark::State& state) { Loop<Out>(state, body); });
}

// The library through its public entry, with the SSE2 set selected before
// the loop.
template <class Out, class Body>
void Library(const char* operation, Body body) {
    RegisterOnce(std::string("peers/") + operation, "d3dx", [body](benchmark::State& state) {
        SelectInstructionSet("sse,sse2");
        Loop<Out>(state, body);
        SelectInstructionSet("");
    });
}

// GLM and Eigen keep quaternions as (w, x, y, z) in their constructors.
glm::quat ToGlm(const D3DXQUATERNION& q) { return glm::quat(q.w, q.x, q.y, q.z); }
D3DXQUATERNION FromGlm(const glm::quat& q) { return {q.x, q.y, q.z, q.w}; }
Eigen::Quaternionf ToEigen(const D3DXQUATERNION& q) {
    return Eigen::Quaternionf(q.w, q.x, q.y, q.z);
}
D3DXQUATERNION FromEigen(const Eigen::Quaternionf& q) { return {q.x(), q.y(), q.z(), q.w()}; }
glm::vec3 ToGlm(const D3DXVECTOR3& v) { return As<glm::vec3>(v); }
Eigen::Vector3f ToEigen(const D3DXVECTOR3& v) { return Eigen::Vector3f(v.x, v.y, v.z); }
// A column-vector transform stored column-major is the row-vector D3DX matrix.
D3DXMATRIX FromEigen(const Eigen::Affine3f& a) { return As<D3DXMATRIX>(a.matrix()); }

struct AxisAngle {
    D3DXVECTOR3 axis;
    float angle;
};

struct ControlPoints {
    D3DXQUATERNION a, b, c;
};

// ---------------------------------------------------------------------------
// The operations the SSE2 set computes itself.

void SimdSetPeers() {
    Library<D3DXMATRIX>("MatrixMultiply", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixMultiply(&out, &in.m[0], &in.m[1]);
    });
    Peer<D3DXMATRIX>("MatrixMultiply", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(As<glm::mat4>(in.m[1]) * As<glm::mat4>(in.m[0]));
    });
    Peer<D3DXMATRIX>("MatrixMultiply", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        Eigen::Map<EigenMatrix>(&out.m[0][0]).noalias() =
            EigenMap(&in.m[0].m[0][0]) * EigenMap(&in.m[1].m[0][0]);
    });

    Library<D3DXMATRIX>("MatrixInverse", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixInverse(&out, nullptr, &in.m[0]);
    });
    Peer<D3DXMATRIX>("MatrixInverse", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::inverse(As<glm::mat4>(in.m[0])));
    });
    Peer<D3DXMATRIX>("MatrixInverse", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        Eigen::Map<EigenMatrix>(&out.m[0][0]) = EigenMap(&in.m[0].m[0][0]).inverse();
    });

    Library<D3DXVECTOR3>("Vec3TransformCoord", [](const Inputs& in, D3DXVECTOR3& out) {
        D3DXVec3TransformCoord(&out, &in.v[0], &in.m[0]);
    });
    Peer<D3DXVECTOR3>("Vec3TransformCoord", "glm", [](const Inputs& in, D3DXVECTOR3& out) {
        const glm::vec4 p = As<glm::mat4>(in.m[0]) * glm::vec4(ToGlm(in.v[0]), 1.0f);
        out = As<D3DXVECTOR3>(glm::vec3(p) / p.w);
    });
    Peer<D3DXVECTOR3>("Vec3TransformCoord", "eigen", [](const Inputs& in, D3DXVECTOR3& out) {
        const Eigen::Vector4f p =
            EigenMap(&in.m[0].m[0][0]).transpose() * ToEigen(in.v[0]).homogeneous();
        Eigen::Map<Eigen::Vector3f>(&out.x) = p.hnormalized();
    });

    Library<D3DXVECTOR3>("Vec3Normalize", [](const Inputs& in, D3DXVECTOR3& out) {
        D3DXVec3Normalize(&out, &in.v[0]);
    });
    Peer<D3DXVECTOR3>("Vec3Normalize", "glm", [](const Inputs& in, D3DXVECTOR3& out) {
        out = As<D3DXVECTOR3>(glm::normalize(ToGlm(in.v[0])));
    });
    Peer<D3DXVECTOR3>("Vec3Normalize", "eigen", [](const Inputs& in, D3DXVECTOR3& out) {
        Eigen::Map<Eigen::Vector3f>(&out.x) = ToEigen(in.v[0]).normalized();
    });

    Library<D3DXQUATERNION>(
        "QuaternionRotationYawPitchRoll", [](const Inputs& in, D3DXQUATERNION& out) {
            D3DXQuaternionRotationYawPitchRoll(&out, in.angle[0], in.angle[1], in.angle[2]);
        });
    Peer<D3DXQUATERNION>(
        "QuaternionRotationYawPitchRoll", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
            // Roll about z, then pitch about x, then yaw about y.
            out = FromGlm(glm::quat(glm::vec3(in.angle[1], in.angle[0], in.angle[2])));
        });
    Peer<D3DXQUATERNION>(
        "QuaternionRotationYawPitchRoll", "eigen", [](const Inputs& in, D3DXQUATERNION& out) {
            out = FromEigen(Eigen::AngleAxisf(in.angle[0], Eigen::Vector3f::UnitY()) *
                            Eigen::AngleAxisf(in.angle[1], Eigen::Vector3f::UnitX()) *
                            Eigen::AngleAxisf(in.angle[2], Eigen::Vector3f::UnitZ()));
        });

    Library<D3DXMATRIX>("MatrixRotationX", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixRotationX(&out, in.angle[0]);
    });
    Peer<D3DXMATRIX>("MatrixRotationX", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::eulerAngleX(in.angle[0]));
    });
    Peer<D3DXMATRIX>("MatrixRotationX", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(Eigen::Affine3f(Eigen::AngleAxisf(in.angle[0], Eigen::Vector3f::UnitX())));
    });
}

// ---------------------------------------------------------------------------
// The operations the SSE2 set leaves to the reference.

void PlanePeers() {
    Library<D3DXPLANE>("PlaneFromPointNormal", [](const Inputs& in, D3DXPLANE& out) {
        D3DXPlaneFromPointNormal(&out, &in.v[0], &in.v[1]);
    });
    Peer<D3DXPLANE>("PlaneFromPointNormal", "glm", [](const Inputs& in, D3DXPLANE& out) {
        const glm::vec3 n = ToGlm(in.v[1]);
        out = As<D3DXPLANE>(glm::vec4(n, -glm::dot(n, ToGlm(in.v[0]))));
    });
    Peer<D3DXPLANE>("PlaneFromPointNormal", "eigen", [](const Inputs& in, D3DXPLANE& out) {
        out = As<D3DXPLANE>(
            Eigen::Hyperplane<float, 3>(ToEigen(in.v[1]), ToEigen(in.v[0])).coeffs().eval());
    });

    Library<D3DXPLANE>("PlaneTransform", [](const Inputs& in, D3DXPLANE& out) {
        D3DXPlaneTransform(&out, &in.plane, &in.m[0]);
    });
    Peer<D3DXPLANE>("PlaneTransform", "glm", [](const Inputs& in, D3DXPLANE& out) {
        out = As<D3DXPLANE>(As<glm::mat4>(in.m[0]) * As<glm::vec4>(in.plane));
    });
    Peer<D3DXPLANE>("PlaneTransform", "eigen", [](const Inputs& in, D3DXPLANE& out) {
        Eigen::Map<Eigen::RowVector4f>(&out.a) =
            Eigen::Map<const Eigen::RowVector4f>(&in.plane.a) * EigenMap(&in.m[0].m[0][0]);
    });
}

void ProjectionPeers() {
    // world = m[0], view = m[1], projection = m[2].
    Library<D3DXVECTOR3>("Vec3Project", [](const Inputs& in, D3DXVECTOR3& out) {
        D3DXVec3Project(&out, &in.v[0], &kViewport, &in.m[2], &in.m[1], &in.m[0]);
    });
    Peer<D3DXVECTOR3>("Vec3Project", "glm", [](const Inputs& in, D3DXVECTOR3& out) {
        const glm::mat4 model = As<glm::mat4>(in.m[1]) * As<glm::mat4>(in.m[0]);
        out = As<D3DXVECTOR3>(glm::projectZO(ToGlm(in.v[0]), model, As<glm::mat4>(in.m[2]),
                                             glm::vec4(0.0f, 0.0f, 640.0f, 480.0f)));
    });
    Peer<D3DXVECTOR3>("Vec3Project", "eigen", [](const Inputs& in, D3DXVECTOR3& out) {
        const EigenMatrix combined =
            EigenMap(&in.m[0].m[0][0]) * EigenMap(&in.m[1].m[0][0]) * EigenMap(&in.m[2].m[0][0]);
        const Eigen::RowVector4f p = ToEigen(in.v[0]).homogeneous().transpose() * combined;
        const Eigen::Vector3f ndc = p.head<3>().transpose() / p.w();
        out = {320.0f * (1.0f + ndc.x()), 240.0f * (1.0f - ndc.y()), ndc.z()};
    });

    Library<D3DXVECTOR3>("Vec3Unproject", [](const Inputs& in, D3DXVECTOR3& out) {
        D3DXVec3Unproject(&out, &in.v[0], &kViewport, &in.m[2], &in.m[1], &in.m[0]);
    });
    Peer<D3DXVECTOR3>("Vec3Unproject", "glm", [](const Inputs& in, D3DXVECTOR3& out) {
        const glm::mat4 model = As<glm::mat4>(in.m[1]) * As<glm::mat4>(in.m[0]);
        out = As<D3DXVECTOR3>(glm::unProjectZO(ToGlm(in.v[0]), model, As<glm::mat4>(in.m[2]),
                                               glm::vec4(0.0f, 0.0f, 640.0f, 480.0f)));
    });
    Peer<D3DXVECTOR3>("Vec3Unproject", "eigen", [](const Inputs& in, D3DXVECTOR3& out) {
        const EigenMatrix inverse =
            (EigenMap(&in.m[0].m[0][0]) * EigenMap(&in.m[1].m[0][0]) * EigenMap(&in.m[2].m[0][0]))
                .inverse();
        const Eigen::RowVector4f ndc(in.v[0].x / 320.0f - 1.0f, 1.0f - in.v[0].y / 240.0f,
                                     in.v[0].z, 1.0f);
        const Eigen::RowVector4f p = ndc * inverse;
        Eigen::Map<Eigen::Vector3f>(&out.x) = p.head<3>().transpose() / p.w();
    });
}

void MatrixBuilderPeers() {
    Library<D3DXMATRIX>("MatrixTranslation", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixTranslation(&out, in.v[0].x, in.v[0].y, in.v[0].z);
    });
    Peer<D3DXMATRIX>("MatrixTranslation", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::translate(glm::mat4(1.0f), ToGlm(in.v[0])));
    });
    Peer<D3DXMATRIX>("MatrixTranslation", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(Eigen::Affine3f(Eigen::Translation3f(ToEigen(in.v[0]))));
    });

    Library<D3DXMATRIX>("MatrixScaling", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixScaling(&out, in.scale.x, in.scale.y, in.scale.z);
    });
    Peer<D3DXMATRIX>("MatrixScaling", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::scale(glm::mat4(1.0f), ToGlm(in.scale)));
    });
    Peer<D3DXMATRIX>("MatrixScaling", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(Eigen::Affine3f(Eigen::Scaling(ToEigen(in.scale))));
    });

    Library<D3DXMATRIX>("MatrixTranspose", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixTranspose(&out, &in.m[0]);
    });
    Peer<D3DXMATRIX>("MatrixTranspose", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::transpose(As<glm::mat4>(in.m[0])));
    });
    Peer<D3DXMATRIX>("MatrixTranspose", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        Eigen::Map<EigenMatrix>(&out.m[0][0]) = EigenMap(&in.m[0].m[0][0]).transpose();
    });

    Library<D3DXMATRIX>("MatrixRotationZ", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixRotationZ(&out, in.angle[0]);
    });
    Peer<D3DXMATRIX>("MatrixRotationZ", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::eulerAngleZ(in.angle[0]));
    });
    Peer<D3DXMATRIX>("MatrixRotationZ", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(Eigen::Affine3f(Eigen::AngleAxisf(in.angle[0], Eigen::Vector3f::UnitZ())));
    });

    Library<D3DXMATRIX>("MatrixRotationAxis", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixRotationAxis(&out, &in.v[0], in.angle[0]);
    });
    Peer<D3DXMATRIX>("MatrixRotationAxis", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::rotate(glm::mat4(1.0f), in.angle[0], ToGlm(in.v[0])));
    });
    Peer<D3DXMATRIX>("MatrixRotationAxis", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(
            Eigen::Affine3f(Eigen::AngleAxisf(in.angle[0], ToEigen(in.v[0]).normalized())));
    });

    Library<D3DXMATRIX>("MatrixRotationQuaternion", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixRotationQuaternion(&out, &in.q[0]);
    });
    Peer<D3DXMATRIX>("MatrixRotationQuaternion", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::mat4_cast(ToGlm(in.q[0])));
    });
    Peer<D3DXMATRIX>("MatrixRotationQuaternion", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(Eigen::Affine3f(ToEigen(in.q[0])));
    });

    Library<D3DXMATRIX>("MatrixRotationYawPitchRoll", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixRotationYawPitchRoll(&out, in.angle[0], in.angle[1], in.angle[2]);
    });
    Peer<D3DXMATRIX>("MatrixRotationYawPitchRoll", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        out = As<D3DXMATRIX>(glm::yawPitchRoll(in.angle[0], in.angle[1], in.angle[2]));
    });
    Peer<D3DXMATRIX>("MatrixRotationYawPitchRoll", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        out = FromEigen(Eigen::Affine3f(Eigen::AngleAxisf(in.angle[0], Eigen::Vector3f::UnitY()) *
                                        Eigen::AngleAxisf(in.angle[1], Eigen::Vector3f::UnitX()) *
                                        Eigen::AngleAxisf(in.angle[2], Eigen::Vector3f::UnitZ())));
    });
}

// Scaling about a centre in a rotated frame, rotation about a centre, then
// translation; the peers compose the same steps from their own pieces.
void TransformationPeers() {
    // scaling centre v[0], scaling rotation q[0], scaling, rotation centre
    // v[1], rotation q[1], translation v[2].
    Library<D3DXMATRIX>("MatrixTransformation", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixTransformation(&out, &in.v[0], &in.q[0], &in.scale, &in.v[1], &in.q[1], &in.v[2]);
    });
    Peer<D3DXMATRIX>("MatrixTransformation", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        const glm::mat4 scalingFrame = glm::mat4_cast(ToGlm(in.q[0]));
        glm::mat4 m = glm::translate(glm::mat4(1.0f), ToGlm(in.v[2]) + ToGlm(in.v[1]));
        m = m * glm::mat4_cast(ToGlm(in.q[1]));
        m = glm::translate(m, ToGlm(in.v[0]) - ToGlm(in.v[1]));
        m = m * scalingFrame;
        m = glm::scale(m, ToGlm(in.scale));
        m = m * glm::transpose(scalingFrame);
        out = As<D3DXMATRIX>(glm::translate(m, -ToGlm(in.v[0])));
    });
    Peer<D3DXMATRIX>("MatrixTransformation", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        const Eigen::Quaternionf scalingFrame = ToEigen(in.q[0]);
        const Eigen::Affine3f m =
            Eigen::Translation3f(ToEigen(in.v[2]) + ToEigen(in.v[1])) * ToEigen(in.q[1]) *
            Eigen::Translation3f(ToEigen(in.v[0]) - ToEigen(in.v[1])) * scalingFrame *
            Eigen::Scaling(ToEigen(in.scale)) * scalingFrame.conjugate() *
            Eigen::Translation3f(-ToEigen(in.v[0]));
        out = FromEigen(m);
    });

    // scaling f + 0.5, rotation centre v[1], rotation q[1], translation v[2].
    Library<D3DXMATRIX>("MatrixAffineTransformation", [](const Inputs& in, D3DXMATRIX& out) {
        D3DXMatrixAffineTransformation(&out, in.f + 0.5f, &in.v[1], &in.q[1], &in.v[2]);
    });
    Peer<D3DXMATRIX>("MatrixAffineTransformation", "glm", [](const Inputs& in, D3DXMATRIX& out) {
        glm::mat4 m = glm::translate(glm::mat4(1.0f), ToGlm(in.v[2]) + ToGlm(in.v[1]));
        m = m * glm::mat4_cast(ToGlm(in.q[1]));
        m = glm::translate(m, -ToGlm(in.v[1]));
        out = As<D3DXMATRIX>(glm::scale(m, glm::vec3(in.f + 0.5f)));
    });
    Peer<D3DXMATRIX>("MatrixAffineTransformation", "eigen", [](const Inputs& in, D3DXMATRIX& out) {
        const Eigen::Affine3f m = Eigen::Translation3f(ToEigen(in.v[2]) + ToEigen(in.v[1])) *
                                  ToEigen(in.q[1]) * Eigen::Translation3f(-ToEigen(in.v[1])) *
                                  Eigen::Scaling(in.f + 0.5f);
        out = FromEigen(m);
    });
}

void QuaternionPeers() {
    Library<D3DXQUATERNION>("QuaternionSlerp", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionSlerp(&out, &in.q[0], &in.q[1], in.t);
    });
    Peer<D3DXQUATERNION>("QuaternionSlerp", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromGlm(glm::slerp(ToGlm(in.q[0]), ToGlm(in.q[1]), in.t));
    });
    Peer<D3DXQUATERNION>("QuaternionSlerp", "eigen", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromEigen(ToEigen(in.q[0]).slerp(in.t, ToEigen(in.q[1])));
    });

    // Three spherical interpolations: towards q[1] and q[2] by f + g, then
    // between the two by g / (f + g).
    Library<D3DXQUATERNION>("QuaternionBaryCentric", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionBaryCentric(&out, &in.q[0], &in.q[1], &in.q[2], in.f, in.g);
    });
    Peer<D3DXQUATERNION>("QuaternionBaryCentric", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
        const float s = in.f + in.g;
        const glm::quat a = glm::slerp(ToGlm(in.q[0]), ToGlm(in.q[1]), s);
        const glm::quat b = glm::slerp(ToGlm(in.q[0]), ToGlm(in.q[2]), s);
        out = FromGlm(glm::slerp(a, b, in.g / s));
    });
    Peer<D3DXQUATERNION>(
        "QuaternionBaryCentric", "eigen", [](const Inputs& in, D3DXQUATERNION& out) {
            const float s = in.f + in.g;
            const Eigen::Quaternionf a = ToEigen(in.q[0]).slerp(s, ToEigen(in.q[1]));
            const Eigen::Quaternionf b = ToEigen(in.q[0]).slerp(s, ToEigen(in.q[2]));
            out = FromEigen(a.slerp(in.g / s, b));
        });

    Library<D3DXQUATERNION>("QuaternionSquad", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionSquad(&out, &in.q[0], &in.q[1], &in.q[2], &in.q[3], in.t);
    });
    Peer<D3DXQUATERNION>("QuaternionSquad", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromGlm(
            glm::squad(ToGlm(in.q[0]), ToGlm(in.q[3]), ToGlm(in.q[1]), ToGlm(in.q[2]), in.t));
    });
    Peer<D3DXQUATERNION>("QuaternionSquad", "eigen", [](const Inputs& in, D3DXQUATERNION& out) {
        const Eigen::Quaternionf outer = ToEigen(in.q[0]).slerp(in.t, ToEigen(in.q[3]));
        const Eigen::Quaternionf inner = ToEigen(in.q[1]).slerp(in.t, ToEigen(in.q[2]));
        out = FromEigen(outer.slerp(2.0f * in.t * (1.0f - in.t), inner));
    });

    Library<ControlPoints>("QuaternionSquadSetup", [](const Inputs& in, ControlPoints& out) {
        D3DXQuaternionSquadSetup(&out.a, &out.b, &out.c, &in.q[0], &in.q[1], &in.q[2], &in.q[3]);
    });
    Peer<ControlPoints>("QuaternionSquadSetup", "glm", [](const Inputs& in, ControlPoints& out) {
        const glm::quat q0 = ToGlm(in.q[0]), q1 = ToGlm(in.q[1]), q2 = ToGlm(in.q[2]),
                        q3 = ToGlm(in.q[3]);
        out.a = FromGlm(glm::intermediate(q0, q1, q2));
        out.b = FromGlm(glm::intermediate(q1, q2, q3));
        out.c = in.q[2];
    });

    Library<D3DXQUATERNION>("QuaternionRotationAxis", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionRotationAxis(&out, &in.v[0], in.angle[0]);
    });
    Peer<D3DXQUATERNION>(
        "QuaternionRotationAxis", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
            out = FromGlm(glm::angleAxis(in.angle[0], glm::normalize(ToGlm(in.v[0]))));
        });
    Peer<D3DXQUATERNION>(
        "QuaternionRotationAxis", "eigen", [](const Inputs& in, D3DXQUATERNION& out) {
            out = FromEigen(
                Eigen::Quaternionf(Eigen::AngleAxisf(in.angle[0], ToEigen(in.v[0]).normalized())));
        });

    Library<AxisAngle>("QuaternionToAxisAngle", [](const Inputs& in, AxisAngle& out) {
        D3DXQuaternionToAxisAngle(&in.q[0], &out.axis, &out.angle);
    });
    Peer<AxisAngle>("QuaternionToAxisAngle", "glm", [](const Inputs& in, AxisAngle& out) {
        const glm::quat q = ToGlm(in.q[0]);
        out = {As<D3DXVECTOR3>(glm::axis(q)), glm::angle(q)};
    });
    Peer<AxisAngle>("QuaternionToAxisAngle", "eigen", [](const Inputs& in, AxisAngle& out) {
        const Eigen::AngleAxisf a(ToEigen(in.q[0]));
        out = {{a.axis().x(), a.axis().y(), a.axis().z()}, a.angle()};
    });

    Library<D3DXQUATERNION>("QuaternionInverse", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionInverse(&out, &in.q[0]);
    });
    Peer<D3DXQUATERNION>("QuaternionInverse", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromGlm(glm::inverse(ToGlm(in.q[0])));
    });
    Peer<D3DXQUATERNION>("QuaternionInverse", "eigen", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromEigen(ToEigen(in.q[0]).inverse());
    });

    // Eigen has no quaternion logarithm or exponential.
    Library<D3DXQUATERNION>("QuaternionLn", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionLn(&out, &in.q[0]);
    });
    Peer<D3DXQUATERNION>("QuaternionLn", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromGlm(glm::log(ToGlm(in.q[0])));
    });
    Library<D3DXQUATERNION>("QuaternionExp", [](const Inputs& in, D3DXQUATERNION& out) {
        D3DXQuaternionExp(&out, &in.pure);
    });
    Peer<D3DXQUATERNION>("QuaternionExp", "glm", [](const Inputs& in, D3DXQUATERNION& out) {
        out = FromGlm(glm::exp(ToGlm(in.pure)));
    });
}

void VectorPeers() {
    Library<D3DXVECTOR2>("Vec2Normalize", [](const Inputs& in, D3DXVECTOR2& out) {
        D3DXVec2Normalize(&out, &in.v2);
    });
    Peer<D3DXVECTOR2>("Vec2Normalize", "glm", [](const Inputs& in, D3DXVECTOR2& out) {
        out = As<D3DXVECTOR2>(glm::normalize(As<glm::vec2>(in.v2)));
    });
    Peer<D3DXVECTOR2>("Vec2Normalize", "eigen", [](const Inputs& in, D3DXVECTOR2& out) {
        Eigen::Map<Eigen::Vector2f>(&out.x) = Eigen::Vector2f(in.v2.x, in.v2.y).normalized();
    });
}

// ---------------------------------------------------------------------------
// The x87 alternates beside the plain forms.

template <class Out, class Call>
void Alternate(const char* operation, const char* who, Call call) {
    RegisterOnce(std::string("alternates/") + operation, who,
                 [call](benchmark::State& state) { Loop<Out>(state, call); });
}

#define D3DX_ALTERNATE_PAIR(Name, Out, ...)                                           \
    Alternate<Out>(#Name, "plain",                                                    \
                   [](const Inputs& in, Out& out) { x87::Name(&out, __VA_ARGS__); }); \
    Alternate<Out>(#Name, "alternate",                                                \
                   [](const Inputs& in, Out& out) { x87alt::Name(&out, __VA_ARGS__); })

void AlternateForms() {
    D3DX_ALTERNATE_PAIR(Vec2Transform, D3DXVECTOR4, &in.v2, &in.m[0]);
    D3DX_ALTERNATE_PAIR(Vec3Transform, D3DXVECTOR4, &in.v[0], &in.m[0]);
    D3DX_ALTERNATE_PAIR(Vec4Transform, D3DXVECTOR4, reinterpret_cast<const D3DXVECTOR4*>(&in.plane),
                        &in.m[0]);
    D3DX_ALTERNATE_PAIR(MatrixMultiply, D3DXMATRIX, &in.m[0], &in.m[1]);
    D3DX_ALTERNATE_PAIR(MatrixMultiplyTranspose, D3DXMATRIX, &in.m[0], &in.m[1]);
    D3DX_ALTERNATE_PAIR(Vec2TransformNormal, D3DXVECTOR2, &in.v2, &in.m[0]);
    D3DX_ALTERNATE_PAIR(Vec3TransformNormal, D3DXVECTOR3, &in.v[0], &in.m[0]);
    D3DX_ALTERNATE_PAIR(Vec3Normalize, D3DXVECTOR3, &in.v[0]);
}

#undef D3DX_ALTERNATE_PAIR

// Every x87 reference operation, called directly.
void X87References() {
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    RegisterOnce("x87ref", #Name,                 \
                 [](benchmark::State& state) { RunWithSampleArguments(state, &x87::Name); });
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}

const bool kRegistered = AtStartup([] {
    SimdSetPeers();
    PlanePeers();
    ProjectionPeers();
    MatrixBuilderPeers();
    TransformationPeers();
    QuaternionPeers();
    VectorPeers();
    AlternateForms();
    X87References();
});

}  // namespace
}  // namespace d3dx::bench
