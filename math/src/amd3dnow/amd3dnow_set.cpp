// The 3DNow! variant set: every slot, each filled by its amd3dnow:: variant.
#include "dispatch/op_table.h"

namespace d3dx {
namespace {

const VariantEntry kAmd3DNowEntries[] = {
#define D3DX_SLOT(index, Name, Ret, Params, Args) {k##Name, Erase(&amd3dnow::Name)},
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

}  // namespace

const VariantList kAmd3DNowVariants{kAmd3DNowEntries};

}  // namespace d3dx
