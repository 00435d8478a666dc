// The extension variants form their pairs with PSWAPD, PFNACC, PFPNACC and
// PMOVMSKB but perform the same arithmetic as the plain 3DNow! variants, so
// their results must be the same bit for bit.
#include "dispatch/op_table.h"

#include <cstring>
#include <random>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

constexpr int kSamples = 5000;

class ExtensionMatchesPlain : public ::testing::Test {
protected:
    float Uniform(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(rng_);
    }

    D3DXMATRIX RandomMatrix() {
        D3DXMATRIX m;
        for (auto& row : m.m)
            for (float& e : row) e = Uniform(-2, 2);
        return m;
    }
    D3DXQUATERNION RandomQuaternion() {
        return {Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)};
    }
    D3DXVECTOR3 RandomVector() { return {Uniform(-3, 3), Uniform(-3, 3), Uniform(-3, 3)}; }
    bool Coin() { return Uniform(0, 1) < 0.5f; }

    template <class T>
    static void ExpectSameBytes(const T& a, const T& b, int sample) {
        EXPECT_EQ(std::memcmp(&a, &b, sizeof(T)), 0) << "sample " << sample;
    }

    std::mt19937 rng_{20261208u};
};

TEST_F(ExtensionMatchesPlain, MatrixInverse) {
    for (int i = 0; i < kSamples; ++i) {
        D3DXMATRIX m = RandomMatrix();
        if (i % 50 == 0) std::memset(m.m[i % 4], 0, sizeof m.m[0]);  // singular now and then
        D3DXMATRIX plain{}, ext{};
        float plainDet = 0, extDet = 0;
        const bool plainOk = amd3dnow::MatrixInverse(&plain, &plainDet, &m) != nullptr;
        const bool extOk = amd3dnowext::MatrixInverse(&ext, &extDet, &m) != nullptr;
        ASSERT_EQ(plainOk, extOk) << i;
        ExpectSameBytes(plain, ext, i);
        ExpectSameBytes(plainDet, extDet, i);
    }
}

TEST_F(ExtensionMatchesPlain, Vec3Unproject) {
    for (int i = 0; i < kSamples; ++i) {
        const D3DXMATRIX projection = RandomMatrix(), view = RandomMatrix(), world = RandomMatrix();
        const D3DXVIEWPORT viewport{static_cast<uint32_t>(i % 7), 3, 640, 480, 0.1f, 0.9f};
        const D3DXVECTOR3 v = RandomVector();
        const D3DXVIEWPORT* vp = Coin() ? &viewport : nullptr;
        const D3DXMATRIX* p = Coin() ? &projection : nullptr;
        const D3DXMATRIX* w = Coin() ? &world : nullptr;
        D3DXVECTOR3 plain{}, ext{};
        const bool plainOk = amd3dnow::Vec3Unproject(&plain, &v, vp, p, &view, w) != nullptr;
        const bool extOk = amd3dnowext::Vec3Unproject(&ext, &v, vp, p, &view, w) != nullptr;
        ASSERT_EQ(plainOk, extOk) << i;
        ExpectSameBytes(plain, ext, i);
    }
}

TEST_F(ExtensionMatchesPlain, QuaternionRotationMatrixOnEveryBranch) {
    for (int i = 0; i < kSamples; ++i) {
        D3DXMATRIX m{};
        // Rotation matrices cover the trace branch and all three diagonal
        // branches; general matrices and exact ties (diagonal 1, -1, -1 and
        // equal elements) add the rest.
        D3DXMATRIX rotation;
        D3DXQUATERNION q = RandomQuaternion();
        amd3dnow::QuaternionNormalize(&q, &q);
        amd3dnow::MatrixRotationQuaternion(&rotation, &q);
        switch (i % 3) {
            case 0:
                m = rotation;
                break;
            case 1:
                m = RandomMatrix();
                break;
            default:
                m = D3DXMATRIX{{{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 1}}};
                m.m[i % 4 == 0 ? 0 : 1][i % 4 == 0 ? 0 : 1] = 1;
        }
        D3DXQUATERNION plain{}, ext{};
        amd3dnow::QuaternionRotationMatrix(&plain, &m);
        amd3dnowext::QuaternionRotationMatrix(&ext, &m);
        ExpectSameBytes(plain, ext, i);
    }
}

TEST_F(ExtensionMatchesPlain, MatrixRotationQuaternion) {
    for (int i = 0; i < kSamples; ++i) {
        const D3DXQUATERNION q = RandomQuaternion();
        D3DXMATRIX plain{}, ext{};
        amd3dnow::MatrixRotationQuaternion(&plain, &q);
        amd3dnowext::MatrixRotationQuaternion(&ext, &q);
        ExpectSameBytes(plain, ext, i);
    }
}

TEST_F(ExtensionMatchesPlain, MatrixTransformationWithEveryOptionalArgument) {
    for (int i = 0; i < kSamples; ++i) {
        const D3DXVECTOR3 scalingCentre = RandomVector(), scaling = RandomVector(),
                          rotationCentre = RandomVector(), translation = RandomVector();
        const D3DXQUATERNION scalingRotation = RandomQuaternion(), rotation = RandomQuaternion();
        const int present = i % 64;
        const auto pick = [&](int bit, const auto* p) {
            return (present & (1 << bit)) ? p : nullptr;
        };
        D3DXMATRIX plain{}, ext{};
        amd3dnow::MatrixTransformation(&plain, pick(0, &scalingCentre), pick(1, &scalingRotation),
                                       pick(2, &scaling), pick(3, &rotationCentre),
                                       pick(4, &rotation), pick(5, &translation));
        amd3dnowext::MatrixTransformation(&ext, pick(0, &scalingCentre), pick(1, &scalingRotation),
                                          pick(2, &scaling), pick(3, &rotationCentre),
                                          pick(4, &rotation), pick(5, &translation));
        ExpectSameBytes(plain, ext, i);
    }
}

}  // namespace
}  // namespace d3dx
