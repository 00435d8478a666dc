// The two box filter entries and their binders. Each entry is one function
// pointer word; it starts out holding its binder, and the first call of
// either entry binds both: to the widest exact form of the MMX routine when
// the processor has MMX, otherwise to the integer routines.
// Racing first calls store the same values, so relaxed atomic stores
// suffice: a reader sees either a binder or a routine, never a torn word.
#include "boxfilter/box_filter.h"
#include "d3dx_math.h"
#include "dispatch/dispatch_internal.h"
#include "platform/cpu_features.h"
#include "platform/platform.h"

#include <cstdint>

namespace d3dx {

std::atomic<BoxFilterFn> g_boxArgbEntry{&BindBoxDownsampleArgb};
std::atomic<BoxFilterFn> g_boxXrgbEntry{&BindBoxDownsampleXrgb};

namespace {

void BindEntries(BoxFilterFn argb, BoxFilterFn xrgb) {
    g_boxArgbEntry.store(argb, std::memory_order_relaxed);
    g_boxXrgbEntry.store(xrgb, std::memory_order_relaxed);
}

// The widest exact form of the MMX routine this processor runs.
BoxFilterFn WidestMmxForm(const platform::ProcessorFeatures& processor) {
    if (processor.Has(platform::kCpuAvx2)) return &BoxDownsampleAvx2;
    if (ProcessorFeatureAvailable(platform::kPfXmmi64InstructionsAvailable, processor) != 0) {
        return &BoxDownsampleSse2;
    }
    return &BoxDownsampleMmx;
}

void BindBoxFilterEntries() {
    const platform::ProcessorFeatures processor =
        platform::ReadProcessorFeatures(platform::CurrentPlatform());
    if (ProcessorHasMMX(processor) != 0) {
        const BoxFilterFn routine = WidestMmxForm(processor);
        BindEntries(routine, routine);
    } else {
        BindEntries(&BoxDownsampleArgb, &BoxDownsampleXrgb);
    }
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

}  // namespace d3dx

extern "C" int32_t BoxDownsampleArgbEntry(void* pDst, const void* pSrc, uint32_t width,
                                          uint32_t height, int32_t srcPitch, int32_t dstPitch) {
    return d3dx::CurrentBoxArgbEntry()(pDst, pSrc, width, height, srcPitch, dstPitch);
}

extern "C" int32_t BoxDownsampleXrgbEntry(void* pDst, const void* pSrc, uint32_t width,
                                          uint32_t height, int32_t srcPitch, int32_t dstPitch) {
    return d3dx::CurrentBoxXrgbEntry()(pDst, pSrc, width, height, srcPitch, dstPitch);
}
