// Edge cases of the SSE and SSE2 variants: the alignment advisory, the
// zero-length and singular cases where they differ from x87, the sine/cosine
// routines at known angles, and the 3-vector memory footprint.
#include "dispatch/op_table.h"
#include "dispatch/test_hooks.h"
#include "sse/sincos.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kAdvisoryLevel = 3;

// A value placed at a chosen distance from a 16-byte boundary.
template <class T>
struct Placed {
    explicit Placed(int offset, const T& value = {}) : p(reinterpret_cast<T*>(bytes + offset)) {
        *p = value;
    }
    alignas(16) unsigned char bytes[sizeof(T) + 16]{};
    T* p;
};

// The products advise about misaligned matrices: the inputs themselves must be aligned.
alignas(16) const D3DXMATRIX kSample{{{0.8f, 0.6f, 0.0f, 0.1f},
                                      {-0.6f, 0.8f, 0.0f, 0.2f},
                                      {0.0f, 0.0f, 2.0f, 0.3f},
                                      {1.0f, -2.0f, 3.0f, 1.0f}}};
alignas(16) const D3DXMATRIX kIdentity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// Both sets side by side: the SSE2 set's own variant where it has one.
struct SetFns {
    const char* name;
    fn::Vec3Normalize* vec3Normalize;
    fn::PlaneNormalize* planeNormalize;
    fn::MatrixInverse* matrixInverse;
    fn::QuaternionRotationYawPitchRoll* yawPitchRoll;
    fn::QuaternionRotationMatrix* quaternionFromMatrix;
    fn::MatrixShadow* matrixShadow;
    fn::MatrixMultiply* matrixMultiply;
    fn::Vec3Transform* vec3Transform;
    void (*quadSinCos)(const float*, float*, float*);
};

const SetFns kSets[] = {
    {"Sse", &sse::Vec3Normalize, &sse::PlaneNormalize, &sse::MatrixInverse,
     &sse::QuaternionRotationYawPitchRoll, &sse::QuaternionRotationMatrix, &sse::MatrixShadow,
     &sse::MatrixMultiply, &sse::Vec3Transform, &sse::QuadSinCos},
    {"Sse2", &sse2::Vec3Normalize, &sse2::PlaneNormalize, &sse2::MatrixInverse,
     &sse2::QuaternionRotationYawPitchRoll, &sse2::QuaternionRotationMatrix, &sse2::MatrixShadow,
     &sse2::MatrixMultiply, &sse2::Vec3Transform, &sse2::QuadSinCos},
};

bool SameBits(const void* a, const void* b, std::size_t size) {
    return std::memcmp(a, b, size) == 0;
}

// ---------------------------------------------------------------------------
// The alignment advisory: one line per misaligned call at level 3, none at
// level 0, none for a null argument, none when aligned.

struct AdvisedCall {
    const char* message;
    // Calls the variant with its matrix (or, for the products, its output)
    // `offset` bytes past a 16-byte boundary; `null` passes a null input.
    std::function<bool(int offset, bool null)> call;  // true when the variant returned non-null
};

template <class Out, class In, class F>
AdvisedCall VectorTransform(const char* message, F* f) {
    return {message, [f](int offset, bool null) {
                Placed<D3DXMATRIX> m(offset, kSample);
                Out out{};
                const In v{};
                return f(&out, null ? nullptr : &v, m.p) != nullptr;
            }};
}

template <class F>
AdvisedCall Product(const char* message, F* f) {
    return {message, [f](int offset, bool null) {
                Placed<D3DXMATRIX> out(offset);
                return f(out.p, null ? nullptr : &kSample, &kIdentity) != nullptr;
            }};
}

