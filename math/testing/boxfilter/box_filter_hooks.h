// Hook for the box filter's tests and benchmarks, which bind its entries
// again and again in one process. It lives in the testing library, not in
// the shipped one.
#pragma once

namespace d3dx {

// Puts both binders back, so the next call binds again. Call it while no
// other thread uses the entries.
void ResetBoxFilterEntries();

}  // namespace d3dx
