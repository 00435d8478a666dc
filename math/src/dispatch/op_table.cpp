// The operation table, its load-time content of first-call entries, the plain
// x87 table and the public entries. All of it is generated from the slot list.
#include "dispatch/dispatch_internal.h"

#include <thread>

namespace d3dx {
namespace {

// The first-call entry of the slot Member with function type F: initialises
// the library, then forwards the arguments unchanged through its own slot.
// While another thread is still filling the table the slot may yet hold this
// entry; it then waits for the slot to change instead of calling itself.
template <auto Member, class F>
struct FirstCallEntry;

template <auto Member, class R, class... A>
struct FirstCallEntry<Member, R(A...)> {
    static R Call(A... args) {
        InitMathDispatch(1);
        R (*current)(A...) = (g_mathOps.*Member).load(std::memory_order_relaxed);
        while (current == &Call) {
            std::this_thread::yield();
            InitMathDispatch(1);
            current = (g_mathOps.*Member).load(std::memory_order_relaxed);
        }
        return current(args...);
    }
};

// A function of a slot's type, from its untyped word (see Erase).
template <class F>
F* Restore(OpFn f) {
    return reinterpret_cast<F*>(f);
}

}  // namespace

// Constant-initialised: the table holds the first-call entries before any
// code of the process runs, static initialisers included.
constinit MathOpTable g_mathOps{
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    &FirstCallEntry<&MathOpTable::Name, fn::Name>::Call,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

const std::array<OpFn, kSlotCount> kFirstCallEntries{
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    Erase(&FirstCallEntry<&MathOpTable::Name, fn::Name>::Call),
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

OpFn MathOpTable::Get(int slot) const {
    switch (slot) {
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    case index:                                   \
        return Erase(Name.load(std::memory_order_relaxed));
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
    }
    return nullptr;
}

void MathOpTable::Set(int slot, OpFn f) {
    switch (slot) {
#define D3DX_SLOT(index, Name, Ret, Params, Args)                    \
    case index:                                                      \
        Name.store(Restore<fn::Name>(f), std::memory_order_relaxed); \
        return;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
    }
}

// Plain pointer words; the compiler emits them as load-time data.
const std::array<OpFn, kSlotCount> DefaultMathOps{
#define D3DX_SLOT(index, Name, Ret, Params, Args) Erase(&x87::Name),
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

}  // namespace d3dx

// The public entries: one load of the slot and a jump through it.
#define D3DX_SLOT(index, Name, Ret, Params, Args)                         \
    extern "C" Ret D3DX##Name Params {                                    \
        return d3dx::g_mathOps.Name.load(std::memory_order_relaxed) Args; \
    }
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
