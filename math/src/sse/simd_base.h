// Building blocks shared by the SSE and SSE2 variant sets: constants given by
// their bit patterns, loads and stores that touch exactly the bytes of each
// value type, the refined reciprocal and reciprocal square root, and the
// alignment advisory.
//
// Everything here uses SSE1 instructions only. Kernels are templates over an
// instruction-set policy (`SseIsa` here, `Sse2Isa` in sse2_isa.h) that
// supplies single-register lane permutations and the quadrant masks of the
// sine/cosine routine; the arithmetic and its order are the same for both.
#pragma once

#include "d3dx_math.h"
#include "dispatch/dispatch.h"

#include <atomic>
#include <bit>
#include <cstdint>
#include <xmmintrin.h>

namespace d3dx::simd {

inline float FloatFromBits(uint32_t bits) { return std::bit_cast<float>(bits); }

// Four-lane constants live in aligned read-only tables and are loaded whole
// (a constant built from a scalar would cost a shuffle on every use).
struct alignas(16) LaneConstant {
    float f[4];
};
template <uint32_t X, uint32_t Y, uint32_t Z, uint32_t W>
inline constexpr LaneConstant kLaneConstant{{std::bit_cast<float>(X), std::bit_cast<float>(Y),
                                             std::bit_cast<float>(Z), std::bit_cast<float>(W)}};

// The compiler would rebuild a uniform constant from one float and a shuffle
// at every use; reading it through a pointer the compiler cannot see into
// keeps it a plain 16-byte load (usually folded into the arithmetic).
inline const LaneConstant* Opaque(const LaneConstant* p) {
    asm("" : "+r"(p));
    return p;
}

template <uint32_t X, uint32_t Y, uint32_t Z, uint32_t W>
inline __m128 LaneBits() {
    if constexpr (X == Y && Y == Z && Z == W) {
        return _mm_load_ps(Opaque(&kLaneConstant<X, Y, Z, W>)->f);
    } else {
        return _mm_load_ps(kLaneConstant<X, Y, Z, W>.f);
    }
}
template <uint32_t Bits>
inline __m128 SplatBits() {
    return LaneBits<Bits, Bits, Bits, Bits>();
}

// Bit patterns used across the kernels.
inline constexpr uint32_t kHalfBits = 0x3F000000;      // 0.5
inline constexpr uint32_t kOneBits = 0x3F800000;       // 1.0
inline constexpr uint32_t kThreeBits = 0x40400000;     // 3.0
inline constexpr uint32_t kMinusTwoBits = 0xC0000000;  // -2.0
inline constexpr uint32_t kSignBit = 0x80000000;       // -0.0
inline constexpr uint32_t kMagnitudeMask = 0x7FFFFFFF;
inline constexpr uint32_t kAllOnes = 0xFFFFFFFF;
// Squared lengths below 2^-46 count as zero in the 3-vector and plane
// normalisers.
inline constexpr uint32_t kZeroLengthThresholdBits = 0x28800000;

// Sign masks: XOR flips the lanes that hold -0.0.
template <bool X, bool Y, bool Z, bool W>
inline __m128 SignMask() {
    return LaneBits<(X ? kSignBit : 0u), (Y ? kSignBit : 0u), (Z ? kSignBit : 0u),
                    (W ? kSignBit : 0u)>();
}
// AND keeps the lanes that hold all ones.
template <bool X, bool Y, bool Z, bool W>
inline __m128 LaneMask() {
    return LaneBits<(X ? kAllOnes : 0u), (Y ? kAllOnes : 0u), (Z ? kAllOnes : 0u),
                    (W ? kAllOnes : 0u)>();
}

// Row `Row` of the identity matrix; IdentityLane<Row>() is its all-ones mask.
template <int Row>
inline __m128 IdentityRow() {
    return LaneBits<(Row == 0 ? kOneBits : 0u), (Row == 1 ? kOneBits : 0u),
                    (Row == 2 ? kOneBits : 0u), (Row == 3 ? kOneBits : 0u)>();
}
template <int Row>
inline __m128 IdentityLane() {
    return LaneMask<Row == 0, Row == 1, Row == 2, Row == 3>();
}

inline __m128 Select(__m128 mask, __m128 ifSet, __m128 ifClear) {
    return _mm_or_ps(_mm_and_ps(mask, ifSet), _mm_andnot_ps(mask, ifClear));
}

// ---------------------------------------------------------------------------
// Loads and stores. A D3DXVECTOR3 is moved as a pair plus a single float so
// that the four bytes after it are never read or written; a D3DXVECTOR2 as
// one pair. Unused lanes load as zero.

inline __m128 LoadPair(const float* p) {
    return _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(p));
}
inline void StorePair(float* p, __m128 v) { _mm_storel_pi(reinterpret_cast<__m64*>(p), v); }

