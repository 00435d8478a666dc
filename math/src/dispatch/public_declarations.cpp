// The public header writes out each operation's declaration for its readers;
// the slot list is still the one source of the operations: each declaration
// must name its operation with the slot's exact type, or this file does not
// compile.
#include "d3dx_math.h"

#include <type_traits>

#define D3DX_SLOT(index, Name, Ret, Params, Args)                   \
    static_assert(std::is_same_v<decltype(D3DX##Name), Ret Params>, \
                  "d3dx_math.h declares D3DX" #Name " as the slot list has it");
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
