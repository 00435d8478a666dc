// x87 reference: vector and matrix operations.
//
// Every operation computes in double precision and rounds to single precision
// on store. A null required pointer returns null (0.0f for the
// determinant) and writes nothing. An output may be any input of its own type:
// each operation reads what it needs before it writes.
#include "dispatch/op_table.h"
#include "x87/trig_kernels.h"
#include "x87/x87_common.h"

#include <cmath>
#include <initializer_list>

namespace d3dx::x87 {
namespace {

// ---------------------------------------------------------------------------
// Transforms.

// (v, 1)·M with the homogeneous divide: x', y' (, z') are stored as they are
// when w' is near 1, otherwise each is multiplied by 1/w'. There is no guard
// against w' = 0; the components then become infinite or NaN.
template <class T>
T* TransformCoord(T* out, const T* v, const D3DXMATRIX* m) {
    if (out == nullptr || v == nullptr || m == nullptr) return nullptr;
    const std::array<Real, 4> row =
        RowTimesMatrix(Load(*v), *m, Extend::kPoint, RowOrder::kFirstToLast);
    Components<T> result;
    for (std::size_t j = 0; j < result.size(); ++j) result[j] = row[j];
    const Real w = row[3];
    if (!IsNearOne(w)) {
        const Real reciprocal = 1.0 / w;
        for (Real& component : result) component *= reciprocal;
    }
    Store(*out, result);
    return out;
}

// ---------------------------------------------------------------------------
// Matrix products.

Real ProductElement(const D3DXMATRIX& a, const D3DXMATRIX& b, int i, int j) {
    Real sum = static_cast<Real>(a.m[i][0]) * b.m[0][j];
    for (int k = 1; k < 4; ++k) sum += static_cast<Real>(a.m[i][k]) * b.m[k][j];
    return sum;
}

// ---------------------------------------------------------------------------
// Cofactors.

// The six 2x2 minors of an upper and a lower row: at(a, b) for columns a < b
// is upper[a]·lower[b] - upper[b]·lower[a].
class RowPairMinors {
public:
    RowPairMinors(const RealMatrix& m, int upper, int lower) {
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                minor_[a][b] = m[upper][a] * m[lower][b] - m[upper][b] * m[lower][a];
    }
    Real at(int a, int b) const { return minor_[a][b]; }

private:
    Real minor_[4][4] = {};
};

// Cofactor of m[row][col]. `other` is the second row of the row's own half
// (rows 0-1 or rows 2-3) and `minors` those of the opposite half: the 3x3
// minor is expanded along `other`, whose sign pattern is +, -, + in both
// halves.
Real Cofactor(const RealMatrix& m, int row, int col, int other, const RowPairMinors& minors) {
    int cols[3];
    for (int c = 0, n = 0; c < 4; ++c)
        if (c != col) cols[n++] = c;
    const Real minor = m[other][cols[0]] * minors.at(cols[1], cols[2]) -
                       m[other][cols[1]] * minors.at(cols[0], cols[2]) +
                       m[other][cols[2]] * minors.at(cols[0], cols[1]);
    return ((row + col) % 2 == 0) ? minor : -minor;
}

// The second row of row's own half: 0 <-> 1, 2 <-> 3.
constexpr int PartnerRow(int row) { return row ^ 1; }

// Expansion along row 0; the minors of rows 2 and 3 are formed first.
Real DeterminantOf(const RealMatrix& m, const RowPairMinors& lowerMinors) {
    Real sum = 0.0;
    for (int c = 0; c < 4; ++c) sum += m[0][c] * Cofactor(m, 0, c, 1, lowerMinors);
    return sum;
}

// The transposed matrix of cofactors.
RealMatrix Adjugate(const RealMatrix& m, const RowPairMinors& upperMinors,
                    const RowPairMinors& lowerMinors) {
    RealMatrix adjugate{};
    for (int r = 0; r < 4; ++r) {
        const RowPairMinors& opposite = (r < 2) ? lowerMinors : upperMinors;
        for (int c = 0; c < 4; ++c) adjugate[c][r] = Cofactor(m, r, c, PartnerRow(r), opposite);
    }
    return adjugate;
}

// ---------------------------------------------------------------------------
// Matrix builders.

// Identity with the rotation (c, s; -s, c) in rows and columns p and q, the
// sine and cosine rounded to single precision.
D3DXMATRIX* RotationInPlane(D3DXMATRIX* out, float angle, int p, int q) {
    if (out == nullptr) return nullptr;
    const SinCos cs = SinCosOf(angle);
    const float c = RoundToFloat(cs.cos);
    const float s = RoundToFloat(cs.sin);
    Real block[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
    block[p][p] = c;
    block[p][q] = s;
    block[q][p] = -s;
    block[q][q] = c;
    StoreRotation(*out, block[0][0], block[0][1], block[0][2], block[1][0], block[1][1],
                  block[1][2], block[2][0], block[2][1], block[2][2]);
    return out;
}

// Adds sign·v to the translation row (row 3, columns 0-2). The row is
// written back whole, w unchanged, for the matrix product that usually
// follows (see StoreRow).
void AddToTranslationRow(D3DXMATRIX* out, const D3DXVECTOR3& v, Real sign) {
    const Components<D3DXVECTOR3> c = Load(v);
    float(&row)[4] = out->m[3];
    StoreRow(row, RoundToFloat(row[0] + sign * c[0]), RoundToFloat(row[1] + sign * c[1]),
             RoundToFloat(row[2] + sign * c[2]), row[3]);
}

// out = out·R(rotation), about the rotation centre when one is given: the
// centre is moved to the origin first and back afterwards. The centre is
// used only with a rotation.
void ApplyRotation(D3DXMATRIX* out, const D3DXVECTOR3* center, const D3DXQUATERNION* rotation) {
    if (rotation == nullptr) return;
    D3DXMATRIX r;
    ::D3DXMatrixRotationQuaternion(&r, rotation);
    if (center != nullptr) AddToTranslationRow(out, *center, -1.0);
    ::D3DXMatrixMultiply(out, out, &r);
    if (center != nullptr) AddToTranslationRow(out, *center, 1.0);
}

void ApplyTranslation(D3DXMATRIX* out, const D3DXVECTOR3* translation) {
    if (translation != nullptr) AddToTranslationRow(out, *translation, 1.0);
}

// out = transpose(R)·S·R for the scaling S in the frame of the scaling
// rotation R, about the scaling centre when one is given.
void ScaleInRotatedFrame(D3DXMATRIX* out, const D3DXVECTOR3* center, const D3DXQUATERNION* rotation,
                         const D3DXVECTOR3& scaling) {
    D3DXMATRIX s;
    StoreDiagonal(s, scaling.x, scaling.y, scaling.z);
    D3DXMATRIX r;
    D3DXMATRIX rt;
    ::D3DXMatrixRotationQuaternion(&r, rotation);
    ::D3DXMatrixTranspose(&rt, &r);
    if (center != nullptr) {
        *out = kIdentityMatrix;
        AddToTranslationRow(out, *center, -1.0);
        ::D3DXMatrixMultiply(out, out, &rt);
    } else {
        *out = rt;
    }
    ::D3DXMatrixMultiply(out, out, &s);
    ::D3DXMatrixMultiply(out, out, &r);
    if (center != nullptr) AddToTranslationRow(out, *center, 1.0);
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
    c[0] = static_cast<Real>(vp.X) + static_cast<Real>(vp.Width) * (1.0 + c[0]) / 2.0;
    c[1] = static_cast<Real>(vp.Y) + static_cast<Real>(vp.Height) * (1.0 - c[1]) / 2.0;
    c[2] = static_cast<Real>(vp.MinZ) + c[2] * (static_cast<Real>(vp.MaxZ) - vp.MinZ);
    Store(*p, c);
}

// The viewport's pixels and depth range back to normalised device coordinates.
D3DXVECTOR3 FromViewport(const D3DXVECTOR3& p, const D3DXVIEWPORT& vp) {
    Components<D3DXVECTOR3> c = Load(p);
    c[0] = (c[0] - static_cast<Real>(vp.X)) * 2.0 / static_cast<Real>(vp.Width) - 1.0;
    c[1] = -((c[1] - static_cast<Real>(vp.Y)) * 2.0 / static_cast<Real>(vp.Height) - 1.0);
    c[2] = (c[2] - static_cast<Real>(vp.MinZ)) / (static_cast<Real>(vp.MaxZ) - vp.MinZ);
    D3DXVECTOR3 result;
    Store(result, c);
    return result;
}

// ---------------------------------------------------------------------------
// Splines.

template <class T>
bool AllGiven(std::initializer_list<const T*> pointers) {
    for (const T* p : pointers)
        if (p == nullptr) return false;
    return true;
}

// out = Σ weights[n]·points[n], per component.
template <class T>
T* WeightedSum(T* out, const T* (&points)[4], const Real (&weights)[4]) {
    Components<T> loaded[4];
    for (int n = 0; n < 4; ++n) loaded[n] = Load(*points[n]);
    Components<T> result{};
    for (std::size_t k = 0; k < result.size(); ++k) {
        Real sum = 0.0;
        for (int n = 0; n < 4; ++n) sum += weights[n] * loaded[n][k];
        result[k] = sum;
    }
    Store(*out, result);
    return out;
}

struct Powers {
    Real s, s2, s3;
};

Powers PowersOf(float s) {
    const Real e = s;
    const Real s2 = e * e;
    return {e, s2, s2 * e};
}

template <class T>
T* Hermite(T* out, const T* v1, const T* t1, const T* v2, const T* t2, float s) {
    if (out == nullptr || !AllGiven({v1, t1, v2, t2})) return nullptr;
    const Powers p = PowersOf(s);
    const T* points[4] = {v1, t1, v2, t2};
    const Real weights[4] = {2.0 * p.s3 - 3.0 * p.s2 + 1.0, p.s3 - 2.0 * p.s2 + p.s,
                             -2.0 * p.s3 + 3.0 * p.s2, p.s3 - p.s2};
    return WeightedSum(out, points, weights);
}

// The 0.5 factor is applied to each weight; scaling by a power of two is
// exact, so this equals halving the sum.
template <class T>
T* CatmullRom(T* out, const T* v0, const T* v1, const T* v2, const T* v3, float s) {
    if (out == nullptr || !AllGiven({v0, v1, v2, v3})) return nullptr;
    const Powers p = PowersOf(s);
    const T* points[4] = {v0, v1, v2, v3};
    const Real weights[4] = {0.5 * (-p.s3 + 2.0 * p.s2 - p.s),
                             0.5 * (3.0 * p.s3 - 5.0 * p.s2 + 2.0),
                             0.5 * (-3.0 * p.s3 + 4.0 * p.s2 + p.s), 0.5 * (p.s3 - p.s2)};
    return WeightedSum(out, points, weights);
}

template <class T>
T* BaryCentric(T* out, const T* v1, const T* v2, const T* v3, float f, float g) {
    if (out == nullptr || !AllGiven({v1, v2, v3})) return nullptr;
    const Components<T> a = Load(*v1);
    const Components<T> b = Load(*v2);
    const Components<T> c = Load(*v3);
    Components<T> result{};
    for (std::size_t k = 0; k < result.size(); ++k)
        result[k] =
            a[k] + static_cast<Real>(f) * (b[k] - a[k]) + static_cast<Real>(g) * (c[k] - a[k]);
    Store(*out, result);
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------
// Transforms and normalisers.

D3DX_X87_TRANSFORMS(RowOrder::kFirstToLast)

D3DXVECTOR2* Vec2TransformCoord(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, const D3DXMATRIX* pM) {
    return TransformCoord(pOut, pV, pM);
}

D3DXVECTOR3* Vec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    return TransformCoord(pOut, pV, pM);
}

D3DXVECTOR2* Vec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV) {
    return NormalizeComponents(pOut, pV);
}
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    return NormalizeComponents(pOut, pV);
}
D3DXVECTOR4* Vec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV) {
    return NormalizeComponents(pOut, pV);
}

