// 2x2 box down-sampler for 32-bit pixels: the integer A8R8G8B8 and X8R8G8B8
// routines, the MMX routine that serves both formats and its exact SSE2 and
// AVX2 forms, the binders that pick between them on the first call, and a
// hook for tests.
//
// Pixels are little-endian words: bits 0-7 blue, 8-15 green, 16-23 red,
// 24-31 alpha (A8R8G8B8) or unused (X8R8G8B8). Every output channel is
// (p00 + p01 + p10 + p11 + 2) >> 2 of its 2x2 source block.
//
// Sizes: the output is (width / 2) x (height / 2) pixels and covers only
// whole 2x2 blocks. An odd last source column or row is ignored; no routine
// reads outside the width x height source or writes outside the output, and
// trailing pitch bytes of either image are never touched.
//
// Pitches: byte distances between rows. A source pitch that is not positive
// (a bottom-up image) produces no output; the call still returns 0.
//
// Status: 0 for every valid call, width 0 and height 0 included.
// kBoxFilterInvalidPointer when the output would hold at least one pixel but
// the source or the destination pointer is null; nothing is written then.
#pragma once

#include <atomic>
#include <cstdint>

namespace d3dx {

inline constexpr int32_t kBoxFilterOk = 0;
inline constexpr int32_t kBoxFilterInvalidPointer = -1;

// The one signature of every routine and of both entries.
using BoxFilterFn = int32_t (*)(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                                int32_t srcPitch, int32_t dstPitch);

// Integer, two channels per 32-bit operation; alpha averaged.
int32_t BoxDownsampleArgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch);

// Integer, two channels per 32-bit operation; output top byte 0.
int32_t BoxDownsampleXrgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch);

// MMX, two output pixels per step; all four bytes averaged, for both formats.
// Widths that are not a multiple of 4 are handed to BoxDownsampleArgb.
int32_t BoxDownsampleMmx(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                         int32_t srcPitch, int32_t dstPitch);

// SSE2 and AVX2 forms of the MMX routine: the same pixels, status and
// treatment of sizes and pitches for every call, any width included (no
// hand-over). The AVX2 form needs a processor and system with AVX2.
int32_t BoxDownsampleSse2(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch);
int32_t BoxDownsampleAvx2(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                          int32_t srcPitch, int32_t dstPitch);

// First-call contents of the two entries: each binds BOTH entries, then
// forwards the call to the routine its own entry now holds. From one reading
// of the processor: without MMX (or with "DisableMMX" set) the two integer
// routines; otherwise, for both entries, the widest form of the MMX routine,
// AVX2 when the processor has it and the system saves its registers, else
// SSE2 when it is available (by the rule the operation table uses), else
// MMX. The three give the same pixels, so callers see the same output
// whichever one is bound.
int32_t BindBoxDownsampleArgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                              int32_t srcPitch, int32_t dstPitch);
int32_t BindBoxDownsampleXrgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                              int32_t srcPitch, int32_t dstPitch);

// What each entry holds now: its binder before the first call, the bound
// routine after it.
BoxFilterFn CurrentBoxArgbEntry();
BoxFilterFn CurrentBoxXrgbEntry();

// The two entries: each holds its binder until the first call of either.
extern std::atomic<BoxFilterFn> g_boxArgbEntry;
extern std::atomic<BoxFilterFn> g_boxXrgbEntry;

}  // namespace d3dx
