// AVX2 box filter routine: the exact byte-average form of the SSE2 routine
// (see box_filter_sse2.cpp) on 256-bit vectors, eight output pixels per step
// (16 source pixels of each of the two rows).
//
// Only the functions marked with the avx2 target use AVX2 instructions, so
// nothing in this file reaches a processor without AVX2 unless the routine
// itself is called; the binders call it only when the processor and the
// system report AVX2.
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_loop.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

namespace d3dx {
namespace {

constexpr uint32_t kStepOutputs = 8;
constexpr std::size_t kVectorBytes = 32;
// Pixel pairs (0, 2) and (1, 3) of each 128-bit half of two vectors.
constexpr int kEvenPixels = _MM_SHUFFLE(2, 0, 2, 0);
constexpr int kOddPixels = _MM_SHUFFLE(3, 1, 3, 1);
// The in-half picks leave output pixels in the order 0 1 4 5 | 2 3 6 7;
// swapping the middle 64-bit quarters restores 0 1 2 3 | 4 5 6 7.
constexpr int kOutputOrder = _MM_SHUFFLE(3, 1, 2, 0);

// The empty asm keeps the loaded vector in a register: each source vector
// feeds both an average and an exclusive or, and without it the compiler
// loads it once for each.
__attribute__((target("avx2"))) __m256i Load(const uint8_t* p) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    __asm__("" : "+x"(v));
    return v;
}

template <int kPixels>
__attribute__((target("avx2"))) __m256i PickPixels(__m256i a, __m256i b) {
    return _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), kPixels));
}

__attribute__((target("avx2"))) void AverageStep(const uint8_t* top, const uint8_t* bottom,
                                                 uint8_t* out) {
    const __m256i t0 = Load(top), t1 = Load(top + kVectorBytes);
    const __m256i b0 = Load(bottom), b1 = Load(bottom + kVectorBytes);
    const __m256i v0 = _mm256_avg_epu8(t0, b0), v1 = _mm256_avg_epu8(t1, b1);
    const __m256i drop0 = _mm256_xor_si256(t0, b0), drop1 = _mm256_xor_si256(t1, b1);
    const __m256i vEven = PickPixels<kEvenPixels>(v0, v1);
    const __m256i vOdd = PickPixels<kOddPixels>(v0, v1);
    const __m256i dropped = _mm256_or_si256(PickPixels<kEvenPixels>(drop0, drop1),
                                            PickPixels<kOddPixels>(drop0, drop1));
    const __m256i excess = _mm256_and_si256(
        _mm256_and_si256(_mm256_xor_si256(vEven, vOdd), dropped), _mm256_set1_epi8(1));
    const __m256i average = _mm256_sub_epi8(_mm256_avg_epu8(vEven, vOdd), excess);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                        _mm256_permute4x64_epi64(average, kOutputOrder));
}

__attribute__((target("avx2"))) void AverageRow(const uint8_t* top, const uint8_t* bottom,
                                                uint8_t* out, uint32_t outWidth) {
    boxfilter::AverageRowInSteps<kStepOutputs, AverageStep>(top, bottom, out, outWidth);
}

}  // namespace

int32_t BoxDownsampleAvx2(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch) {
    return boxfilter::ForEachOutputRow(pDst, pSrc, width, height, srcPitch, dstPitch, AverageRow);
}

}  // namespace d3dx