// ---------------------------------------------------------------------------
// Matrix algebra.

D3DXMATRIX* MatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    return MultiplyThroughTemporary(pOut, pM1, pM2, Layout::kAsIs, ProductElement);
}

D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                    const D3DXMATRIX* pM2) {
    return MultiplyThroughTemporary(pOut, pM1, pM2, Layout::kTransposed, ProductElement);
}

// Swaps the six off-diagonal pairs; the diagonal is copied only when out is
// a different matrix. Into a different matrix the rows are written whole (see
// StoreRow).
D3DXMATRIX* MatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pM == nullptr) return nullptr;
    if (pOut != pM) {
        const D3DXMATRIX& m = *pM;
        for (int c = 0; c < 4; ++c)
            StoreRow(pOut->m[c], m.m[0][c], m.m[1][c], m.m[2][c], m.m[3][c]);
        return pOut;
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = r + 1; c < 4; ++c) {
            const float upper = pM->m[r][c];
            pOut->m[r][c] = pM->m[c][r];
            pOut->m[c][r] = upper;
        }
    }
    return pOut;
}

float MatrixDeterminant(const D3DXMATRIX* pM) {
    if (pM == nullptr) return 0.0f;
    const RealMatrix m = LoadMatrix(*pM);
    return RoundToFloat(DeterminantOf(m, RowPairMinors(m, 2, 3)));
}

