/*
 * Public interface of the vector math library: the D3DX value types, the 57
 * dispatched operations and the 2x2 box filter for 32-bit pixels.
 *
 * Compiles as C and as C++. Every operation is a C function under its D3DX
 * name; each one is a single indirect call through its slot of the operation
 * table, which binds itself to the processor's variants on the first call.
 * docs/math-api.md gives the conventions and the rules for threads.
 */
#pragma once

#include "d3dx_math_version.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct D3DXVECTOR2 {
    float x, y;
} D3DXVECTOR2;
typedef struct D3DXVECTOR3 {
    float x, y, z;
} D3DXVECTOR3;
typedef struct D3DXVECTOR4 {
    float x, y, z, w;
} D3DXVECTOR4;
/* w is the scalar part. */
typedef struct D3DXQUATERNION {
    float x, y, z, w;
} D3DXQUATERNION;
/* a*x + b*y + c*z + d = 0; (a, b, c) is the normal. */
typedef struct D3DXPLANE {
    float a, b, c, d;
} D3DXPLANE;
/* Row-major; vectors are rows multiplied on the left, row 3 is the translation. */
typedef struct D3DXMATRIX {
    float m[4][4];
} D3DXMATRIX;
typedef struct D3DXVIEWPORT {
    uint32_t X, Y, Width, Height;
    float MinZ, MaxZ;
} D3DXVIEWPORT;

/*
 * The 57 operations. What they share:
 * - Vectors are rows multiplied on the left of a matrix (v·M); row 3 of a
 *   matrix is the translation; A followed by B is the product A·B. A 3D
 *   point is (x, y, z, 1), a direction (x, y, z, 0).
 * - Angles are in radians; yaw turns about y, pitch about x, roll about z.
 * - The output comes first and is returned. A null required pointer makes
 *   the operation return null (0.0 for D3DXMatrixDeterminant) and write
 *   nothing; pointers marked "optional" may be null.
 * - An output may be the same object as any input of its type: every input
 *   is read before the output is written.
 * - Results are single precision; infinities and NaNs propagate.
 * - Normalising: a squared length within FLT_EPSILON of 1 leaves the input
 *   as it is; one at or below FLT_MIN (or NaN) gives all zeros.
 * Each call is an indirect jump through the operation table; the first call
 * of any operation binds the whole table to the processor's variants.
 */

/* 2D vectors ---------------------------------------------------------------*/

/* (x, y, 0, 1)·M: the point transformed, all four components. */
D3DXVECTOR4* D3DXVec2Transform(D3DXVECTOR4* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM);
/* (x, y, 0, 1)·M divided by its w (not divided when w is within FLT_EPSILON of 1). */
D3DXVECTOR2* D3DXVec2TransformCoord(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM);
/* (x, y, 0, 0)·M: the direction transformed, without the translation. */
D3DXVECTOR2* D3DXVec2TransformNormal(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV,
                                     const D3DXMATRIX* pM);
/* The vector scaled to unit length. */
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV);
/* Hermite spline from V1 (tangent T1) to V2 (tangent T2) at s in [0, 1]. */
D3DXVECTOR2* D3DXVec2Hermite(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pT1,
                             const D3DXVECTOR2* pV2, const D3DXVECTOR2* pT2, float s);
/* Catmull-Rom spline through V0..V3, between V1 (s = 0) and V2 (s = 1). */
D3DXVECTOR2* D3DXVec2CatmullRom(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV0, const D3DXVECTOR2* pV1,
                                const D3DXVECTOR2* pV2, const D3DXVECTOR2* pV3, float s);
/* V1 + f·(V2 - V1) + g·(V3 - V1). */
D3DXVECTOR2* D3DXVec2BaryCentric(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2,
                                 const D3DXVECTOR2* pV3, float f, float g);

/* 3D vectors ---------------------------------------------------------------*/

/* (x, y, z, 1)·M: the point transformed, all four components. */
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
/* (x, y, z, 1)·M divided by its w (not divided when w is within FLT_EPSILON of 1). */
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
/* (x, y, z, 0)·M: the direction transformed, without the translation. */
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                     const D3DXMATRIX* pM);
/* The vector scaled to unit length. */
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
/* The point through world·view·projection (each matrix optional) into the
   viewport (optional): x, y in pixels, z between MinZ and MaxZ. */
D3DXVECTOR3* D3DXVec3Project(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                             const D3DXVIEWPORT* pViewport, const D3DXMATRIX* pProjection,
                             const D3DXMATRIX* pView, const D3DXMATRIX* pWorld);
/* The inverse of D3DXVec3Project: from the viewport (optional) back through
   the inverse of world·view·projection (each matrix optional). */
