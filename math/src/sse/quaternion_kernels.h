// Quaternion kernels: product, inverse, yaw-pitch-roll and the quaternion of
// a rotation matrix.
#pragma once

#include "sse/sincos_kernels.h"

namespace d3dx::simd {

// Q2 x Q1 (apply Q1, then Q2):
//   ((w2*Q1 + x2*(w1, -z1, y1, -x1)) + y2*(z1, w1, -x1, -y1)) + z2*(-y1, x1, w1, -z1)
template <class Isa>
D3DXQUATERNION* QuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                   const D3DXQUATERNION* pQ2) {
    if (pOut == nullptr || pQ1 == nullptr || pQ2 == nullptr) return nullptr;
    const __m128 q1 = Load4(pQ1);
    const __m128 q2 = Load4(pQ2);
    const __m128 wzyx =
        _mm_xor_ps(Isa::template Permute<3, 2, 1, 0>(q1), SignMask<false, true, false, true>());
    const __m128 zwxy =
        _mm_xor_ps(Isa::template Permute<2, 3, 0, 1>(q1), SignMask<false, false, true, true>());
    const __m128 yxwz =
        _mm_xor_ps(Isa::template Permute<1, 0, 3, 2>(q1), SignMask<true, false, false, true>());
    __m128 acc = _mm_mul_ps(Isa::template Broadcast<3>(q2), q1);
    acc = _mm_add_ps(acc, _mm_mul_ps(Isa::template Broadcast<0>(q2), wzyx));
    acc = _mm_add_ps(acc, _mm_mul_ps(Isa::template Broadcast<1>(q2), zwxy));
    acc = _mm_add_ps(acc, _mm_mul_ps(Isa::template Broadcast<2>(q2), yxwz));
    Store4(pOut, acc);
    return pOut;
}

// (-x, -y, -z, w) * q with q the refined reciprocal of (x^2 + z^2) + (y^2 + w^2).
// No zero test: a zero quaternion gives infinite or NaN components.
template <class Isa>
D3DXQUATERNION* QuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    if (pOut == nullptr || pQ == nullptr) return nullptr;
    const __m128 q = Load4(pQ);
    const __m128 s = FoldedSum4All<Isa>(_mm_mul_ps(q, q));
    const __m128 conjugate = _mm_xor_ps(q, SignMask<true, true, true, false>());
    Store4(pOut, _mm_mul_ps(conjugate, RefinedReciprocal(s)));
    return pOut;
}

// half = (roll, pitch, yaw, 0)*0.5; with S = (sr, sp, sy, 0), C = (cr, cp, cy, 1):
//   x = cr*cy*sp + sr*sy*cp    y = cr*sy*cp - sr*cy*sp
//   z = sr*cy*cp - cr*sy*sp    w = cr*cy*cp + sr*sy*sp
template <class Isa>
D3DXQUATERNION* QuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, float yaw, float pitch,
                                               float roll) {
    if (pOut == nullptr) return nullptr;
    const SinCos sc =
        SinCos4<Isa>(_mm_mul_ps(_mm_setr_ps(roll, pitch, yaw, 0.0f), SplatBits<kHalfBits>()));
    const __m128 s = sc.sine;
    const __m128 c = sc.cosine;
    const __m128 lo = _mm_unpacklo_ps(s, c);  // (sr, cr, sp, cp)
    const __m128 hi = _mm_unpackhi_ps(s, c);  // (sy, cy, 0, 1)
    const __m128 first = _mm_mul_ps(
        _mm_mul_ps(Isa::template Permute<1, 1, 0, 1>(lo), Isa::template Permute<1, 0, 1, 1>(hi)),
        Isa::template Permute<2, 3, 3, 3>(lo));
    const __m128 second = _mm_mul_ps(
        _mm_mul_ps(Isa::template Permute<0, 0, 1, 0>(lo), Isa::template Permute<0, 1, 0, 0>(hi)),
        Isa::template Permute<3, 2, 2, 2>(lo));
    Store4(pOut, _mm_add_ps(first, _mm_xor_ps(second, SignMask<false, true, true, false>())));
    return pOut;
}

// The hardware square root (no library call, no errno).
inline float SquareRoot(float v) { return _mm_cvtss_f32(_mm_sqrt_ss(_mm_set_ss(v))); }

// The quaternion of the rotation part of M: the positive-trace form when
// (m11 + m00) + m22 > 0, otherwise the form built on the largest diagonal
// element (ties go to the lower index, next = (1, 2, 0)). The branch is
// decided as the x87 unit decides it: the trace is summed in double, so a
// diagonal element too small to move a single-precision sum still counts,
// and the diagonal terms are each rounded once to single precision. The
// computation after the decision runs in single precision.
template <class Isa>
D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    if (pOut == nullptr || pM == nullptr) return nullptr;
    const auto& m = pM->m;
    float q[4];
    const double m00 = m[0][0], m11 = m[1][1], m22 = m[2][2];
    const double trace = (m11 + m00) + m22;
    if (trace > 0.0) {
        const float root = SquareRoot(static_cast<float>(trace) + 1.0f);
        const float f = 0.5f / root;  // 0.25 / w with w = root * 0.5
        q[0] = (m[1][2] - m[2][1]) * f;
        q[1] = (m[2][0] - m[0][2]) * f;
        q[2] = (m[0][1] - m[1][0]) * f;
        q[3] = root * 0.5f;
    } else {
        constexpr int kNext[3] = {1, 2, 0};
        const float d[3] = {static_cast<float>(m00 - m11 - m22),
                            static_cast<float>(m11 - m00 - m22),
                            static_cast<float>(m22 - m00 - m11)};
        const int first = d[1] > d[0] ? 1 : 0;
        const int i = d[2] > d[first] ? 2 : first;
        const int j = kNext[i];
        const int k = kNext[j];
        const float root = SquareRoot(d[i] + 1.0f);
        const float f = 0.5f / root;
        q[i] = root * 0.5f;
        q[j] = (m[j][i] + m[i][j]) * f;
        q[k] = (m[k][i] + m[i][k]) * f;
        q[3] = (m[j][k] - m[k][j]) * f;
    }
    *pOut = {q[0], q[1], q[2], q[3]};
    return pOut;
}

}  // namespace d3dx::simd
