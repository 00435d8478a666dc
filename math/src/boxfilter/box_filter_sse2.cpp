// SSE2 box filter routine: exact 2x2 averages from byte averages, four
// output pixels per step (8 source pixels of each of the two rows).
//
// The byte average instruction computes (x + y + 1) >> 1. Averaging the two
// rows first, v = avg(top, bottom), rounds up and drops the low bit of
// top + bottom, which is the low bit of top ^ bottom. Averaging the two
// columns of v rounds up a second time; the result is one too high exactly
// when both of these hold: the columns of v differ in their low bit, and at
// least one of the two row averages dropped a bit. So
//   out = avg(vEven, vOdd) - ((vEven ^ vOdd) & (dropEven | dropOdd) & 1)
// equals (p00 + p01 + p10 + p11 + 2) >> 2 for every quadruple of bytes. All
// four bytes of a pixel are averaged, as by the MMX routine.
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_loop.h"

#include <cstddef>
#include <cstdint>
#include <emmintrin.h>

namespace d3dx {
namespace {

constexpr uint32_t kStepOutputs = 4;
constexpr std::size_t kVectorBytes = 16;
// Pixel pairs (0, 2) and (1, 3) of two vectors, as 32-bit lanes.
constexpr int kEvenPixels = _MM_SHUFFLE(2, 0, 2, 0);
constexpr int kOddPixels = _MM_SHUFFLE(3, 1, 3, 1);

// The empty asm keeps the loaded vector in a register: each source vector
// feeds both an average and an exclusive or, and without it the compiler
// loads it once for each.
__m128i Load(const uint8_t* p) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __asm__("" : "+x"(v));
    return v;
}

template <int kPixels>
__m128i PickPixels(__m128i a, __m128i b) {
    return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), kPixels));
}

void AverageStep(const uint8_t* top, const uint8_t* bottom, uint8_t* out) {
    const __m128i t0 = Load(top), t1 = Load(top + kVectorBytes);
    const __m128i b0 = Load(bottom), b1 = Load(bottom + kVectorBytes);
    const __m128i v0 = _mm_avg_epu8(t0, b0), v1 = _mm_avg_epu8(t1, b1);
    const __m128i drop0 = _mm_xor_si128(t0, b0), drop1 = _mm_xor_si128(t1, b1);
    const __m128i vEven = PickPixels<kEvenPixels>(v0, v1);
    const __m128i vOdd = PickPixels<kOddPixels>(v0, v1);
    const __m128i dropped =
        _mm_or_si128(PickPixels<kEvenPixels>(drop0, drop1), PickPixels<kOddPixels>(drop0, drop1));
    const __m128i excess =
        _mm_and_si128(_mm_and_si128(_mm_xor_si128(vEven, vOdd), dropped), _mm_set1_epi8(1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                     _mm_sub_epi8(_mm_avg_epu8(vEven, vOdd), excess));
}

void AverageRow(const uint8_t* top, const uint8_t* bottom, uint8_t* out, uint32_t outWidth) {
    boxfilter::AverageRowInSteps<kStepOutputs, AverageStep>(top, bottom, out, outWidth);
}

}  // namespace

int32_t BoxDownsampleSse2(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch) {
    return boxfilter::ForEachOutputRow(pDst, pSrc, width, height, srcPitch, dstPitch, AverageRow);
}

}  // namespace d3dx
