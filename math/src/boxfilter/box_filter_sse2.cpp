// SSE2 box filter routine: the exact byte-average form of the MMX routine
// (box_filter_average.h) on 128-bit vectors, four output pixels per step
// (8 source pixels of each of the two rows).
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_average.h"

#include <cstddef>
#include <cstdint>
#include <emmintrin.h>

namespace d3dx {
namespace {

struct Sse2Isa {
    using Vector = __m128i;
    static constexpr std::size_t kVectorBytes = 16;
    // Pixel pairs (0, 2) and (1, 3) of two vectors, as 32-bit lanes.
    static constexpr int kEvenPixels = _MM_SHUFFLE(2, 0, 2, 0);
    static constexpr int kOddPixels = _MM_SHUFFLE(3, 1, 3, 1);

    // The empty asm keeps the loaded vector in a register: each source
    // vector feeds both an average and an exclusive or, and without it the
    // compiler loads it once for each.
    static Vector Load(const uint8_t* p) {
        Vector v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __asm__("" : "+x"(v));
        return v;
    }
    static void StoreOutput(uint8_t* p, Vector v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    }
    static Vector Avg(Vector a, Vector b) { return _mm_avg_epu8(a, b); }
    static Vector Xor(Vector a, Vector b) { return _mm_xor_si128(a, b); }
    static Vector Or(Vector a, Vector b) { return _mm_or_si128(a, b); }
    static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
    static Vector Sub(Vector a, Vector b) { return _mm_sub_epi8(a, b); }
    static Vector LowBits() { return _mm_set1_epi8(1); }
    static Vector EvenPixels(Vector a, Vector b) { return Pick<kEvenPixels>(a, b); }
    static Vector OddPixels(Vector a, Vector b) { return Pick<kOddPixels>(a, b); }

    template <int kPixels>
    static Vector Pick(Vector a, Vector b) {
        return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), kPixels));
    }
};

}  // namespace

int32_t BoxDownsampleSse2(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch) {
    return boxfilter::ExactByteAverageRoutine<Sse2Isa>(pDst, pSrc, width, height, srcPitch,
                                                       dstPitch);
}

}  // namespace d3dx