std::vector<AdvisedCall> AdvisedCalls() {
    return {
        VectorTransform<D3DXVECTOR4, D3DXVECTOR2>(
            "Matrix should be 16-byte aligned for optimized D3DXVec2Transform",
            &sse::Vec2Transform),
        VectorTransform<D3DXVECTOR2, D3DXVECTOR2>(
            "Matrix should be 16-byte aligned for optimized D3DXVec2TransformNormal",
            &sse::Vec2TransformNormal),
        VectorTransform<D3DXVECTOR3, D3DXVECTOR3>(
            "Matrix should be 16-byte aligned for optimized D3DXVec3TransformNormal",
            &sse::Vec3TransformNormal),
        VectorTransform<D3DXVECTOR3, D3DXVECTOR3>(
            "Matrix should be 16-byte aligned for optimized D3DXVec3TransformNormal",
            &sse2::Vec3TransformNormal),
        VectorTransform<D3DXVECTOR4, D3DXVECTOR3>(
            "Matrix should be 16-byte aligned for optimized D3DXVec3Transform",
            &sse::Vec3Transform),
        VectorTransform<D3DXVECTOR4, D3DXVECTOR3>(
            "Matrix should be 16-byte aligned for optimized D3DXVec3Transform",
            &sse2::Vec3Transform),
        VectorTransform<D3DXVECTOR4, D3DXVECTOR4>(
            "Matrix should be 16-byte aligned for optimized D3DXVec4Transform",
            &sse::Vec4Transform),
        VectorTransform<D3DXVECTOR4, D3DXVECTOR4>(
            "Matrix should be 16-byte aligned for optimized D3DXVec4Transform",
            &sse2::Vec4Transform),
        Product("Matrices should be 16-byte aligned for optimized D3DXMatrixMultiply",
                &sse::MatrixMultiply),
        Product("Matrices should be 16-byte aligned for optimized D3DXMatrixMultiply",
                &sse2::MatrixMultiply),
        Product("Matrices should be 16-byte aligned for optimized D3DXMatrixMultiplyTranspose",
                &sse::MatrixMultiplyTranspose),
        Product("Matrices should be 16-byte aligned for optimized D3DXMatrixMultiplyTranspose",
                &sse2::MatrixMultiplyTranspose),
    };
}

TEST(SseEdgeCases, MisalignedArgumentsAdviseOncePerCallAtLevelThreeOnly) {
    for (const AdvisedCall& c : AdvisedCalls()) {
        SCOPED_TRACE(c.message);
        const std::string line = std::string("D3DX: ") + c.message + "\r\n";
        {
            ScopedDebugCapture capture(kAdvisoryLevel);
            EXPECT_TRUE(c.call(8, false));
            EXPECT_TRUE(c.call(4, false));
            ASSERT_EQ(capture.Lines().size(), 2u);
            EXPECT_EQ(capture.Lines()[0], line);
            capture.Clear();
            EXPECT_TRUE(c.call(0, false));
            EXPECT_FALSE(c.call(4, true));
            EXPECT_TRUE(capture.Lines().empty()) << "aligned or null calls are silent";
        }
        ScopedDebugCapture quiet(0);
        EXPECT_TRUE(c.call(4, false));
        EXPECT_TRUE(quiet.Lines().empty());
    }
}

TEST(SseEdgeCases, MultiplyIntoMisalignedOutputIsCorrect) {
    for (const SetFns& set : kSets) {
        SCOPED_TRACE(set.name);
        Placed<D3DXMATRIX> aligned(0), misaligned(8);
        ScopedDebugCapture capture(kAdvisoryLevel);
        set.matrixMultiply(aligned.p, &kSample, &kSample);
        EXPECT_TRUE(capture.Lines().empty());
        set.matrixMultiply(misaligned.p, &kSample, &kSample);
        EXPECT_EQ(capture.Lines().size(), 1u);
        EXPECT_TRUE(SameBits(aligned.p, misaligned.p, sizeof(D3DXMATRIX)));
        EXPECT_FLOAT_EQ(aligned.p->m[3][0],
                        1.0f * 0.8f + -2.0f * -0.6f + 1.0f);  // row 3 times column 0
    }
}

