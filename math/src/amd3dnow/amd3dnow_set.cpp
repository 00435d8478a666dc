// The 3DNow! variant set: the slots it fills and the functions that fill them.
#include "dispatch/op_table.h"

namespace d3dx {

const VariantList k3DNowVariants{};

}  // namespace d3dx