// The adjugate and the determinant are computed from a full copy of M, so
// out may be M. The determinant is stored, when asked for, before the
// singularity test; a reciprocal that is not finite in single precision
// returns null and leaves out untouched.
D3DXMATRIX* MatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pM == nullptr) return nullptr;
    const RealMatrix m = LoadMatrix(*pM);
    const RowPairMinors lowerMinors(m, 2, 3);
    const RowPairMinors upperMinors(m, 0, 1);
    const Real determinant = DeterminantOf(m, lowerMinors);
    const RealMatrix adjugate = Adjugate(m, upperMinors, lowerMinors);
    if (pDeterminant != nullptr) *pDeterminant = RoundToFloat(determinant);
    const float reciprocal = RoundToFloat(1.0 / determinant);
    if (!std::isfinite(reciprocal)) return nullptr;
    RealMatrix inverse{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) inverse[r][c] = adjugate[r][c] * reciprocal;
    StoreMatrix(*pOut, inverse);
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
    StoreDiagonal(*pOut, sx, sy, sz);
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
    const Real x = a[0], y = a[1], z = a[2];
    const SinCos cs = SinCosOf(angle);
    const Real c = cs.cos, s = cs.sin, t = 1.0 - cs.cos;
    StoreRotation(*pOut,                                                //
                  c + t * x * x, t * x * y + s * z, t * x * z - s * y,  //
                  t * x * y - s * z, c + t * y * y, t * y * z + s * x,  //
                  t * x * z + s * y, t * y * z - s * x, c + t * z * z);
    return pOut;
}

