// The earlier long-double x87 forms: quaternion and plane operations (see ld_common.h).
#include "dispatch/op_table.h"
#include "long_double/ld_common.h"

#include <cmath>

namespace d3dx::x87ld {
namespace {

// Below this squared length a quaternion has no usable inverse.
constexpr Ext kInverseMinSquaredLength = 0x1p-63L;  // 2^-63 = 1.0842022e-19

// Index order of the diagonal branch of the matrix-to-quaternion conversion.
constexpr int kNextAxis[3] = {1, 2, 0};

// A plane's length is that of its normal (a, b, c).
constexpr std::size_t kPlaneNormalComponents = 3;

struct Vec3 {
    Ext x, y, z;
};

struct Quat {
    Ext x, y, z, w;
};

template <class... P>
bool AnyNull(const P*... pointers) {
    return ((pointers == nullptr) || ...);
}

Vec3 LoadVec3(const D3DXVECTOR3& v) {
    const auto c = Load(v);
    return {c[0], c[1], c[2]};
}

Quat LoadQuat(const D3DXQUATERNION& q) {
    const auto c = Load(q);
    return {c[0], c[1], c[2], c[3]};
}

void StoreVec3(D3DXVECTOR3* out, const Vec3& v) { Store(*out, {v.x, v.y, v.z}); }
void StoreQuat(D3DXQUATERNION* out, const Quat& q) { Store(*out, {q.x, q.y, q.z, q.w}); }

Vec3 Sub(const Vec3& u, const Vec3& v) { return {u.x - v.x, u.y - v.y, u.z - v.z}; }
Vec3 Scaled(const Vec3& v, Ext s) { return {v.x * s, v.y * s, v.z * s}; }
Ext Dot(const Vec3& u, const Vec3& v) { return u.x * v.x + u.y * v.y + u.z * v.z; }
Vec3 Cross(const Vec3& u, const Vec3& v) {
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

Quat Scaled(const Quat& q, Ext s) { return {q.x * s, q.y * s, q.z * s, q.w * s}; }
Quat Add(const Quat& p, const Quat& q) { return {p.x + q.x, p.y + q.y, p.z + q.z, p.w + q.w}; }
Quat Sub(const Quat& p, const Quat& q) { return {p.x - q.x, p.y - q.y, p.z - q.z, p.w - q.w}; }
Ext SquaredLength(const Quat& q) { return q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w; }
Vec3 VectorPart(const Quat& q) { return {q.x, q.y, q.z}; }
Quat WithVectorPart(const Vec3& v, Ext w) { return {v.x, v.y, v.z, w}; }

// Hamilton product p x q: applying q first, then p.
Quat Hamilton(const Quat& p, const Quat& q) {
    return {p.w * q.x + p.x * q.w + p.y * q.z - p.z * q.y,
            p.w * q.y - p.x * q.z + p.y * q.w + p.z * q.x,
            p.w * q.z + p.x * q.y - p.y * q.x + p.z * q.w,
            p.w * q.w - p.x * q.x - p.y * q.y - p.z * q.z};
}

struct CosSin {
    Ext cos, sin;
};

// Cosine and sine of half an angle; the half angle and both results are
// rounded to single precision.
CosSin HalfAngleCosSin(float angle) {
    const float half = angle * 0.5f;
    return {RoundToFloat(std::cos(static_cast<Ext>(half))),
            RoundToFloat(std::sin(static_cast<Ext>(half)))};
}

Quat YawPitchRollQuat(float yaw, float pitch, float roll) {
    const CosSin y = HalfAngleCosSin(yaw);
    const CosSin p = HalfAngleCosSin(pitch);
    const CosSin r = HalfAngleCosSin(roll);
    return {y.cos * p.sin * r.cos + y.sin * p.cos * r.sin,
            y.sin * p.cos * r.cos - y.cos * p.sin * r.sin,
            y.cos * p.cos * r.sin - y.sin * p.sin * r.cos,
            y.cos * p.cos * r.cos + y.sin * p.sin * r.sin};
}

Ext At(const D3DXMATRIX& m, int row, int col) { return m.m[row][col]; }

// Rotation with a positive trace: w is the largest component.
Quat QuatFromPositiveTrace(const D3DXMATRIX& m, Ext trace) {
    const Ext w = std::sqrt(trace + 1.0L) * 0.5L;
    const Ext k = 0.25L / w;
    return {(At(m, 1, 2) - At(m, 2, 1)) * k, (At(m, 2, 0) - At(m, 0, 2)) * k,
            (At(m, 0, 1) - At(m, 1, 0)) * k, w};
}

// Index of the largest of the three diagonal terms; ties go to the lower one.
int LargestDiagonalTerm(const float (&d)[3]) {
    if (d[0] >= d[1] && d[2] <= d[0]) return 0;
    if (d[0] < d[1] && d[2] <= d[1]) return 1;
    return 2;
}

// Rotation with a non-positive trace: starts from the vector component with
// the largest diagonal term, which keeps the divisor away from zero.
Quat QuatFromDiagonal(const D3DXMATRIX& m) {
    const Ext m00 = At(m, 0, 0), m11 = At(m, 1, 1), m22 = At(m, 2, 2);
    const float d[3] = {RoundToFloat(m00 - m11 - m22), RoundToFloat(m11 - m00 - m22),
                        RoundToFloat(m22 - m00 - m11)};
    const int i = LargestDiagonalTerm(d);
    const int j = kNextAxis[i];
    const int k = kNextAxis[j];
    Ext v[3];
    v[i] = std::sqrt(static_cast<Ext>(d[i]) + 1.0L) * 0.5L;
    const Ext f = 0.25L / v[i];
    v[j] = (At(m, j, i) + At(m, i, j)) * f;
    v[k] = (At(m, k, i) + At(m, i, k)) * f;
    return {v[0], v[1], v[2], (At(m, j, k) - At(m, k, j)) * f};
}

struct SlerpWeights {
    Ext first, second;
};

// -1 when q2 lies in the other hemisphere from q1 (or the dot is NaN), so
// that the interpolation takes the short way round.
Ext ShortWaySign(Ext dot) { return (dot < 0.0L || std::isnan(dot)) ? -1.0L : 1.0L; }

// Weights of q1 and of the sign-corrected q2 for the cosine c between them.
// Nearly equal or opposite quaternions are blended linearly.
SlerpWeights ArcWeights(Ext c, float t) {
    if (!(1.0L - c > kFltEpsilon)) return {1.0L - t, static_cast<Ext>(t)};
    const Ext y = std::sqrt(1.0L - c * c);
    const Ext theta = RoundToFloat(std::atan2(y, static_cast<Ext>(RoundToFloat(c))));
    const Ext r = RoundToFloat(1.0L / y);
    return {std::sin((1.0L - t) * theta) * r, std::sin(t * theta) * r};
}

D3DXQUATERNION Slerped(const D3DXQUATERNION& q1, const D3DXQUATERNION& q2, float t) {
    D3DXQUATERNION out;
    ::D3DXQuaternionSlerp(&out, &q1, &q2, t);
    return out;
}

// Multiply(p, q) as the public operation defines it: q applied after p.
D3DXQUATERNION Product(const D3DXQUATERNION& p, const D3DXQUATERNION& q) {
    D3DXQUATERNION out;
    ::D3DXQuaternionMultiply(&out, &p, &q);
    return out;
}

D3DXQUATERNION Negated(const D3DXQUATERNION& q) { return {-q.x, -q.y, -q.z, -q.w}; }

// True when b is closer to -a than to a, so that the spline should use -b.
bool CloserToNegation(const D3DXQUATERNION& a, const D3DXQUATERNION& b) {
    const Quat qa = LoadQuat(a), qb = LoadQuat(b);
    return SquaredLength(Sub(qa, qb)) > SquaredLength(Add(qa, qb));
}

void AlignWith(const D3DXQUATERNION& reference, D3DXQUATERNION* q) {
    if (CloserToNegation(reference, *q)) *q = Negated(*q);
}

// Inner control point of a squad spline at `cur` between `prev` and `next`:
// cur * exp(-(ln(cur^-1 next) + ln(cur^-1 prev)) / 4).
D3DXQUATERNION SquadControlPoint(const D3DXQUATERNION& prev, const D3DXQUATERNION& cur,
                                 const D3DXQUATERNION& next) {
    D3DXQUATERNION inverse, lnNext, lnPrev, tangent, expTangent;
    ::D3DXQuaternionInverse(&inverse, &cur);
    const D3DXQUATERNION toNext = Product(inverse, next);
    const D3DXQUATERNION toPrev = Product(inverse, prev);
    ::D3DXQuaternionLn(&lnNext, &toNext);
    ::D3DXQuaternionLn(&lnPrev, &toPrev);
    StoreQuat(&tangent, Scaled(Add(LoadQuat(lnNext), LoadQuat(lnPrev)), -0.25L));
    ::D3DXQuaternionExp(&expTangent, &tangent);
    return Product(cur, expTangent);
}

}  // namespace

D3DXPLANE* PlaneFromPointNormal(D3DXPLANE* pOut, const D3DXVECTOR3* pPoint,
                                const D3DXVECTOR3* pNormal) {
    if (AnyNull(pOut, pPoint, pNormal)) return nullptr;
    const Vec3 n = LoadVec3(*pNormal);
    Store(*pOut, {n.x, n.y, n.z, -Dot(n, LoadVec3(*pPoint))});
    return pOut;
}

// The normal is normalised in a local through the public entry and the
// offset taken with that normal; V1 is read before anything is written.
D3DXPLANE* PlaneFromPoints(D3DXPLANE* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2,
                           const D3DXVECTOR3* pV3) {
    if (AnyNull(pOut, pV1, pV2, pV3)) return nullptr;
    const Vec3 v1 = LoadVec3(*pV1);
    D3DXVECTOR3 normal;
    StoreVec3(&normal, Cross(Sub(v1, LoadVec3(*pV2)), Sub(v1, LoadVec3(*pV3))));
    ::D3DXVec3Normalize(&normal, &normal);
    const Vec3 n = LoadVec3(normal);
    Store(*pOut, {n.x, n.y, n.z, -Dot(n, v1)});
    return pOut;
}

D3DXQUATERNION* QuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                   const D3DXQUATERNION* pQ2) {
    if (AnyNull(pOut, pQ1, pQ2)) return nullptr;
    StoreQuat(pOut, Hamilton(LoadQuat(*pQ2), LoadQuat(*pQ1)));
    return pOut;
}

D3DXQUATERNION* QuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    return NormalizeComponents(pOut, pQ);
}