D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                               const D3DXVIEWPORT* pViewport, const D3DXMATRIX* pProjection,
                               const D3DXMATRIX* pView, const D3DXMATRIX* pWorld);
/* Hermite spline from V1 (tangent T1) to V2 (tangent T2) at s in [0, 1]. */
D3DXVECTOR3* D3DXVec3Hermite(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pT1,
                             const D3DXVECTOR3* pV2, const D3DXVECTOR3* pT2, float s);
/* Catmull-Rom spline through V0..V3, between V1 (s = 0) and V2 (s = 1). */
D3DXVECTOR3* D3DXVec3CatmullRom(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV0, const D3DXVECTOR3* pV1,
                                const D3DXVECTOR3* pV2, const D3DXVECTOR3* pV3, float s);
/* V1 + f·(V2 - V1) + g·(V3 - V1). */
D3DXVECTOR3* D3DXVec3BaryCentric(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                                 const D3DXVECTOR3* pV3, float f, float g);

/* 4D vectors ---------------------------------------------------------------*/

/* (x, y, z, w)·M. */
D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM);
/* The vector scaled to unit length. */
D3DXVECTOR4* D3DXVec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV);
/* The 4D cross product: the vector perpendicular to V1, V2 and V3. */
D3DXVECTOR4* D3DXVec4Cross(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                           const D3DXVECTOR4* pV3);
/* Hermite spline from V1 (tangent T1) to V2 (tangent T2) at s in [0, 1]. */
D3DXVECTOR4* D3DXVec4Hermite(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pT1,
                             const D3DXVECTOR4* pV2, const D3DXVECTOR4* pT2, float s);
/* Catmull-Rom spline through V0..V3, between V1 (s = 0) and V2 (s = 1). */
D3DXVECTOR4* D3DXVec4CatmullRom(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV0, const D3DXVECTOR4* pV1,
                                const D3DXVECTOR4* pV2, const D3DXVECTOR4* pV3, float s);
/* V1 + f·(V2 - V1) + g·(V3 - V1). */
D3DXVECTOR4* D3DXVec4BaryCentric(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                                 const D3DXVECTOR4* pV3, float f, float g);

/* Matrices -----------------------------------------------------------------*/

/* M1·M2: M1's transformation, then M2's. */
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
/* The transpose of M1·M2. */
D3DXMATRIX* D3DXMatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                        const D3DXMATRIX* pM2);
/* The determinant; 0.0 for a null matrix. */
float D3DXMatrixDeterminant(const D3DXMATRIX* pM);
/* The inverse, or null (out untouched) when 1/determinant is not finite; the
   determinant is stored in pDeterminant (optional) either way. */
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM);
/* The transpose. */
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM);
/* The translation by (x, y, z): identity with row 3 = (x, y, z, 1). */
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z);
/* The scaling by (sx, sy, sz): diagonal (sx, sy, sz, 1). */
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, float sx, float sy, float sz);
/* The rotation by `angle` about the x axis. */
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, float angle);
/* The rotation by `angle` about the y axis. */
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angle);
/* The rotation by `angle` about the z axis. */
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, float angle);
/* The rotation by `angle` about the axis V (normalised first). */
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, float angle);
/* The rotation the quaternion describes (not normalised first). */
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ);
/* The rotation by roll about z, then pitch about x, then yaw about y. */
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, float yaw, float pitch, float roll);
/* Scaling (about its centre, along its rotated axes), rotation (about its
   centre), then translation; every argument after pOut is optional. */
D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* pOut, const D3DXVECTOR3* pScalingCenter,
                                     const D3DXQUATERNION* pScalingRotation,
                                     const D3DXVECTOR3* pScaling,
                                     const D3DXVECTOR3* pRotationCenter,
                                     const D3DXQUATERNION* pRotation,
                                     const D3DXVECTOR3* pTranslation);
/* Uniform scaling, rotation (about its centre), then translation; the
   pointers after pOut are optional. */
D3DXMATRIX* D3DXMatrixAffineTransformation(D3DXMATRIX* pOut, float scaling,
                                           const D3DXVECTOR3* pRotationCenter,
                                           const D3DXQUATERNION* pRotation,
                                           const D3DXVECTOR3* pTranslation);
/* The projection onto the plane from the light (w = 0: a direction). */
D3DXMATRIX* D3DXMatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane);
/* The reflection in the plane. */
D3DXMATRIX* D3DXMatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane);

/* Quaternions --------------------------------------------------------------*/

/* Q1 then Q2: the Hamilton product Q2 × Q1. */
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                       const D3DXQUATERNION* pQ2);
/* The quaternion scaled to unit length. */
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
/* The inverse: the conjugate divided by the squared length; (0, 0, 0, 0)
   when the squared length is not above 2^-63. */