TEST(SseEdgeCases, TransformWithMatrixOffByFourEqualsAligned) {
    for (const SetFns& set : kSets) {
        SCOPED_TRACE(set.name);
        Placed<D3DXMATRIX> aligned(0, kSample), shifted(4, kSample);
        const D3DXVECTOR3 v{1.5f, -2.0f, 0.25f};
        D3DXVECTOR4 a{}, b{};
        set.vec3Transform(&a, &v, aligned.p);
        set.vec3Transform(&b, &v, shifted.p);
        EXPECT_TRUE(SameBits(&a, &b, sizeof a));
    }
}

TEST(SseEdgeCases, ShadowChoosesItsStoresSilently) {
    const D3DXVECTOR4 light{1, 4, 2, 0};
    const D3DXPLANE plane{0, 2, 0, -1};
    for (const SetFns& set : kSets) {
        SCOPED_TRACE(set.name);
        Placed<D3DXMATRIX> aligned(0), misaligned(8);
        ScopedDebugCapture capture(kAdvisoryLevel);
        set.matrixShadow(aligned.p, &light, &plane);
        set.matrixShadow(misaligned.p, &light, &plane);
        EXPECT_TRUE(capture.Lines().empty());
        EXPECT_TRUE(SameBits(aligned.p, misaligned.p, sizeof(D3DXMATRIX)));
        const D3DXPLANE zero{};
        set.matrixShadow(aligned.p, &light, &zero);
        for (const auto& row : aligned.p->m)
            for (float e : row) EXPECT_EQ(e, 0.0f) << "a zero plane gives the zero matrix";
    }
}

// ---------------------------------------------------------------------------
// Zero lengths, singular matrices and parallel lines.

TEST(SseEdgeCases, NormalisersTreatLengthsBelowTwoToTheMinus46AsZero) {
    for (const SetFns& set : kSets) {
        SCOPED_TRACE(set.name);
        D3DXVECTOR3 out{9, 9, 9};
        const D3DXVECTOR3 tiny{1e-8f, 0, 0};  // squared length 1e-16
        set.vec3Normalize(&out, &tiny);
        EXPECT_EQ(out.x, 0.0f);
        EXPECT_EQ(out.y, 0.0f);
        EXPECT_EQ(out.z, 0.0f);
        const D3DXVECTOR3 small{1e-6f, 0, 0};  // squared length 1e-12
        set.vec3Normalize(&out, &small);
        EXPECT_NEAR(out.x, 1.0f, 2e-7f);
        EXPECT_EQ(out.y, 0.0f);

        D3DXPLANE plane{9, 9, 9, 9};
        const D3DXPLANE tinyPlane{1e-8f, 0, 0, 5};
        set.planeNormalize(&plane, &tinyPlane);
        EXPECT_EQ(plane.d, 0.0f) << "d is zeroed with the normal";
        const D3DXPLANE scaled{0, 2, 0, 4};
        set.planeNormalize(&plane, &scaled);
        EXPECT_NEAR(plane.b, 1.0f, 2e-7f);
        EXPECT_NEAR(plane.d, 2.0f, 4e-7f);
    }
}

TEST(SseEdgeCases, FourVectorNormalisersGiveNaNForZero) {
    const D3DXVECTOR4 zero{};
    D3DXVECTOR4 out{};
    sse::Vec4Normalize(&out, &zero);
    EXPECT_TRUE(std::isnan(out.x) && std::isnan(out.y) && std::isnan(out.z) && std::isnan(out.w));
    const D3DXQUATERNION zeroQ{};
    D3DXQUATERNION q{};
    sse::QuaternionNormalize(&q, &zeroQ);
    EXPECT_TRUE(std::isnan(q.w));
}