// Only the normal decides the length; d is scaled with it.
D3DXPLANE* PlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP) {
    return NormalizeComponents(pOut, pP, kPlaneNormalComponents);
}

// Point where the line through V1 and V2 meets the plane, not limited to the
// segment. Null (out untouched) when the line is parallel to the plane or the
// line parameter is not finite.
D3DXVECTOR3* PlaneIntersectLine(D3DXVECTOR3* pOut, const D3DXPLANE* pP, const D3DXVECTOR3* pV1,
                                const D3DXVECTOR3* pV2) {
    if (AnyNull(pOut, pP, pV1, pV2)) return nullptr;
    const Components<D3DXPLANE> plane = Load(*pP);
    const Vec3 v1 = LoadVec3(*pV1), v2 = LoadVec3(*pV2);
    const Vec3 n{plane[0], plane[1], plane[2]};
    const Ext e = Dot(n, v1);
    const Ext f = e - Dot(n, v2);
    if (f == 0.0L) return nullptr;
    const float t = RoundToFloat((e + plane[3]) / f);
    if (!std::isfinite(t)) return nullptr;
    const Vec3 step = Scaled(Sub(v2, v1), t);
    StoreVec3(pOut, {v1.x + step.x, v1.y + step.y, v1.z + step.z});
    return pOut;
}