D3DXQUATERNION* D3DXQuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
/* The rotation by `angle` about the axis V (normalised first). */
D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV,
                                           float angle);
/* The rotation of the matrix's upper 3x3. */
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM);
/* The rotation by roll about z, then pitch about x, then yaw about y. */
D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, float yaw, float pitch,
                                                   float roll);
/* The rotation's axis (optional; unit length only for a unit quaternion) and
   angle (optional); a null quaternion does nothing. */
void D3DXQuaternionToAxisAngle(const D3DXQUATERNION* pQ, D3DXVECTOR3* pAxis, float* pAngle);
/* Spherical interpolation from Q1 (t = 0) to Q2 (t = 1), the short way round. */
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                    const D3DXQUATERNION* pQ2, float t);
/* Spherical quadrangle interpolation from Q1 to C with the control points A
   and B of D3DXQuaternionSquadSetup. */
D3DXQUATERNION* D3DXQuaternionSquad(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                    const D3DXQUATERNION* pA, const D3DXQUATERNION* pB,
                                    const D3DXQUATERNION* pC, float t);
/* The control points A, B and C for a Squad between Q1 and Q2, from the keys
   Q0..Q3; writes nothing when any pointer is null. */
void D3DXQuaternionSquadSetup(D3DXQUATERNION* pAOut, D3DXQUATERNION* pBOut, D3DXQUATERNION* pCOut,
                              const D3DXQUATERNION* pQ0, const D3DXQUATERNION* pQ1,
                              const D3DXQUATERNION* pQ2, const D3DXQUATERNION* pQ3);
/* Barycentric interpolation of Q1, Q2, Q3 by f and g, through two Slerps. */
D3DXQUATERNION* D3DXQuaternionBaryCentric(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                          const D3DXQUATERNION* pQ2, const D3DXQUATERNION* pQ3,
                                          float f, float g);
/* The logarithm of a unit quaternion: (θ/sin θ)·(x, y, z) with w = 0. */
D3DXQUATERNION* D3DXQuaternionLn(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
/* The exponential of a pure quaternion (its w ignored): a unit quaternion. */
D3DXQUATERNION* D3DXQuaternionExp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);

/* Planes -------------------------------------------------------------------*/

/* The plane through the point with the normal (not normalised). */
D3DXPLANE* D3DXPlaneFromPointNormal(D3DXPLANE* pOut, const D3DXVECTOR3* pPoint,
                                    const D3DXVECTOR3* pNormal);
/* The plane through three points, its normal (V1 - V2) × (V1 - V3) normalised. */
D3DXPLANE* D3DXPlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                               const D3DXVECTOR3* pV3);
/* The plane scaled to a unit normal, d included. */
D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP);
/* (a, b, c, d)·M: pass the inverse transpose of a point transform. */
D3DXPLANE* D3DXPlaneTransform(D3DXPLANE* pOut, const D3DXPLANE* pP, const D3DXMATRIX* pM);
/* Where the line through V1 and V2 meets the plane (not clipped to the
   segment), or null when it is parallel to the plane or the point is not finite. */
D3DXVECTOR3* D3DXPlaneIntersectLine(D3DXVECTOR3* pOut, const D3DXPLANE* pP, const D3DXVECTOR3* pV1,
                                    const D3DXVECTOR3* pV2);

/*
 * 2x2 box filter for A8R8G8B8 and X8R8G8B8 pixels. Halves the image in both
 * directions; each output pixel is the rounded average of a 2x2 source block,
 * channel by channel. The first call binds both entries to the processor's
 * routines (AVX2, SSE2 or MMX when it has MMX, else integer); every one of
 * them gives the same pixels, except that the integer X8R8G8B8 routine writes
 * a top byte of 0 where the others average it.
 * Returns 0 on success, a negative status for an invalid call.
 */
int32_t BoxDownsampleArgbEntry(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                               int32_t srcPitch, int32_t dstPitch);
int32_t BoxDownsampleXrgbEntry(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                               int32_t srcPitch, int32_t dstPitch);

/*
 * Debug output. The library writes its lines, "D3DX: <text>\r\n", to the
 * debugger output: on Linux standard error, or what the variable
 * D3DX_DEBUG_OUTPUT names ("none" drops them, any other value is a file the
 * lines are appended to). With a sink installed, every line goes to the sink
 * instead, with `context` passed back unchanged; a sink that does nothing
 * silences the library, and a null sink restores the debugger output. Install
 * the sink before other threads use the library.
 */
typedef void (*D3DXDebugOutputSink)(const char* line, void* context);
void D3DXSetDebugOutput(D3DXDebugOutputSink sink, void* context);

#ifdef __cplusplus
}
#endif