inline __m128 Load2(const D3DXVECTOR2* v) { return LoadPair(&v->x); }
inline __m128 Load3(const D3DXVECTOR3* v) {
    return _mm_movelh_ps(LoadPair(&v->x), _mm_load_ss(&v->z));
}
// A D3DXVECTOR3 as its pair (x, y, 0, 0) and its single (z, 0, 0, 0), for
// kernels that never need the three in one register.
struct Split3 {
    __m128 xy;
    __m128 z;
};
inline Split3 LoadSplit3(const D3DXVECTOR3* v) { return {LoadPair(&v->x), _mm_load_ss(&v->z)}; }
inline void StoreSplit3(D3DXVECTOR3* out, const Split3& v) {
    StorePair(&out->x, v.xy);
    _mm_store_ss(&out->z, v.z);
}
inline __m128 Load4(const void* p) { return _mm_loadu_ps(static_cast<const float*>(p)); }

inline void Store2(D3DXVECTOR2* out, __m128 v) { StorePair(&out->x, v); }
inline void Store3(D3DXVECTOR3* out, __m128 v) {
    StorePair(&out->x, v);
    _mm_store_ss(&out->z, _mm_movehl_ps(v, v));
}
inline void Store4(void* p, __m128 v) { _mm_storeu_ps(static_cast<float*>(p), v); }

// Matrix rows. The aligned store needs a 16-byte-aligned matrix; the
// unaligned forms move the same 16 bytes.
inline __m128 LoadRowUnaligned(const D3DXMATRIX* m, int row) { return _mm_loadu_ps(m->m[row]); }
inline void StoreRowAligned(D3DXMATRIX* m, int row, __m128 v) { _mm_store_ps(m->m[row], v); }
inline void StoreRowUnaligned(D3DXMATRIX* m, int row, __m128 v) { _mm_storeu_ps(m->m[row], v); }

struct Rows {
    __m128 r[4];
};

inline Rows LoadRows(const D3DXMATRIX* m) {
    return {{LoadRowUnaligned(m, 0), LoadRowUnaligned(m, 1), LoadRowUnaligned(m, 2),
             LoadRowUnaligned(m, 3)}};
}
inline void StoreRows(D3DXMATRIX* m, const Rows& rows) {
    for (int i = 0; i < 4; ++i) StoreRowUnaligned(m, i, rows.r[i]);
}
inline void StoreRowsAligned(D3DXMATRIX* m, const Rows& rows) {
    for (int i = 0; i < 4; ++i) StoreRowAligned(m, i, rows.r[i]);
}

inline Rows Transposed(Rows m) {
    _MM_TRANSPOSE4_PS(m.r[0], m.r[1], m.r[2], m.r[3]);
    return m;
}

// Exactly zero or NaN: the value cannot serve as a divisor.
inline bool IsZeroOrNaN(float v) { return !(v < 0.0f || v > 0.0f); }

// ---------------------------------------------------------------------------
// Alignment advisory: a level-3 debug line for an argument that misses the
// 16-byte alignment of the fast path. It never changes a result.

