#include "boxfilter/box_filter_hooks.h"

#include "boxfilter/box_filter.h"

namespace d3dx {

void ResetBoxFilterEntries() {
    g_boxArgbEntry.store(&BindBoxDownsampleArgb, std::memory_order_relaxed);
    g_boxXrgbEntry.store(&BindBoxDownsampleXrgb, std::memory_order_relaxed);
}

}  // namespace d3dx