TEST(SseEdgeCases, SingularInverseWritesNothing) {
    D3DXMATRIX zeroRow = kSample;
    for (float& e : zeroRow.m[2]) e = 0.0f;
    D3DXMATRIX nan = kSample;
    nan.m[1][1] = std::numeric_limits<float>::quiet_NaN();
    for (const SetFns& set : kSets) {
        SCOPED_TRACE(set.name);
        for (const D3DXMATRIX* m : {&zeroRow, &nan}) {
            D3DXMATRIX out = kSample;
            float det = 42.0f;
            EXPECT_EQ(set.matrixInverse(&out, &det, m), nullptr);
            EXPECT_EQ(det, 42.0f);
            EXPECT_TRUE(SameBits(&out, &kSample, sizeof out));
        }
        D3DXMATRIX out{};
        float det = 0.0f;
        EXPECT_EQ(set.matrixInverse(&out, &det, &kIdentity), &out);
        EXPECT_EQ(det, 1.0f);
        // The refined reciprocal of 1 is 1 - 2^-24: the diagonal is within one ulp.
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                EXPECT_FLOAT_EQ(out.m[i][j], kIdentity.m[i][j]) << i << "," << j;
    }
}

TEST(SseEdgeCases, ParallelOrDegenerateLineGivesNullAndLeavesOutput) {
    const D3DXPLANE ground{0, 1, 0, -2};
    const D3DXVECTOR3 a{1, 5, 1}, b{4, 5, -3};  // both at height 5: parallel to the plane
    D3DXVECTOR3 out{7, 7, 7};
    EXPECT_EQ(sse::PlaneIntersectLine(&out, &ground, &a, &b), nullptr);
    EXPECT_EQ(sse::PlaneIntersectLine(&out, &ground, &a, &a), nullptr);
    EXPECT_EQ(out.x, 7.0f);
    const D3DXVECTOR3 c{1, 6, 1};  // the plane lies beyond the segment
    ASSERT_EQ(sse::PlaneIntersectLine(&out, &ground, &a, &c), &out);
    EXPECT_NEAR(out.y, 2.0f, 1e-5f);
}

// ---------------------------------------------------------------------------
// Sines and cosines.

TEST(SseEdgeCases, QuadSinCosAtQuarterTurns) {
    for (const SetFns& set : kSets) {
        SCOPED_TRACE(set.name);
        alignas(16) const float angles[4] = {0.0f, kPi / 2, kPi, -kPi / 2};
        alignas(16) float s[4], c[4];
        set.quadSinCos(angles, s, c);
        const float sines[4] = {0, 1, 0, -1}, cosines[4] = {1, 0, -1, 0};
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(s[i], sines[i], 1e-7f) << i;
            EXPECT_NEAR(c[i], cosines[i], 1e-7f) << i;
        }
        alignas(16) float huge[4] = {2e7f, -2e7f, 0.0f, 0.0f};
        set.quadSinCos(huge, huge, c);  // out of range: an unusable result, but no fault
    }
}

TEST(SseEdgeCases, PairSinCosGivesCosineThenSine) {
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, sse2::PairSinCos(_mm_set1_ps(0.0f)));
    EXPECT_EQ(lanes[0], 1.0f);
    EXPECT_EQ(lanes[1], 0.0f);
    _mm_store_ps(lanes, sse2::PairSinCos(_mm_set1_ps(-kPi / 6)));
    EXPECT_NEAR(lanes[0], 0.8660254f, 1.2e-7f);
    EXPECT_NEAR(lanes[1], -0.5f, 6e-8f);
    EXPECT_EQ(lanes[2], lanes[0]);
    EXPECT_EQ(lanes[3], lanes[1]);
    // Large angles keep every lane's reduction accurate.
    _mm_store_ps(lanes, sse2::PairSinCos(_mm_set1_ps(9000.5f)));
    EXPECT_NEAR(lanes[0], std::cos(9000.5), 2e-6);
    EXPECT_NEAR(lanes[1], std::sin(9000.5), 2e-6);
}