// The quaternion is used as given, not normalised first.
D3DXMATRIX* MatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
    if (pOut == nullptr || pQ == nullptr) return nullptr;
    const Components<D3DXQUATERNION> q = Load(*pQ);
    const Real x = q[0], y = q[1], z = q[2], w = q[3];
    StoreRotation(*pOut,                                                       //
                  1.0 - 2.0 * y * y - 2.0 * z * z, 2.0 * x * y + 2.0 * z * w,  //
                  2.0 * x * z - 2.0 * y * w,                                   //
                  2.0 * x * y - 2.0 * z * w, 1.0 - 2.0 * x * x - 2.0 * z * z,  //
                  2.0 * y * z + 2.0 * x * w,                                   //
                  2.0 * x * z + 2.0 * y * w, 2.0 * y * z - 2.0 * x * w,        //
                  1.0 - 2.0 * x * x - 2.0 * y * y);
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
        StoreDiagonal(*pOut, pScaling->x, pScaling->y, pScaling->z);
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
    StoreDiagonal(*pOut, scaling, scaling, scaling);
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

// ---------------------------------------------------------------------------
// Vector products and splines.

D3DXVECTOR4* Vec4Cross(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                       const D3DXVECTOR4* pV3) {
    if (pOut == nullptr || !AllGiven({pV1, pV2, pV3})) return nullptr;
    const Components<D3DXVECTOR4> a = Load(*pV1);
    const Components<D3DXVECTOR4> b = Load(*pV2);
    const Components<D3DXVECTOR4> c = Load(*pV3);
    const Real p = b[0] * c[1] - b[1] * c[0];
    const Real q = b[0] * c[2] - b[2] * c[0];
    const Real r = b[0] * c[3] - b[3] * c[0];
    const Real u = b[1] * c[2] - b[2] * c[1];
    const Real v = b[1] * c[3] - b[3] * c[1];
    const Real g = b[2] * c[3] - b[3] * c[2];
    Store(*pOut, {a[1] * g - a[2] * v + a[3] * u, -a[0] * g + a[2] * r - a[3] * q,
                  a[0] * v - a[1] * r + a[3] * p, -a[0] * u + a[1] * q - a[2] * p});
    return pOut;
}

