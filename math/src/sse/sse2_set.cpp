// The SSE2 variant set: 18 variants of its own and 16 shared with the SSE
// set. Its own variants run the same kernels as their SSE twins, with SSE2
// lane shuffles and integer sign-mask arithmetic; the rotations about x and
// y exist only here.
#include "dispatch/op_table.h"
#include "sse/cofactor_kernels.h"
#include "sse/normalize_kernels.h"
#include "sse/pair_sincos.h"
#include "sse/quaternion_kernels.h"
#include "sse/sincos.h"
#include "sse/sse2_isa.h"
#include "sse/transform_kernels.h"

namespace d3dx::sse2 {

using simd::Sse2Isa;

D3DXVECTOR4* Vec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return simd::Vec3Transform<Sse2Isa>(pOut, pV, pM);
}
D3DXVECTOR4* Vec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    return simd::Vec4Transform<Sse2Isa>(pOut, pV, pM);
}
D3DXMATRIX* MatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    return simd::MatrixMultiply<Sse2Isa>(pOut, pM1, pM2);
}
D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                    const D3DXMATRIX* pM2) {
    return simd::MatrixMultiplyTranspose<Sse2Isa>(pOut, pM1, pM2);
}
D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return simd::Vec3TransformNormal<Sse2Isa>(pOut, pV, pM);
}
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    return simd::Vec3Normalize<Sse2Isa>(pOut, pV);
}
D3DXVECTOR3* Vec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return simd::Vec3TransformCoord<Sse2Isa>(pOut, pV, pM);
}
float MatrixDeterminant(const D3DXMATRIX* pM) { return simd::MatrixDeterminant<Sse2Isa>(pM); }
D3DXPLANE* PlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                           const D3DXVECTOR3* pV3) {
    return simd::PlaneFromPoints<Sse2Isa>(pOut, pV1, pV2, pV3);
}
D3DXVECTOR4* Vec4Cross(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                       const D3DXVECTOR4* pV3) {
    return simd::Vec4Cross<Sse2Isa>(pOut, pV1, pV2, pV3);
}
D3DXMATRIX* MatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    return simd::MatrixInverse<Sse2Isa>(pOut, pDeterminant, pM);
}
D3DXPLANE* PlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP) {
    return simd::PlaneNormalize<Sse2Isa>(pOut, pP);
}
D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    return simd::QuaternionRotationMatrix(pOut, pM);
}
D3DXQUATERNION* QuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, float yaw, float pitch,
                                               float roll) {
    return simd::QuaternionRotationYawPitchRoll<Sse2Isa>(pOut, yaw, pitch, roll);
}
D3DXMATRIX* MatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane) {
    return simd::MatrixShadow<Sse2Isa>(pOut, pLight, pPlane);
}
D3DXMATRIX* MatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane) {
    return simd::MatrixReflect<Sse2Isa>(pOut, pPlane);
}

namespace {

// Rotation rows from (c, s, c, s): lanes are picked by a shuffle, unused
// lanes cleared by a mask, and -s made by a sign mask.
simd::Rows RotationX(__m128 cs) {
    using simd::Sse2Isa;
    const __m128 middle = simd::LaneMask<false, true, true, false>();
    const __m128 row1 = _mm_and_ps(Sse2Isa::Permute<0, 0, 1, 0>(cs), middle);  // (0, c, s, 0)
    const __m128 row2 = _mm_xor_ps(_mm_and_ps(Sse2Isa::Permute<0, 1, 0, 0>(cs), middle),
                                   simd::SignMask<false, true, false, false>());  // (0, -s, c, 0)
    return {{simd::IdentityRow<0>(), row1, row2, simd::IdentityRow<3>()}};
}

simd::Rows RotationY(__m128 cs) {
    using simd::Sse2Isa;
    const __m128 outer = simd::LaneMask<true, false, true, false>();
    const __m128 row0 = _mm_xor_ps(_mm_and_ps(Sse2Isa::Permute<0, 0, 1, 0>(cs), outer),
                                   simd::SignMask<false, false, true, false>());  // (c, 0, -s, 0)
    const __m128 row2 = _mm_and_ps(Sse2Isa::Permute<1, 1, 0, 0>(cs), outer);      // (s, 0, c, 0)
    return {{row0, simd::IdentityRow<1>(), row2, simd::IdentityRow<3>()}};
}

}  // namespace