// The axis is (x, y, z) divided by the length of the whole quaternion, so it
// is a unit vector only for a pure quaternion; a zero quaternion gives the
// x axis and angle 0.
void QuaternionToAxisAngle(const D3DXQUATERNION* pQ, D3DXVECTOR3* pAxis, float* pAngle) {
    if (AnyNull(pQ)) return;
    const Quat q = LoadQuat(*pQ);
    const Ext lengthSq = SquaredLength(q);
    const bool usable = lengthSq > kFltMin;
    const Vec3 axis =
        usable ? Scaled(VectorPart(q), 1.0L / std::sqrt(lengthSq)) : Vec3{1.0L, 0.0L, 0.0L};
    const Ext angle = usable ? 2.0L * std::acos(q.w) : 0.0L;
    if (pAxis != nullptr) StoreVec3(pAxis, axis);
    if (pAngle != nullptr) *pAngle = RoundToFloat(angle);
}

D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    if (AnyNull(pOut, pM)) return nullptr;
    const Ext trace = At(*pM, 1, 1) + At(*pM, 2, 2) + At(*pM, 0, 0);
    StoreQuat(pOut, trace > 0.0L ? QuatFromPositiveTrace(*pM, trace) : QuatFromDiagonal(*pM));
    return pOut;
}