inline bool IsAligned16(const void* p) { return (reinterpret_cast<uintptr_t>(p) & 0xF) == 0; }

inline void AdviseAlignment(const char* message) { MathDebugMessage(3, "%s", message); }

// The advisory after the result is stored: `result` is passed through, so the
// common aligned case needs no registers saved for the call.
template <class T>
[[gnu::noinline, gnu::cold]] T* AdviseAlignmentReturning(const char* message, T* result) {
    AdviseAlignment(message);
    return result;
}

// ---------------------------------------------------------------------------
// Refined reciprocal and reciprocal square root: the hardware estimate plus
// one Newton-Raphson step.

// q = 2r - (t*r)*r with r = RCPPS(t), in every lane.
inline __m128 RefinedReciprocal(__m128 t) {
    const __m128 r = _mm_rcp_ps(t);
    return _mm_sub_ps(_mm_add_ps(r, r), _mm_mul_ps(_mm_mul_ps(t, r), r));
}

// q = (0.5*r)*(3 - (s*r)*r) with r = RSQRTSS(s).
inline __m128 RefinedReciprocalSqrt(__m128 s) {
    const __m128 r = _mm_rsqrt_ss(s);
    const __m128 half = _mm_set_ss(FloatFromBits(kHalfBits));
    const __m128 three = _mm_set_ss(FloatFromBits(kThreeBits));
    return _mm_mul_ss(_mm_mul_ss(half, r), _mm_sub_ss(three, _mm_mul_ss(_mm_mul_ss(s, r), r)));
}

// The 4-vector form: q = ((3 - s*(r*r))*0.5)*r.
inline __m128 RefinedReciprocalSqrt4(__m128 s) {
    const __m128 r = _mm_rsqrt_ss(s);
    const __m128 half = _mm_set_ss(FloatFromBits(kHalfBits));
    const __m128 three = _mm_set_ss(FloatFromBits(kThreeBits));
    return _mm_mul_ss(_mm_mul_ss(_mm_sub_ss(three, _mm_mul_ss(s, _mm_mul_ss(r, r))), half), r);
}

// The scalar form used by the shadow matrix: (0.5*r)*(3 - (s*r)*r), with its
// two constants set up on first use, each behind its own bit of a flag byte.
// Concurrent first calls store the same values; each flag bit is published
// with release order after its constant, so a reader that sees the bit also
// sees the value.
namespace rsqrt_constants {
inline constexpr uint8_t kHalfReady = 1;
inline constexpr uint8_t kThreeReady = 2;

inline std::atomic<uint8_t>& Flags() {
    static std::atomic<uint8_t> flags{0};
    return flags;
}

template <uint8_t Bit, uint32_t Bits>
inline float Lazy() {
    static std::atomic<float> value{0.0f};
    if ((Flags().load(std::memory_order_acquire) & Bit) == 0) {
        value.store(FloatFromBits(Bits), std::memory_order_relaxed);
        Flags().fetch_or(Bit, std::memory_order_release);
    }
    return value.load(std::memory_order_relaxed);
}
}  // namespace rsqrt_constants

inline float RefinedRsqrt(float s) {
    const __m128 half = _mm_set_ss(rsqrt_constants::Lazy<rsqrt_constants::kHalfReady, kHalfBits>());
    const __m128 three =
        _mm_set_ss(rsqrt_constants::Lazy<rsqrt_constants::kThreeReady, kThreeBits>());
    const __m128 sv = _mm_set_ss(s);
    const __m128 r = _mm_rsqrt_ss(sv);
    return _mm_cvtss_f32(
        _mm_mul_ss(_mm_mul_ss(half, r), _mm_sub_ss(three, _mm_mul_ss(_mm_mul_ss(sv, r), r))));
}

// ---------------------------------------------------------------------------
// Quadrant of a reduced angle. The sine/cosine routine rounds a*2/pi to an
// integer k by adding 2^23; k then sits in the mantissa bits of the sum.

