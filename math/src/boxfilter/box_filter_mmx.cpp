// MMX box filter routine: each channel widened to a 16-bit word, so one
// 64-bit addition sums all four channels of a pixel; one step reads four
// source pixels of two rows (32 bytes) and writes two output pixels.
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_loop.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// On x86-64 GCC carries __m64 values in SSE registers when SSE2 is enabled:
// this file is compiled without SSE2 (math/CMakeLists.txt), so that the row
// kernel runs on the MMX registers proper, which is what the EMMS on entry
// and exit pairs with.
#include <mmintrin.h>

namespace d3dx {
namespace {

// Source pixels per MMX step; widths must be a multiple of it.
constexpr uint32_t kStepPixels = 4;
constexpr std::size_t kStepSourceBytes = kStepPixels * boxfilter::kBytesPerPixel;
constexpr std::size_t kStepOutputBytes = kStepSourceBytes / 2;
constexpr std::size_t kPairBytes = 2 * boxfilter::kBytesPerPixel;
constexpr short kWordRound = 2;
constexpr int kAverageShift = 2;

__m64 Load64(const uint8_t* p) {
    __m64 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Store64(uint8_t* p, __m64 v) { std::memcpy(p, &v, sizeof v); }

// Two horizontally adjacent pixels, as the channel words of each one summed.
__m64 SumPairWords(__m64 pair, __m64 zero) {
    return _mm_add_pi16(_mm_unpacklo_pi8(pair, zero), _mm_unpackhi_pi8(pair, zero));
}

// One output pixel, as rounded 16-bit channel averages of the 2x2 block at
// top/bottom.
__m64 AverageBlockWords(const uint8_t* top, const uint8_t* bottom, __m64 round) {
    const __m64 zero = _mm_setzero_si64();
    const __m64 sum =
        _mm_add_pi16(SumPairWords(Load64(top), zero), SumPairWords(Load64(bottom), zero));
    return _mm_srli_pi16(_mm_add_pi16(sum, round), kAverageShift);
}

void AverageRowMmx(const uint8_t* top, const uint8_t* bottom, uint8_t* out, uint32_t outWidth) {
    const __m64 round = _mm_set1_pi16(kWordRound);
    const std::size_t steps = outWidth / 2;
    for (std::size_t i = 0; i < steps; ++i) {
        const std::size_t s = i * kStepSourceBytes;
        const __m64 left = AverageBlockWords(top + s, bottom + s, round);
        const __m64 right = AverageBlockWords(top + s + kPairBytes, bottom + s + kPairBytes, round);
        Store64(out + i * kStepOutputBytes, _mm_packs_pu16(left, right));
    }
}

}  // namespace

int32_t BoxDownsampleMmx(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                         int32_t srcPitch, int32_t dstPitch) {
    if (width % kStepPixels != 0) {
        return BoxDownsampleArgb(pDst, pSrc, width, height, srcPitch, dstPitch);
    }
    _mm_empty();
    const int32_t status =
        boxfilter::ForEachOutputRow(pDst, pSrc, width, height, srcPitch, dstPitch, AverageRowMmx);
    _mm_empty();
    return status;
}

}  // namespace d3dx
