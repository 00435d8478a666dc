// The scalar refined reciprocal square root with first-use constants.
#include <atomic>
#include <cstdint>

#include "sse/simd_base.h"

namespace d3dx::simd {
namespace {

constexpr uint8_t kHalfReady = 1;
constexpr uint8_t kThreeReady = 2;

// The two constants are set up on first use, each behind its own flag bit.
// Concurrent first calls store the same values; the flag is published with
// release order after its constant, so a reader that sees the bit also sees
// the value.
std::atomic<uint8_t> g_constantsReady{0};
std::atomic<float> g_half{0.0f};
std::atomic<float> g_three{0.0f};

float LazyConstant(std::atomic<float>& slot, uint8_t bit, uint32_t bits) {
    if ((g_constantsReady.load(std::memory_order_acquire) & bit) == 0) {
        slot.store(FloatFromBits(bits), std::memory_order_relaxed);
        g_constantsReady.fetch_or(bit, std::memory_order_release);
    }
    return slot.load(std::memory_order_relaxed);
}

}  // namespace

// 0.5*r*(3 - s*r*r), r = RSQRTSS(s): ((0.5*r)*(3 - (s*r)*r)).
float RefinedRsqrt(float s) {
    const float half = LazyConstant(g_half, kHalfReady, kHalfBits);
    const float three = LazyConstant(g_three, kThreeReady, kThreeBits);
    const __m128 sv = _mm_set_ss(s);
    const __m128 r = _mm_rsqrt_ss(sv);
    const __m128 q = _mm_mul_ss(_mm_mul_ss(_mm_set_ss(half), r),
                                _mm_sub_ss(_mm_set_ss(three), _mm_mul_ss(_mm_mul_ss(sv, r), r)));
    return _mm_cvtss_f32(q);
}

}  // namespace d3dx::simd