inline constexpr uint32_t kMantissaMask = 0x007FFFFF;

struct Quadrants {
    __m128 odd;         // all ones where k is odd (sine and cosine swap)
    __m128 sineFlip;    // sign bit where k mod 4 is 2 or 3
    __m128 cosineFlip;  // sign bit where k mod 4 is 1 or 2
};

// Sign bit for bit 1 of n: ((n & 2) << 30).
constexpr uint32_t SignFromBitOne(uint32_t n) { return (n & 2u) << 30; }

// ---------------------------------------------------------------------------
// The SSE1 instruction-set policy.

struct SseIsa {
    // SSE1 has no integer lane operations, so the quadrant bits are worked
    // out lane by lane in general-purpose registers.
    static Quadrants QuadrantMasks(__m128 roundedSum) {
        alignas(16) float sums[4];
        _mm_store_ps(sums, roundedSum);
        alignas(16) float odd[4], sineFlip[4], cosineFlip[4];
        for (int i = 0; i < 4; ++i) {
            const uint32_t k = std::bit_cast<uint32_t>(sums[i]) & kMantissaMask;
            const uint32_t oddBit = k & 1u;
            odd[i] = FloatFromBits(oddBit != 0 ? kAllOnes : 0u);
            sineFlip[i] = FloatFromBits(SignFromBitOne(k - oddBit));
            cosineFlip[i] = FloatFromBits(SignFromBitOne(k + oddBit));
        }
        return {_mm_load_ps(odd), _mm_load_ps(sineFlip), _mm_load_ps(cosineFlip)};
    }

    // Lane permutation of one register: result lane i = v[Ii].
    template <int I0, int I1, int I2, int I3>
    static __m128 Permute(__m128 v) {
        return _mm_shuffle_ps(v, v, _MM_SHUFFLE(I3, I2, I1, I0));
    }
    template <int I>
    static __m128 Broadcast(__m128 v) {
        return Permute<I, I, I, I>(v);
    }
};

// Lane i of v as a scalar in lane 0 of a register (other lanes unspecified).
template <class Isa, int I>
inline __m128 LaneToFront(__m128 v) {
    if constexpr (I == 0) {
        return v;
    } else {
        return Isa::template Permute<I, I, I, I>(v);
    }
}

// (p0 + p2) + (p1 + p3) into lane 0.
template <class Isa>
inline __m128 FoldedSum4(__m128 p) {
    const __m128 pairs = _mm_add_ps(p, _mm_movehl_ps(p, p));  // (p0+p2, p1+p3, ..)
    return _mm_add_ss(pairs, LaneToFront<Isa, 1>(pairs));
}

// (p0 + p2) + (p1 + p3) in every lane (IEEE addition is commutative, so each
// lane holds the same value).
template <class Isa>
inline __m128 FoldedSum4All(__m128 p) {
    const __m128 pairs =
        _mm_add_ps(p, Isa::template Permute<2, 3, 0, 1>(p));  // (p0+p2, p1+p3, p2+p0, p3+p1)
    return _mm_add_ps(pairs, Isa::template Permute<1, 0, 3, 2>(pairs));
}

// (p0 + p1) + p2 into lane 0.
template <class Isa>
inline __m128 Sum3(__m128 p) {
    return _mm_add_ss(_mm_add_ss(p, LaneToFront<Isa, 1>(p)), LaneToFront<Isa, 2>(p));
}

// (p0 + p1) + (p2 + p3) into lane 0.
template <class Isa>
inline __m128 PairedSum4(__m128 p) {
    const __m128 swapped = Isa::template Permute<1, 0, 3, 2>(p);
    const __m128 pairs = _mm_add_ps(p, swapped);  // (p0+p1, .., p2+p3, ..)
    return _mm_add_ss(pairs, _mm_movehl_ps(pairs, pairs));
}

}  // namespace d3dx::simd
