// The earlier long-double x87 forms: vector and matrix operations (see ld_common.h).
#include "dispatch/op_table.h"
#include "long_double/ld_common.h"

#include <cmath>
#include <initializer_list>

namespace d3dx::x87ld {
namespace {

// ---------------------------------------------------------------------------
// Matrix builders.

D3DXMATRIX DiagonalMatrix(float sx, float sy, float sz) {
    D3DXMATRIX m = kIdentityMatrix;
    m.m[0][0] = sx;
    m.m[1][1] = sy;
    m.m[2][2] = sz;
    return m;
}

struct CosSin {
    Ext cos, sin;
};

CosSin CosSinOf(float angle) {
    const Ext a = angle;
    return {std::cos(a), std::sin(a)};
}

// Identity with the rotation (c, s; -s, c) in rows and columns p and q.
D3DXMATRIX* RotationInPlane(D3DXMATRIX* out, float angle, int p, int q) {
    if (out == nullptr) return nullptr;
    const CosSin cs = CosSinOf(angle);
    const float c = RoundToFloat(cs.cos);
    const float s = RoundToFloat(cs.sin);
    *out = kIdentityMatrix;
    out->m[p][p] = c;
    out->m[p][q] = s;
    out->m[q][p] = -s;
    out->m[q][q] = c;
    return out;
}

// Adds sign·v to the translation row (row 3, columns 0-2).
void AddToTranslationRow(D3DXMATRIX* out, const D3DXVECTOR3& v, Ext sign) {
    const Components<D3DXVECTOR3> c = Load(v);
    for (int k = 0; k < 3; ++k) out->m[3][k] = RoundToFloat(out->m[3][k] + sign * c[k]);
}

// out = out·R(rotation), about the rotation centre when one is given: the
// centre is moved to the origin first and back afterwards. The centre is
// used only with a rotation.
void ApplyRotation(D3DXMATRIX* out, const D3DXVECTOR3* center, const D3DXQUATERNION* rotation) {
    if (rotation == nullptr) return;
    D3DXMATRIX r;
    ::D3DXMatrixRotationQuaternion(&r, rotation);
    if (center != nullptr) AddToTranslationRow(out, *center, -1.0L);
    ::D3DXMatrixMultiply(out, out, &r);
    if (center != nullptr) AddToTranslationRow(out, *center, 1.0L);
}

void ApplyTranslation(D3DXMATRIX* out, const D3DXVECTOR3* translation) {
    if (translation != nullptr) AddToTranslationRow(out, *translation, 1.0L);
}

// out = transpose(R)·S·R for the scaling S in the frame of the scaling
// rotation R, about the scaling centre when one is given.
void ScaleInRotatedFrame(D3DXMATRIX* out, const D3DXVECTOR3* center, const D3DXQUATERNION* rotation,
                         const D3DXVECTOR3& scaling) {
    const D3DXMATRIX s = DiagonalMatrix(scaling.x, scaling.y, scaling.z);
    D3DXMATRIX r;
    D3DXMATRIX rt;
    ::D3DXMatrixRotationQuaternion(&r, rotation);
    ::D3DXMatrixTranspose(&rt, &r);
    if (center != nullptr) {
        *out = kIdentityMatrix;
        AddToTranslationRow(out, *center, -1.0L);
        ::D3DXMatrixMultiply(out, out, &rt);
    } else {
        *out = rt;
    }
    ::D3DXMatrixMultiply(out, out, &s);
    ::D3DXMatrixMultiply(out, out, &r);
    if (center != nullptr) AddToTranslationRow(out, *center, 1.0L);
}

// ---------------------------------------------------------------------------
// Projection.

// world·view·projection of the matrices given, skipping null ones, through
// the public product. Returns the given matrix itself when only one is
// given, and the identity (in `local`) when none is.
const D3DXMATRIX* CombineMatrices(D3DXMATRIX& local, const D3DXMATRIX* world,
                                  const D3DXMATRIX* view, const D3DXMATRIX* projection) {
    const D3DXMATRIX* combined = nullptr;
    for (const D3DXMATRIX* factor : {world, view, projection}) {
        if (factor == nullptr) continue;
        if (combined == nullptr) {
            combined = factor;
        } else {
            ::D3DXMatrixMultiply(&local, combined, factor);
            combined = &local;
        }
    }
    if (combined != nullptr) return combined;
    local = kIdentityMatrix;
    return &local;
}

bool AnyGiven(const D3DXMATRIX* a, const D3DXMATRIX* b, const D3DXMATRIX* c) {
    return a != nullptr || b != nullptr || c != nullptr;
}

// Normalised device coordinates to the viewport's pixels and depth range.
void ToViewport(D3DXVECTOR3* p, const D3DXVIEWPORT& vp) {
    Components<D3DXVECTOR3> c = Load(*p);
    c[0] = static_cast<Ext>(vp.X) + static_cast<Ext>(vp.Width) * (1.0L + c[0]) / 2.0L;
    c[1] = static_cast<Ext>(vp.Y) + static_cast<Ext>(vp.Height) * (1.0L - c[1]) / 2.0L;
    c[2] = static_cast<Ext>(vp.MinZ) + c[2] * (static_cast<Ext>(vp.MaxZ) - vp.MinZ);
    Store(*p, c);
}

// The viewport's pixels and depth range back to normalised device coordinates.
D3DXVECTOR3 FromViewport(const D3DXVECTOR3& p, const D3DXVIEWPORT& vp) {
    Components<D3DXVECTOR3> c = Load(p);
    c[0] = (c[0] - static_cast<Ext>(vp.X)) * 2.0L / static_cast<Ext>(vp.Width) - 1.0L;
    c[1] = -((c[1] - static_cast<Ext>(vp.Y)) * 2.0L / static_cast<Ext>(vp.Height) - 1.0L);
    c[2] = (c[2] - static_cast<Ext>(vp.MinZ)) / (static_cast<Ext>(vp.MaxZ) - vp.MinZ);
    D3DXVECTOR3 result;
    Store(result, c);
    return result;
}
}  // namespace

D3DXVECTOR2* Vec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV) {
    return NormalizeComponents(pOut, pV);
}
D3DXMATRIX* MatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pM == nullptr) return nullptr;
    for (int r = 0; r < 4; ++r) {
        for (int c = r + 1; c < 4; ++c) {
            const float upper = pM->m[r][c];
            const float lower = pM->m[c][r];
            pOut->m[r][c] = lower;
            pOut->m[c][r] = upper;
        }
    }
    if (pOut != pM)
        for (int d = 0; d < 4; ++d) pOut->m[d][d] = pM->m[d][d];
    return pOut;
}
// ---------------------------------------------------------------------------
// Matrix builders.

