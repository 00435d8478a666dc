// The part every box filter routine shares: checking a call, working out the
// output geometry, and walking the output rows with their two source rows.
//
// Everything here has internal linkage (the unnamed namespace): each routine's
// file, compiled for its own instruction set, keeps its own copy, so the
// linker never hands a file built for a wider instruction set's copy to a
// routine that must run without it.
#pragma once

#include "boxfilter/box_filter.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace d3dx::boxfilter {
namespace {

inline constexpr uint32_t kBytesPerPixel = 4;
// Each output pixel covers two source pixels of each of its two rows.
inline constexpr std::size_t kSourceBytesPerOutput = 2 * kBytesPerPixel;

// One call, in output terms: only whole 2x2 blocks produce output.
struct BoxCall {
    const uint8_t* src;
    uint8_t* dst;
    uint32_t outWidth;
    uint32_t outHeight;
    std::ptrdiff_t srcPitch;
    std::ptrdiff_t dstPitch;
};

inline BoxCall DescribeBoxCall(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                               int32_t srcPitch, int32_t dstPitch) {
    return BoxCall{static_cast<const uint8_t*>(pSrc),
                   static_cast<uint8_t*>(pDst),
                   width / 2,
                   height / 2,
                   srcPitch,
                   dstPitch};
}

inline bool HasOutput(const BoxCall& call) { return call.outWidth != 0 && call.outHeight != 0; }

inline bool IsMissingImage(const BoxCall& call) {
    return HasOutput(call) && (call.src == nullptr || call.dst == nullptr);
}

// Rows are visited upward in memory only: a source pitch that is not
// positive describes no rows to walk.
inline bool WalksUpward(const BoxCall& call) { return call.srcPitch > 0; }

inline uint32_t LoadPixel(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void StorePixel(uint8_t* p, uint32_t v) { std::memcpy(p, &v, sizeof v); }

// Checks a routine's call and, when it is valid, runs rowFn(top, bottom,
// out, outWidth) once per output row: top and bottom are the two source rows
// of the output row out. Returns the routine's status.
template <typename RowFn>
int32_t ForEachOutputRow(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                         int32_t srcPitch, int32_t dstPitch, RowFn rowFn) {
    const BoxCall call = DescribeBoxCall(pDst, pSrc, width, height, srcPitch, dstPitch);
    if (IsMissingImage(call)) return kBoxFilterInvalidPointer;
    if (!HasOutput(call) || !WalksUpward(call)) return kBoxFilterOk;
    for (uint32_t y = 0; y < call.outHeight; ++y) {
        const uint8_t* top = call.src + 2 * std::ptrdiff_t{y} * call.srcPitch;
        rowFn(top, top + call.srcPitch, call.dst + std::ptrdiff_t{y} * call.dstPitch,
              call.outWidth);
    }
    return kBoxFilterOk;
}

// A vector step: reads kStepOutputs * kSourceBytesPerOutput bytes at top and
// at bottom and writes kStepOutputs output pixels at out.
using StepFn = void (*)(const uint8_t* top, const uint8_t* bottom, uint8_t* out);

// Runs Step over the last count (fewer than kStepOutputs) output pixels of a
// row through zero-padded copies, so that nothing past the end of either
// source row is read and nothing past the output row is written.
template <uint32_t kStepOutputs, StepFn Step>
[[gnu::noinline]] void AverageTailThroughCopies(const uint8_t* top, const uint8_t* bottom,
                                                uint8_t* out, uint32_t count) {
    constexpr std::size_t kStepSourceBytes = kStepOutputs * kSourceBytesPerOutput;
    uint8_t topCopy[kStepSourceBytes] = {};
    uint8_t bottomCopy[kStepSourceBytes] = {};
    uint8_t outCopy[kStepOutputs * kBytesPerPixel];
    std::memcpy(topCopy, top, count * kSourceBytesPerOutput);
    std::memcpy(bottomCopy, bottom, count * kSourceBytesPerOutput);
    Step(topCopy, bottomCopy, outCopy);
    std::memcpy(out, outCopy, count * kBytesPerPixel);
}

// One row of a vector routine: whole steps, then the tail through copies.
// Always inlined, so that a row function compiled for a wider instruction
// set than the default inlines its steps into this loop.
template <uint32_t kStepOutputs, StepFn Step>
[[gnu::always_inline]] inline void AverageRowInSteps(const uint8_t* top, const uint8_t* bottom,
                                                     uint8_t* out, uint32_t outWidth) {
    constexpr std::size_t kStepSourceBytes = kStepOutputs * kSourceBytesPerOutput;
    constexpr std::size_t kStepOutputBytes = kStepOutputs * kBytesPerPixel;
    const uint8_t* const topEnd = top + std::size_t{outWidth / kStepOutputs} * kStepSourceBytes;
    for (; top != topEnd; top += kStepSourceBytes, bottom += kStepSourceBytes) {
        Step(top, bottom, out);
        out += kStepOutputBytes;
    }
    if (const uint32_t tail = outWidth % kStepOutputs; tail != 0) {
        AverageTailThroughCopies<kStepOutputs, Step>(top, bottom, out, tail);
    }
}

}  // namespace
}  // namespace d3dx::boxfilter
