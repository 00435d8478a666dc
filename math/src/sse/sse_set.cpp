// The SSE variant set: the slots it fills and the functions that fill them.
#include "dispatch/op_table.h"

namespace d3dx {

const VariantList kSseVariants{};

}  // namespace d3dx