D3DXMATRIX* MatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z) {
    if (pOut == nullptr) return nullptr;
    *pOut = kIdentityMatrix;
    pOut->m[3][0] = x;
    pOut->m[3][1] = y;
    pOut->m[3][2] = z;
    return pOut;
}

D3DXMATRIX* MatrixScaling(D3DXMATRIX* pOut, float sx, float sy, float sz) {
    if (pOut == nullptr) return nullptr;
    *pOut = DiagonalMatrix(sx, sy, sz);
    return pOut;
}

D3DXMATRIX* MatrixRotationX(D3DXMATRIX* pOut, float angle) {
    return RotationInPlane(pOut, angle, 1, 2);
}
D3DXMATRIX* MatrixRotationY(D3DXMATRIX* pOut, float angle) {
    return RotationInPlane(pOut, angle, 2, 0);
}
D3DXMATRIX* MatrixRotationZ(D3DXMATRIX* pOut, float angle) {
    return RotationInPlane(pOut, angle, 0, 1);
}

D3DXMATRIX* MatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, float angle) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    D3DXVECTOR3 axis;
    ::D3DXVec3Normalize(&axis, pV);
    const Components<D3DXVECTOR3> a = Load(axis);
    const Ext x = a[0], y = a[1], z = a[2];
    const CosSin cs = CosSinOf(angle);
    const Ext c = cs.cos, s = cs.sin, t = 1.0L - cs.cos;
    const ExtMatrix m = {{
        {c + t * x * x, t * x * y + s * z, t * x * z - s * y, 0.0L},
        {t * x * y - s * z, c + t * y * y, t * y * z + s * x, 0.0L},
        {t * x * z + s * y, t * y * z - s * x, c + t * z * z, 0.0L},
        {0.0L, 0.0L, 0.0L, 1.0L},
    }};
    StoreMatrix(*pOut, m);
    return pOut;
}

