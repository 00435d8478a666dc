// The SSE variant set (SSE1 instructions only): the slots it fills and the
// functions that fill them. The kernels live in the *_kernels.h headers and
// are shared with the SSE2 set, which instantiates them with its own
// instruction choices.
//
// This file is compiled for SSE1 alone: without the pragma the compiler would
// use SSE2 instructions (integer moves, zeroing, vectorised integer loops) on
// its own, and the set must run on processors that have SSE but not SSE2.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC target("no-sse2")
#endif

#include "dispatch/op_table.h"
#include "sse/cofactor_kernels.h"
#include "sse/normalize_kernels.h"
#include "sse/quaternion_kernels.h"
#include "sse/sincos.h"
#include "sse/spline_kernels.h"
#include "sse/transform_kernels.h"

namespace d3dx::sse {

using simd::SseIsa;

D3DXVECTOR4* Vec2Transform(D3DXVECTOR4* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    return simd::Vec2Transform<SseIsa>(pOut, pV, pM);
}
D3DXVECTOR4* Vec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return simd::Vec3Transform<SseIsa>(pOut, pV, pM);
}
D3DXVECTOR4* Vec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    return simd::Vec4Transform<SseIsa>(pOut, pV, pM);
}
D3DXMATRIX* MatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    return simd::MatrixMultiply<SseIsa>(pOut, pM1, pM2);
}
D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                    const D3DXMATRIX* pM2) {
    return simd::MatrixMultiplyTranspose<SseIsa>(pOut, pM1, pM2);
}
D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    return simd::Vec2TransformNormal<SseIsa>(pOut, pV, pM);
}
D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return simd::Vec3TransformNormal<SseIsa>(pOut, pV, pM);
}
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    return simd::Vec3Normalize<SseIsa>(pOut, pV);
}
D3DXVECTOR4* Vec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV) {
    return simd::Normalize4<SseIsa>(pOut, pV);
}
D3DXVECTOR2* Vec2TransformCoord(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    return simd::Vec2TransformCoord<SseIsa>(pOut, pV, pM);
}
D3DXVECTOR3* Vec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return simd::Vec3TransformCoord<SseIsa>(pOut, pV, pM);
}
float MatrixDeterminant(const D3DXMATRIX* pM) { return simd::MatrixDeterminant<SseIsa>(pM); }
D3DXPLANE* PlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                           const D3DXVECTOR3* pV3) {
    return simd::PlaneFromPoints<SseIsa>(pOut, pV1, pV2, pV3);
}
D3DXVECTOR4* Vec4Cross(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                       const D3DXVECTOR4* pV3) {
    return simd::Vec4Cross<SseIsa>(pOut, pV1, pV2, pV3);
}
D3DXVECTOR2* Vec2Hermite(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pT1,
                         const D3DXVECTOR2* pV2, const D3DXVECTOR2* pT2, float s) {
    return simd::Vec2Hermite<SseIsa>(pOut, pV1, pT1, pV2, pT2, s);
}
D3DXMATRIX* MatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    return simd::MatrixInverse<SseIsa>(pOut, pDeterminant, pM);
}
D3DXQUATERNION* QuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                   const D3DXQUATERNION* pQ2) {
    return simd::QuaternionMultiply<SseIsa>(pOut, pQ1, pQ2);
}
D3DXQUATERNION* QuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    return simd::Normalize4<SseIsa>(pOut, pQ);
}
D3DXPLANE* PlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP) {
    return simd::PlaneNormalize<SseIsa>(pOut, pP);
}
D3DXVECTOR3* PlaneIntersectLine(D3DXVECTOR3* pOut, const D3DXPLANE* pP, const D3DXVECTOR3* pV1,
                                const D3DXVECTOR3* pV2) {
    return simd::PlaneIntersectLine<SseIsa>(pOut, pP, pV1, pV2);
}
D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    return simd::QuaternionRotationMatrix(pOut, pM);
}
D3DXQUATERNION* QuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, float yaw, float pitch,
                                               float roll) {
    return simd::QuaternionRotationYawPitchRoll<SseIsa>(pOut, yaw, pitch, roll);
}
D3DXMATRIX* MatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane) {
    return simd::MatrixShadow<SseIsa>(pOut, pLight, pPlane);
}
D3DXMATRIX* MatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane) {
    return simd::MatrixReflect<SseIsa>(pOut, pPlane);
}
D3DXQUATERNION* QuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    return simd::QuaternionInverse<SseIsa>(pOut, pQ);
}
D3DXVECTOR2* Vec2CatmullRom(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV0, const D3DXVECTOR2* pV1,
                            const D3DXVECTOR2* pV2, const D3DXVECTOR2* pV3, float s) {
    return simd::Spline<SseIsa>(simd::kCatmullRomBasis, pOut, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR2* Vec2BaryCentric(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2,
                             const D3DXVECTOR2* pV3, float f, float g) {
    return simd::BaryCentric(pOut, pV1, pV2, pV3, f, g);
}
D3DXVECTOR3* Vec3Hermite(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pT1,
                         const D3DXVECTOR3* pV2, const D3DXVECTOR3* pT2, float s) {
    return simd::Spline<SseIsa>(simd::kHermiteBasis, pOut, pV1, pT1, pV2, pT2, s);
}
D3DXVECTOR3* Vec3CatmullRom(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV0, const D3DXVECTOR3* pV1,
                            const D3DXVECTOR3* pV2, const D3DXVECTOR3* pV3, float s) {
    return simd::Spline<SseIsa>(simd::kCatmullRomBasis, pOut, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR3* Vec3BaryCentric(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                             const D3DXVECTOR3* pV3, float f, float g) {
    return simd::BaryCentric(pOut, pV1, pV2, pV3, f, g);
}
D3DXVECTOR4* Vec4Hermite(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pT1,
                         const D3DXVECTOR4* pV2, const D3DXVECTOR4* pT2, float s) {
    return simd::Spline<SseIsa>(simd::kHermiteBasis, pOut, pV1, pT1, pV2, pT2, s);
}
D3DXVECTOR4* Vec4CatmullRom(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV0, const D3DXVECTOR4* pV1,
                            const D3DXVECTOR4* pV2, const D3DXVECTOR4* pV3, float s) {
    return simd::Spline<SseIsa>(simd::kCatmullRomBasis, pOut, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR4* Vec4BaryCentric(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                             const D3DXVECTOR4* pV3, float f, float g) {
    return simd::BaryCentric(pOut, pV1, pV2, pV3, f, g);
}

// The sine/cosine routine of this set, for tests.
void QuadSinCos(const float* angles, float* sines, float* cosines) {
    simd::QuadSinCos<SseIsa>(angles, sines, cosines);
}

}  // namespace d3dx::sse

namespace d3dx {
namespace {

#define D3DX_SSE_ENTRY(Name) \
    VariantEntry { k##Name, Erase(&sse::Name) }

const VariantEntry kSseEntries[] = {
    D3DX_SSE_ENTRY(Vec2Transform),
    D3DX_SSE_ENTRY(Vec3Transform),
    D3DX_SSE_ENTRY(Vec4Transform),
    D3DX_SSE_ENTRY(MatrixMultiply),
    D3DX_SSE_ENTRY(MatrixMultiplyTranspose),
    D3DX_SSE_ENTRY(Vec2TransformNormal),
    D3DX_SSE_ENTRY(Vec3TransformNormal),
    D3DX_SSE_ENTRY(Vec3Normalize),
    D3DX_SSE_ENTRY(Vec4Normalize),
    D3DX_SSE_ENTRY(Vec2TransformCoord),
    D3DX_SSE_ENTRY(Vec3TransformCoord),
    D3DX_SSE_ENTRY(MatrixDeterminant),
    D3DX_SSE_ENTRY(PlaneFromPoints),
    D3DX_SSE_ENTRY(Vec4Cross),
    D3DX_SSE_ENTRY(Vec2Hermite),
    D3DX_SSE_ENTRY(MatrixInverse),
    D3DX_SSE_ENTRY(QuaternionMultiply),
    D3DX_SSE_ENTRY(QuaternionNormalize),
    D3DX_SSE_ENTRY(PlaneNormalize),
    D3DX_SSE_ENTRY(PlaneIntersectLine),
    D3DX_SSE_ENTRY(QuaternionRotationMatrix),
    D3DX_SSE_ENTRY(QuaternionRotationYawPitchRoll),
    D3DX_SSE_ENTRY(MatrixShadow),
    D3DX_SSE_ENTRY(MatrixReflect),
    D3DX_SSE_ENTRY(QuaternionInverse),
    D3DX_SSE_ENTRY(Vec2CatmullRom),
    D3DX_SSE_ENTRY(Vec2BaryCentric),
    D3DX_SSE_ENTRY(Vec3Hermite),
    D3DX_SSE_ENTRY(Vec3CatmullRom),
    D3DX_SSE_ENTRY(Vec3BaryCentric),
    D3DX_SSE_ENTRY(Vec4Hermite),
    D3DX_SSE_ENTRY(Vec4CatmullRom),
    D3DX_SSE_ENTRY(Vec4BaryCentric),
};

#undef D3DX_SSE_ENTRY

static_assert(std::size(kSseEntries) == 33);

}  // namespace

const VariantList kSseVariants{kSseEntries};

}  // namespace d3dx
