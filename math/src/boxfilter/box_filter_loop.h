// The part every box filter routine shares: checking a call, working out the
// output geometry, and walking the output rows with their two source rows.
#pragma once

#include "boxfilter/box_filter.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace d3dx::boxfilter {

inline constexpr uint32_t kBytesPerPixel = 4;

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

// Checks the call and, when it is valid, runs rowFn(top, bottom, out,
// outWidth) once per output row: top and bottom are the two source rows of
// the output row out.
template <typename RowFn>
int32_t ForEachOutputRow(const BoxCall& call, RowFn rowFn) {
    if (IsMissingImage(call)) return kBoxFilterInvalidPointer;
    if (!HasOutput(call) || !WalksUpward(call)) return kBoxFilterOk;
    for (uint32_t y = 0; y < call.outHeight; ++y) {
        const uint8_t* top = call.src + 2 * std::ptrdiff_t{y} * call.srcPitch;
        rowFn(top, top + call.srcPitch, call.dst + std::ptrdiff_t{y} * call.dstPitch,
              call.outWidth);
    }
    return kBoxFilterOk;
}

}  // namespace d3dx::boxfilter
