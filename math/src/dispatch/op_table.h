// The operation table and the names every variant set is written against.
//
// Everything here is generated from d3dx_math_slots.def, so the slot order is
// written once. A variant set lives in its own namespace and names its
// functions after the operation without the D3DX prefix, for example
// d3dx::sse::MatrixMultiply for slot kMatrixMultiply.
#pragma once

#include "d3dx_math.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <iterator>
#include <span>

namespace d3dx {

// Slot numbers, one per operation: Slot::kMatrixMultiply == 3.
enum Slot : int {
#define D3DX_SLOT(index, Name, Ret, Params, Args) k##Name = index,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

// The index column of the slot list, row by row.
inline constexpr int kSlotIndices[] = {
#define D3DX_SLOT(index, Name, Ret, Params, Args) index,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

inline constexpr int kSlotCount = static_cast<int>(std::size(kSlotIndices));

constexpr bool EachSlotIndexIsItsRow() {
    for (int row = 0; row < kSlotCount; ++row) {
        if (kSlotIndices[row] != row) return false;
    }
    return true;
}
static_assert(EachSlotIndexIsItsRow(), "each row's slot index is its position in the slot list");

// Exact function type of each slot: fn::MatrixMultiply is
// D3DXMATRIX*(D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*).
namespace fn {
#define D3DX_SLOT(index, Name, Ret, Params, Args) using Name = Ret Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace fn

// A slot's function as an untyped word, for lists that hold functions of
// many slots (variant sets, the plain x87 table). It is turned back into the
// slot's own type when it is stored in the table, and only there.
using OpFn = void (*)();

// One entry of a variant set: which slot it fills and with what.
struct VariantEntry {
    Slot slot;
    OpFn fn;
};
using VariantList = std::span<const VariantEntry>;

// The untyped word of a function; Erase<fn::Name>(&kernel) also picks a
// function template's specialisation by the slot's type.
template <class F>
inline OpFn Erase(F* f) {
    return reinterpret_cast<OpFn>(f);
}

// The slots in slot order, each one aligned pointer-sized word of its
// operation's own type (g_mathOps.MatrixMultiply is a fn::MatrixMultiply*),
// read and written with relaxed order: a reader sees the old or the new
// pointer, never a mix. The public entries call the typed words; the
// installers reach a slot by its number through Get and Set.
struct MathOpTable {
#define D3DX_SLOT(index, Name, Ret, Params, Args) std::atomic<fn::Name*> Name;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT

    OpFn Get(int slot) const;
    // f must be a function of the slot's type, erased (Erase<fn::Name>).
    void Set(int slot, OpFn f);
};
static_assert(sizeof(MathOpTable) == kSlotCount * sizeof(void*),
              "the table is one pointer-sized word per slot");

// The table the public entries call through.
extern MathOpTable g_mathOps;

// Declarations of every variant of every set. A set defines the functions of
// the slots it fills; the others are declared but never defined or used.
namespace x87 {  // plain x87 reference, the content of DefaultMathOps
#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace x87

namespace x87alt {  // the eight faster x87 alternates of slots 0-7
#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace x87alt

// The SSE and SSE2 variants are kernel instantiations (sse/simd_variants.def);
// each of the two sets binds a reference to every variant of its own.
namespace sse {
#define D3DX_SLOT(index, Name, Ret, Params, Args) extern fn::Name& Name;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace sse

namespace sse2 {
#define D3DX_SLOT(index, Name, Ret, Params, Args) extern fn::Name& Name;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace sse2

namespace amd3dnow {
#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace amd3dnow

namespace amd3dnowext {
#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}  // namespace amd3dnowext

// The variant sets, in the order of dispatch/variant_sets.def.
enum class VariantSet : int {
#define D3DX_VARIANT_SET(Id, Name, Title, Cpu, State, Needs) k##Id,
#include "dispatch/variant_sets.def"
};

inline constexpr int kVariantSetCount = 0
#define D3DX_VARIANT_SET(Id, Name, Title, Cpu, State, Needs) +1
#include "dispatch/variant_sets.def"
    ;

// The entries of each set, k<Id>Variants, defined beside its functions. The
// installers write exactly these entries over the table.
#define D3DX_VARIANT_SET(Id, Name, Title, Cpu, State, Needs) \
    extern const VariantList k##Id##Variants;
#include "dispatch/variant_sets.def"

// One entry list per variant set, indexed by VariantSet.
struct VariantSets {
    std::array<VariantList, kVariantSetCount> lists;

    VariantList& operator[](VariantSet set) { return lists[static_cast<std::size_t>(set)]; }
    const VariantList& operator[](VariantSet set) const {
        return lists[static_cast<std::size_t>(set)];
    }
};

// The plain x87 table in slot order.
extern const std::array<OpFn, kSlotCount> DefaultMathOps;

}  // namespace d3dx