// The quaternion is used as given, not normalised first.
D3DXMATRIX* MatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
    if (pOut == nullptr || pQ == nullptr) return nullptr;
    const Components<D3DXQUATERNION> q = Load(*pQ);
    const Ext x = q[0], y = q[1], z = q[2], w = q[3];
    const ExtMatrix m = {{
        {1.0L - 2.0L * y * y - 2.0L * z * z, 2.0L * x * y + 2.0L * z * w,
         2.0L * x * z - 2.0L * y * w, 0.0L},
        {2.0L * x * y - 2.0L * z * w, 1.0L - 2.0L * x * x - 2.0L * z * z,
         2.0L * y * z + 2.0L * x * w, 0.0L},
        {2.0L * x * z + 2.0L * y * w, 2.0L * y * z - 2.0L * x * w,
         1.0L - 2.0L * x * x - 2.0L * y * y, 0.0L},
        {0.0L, 0.0L, 0.0L, 1.0L},
    }};
    StoreMatrix(*pOut, m);
    return pOut;
}

// Scaling (about the scaling centre, in the frame of the scaling rotation),
// then rotation about the rotation centre, then translation. Every product
// goes through the public entry with out as output and first factor.
D3DXMATRIX* MatrixTransformation(D3DXMATRIX* pOut, const D3DXVECTOR3* pScalingCenter,
                                 const D3DXQUATERNION* pScalingRotation,
                                 const D3DXVECTOR3* pScaling, const D3DXVECTOR3* pRotationCenter,
                                 const D3DXQUATERNION* pRotation, const D3DXVECTOR3* pTranslation) {
    if (pOut == nullptr) return nullptr;
    if (pScaling == nullptr) {
        *pOut = kIdentityMatrix;
    } else if (pScalingRotation == nullptr) {
        *pOut = DiagonalMatrix(pScaling->x, pScaling->y, pScaling->z);
    } else {
        ScaleInRotatedFrame(pOut, pScalingCenter, pScalingRotation, *pScaling);
    }
    ApplyRotation(pOut, pRotationCenter, pRotation);
    ApplyTranslation(pOut, pTranslation);
    return pOut;
}

D3DXMATRIX* MatrixAffineTransformation(D3DXMATRIX* pOut, float scaling,
                                       const D3DXVECTOR3* pRotationCenter,
                                       const D3DXQUATERNION* pRotation,
                                       const D3DXVECTOR3* pTranslation) {
    if (pOut == nullptr) return nullptr;
    *pOut = DiagonalMatrix(scaling, scaling, scaling);
    ApplyRotation(pOut, pRotationCenter, pRotation);
    ApplyTranslation(pOut, pTranslation);
    return pOut;
}

// ---------------------------------------------------------------------------
// Projection.

D3DXVECTOR3* Vec3Project(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXVIEWPORT* pViewport,
                         const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                         const D3DXMATRIX* pWorld) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    D3DXMATRIX local;
    const D3DXMATRIX* combined = CombineMatrices(local, pWorld, pView, pProjection);
    ::D3DXVec3TransformCoord(pOut, pV, combined);
    if (pViewport != nullptr) ToViewport(pOut, *pViewport);
    return pOut;
}

// A combination that cannot be inverted has no unprojection: the operation
// then returns null and leaves out untouched rather than transforming by an
// undefined matrix.
D3DXVECTOR3* Vec3Unproject(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXVIEWPORT* pViewport,
                           const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                           const D3DXMATRIX* pWorld) {
    if (pOut == nullptr || pV == nullptr) return nullptr;
    D3DXMATRIX local;
    const D3DXMATRIX* combined = CombineMatrices(local, pWorld, pView, pProjection);
    if (AnyGiven(pWorld, pView, pProjection) &&
        ::D3DXMatrixInverse(&local, nullptr, combined) == nullptr)
        return nullptr;
    if (pViewport == nullptr) return ::D3DXVec3TransformCoord(pOut, pV, &local);
    *pOut = FromViewport(*pV, *pViewport);
    return ::D3DXVec3TransformCoord(pOut, pOut, &local);
}
}  // namespace d3dx::x87ld
