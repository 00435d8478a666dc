// The two box filter entries and their binders. Each entry is one function
// pointer word; it starts out holding its binder, and the first call of
// either entry binds both to the MMX routine or to the integer routines.
// Racing first calls store the same values, so relaxed atomic stores
// suffice: a reader sees either a binder or a routine, never a torn word.
#include "boxfilter/box_filter.h"
#include "d3dx_math.h"
#include "dispatch/dispatch.h"

#include <atomic>
#include <cstdint>

namespace d3dx {
namespace {

std::atomic<BoxFilterFn> g_boxArgbEntry{&BindBoxDownsampleArgb};
std::atomic<BoxFilterFn> g_boxXrgbEntry{&BindBoxDownsampleXrgb};

void BindBoxFilterEntries() {
    const bool hasMmx = ProcessorHasMMX() != 0;
    g_boxArgbEntry.store(hasMmx ? &BoxDownsampleMmx : &BoxDownsampleArgb,
                         std::memory_order_relaxed);
    g_boxXrgbEntry.store(hasMmx ? &BoxDownsampleMmx : &BoxDownsampleXrgb,
                         std::memory_order_relaxed);
}

}  // namespace

int32_t BindBoxDownsampleArgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                              int32_t srcPitch, int32_t dstPitch) {
    BindBoxFilterEntries();
    return CurrentBoxArgbEntry()(pDst, pSrc, width, height, srcPitch, dstPitch);
}

int32_t BindBoxDownsampleXrgb(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                              int32_t srcPitch, int32_t dstPitch) {
    BindBoxFilterEntries();
    return CurrentBoxXrgbEntry()(pDst, pSrc, width, height, srcPitch, dstPitch);
}

BoxFilterFn CurrentBoxArgbEntry() { return g_boxArgbEntry.load(std::memory_order_relaxed); }

BoxFilterFn CurrentBoxXrgbEntry() { return g_boxXrgbEntry.load(std::memory_order_relaxed); }

void ResetBoxFilterEntries() {
    g_boxArgbEntry.store(&BindBoxDownsampleArgb, std::memory_order_relaxed);
    g_boxXrgbEntry.store(&BindBoxDownsampleXrgb, std::memory_order_relaxed);
}

}  // namespace d3dx

extern "C" int32_t BoxDownsampleArgbEntry(void* pDst, const void* pSrc, uint32_t width,
                                          uint32_t height, int32_t srcPitch, int32_t dstPitch) {
    return d3dx::CurrentBoxArgbEntry()(pDst, pSrc, width, height, srcPitch, dstPitch);
}

extern "C" int32_t BoxDownsampleXrgbEntry(void* pDst, const void* pSrc, uint32_t width,
                                          uint32_t height, int32_t srcPitch, int32_t dstPitch) {
    return d3dx::CurrentBoxXrgbEntry()(pDst, pSrc, width, height, srcPitch, dstPitch);
}