D3DXMATRIX* MatrixRotationX(D3DXMATRIX* pOut, float angle) {
    if (pOut == nullptr) return nullptr;
    simd::StoreRows(pOut, RotationX(simd::PairSinCos(_mm_set1_ps(angle))));
    return pOut;
}

D3DXMATRIX* MatrixRotationY(D3DXMATRIX* pOut, float angle) {
    if (pOut == nullptr) return nullptr;
    simd::StoreRows(pOut, RotationY(simd::PairSinCos(_mm_set1_ps(angle))));
    return pOut;
}

void QuadSinCos(const float* angles, float* sines, float* cosines) {
    simd::QuadSinCos<Sse2Isa>(angles, sines, cosines);
}

__m128 PairSinCos(__m128 angle) { return simd::PairSinCos(angle); }

}  // namespace d3dx::sse2

namespace d3dx {
namespace {

#define D3DX_SSE2_ENTRY(Name) \
    VariantEntry { k##Name, Erase(&sse2::Name) }
#define D3DX_SHARED_ENTRY(Name) \
    VariantEntry { k##Name, Erase(&sse::Name) }

const VariantEntry kSse2Entries[] = {
    D3DX_SHARED_ENTRY(Vec2Transform),
    D3DX_SSE2_ENTRY(Vec3Transform),
    D3DX_SSE2_ENTRY(Vec4Transform),
    D3DX_SSE2_ENTRY(MatrixMultiply),
    D3DX_SSE2_ENTRY(MatrixMultiplyTranspose),
    D3DX_SHARED_ENTRY(Vec2TransformNormal),
    D3DX_SSE2_ENTRY(Vec3TransformNormal),
    D3DX_SSE2_ENTRY(Vec3Normalize),
    D3DX_SHARED_ENTRY(Vec4Normalize),
    D3DX_SHARED_ENTRY(Vec2TransformCoord),
    D3DX_SSE2_ENTRY(Vec3TransformCoord),
    D3DX_SSE2_ENTRY(MatrixDeterminant),
    D3DX_SSE2_ENTRY(PlaneFromPoints),
    D3DX_SSE2_ENTRY(Vec4Cross),
    D3DX_SHARED_ENTRY(Vec2Hermite),
    D3DX_SSE2_ENTRY(MatrixInverse),
    D3DX_SHARED_ENTRY(QuaternionMultiply),
    D3DX_SHARED_ENTRY(QuaternionNormalize),
    D3DX_SSE2_ENTRY(PlaneNormalize),
    D3DX_SHARED_ENTRY(PlaneIntersectLine),
    D3DX_SSE2_ENTRY(QuaternionRotationMatrix),
    D3DX_SSE2_ENTRY(QuaternionRotationYawPitchRoll),
    D3DX_SSE2_ENTRY(MatrixShadow),
    D3DX_SSE2_ENTRY(MatrixReflect),
    D3DX_SSE2_ENTRY(MatrixRotationX),
    D3DX_SSE2_ENTRY(MatrixRotationY),
    D3DX_SHARED_ENTRY(Vec2CatmullRom),
    D3DX_SHARED_ENTRY(Vec2BaryCentric),
    D3DX_SHARED_ENTRY(Vec3Hermite),
    D3DX_SHARED_ENTRY(Vec3CatmullRom),
    D3DX_SHARED_ENTRY(Vec3BaryCentric),
    D3DX_SHARED_ENTRY(Vec4Hermite),
    D3DX_SHARED_ENTRY(Vec4CatmullRom),
    D3DX_SHARED_ENTRY(Vec4BaryCentric),
};

#undef D3DX_SHARED_ENTRY
#undef D3DX_SSE2_ENTRY

static_assert(std::size(kSse2Entries) == 34);

}  // namespace

const VariantList kSse2Variants{kSse2Entries};

}  // namespace d3dx