D3DXQUATERNION* QuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, float yaw, float pitch,
                                               float roll) {
    if (AnyNull(pOut)) return nullptr;
    StoreQuat(pOut, YawPitchRollQuat(yaw, pitch, roll));
    return pOut;
}

// Flattens geometry onto the plane as seen from the light (w = 0 for a
// directional light).
D3DXMATRIX* MatrixShadow(D3DXMATRIX* pOut, const D3DXVECTOR4* pLight, const D3DXPLANE* pPlane) {
    if (AnyNull(pOut, pLight, pPlane)) return nullptr;
    D3DXPLANE unit;
    ::D3DXPlaneNormalize(&unit, pPlane);
    const Ext p[4] = {unit.a, unit.b, unit.c, unit.d};
    const Ext l[4] = {pLight->x, pLight->y, pLight->z, pLight->w};
    const Ext dot = p[0] * l[0] + p[1] * l[1] + p[2] * l[2] + p[3] * l[3];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const Ext diagonal = i == j ? dot : 0.0L;
            pOut->m[i][j] = RoundToFloat(diagonal - p[i] * l[j]);
        }
    }
    return pOut;
}

// Row i < 3 is e_i - 2 p_i n, row 3 is -2 d n, column 3 is (0, 0, 0, 1).
D3DXMATRIX* MatrixReflect(D3DXMATRIX* pOut, const D3DXPLANE* pPlane) {
    if (AnyNull(pOut, pPlane)) return nullptr;
    D3DXPLANE unit;
    ::D3DXPlaneNormalize(&unit, pPlane);
    const Ext p[4] = {unit.a, unit.b, unit.c, unit.d};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            const Ext identity = i == j ? 1.0L : 0.0L;
            pOut->m[i][j] = RoundToFloat(identity - 2.0L * p[i] * p[j]);
        }
        pOut->m[i][3] = i == 3 ? 1.0f : 0.0f;
    }
    return pOut;
}

D3DXQUATERNION* QuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, float angle) {
    if (AnyNull(pOut, pV)) return nullptr;
    D3DXVECTOR3 axis;
    ::D3DXVec3Normalize(&axis, pV);
    const float half = angle * 0.5f;
    const Ext s = std::sin(static_cast<Ext>(half));
    StoreQuat(pOut, WithVectorPart(Scaled(LoadVec3(axis), s), std::cos(static_cast<Ext>(half))));
    return pOut;
}

// The plane as a row 4-vector times M. To move a plane by a point transform,
// pass the inverse transpose of that transform.
D3DXPLANE* PlaneTransform(D3DXPLANE* pOut, const D3DXPLANE* pP, const D3DXMATRIX* pM) {
    if (AnyNull(pOut, pP, pM)) return nullptr;
    const Components<D3DXPLANE> p = Load(*pP);
    Components<D3DXPLANE> r;
    for (int j = 0; j < 4; ++j) r[j] = RowTimesColumn(p, *pM, j, Extend::kPoint);
    Store(*pOut, r);
    return pOut;
}

D3DXQUATERNION* QuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                const D3DXQUATERNION* pQ2, float t) {
    if (AnyNull(pOut, pQ1, pQ2)) return nullptr;
    const Quat q1 = LoadQuat(*pQ1), q2 = LoadQuat(*pQ2);
    const Ext dot = q1.x * q2.x + q1.z * q2.z + q1.y * q2.y + q2.w * q1.w;
    const Ext sign = ShortWaySign(dot);
    const SlerpWeights weights = ArcWeights(sign * dot, t);
    StoreQuat(pOut, Add(Scaled(q1, weights.first), Scaled(q2, weights.second * sign)));
    return pOut;
}

D3DXQUATERNION* QuaternionBaryCentric(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                      const D3DXQUATERNION* pQ2, const D3DXQUATERNION* pQ3, float f,
                                      float g) {
    if (AnyNull(pOut, pQ1, pQ2, pQ3)) return nullptr;
    const float s = f + g;
    if (IsNear(s, 0.0f)) {
        if (pOut != pQ1) *pOut = *pQ1;
        return pOut;
    }
    const D3DXQUATERNION towardQ2 = Slerped(*pQ1, *pQ2, s);
    const D3DXQUATERNION towardQ3 = Slerped(*pQ1, *pQ3, s);
    return ::D3DXQuaternionSlerp(pOut, &towardQ2, &towardQ3, g / s);
}

