// AVX2 box filter routine: the exact byte-average form of the MMX routine
// (box_filter_average.h) on 256-bit vectors, eight output pixels per step
// (16 source pixels of each of the two rows).
//
// This file alone is compiled for AVX2 (math/CMakeLists.txt) and shares no
// inline code with the others (box_filter_loop.h), so nothing of it reaches
// a processor without AVX2 unless the routine itself is called; the binders
// call it only when the processor and the system report AVX2.
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_average.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

namespace d3dx {
namespace {

struct Avx2Isa {
    using Vector = __m256i;
    static constexpr std::size_t kVectorBytes = 32;
    // Pixel pairs (0, 2) and (1, 3) of each 128-bit half of two vectors.
    static constexpr int kEvenPixels = _MM_SHUFFLE(2, 0, 2, 0);
    static constexpr int kOddPixels = _MM_SHUFFLE(3, 1, 3, 1);
    // The in-half picks leave output pixels in the order 0 1 4 5 | 2 3 6 7;
    // swapping the middle 64-bit quarters restores 0 1 2 3 | 4 5 6 7.
    static constexpr int kOutputOrder = _MM_SHUFFLE(3, 1, 2, 0);

    // The empty asm keeps the loaded vector in a register: each source
    // vector feeds both an average and an exclusive or, and without it the
    // compiler loads it once for each.
    static Vector Load(const uint8_t* p) {
        Vector v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        __asm__("" : "+x"(v));
        return v;
    }
    static void StoreOutput(uint8_t* p, Vector v) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p),
                            _mm256_permute4x64_epi64(v, kOutputOrder));
    }
    static Vector Avg(Vector a, Vector b) { return _mm256_avg_epu8(a, b); }
    static Vector Xor(Vector a, Vector b) { return _mm256_xor_si256(a, b); }
    static Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }
    static Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
    static Vector Sub(Vector a, Vector b) { return _mm256_sub_epi8(a, b); }
    static Vector LowBits() { return _mm256_set1_epi8(1); }
    static Vector EvenPixels(Vector a, Vector b) { return Pick<kEvenPixels>(a, b); }
    static Vector OddPixels(Vector a, Vector b) { return Pick<kOddPixels>(a, b); }

    template <int kPixels>
    static Vector Pick(Vector a, Vector b) {
        return _mm256_castps_si256(
            _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), kPixels));
    }
};

}  // namespace

int32_t BoxDownsampleAvx2(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch) {
    return boxfilter::ExactByteAverageRoutine<Avx2Isa>(pDst, pSrc, width, height, srcPitch,
                                                       dstPitch);
}

}  // namespace d3dx
