// Integer box filter routines: two 8-bit channels per 32-bit word, each in
// its own 16-bit lane, so one addition sums two channels of a pixel and a
// 2x2 block costs four additions per lane pair.
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_loop.h"

#include <cstddef>
#include <cstdint>

namespace d3dx {
namespace {

using boxfilter::LoadPixel;
using boxfilter::StorePixel;

// Blue and red, each with 8 free bits above it for the carries of the sum.
constexpr uint32_t kBlueRedMask = 0x00FF00FF;
// Rounding term for blue and red: 2 in each 16-bit lane.
constexpr uint32_t kBlueRedRound = 0x00020002;
// After a right shift by 2, green at bits 6-13 and alpha at bits 22-29; the
// top two bits of the shifted word are always clear.
constexpr uint32_t kGreenAlphaShiftedMask = 0xFFC03FC0;
// Rounding term for the pre-shifted green and alpha: 2 << 6 and 2 << 22.
constexpr uint32_t kGreenAlphaRound = 0x00800080;
// kGreenAlphaRound minus 1 << 24: the same low 24 bits, used by the merge.
constexpr uint32_t kGreenAlphaRoundLessAlphaUnit = 0x007FFF80;
// Green alone, for the X8R8G8B8 form.
constexpr uint32_t kGreenMask = 0x0000FF00;
// Rounding term for green in place: 2 << 8.
constexpr uint32_t kGreenRound = 0x200;
// Rounded green sum before the final shift: bits 10-17.
constexpr uint32_t kGreenSumMask = 0x0003FC00;
// Rounded blue and red sums before the final shift: bits 2-9 and 18-25.
constexpr uint32_t kBlueRedSumMask = 0x03FC03FC;
constexpr uint32_t kAverageShift = 2;

// Sum of blue and red of four pixels plus rounding; lanes of 16 bits.
uint32_t BlueRedSum(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11) {
    return (p00 & kBlueRedMask) + (p01 & kBlueRedMask) + (p10 & kBlueRedMask) +
           (p11 & kBlueRedMask) + kBlueRedRound;
}

uint32_t AverageArgb(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11) {
    const uint32_t blueRed = BlueRedSum(p00, p01, p10, p11) >> kAverageShift;
    const uint32_t greenAlpha = ((p00 >> kAverageShift) & kGreenAlphaShiftedMask) +
                                ((p01 >> kAverageShift) & kGreenAlphaShiftedMask) +
                                ((p10 >> kAverageShift) & kGreenAlphaShiftedMask) +
                                ((p11 >> kAverageShift) & kGreenAlphaShiftedMask);
    // Both rounded forms agree below bit 24, so XOR-ing them away leaves the
    // blue and red results in their byte positions and green/alpha elsewhere.
    const uint32_t rounded = greenAlpha + kGreenAlphaRound;
    const uint32_t roundedLow = greenAlpha - kGreenAlphaRoundLessAlphaUnit;
    return ((roundedLow ^ blueRed) & kBlueRedMask) ^ rounded;
}

uint32_t AverageXrgb(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11) {
    const uint32_t green =
        (p00 & kGreenMask) + (p01 & kGreenMask) + (p10 & kGreenMask) + (p11 & kGreenMask);
    return (((green + kGreenRound) & kGreenSumMask) |
            (BlueRedSum(p00, p01, p10, p11) & kBlueRedSumMask)) >>
           kAverageShift;
}

template <uint32_t (*Average)(uint32_t, uint32_t, uint32_t, uint32_t)>
void AverageRow(const uint8_t* top, const uint8_t* bottom, uint8_t* out, uint32_t outWidth) {
    constexpr std::size_t kPairBytes = 2 * boxfilter::kBytesPerPixel;
    for (std::size_t x = 0; x < outWidth; ++x) {
        const uint8_t* t = top + x * kPairBytes;
        const uint8_t* b = bottom + x * kPairBytes;
        StorePixel(out + x * boxfilter::kBytesPerPixel,
                   Average(LoadPixel(t), LoadPixel(t + boxfilter::kBytesPerPixel), LoadPixel(b),
                           LoadPixel(b + boxfilter::kBytesPerPixel)));
    }
}

}  // namespace

int32_t BoxDownsampleArgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch) {
    return boxfilter::ForEachOutputRow(pDst, pSrc, width, height, srcPitch, dstPitch,
                                       AverageRow<AverageArgb>);
}

int32_t BoxDownsampleXrgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch) {
    return boxfilter::ForEachOutputRow(pDst, pSrc, width, height, srcPitch, dstPitch,
                                       AverageRow<AverageXrgb>);
}

}  // namespace d3dx