D3DXVECTOR2* Vec2Hermite(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pT1,
                         const D3DXVECTOR2* pV2, const D3DXVECTOR2* pT2, float s) {
    return Hermite(pOut, pV1, pT1, pV2, pT2, s);
}
D3DXVECTOR3* Vec3Hermite(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pT1,
                         const D3DXVECTOR3* pV2, const D3DXVECTOR3* pT2, float s) {
    return Hermite(pOut, pV1, pT1, pV2, pT2, s);
}
D3DXVECTOR4* Vec4Hermite(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pT1,
                         const D3DXVECTOR4* pV2, const D3DXVECTOR4* pT2, float s) {
    return Hermite(pOut, pV1, pT1, pV2, pT2, s);
}

D3DXVECTOR2* Vec2CatmullRom(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV0, const D3DXVECTOR2* pV1,
                            const D3DXVECTOR2* pV2, const D3DXVECTOR2* pV3, float s) {
    return CatmullRom(pOut, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR3* Vec3CatmullRom(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV0, const D3DXVECTOR3* pV1,
                            const D3DXVECTOR3* pV2, const D3DXVECTOR3* pV3, float s) {
    return CatmullRom(pOut, pV0, pV1, pV2, pV3, s);
}
D3DXVECTOR4* Vec4CatmullRom(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV0, const D3DXVECTOR4* pV1,
                            const D3DXVECTOR4* pV2, const D3DXVECTOR4* pV3, float s) {
    return CatmullRom(pOut, pV0, pV1, pV2, pV3, s);
}

D3DXVECTOR2* Vec2BaryCentric(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2,
                             const D3DXVECTOR2* pV3, float f, float g) {
    return BaryCentric(pOut, pV1, pV2, pV3, f, g);
}
D3DXVECTOR3* Vec3BaryCentric(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                             const D3DXVECTOR3* pV3, float f, float g) {
    return BaryCentric(pOut, pV1, pV2, pV3, f, g);
}
D3DXVECTOR4* Vec4BaryCentric(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV1, const D3DXVECTOR4* pV2,
                             const D3DXVECTOR4* pV3, float f, float g) {
    return BaryCentric(pOut, pV1, pV2, pV3, f, g);
}

}  // namespace d3dx::x87