D3DXMATRIX* MatrixRotationYawPitchRoll(D3DXMATRIX* pOut, float yaw, float pitch, float roll) {
    if (AnyNull(pOut)) return nullptr;
    D3DXQUATERNION q;
    ::D3DXQuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
    return ::D3DXMatrixRotationQuaternion(pOut, &q);
}

D3DXQUATERNION* QuaternionSquad(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                const D3DXQUATERNION* pA, const D3DXQUATERNION* pB,
                                const D3DXQUATERNION* pC, float t) {
    if (AnyNull(pOut, pQ1, pA, pB, pC)) return nullptr;
    const D3DXQUATERNION outer = Slerped(*pQ1, *pC, t);
    const D3DXQUATERNION inner = Slerped(*pA, *pB, t);
    const float blend = RoundToFloat(2.0L * t * (1.0L - t));
    return ::D3DXQuaternionSlerp(pOut, &outer, &inner, blend);
}

// Conjugate divided by the squared length (skipped when that is near 1); a
// quaternion too short to invert gives the zero quaternion.
D3DXQUATERNION* QuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (AnyNull(pOut, pQ)) return nullptr;
    const Quat q = LoadQuat(*pQ);
    const Ext lengthSq = SquaredLength(q);
    if (!(lengthSq > kInverseMinSquaredLength)) {
        *pOut = D3DXQUATERNION{};
        return pOut;
    }
    const Quat conjugate{-q.x, -q.y, -q.z, q.w};
    const bool unit = IsNear(RoundToFloat(lengthSq), 1.0f);
    StoreQuat(pOut, unit ? conjugate : Scaled(conjugate, 1.0L / lengthSq));
    return pOut;
}

// Aligns the four keys so that neighbours lie in the same hemisphere, then
// writes the two inner control points and the aligned third key.
void QuaternionSquadSetup(D3DXQUATERNION* pAOut, D3DXQUATERNION* pBOut, D3DXQUATERNION* pCOut,
                          const D3DXQUATERNION* pQ0, const D3DXQUATERNION* pQ1,
                          const D3DXQUATERNION* pQ2, const D3DXQUATERNION* pQ3) {
    if (AnyNull(pAOut, pBOut, pCOut, pQ0, pQ1, pQ2, pQ3)) return;
    D3DXQUATERNION q0 = *pQ0, q2 = *pQ2, q3 = *pQ3;
    const D3DXQUATERNION q1 = *pQ1;
    AlignWith(q1, &q0);
    AlignWith(q1, &q2);
    AlignWith(q2, &q3);
    const D3DXQUATERNION a = SquadControlPoint(q0, q1, q2);
    const D3DXQUATERNION b = SquadControlPoint(q1, q2, q3);
    *pAOut = a;
    *pBOut = b;
    *pCOut = q2;
}

// ln of a unit quaternion: (theta * axis, 0). At the identity (or with
// sin(theta) near 0) the vector part is kept as it is.
D3DXQUATERNION* QuaternionLn(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (AnyNull(pOut, pQ)) return nullptr;
    const Quat q = LoadQuat(*pQ);
    Vec3 v = VectorPart(q);
    if (q.w < 1.0L) {
        const Ext theta = std::acos(q.w);
        const Ext s = std::sin(theta);
        if (!IsNear(RoundToFloat(s), 0.0f)) v = Scaled(v, theta / s);
    }
    StoreQuat(pOut, WithVectorPart(v, 0.0L));
    return pOut;
}

// exp of a pure quaternion (the input w is ignored): (sin(theta) / theta *
// v, cos(theta)) with theta = |v|. The vector part is copied only when theta
// itself is near 0, where sin(theta) / theta is 1 to single precision; near
// theta = k*pi, where only the sine vanishes, it is still scaled.
D3DXQUATERNION* QuaternionExp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (AnyNull(pOut, pQ)) return nullptr;
    Vec3 v = VectorPart(LoadQuat(*pQ));
    const Ext theta = std::sqrt(Dot(v, v));
    if (!IsNear(RoundToFloat(theta), 0.0f)) v = Scaled(v, std::sin(theta) / theta);
    StoreQuat(pOut, WithVectorPart(v, std::cos(theta)));
    return pOut;
}

}  // namespace d3dx::x87ld