TEST(SseEdgeCases, RotationsAndYawPitchRollAtKnownAngles) {
    D3DXMATRIX m{};
    sse2::MatrixRotationX(&m, kPi / 2);
    const float row1[4] = {0, 0, 1, 0}, row2[4] = {0, -1, 0, 0};
    for (int j = 0; j < 4; ++j) {
        EXPECT_NEAR(m.m[1][j], row1[j], 1e-7f);
        EXPECT_NEAR(m.m[2][j], row2[j], 1e-7f);
        EXPECT_EQ(m.m[0][j], j == 0 ? 1.0f : 0.0f);
    }
    sse2::MatrixRotationY(&m, kPi / 2);
    EXPECT_NEAR(m.m[0][2], -1.0f, 1e-7f);
    EXPECT_NEAR(m.m[2][0], 1.0f, 1e-7f);
    for (const SetFns& set : kSets) {
        D3DXQUATERNION q{9, 9, 9, 9};
        set.yawPitchRoll(&q, 0, 0, 0);
        EXPECT_TRUE(q.x == 0 && q.y == 0 && q.z == 0 && q.w == 1) << set.name;
        EXPECT_EQ(set.yawPitchRoll(nullptr, 0, 0, 0), nullptr);
    }
}

// The branch of the quaternion of a matrix is decided as the reference
// decides it: a diagonal element too small to move a single-precision sum
// still makes the trace positive.
TEST(SseEdgeCases, QuaternionFromMatrixDecidesItsBranchAsTheReference) {
    const float tiny = std::ldexp(1.0f, -30);
    const D3DXMATRIX m{{{1, 0, 0, 0}, {0, tiny, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 1}}};
    for (const SetFns& set : kSets) {
        D3DXQUATERNION q{9, 9, 9, 9};
        ASSERT_EQ(set.quaternionFromMatrix(&q, &m), &q);
        EXPECT_TRUE(q.x == 0 && q.y == 0 && q.z == 0 && q.w == 0.5f)
            << set.name << ": " << q.x << " " << q.y << " " << q.z << " " << q.w;
    }
}

TEST(SseEdgeCases, TransformCoordDividesByWWithinAFewUlps) {
    D3DXMATRIX m = kIdentity;
    m.m[3][3] = 3.0f;
    const D3DXVECTOR2 v{1.0f, 2.0f};
    D3DXVECTOR2 out{};
    sse::Vec2TransformCoord(&out, &v, &m);
    EXPECT_NEAR(out.x, 1.0f / 3.0f, 3 * std::numeric_limits<float>::epsilon() / 3);
    EXPECT_NEAR(out.y, 2.0f / 3.0f, 3 * std::numeric_limits<float>::epsilon() / 2);
}

// ---------------------------------------------------------------------------
// A D3DXVECTOR3 is 12 bytes: nothing after it is read or written.

TEST(SseEdgeCases, ThreeVectorOutputsLeaveTheNextFloatAlone) {
    struct Guarded {
        D3DXVECTOR3 v;
        float guard;
    };
    constexpr float kGuard = -123.5f;
    const D3DXVECTOR3 a{1, 2, 3}, b{-1, 0.5f, 2}, c{0.25f, 4, -2}, d{3, 3, 1};
    const D3DXPLANE plane{0.2f, 0.9f, 0.1f, -1};
    const std::function<void(D3DXVECTOR3*)> calls[] = {
        [&](D3DXVECTOR3* o) { sse::Vec3Normalize(o, &a); },
        [&](D3DXVECTOR3* o) { sse2::Vec3Normalize(o, &a); },
        [&](D3DXVECTOR3* o) { sse::Vec3TransformNormal(o, &a, &kSample); },
        [&](D3DXVECTOR3* o) { sse2::Vec3TransformCoord(o, &a, &kSample); },
        [&](D3DXVECTOR3* o) { sse::PlaneIntersectLine(o, &plane, &a, &b); },
        [&](D3DXVECTOR3* o) { sse::Vec3Hermite(o, &a, &b, &c, &d, 0.3f); },
        [&](D3DXVECTOR3* o) { sse::Vec3CatmullRom(o, &a, &b, &c, &d, 0.3f); },
        [&](D3DXVECTOR3* o) { sse::Vec3BaryCentric(o, &a, &b, &c, 0.2f, 0.3f); },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        Guarded g{{}, kGuard};
        calls[i](&g.v);
        EXPECT_EQ(g.guard, kGuard) << "call " << i;
    }
}

}  // namespace
}  // namespace d3dx
