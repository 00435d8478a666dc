// The SSE2 variant set: the slots it fills and the functions that fill them.
#include "dispatch/op_table.h"

namespace d3dx {

const VariantList kSse2Variants{};

}  // namespace d3dx
