// What both SIMD set files need to generate their sets from
// sse/simd_variants.def: the kernel of a row for an instruction-set policy,
// and the compile-time check that the rows follow the slot list.
#pragma once

#include "dispatch/op_table.h"

#include <cstddef>
#include <iterator>

// Kernel<Isa, ExtraTemplateArguments...> of a row, for the policy Isa.
// Used inside namespace d3dx.
#define D3DX_SIMD_KERNEL(Isa, Kernel, ...) simd::Kernel<Isa __VA_OPT__(, ) __VA_ARGS__>

namespace d3dx::simd {

// The slot of each row, in row order.
inline constexpr Slot kSimdRowSlots[] = {
#define D3DX_SIMD_SLOT(Name, ...) k##Name,
#include "sse/simd_variants.def"
};

constexpr bool EachRowIsItsSlot() {
    for (std::size_t i = 0; i < std::size(kSimdRowSlots); ++i) {
        if (kSimdRowSlots[i] != static_cast<int>(i)) return false;
    }
    return true;
}

static_assert(std::size(kSimdRowSlots) == kSlotCount, "one row per slot");
static_assert(EachRowIsItsSlot(), "each row's slot is its position in the slot list");

}  // namespace d3dx::simd
