// The 3DNow! extension variant set: the slots it fills and the functions that fill them.
#include "dispatch/op_table.h"

namespace d3dx {

const VariantList k3DNowExtVariants{};

}  // namespace d3dx
