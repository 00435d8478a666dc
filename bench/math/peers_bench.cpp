// The library beside two other math libraries doing the same work on the
// same data: the default (SSE2) set through the public entries, the x87
// reference called directly, GLM (with its SSE intrinsics) and Eigen.
//
// Names: "peers/<operation>/<who>", who = d3dx_sse2, x87, glm, eigen.
// Row-major D3DX matrices read by GLM (column-major) are the transposes, so
// GLM computes the same products in the mirrored order; Eigen uses row-major
// matrices directly. Every call reads its inputs from memory and writes its
// result to memory, as the library's entries do.
//
// Also "x87ref/<operation>": every x87 reference operation called directly
// with the sample arguments, the baseline for the per-slot speed-ups of the
// "public/<set>/<operation>" benchmarks.
#define GLM_FORCE_INTRINSICS
#define GLM_ENABLE_EXPERIMENTAL
#include "bench_registry.h"
#include "dispatch/op_table.h"
#include "dispatch/test_hooks.h"

#include <cstring>

#include <Eigen/Dense>
#include <Eigen/Geometry>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/gtx/euler_angles.hpp>

namespace d3dx::bench {
namespace {

using EigenMatrix = Eigen::Matrix<float, 4, 4, Eigen::RowMajor>;

// The shared inputs: an invertible rotation-scale-translation matrix, a
// second matrix, a point, two unit quaternions, three angles.
struct alignas(16) Data {
    D3DXMATRIX a{{{0.8f, 0.6f, 0.0f, 0.0f},
                  {-0.6f, 0.8f, 0.0f, 0.0f},
                  {0.0f, 0.0f, 2.0f, 0.0f},
                  {1.0f, -2.0f, 3.0f, 1.0f}}};
    D3DXMATRIX b{{{0.0f, 0.8f, 0.6f, 0.0f},
                  {1.0f, 0.0f, 0.0f, 0.0f},
                  {0.0f, 0.6f, -0.8f, 0.0f},
                  {4.0f, 5.0f, -6.0f, 1.0f}}};
    D3DXMATRIX out{};
    D3DXVECTOR3 v{0.5f, 1.75f, -2.25f};
    D3DXVECTOR3 vOut{};
    D3DXQUATERNION q1{0.18257419f, 0.36514837f, 0.54772256f, 0.73029674f};
    D3DXQUATERNION q2{-0.36514837f, 0.18257419f, 0.73029674f, 0.54772256f};
    D3DXQUATERNION qOut{};
    float t = 0.375f;
    float yaw = 0.5f, pitch = -0.25f, roll = 1.25f;
};

template <class T, class U>
T As(const U& u) {
    static_assert(sizeof(T) == sizeof(U));
    T t;
    std::memcpy(static_cast<void*>(&t), &u, sizeof t);
    return t;
}

// One timed loop: body runs once per iteration, on data kept in memory.
template <class Body>
void Loop(benchmark::State& state, Body body) {
    Data d;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&d);
        body(d);
        benchmark::ClobberMemory();
    }
}

template <class Body>
void Peer(const char* operation, const char* who, Body body) {
    RegisterOnce(std::string("peers/") + operation, who,
                 [body](benchmark::State& state) { Loop(state, body); });
}

// The library: the SSE2 set is selected before the loop.
template <class Body>
void Library(const char* operation, Body body) {
    RegisterOnce(std::string("peers/") + operation, "d3dx_sse2", [body](benchmark::State& state) {
        SelectInstructionSet("sse,sse2");
        Loop(state, body);
        SelectInstructionSet("");
    });
}

// ---------------------------------------------------------------------------

void MatrixMultiplyPeers() {
    Library("MatrixMultiply", [](Data& d) { D3DXMatrixMultiply(&d.out, &d.a, &d.b); });
    Peer("MatrixMultiply", "x87", [](Data& d) { x87::MatrixMultiply(&d.out, &d.a, &d.b); });
    Peer("MatrixMultiply", "glm", [](Data& d) {
        // Transposes: (A*B)^T = B^T * A^T.
        d.out = As<D3DXMATRIX>(As<glm::mat4>(d.b) * As<glm::mat4>(d.a));
    });
    Peer("MatrixMultiply", "eigen", [](Data& d) {
        Eigen::Map<EigenMatrix>(&d.out.m[0][0]).noalias() =
            Eigen::Map<const EigenMatrix, Eigen::Aligned16>(&d.a.m[0][0]) *
            Eigen::Map<const EigenMatrix, Eigen::Aligned16>(&d.b.m[0][0]);
    });
}

void MatrixInversePeers() {
    Library("MatrixInverse", [](Data& d) { D3DXMatrixInverse(&d.out, nullptr, &d.a); });
    Peer("MatrixInverse", "x87", [](Data& d) { x87::MatrixInverse(&d.out, nullptr, &d.a); });
    Peer("MatrixInverse", "glm",
         [](Data& d) { d.out = As<D3DXMATRIX>(glm::inverse(As<glm::mat4>(d.a))); });
    Peer("MatrixInverse", "eigen", [](Data& d) {
        Eigen::Map<EigenMatrix>(&d.out.m[0][0]) =
            Eigen::Map<const EigenMatrix, Eigen::Aligned16>(&d.a.m[0][0]).inverse();
    });
}

void Vec3TransformCoordPeers() {
    Library("Vec3TransformCoord", [](Data& d) { D3DXVec3TransformCoord(&d.vOut, &d.v, &d.a); });
    Peer("Vec3TransformCoord", "x87",
         [](Data& d) { x87::Vec3TransformCoord(&d.vOut, &d.v, &d.a); });
    Peer("Vec3TransformCoord", "glm", [](Data& d) {
        // A row vector times M is M^T times a column vector.
        const glm::vec4 p = As<glm::mat4>(d.a) * glm::vec4(As<glm::vec3>(d.v), 1.0f);
        d.vOut = As<D3DXVECTOR3>(glm::vec3(p) / p.w);
    });
    Peer("Vec3TransformCoord", "eigen", [](Data& d) {
        const Eigen::Vector4f p =
            Eigen::Map<const EigenMatrix, Eigen::Aligned16>(&d.a.m[0][0]).transpose() *
            Eigen::Map<const Eigen::Vector3f>(&d.v.x).homogeneous();
        Eigen::Map<Eigen::Vector3f>(&d.vOut.x) = p.hnormalized();
    });
}

void Vec3NormalizePeers() {
    Library("Vec3Normalize", [](Data& d) { D3DXVec3Normalize(&d.vOut, &d.v); });
    Peer("Vec3Normalize", "x87", [](Data& d) { x87::Vec3Normalize(&d.vOut, &d.v); });
    Peer("Vec3Normalize", "glm",
         [](Data& d) { d.vOut = As<D3DXVECTOR3>(glm::normalize(As<glm::vec3>(d.v))); });
    Peer("Vec3Normalize", "eigen", [](Data& d) {
        Eigen::Map<Eigen::Vector3f>(&d.vOut.x) =
            Eigen::Map<const Eigen::Vector3f>(&d.v.x).normalized();
    });
}

// GLM and Eigen keep quaternions as (w, x, y, z) in their constructors.
glm::quat ToGlm(const D3DXQUATERNION& q) { return glm::quat(q.w, q.x, q.y, q.z); }
D3DXQUATERNION FromGlm(const glm::quat& q) { return {q.x, q.y, q.z, q.w}; }
Eigen::Quaternionf ToEigen(const D3DXQUATERNION& q) {
    return Eigen::Quaternionf(q.w, q.x, q.y, q.z);
}
D3DXQUATERNION FromEigen(const Eigen::Quaternionf& q) { return {q.x(), q.y(), q.z(), q.w()}; }

void QuaternionPeers() {
    Library("QuaternionSlerp", [](Data& d) { D3DXQuaternionSlerp(&d.qOut, &d.q1, &d.q2, d.t); });
    Peer("QuaternionSlerp", "x87",
         [](Data& d) { x87::QuaternionSlerp(&d.qOut, &d.q1, &d.q2, d.t); });
    Peer("QuaternionSlerp", "glm",
         [](Data& d) { d.qOut = FromGlm(glm::slerp(ToGlm(d.q1), ToGlm(d.q2), d.t)); });
    Peer("QuaternionSlerp", "eigen",
         [](Data& d) { d.qOut = FromEigen(ToEigen(d.q1).slerp(d.t, ToEigen(d.q2))); });

    Library("QuaternionRotationYawPitchRoll",
            [](Data& d) { D3DXQuaternionRotationYawPitchRoll(&d.qOut, d.yaw, d.pitch, d.roll); });
    Peer("QuaternionRotationYawPitchRoll", "x87",
         [](Data& d) { x87::QuaternionRotationYawPitchRoll(&d.qOut, d.yaw, d.pitch, d.roll); });
    Peer("QuaternionRotationYawPitchRoll", "glm", [](Data& d) {
        // Roll about z, then pitch about x, then yaw about y.
        d.qOut = FromGlm(glm::quat(glm::vec3(d.pitch, d.yaw, d.roll)));
    });
    Peer("QuaternionRotationYawPitchRoll", "eigen", [](Data& d) {
        d.qOut = FromEigen(Eigen::AngleAxisf(d.yaw, Eigen::Vector3f::UnitY()) *
                           Eigen::AngleAxisf(d.pitch, Eigen::Vector3f::UnitX()) *
                           Eigen::AngleAxisf(d.roll, Eigen::Vector3f::UnitZ()));
    });
}

void MatrixRotationXPeers() {
    Library("MatrixRotationX", [](Data& d) { D3DXMatrixRotationX(&d.out, d.yaw); });
    Peer("MatrixRotationX", "x87", [](Data& d) { x87::MatrixRotationX(&d.out, d.yaw); });
    // The transpose of the column-vector rotation by the same angle is the
    // row-vector one.
    Peer("MatrixRotationX", "glm",
         [](Data& d) { d.out = As<D3DXMATRIX>(glm::eulerAngleX(d.yaw)); });
    Peer("MatrixRotationX", "eigen", [](Data& d) {
        Eigen::Map<Eigen::Matrix4f>(&d.out.m[0][0]) =
            Eigen::Affine3f(Eigen::AngleAxisf(d.yaw, Eigen::Vector3f::UnitX())).matrix();
    });
}

// Every x87 reference operation, called directly.
void X87References() {
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    RegisterOnce("x87ref", #Name,                 \
                 [](benchmark::State& state) { RunWithSampleArguments(state, &x87::Name); });
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}

const bool kRegistered = AtStartup([] {
    MatrixMultiplyPeers();
    MatrixInversePeers();
    Vec3TransformCoordPeers();
    Vec3NormalizePeers();
    QuaternionPeers();
    MatrixRotationXPeers();
    X87References();
});

}  // namespace
}  // namespace d3dx::bench
