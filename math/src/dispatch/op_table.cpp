// The operation table, its load-time content of first-call entries, the plain
// x87 table and the public entries. All of it is generated from the slot list.
#include "dispatch/dispatch_internal.h"

#include <thread>
#include <utility>

namespace d3dx {
namespace {

// The first-call entry of slot S with function type F: initialises the
// library, then forwards the arguments unchanged through its own slot. While
// another thread is still filling the table the slot may yet hold this entry
// (Self); it then waits for the slot to change instead of calling itself.
template <int S, OpFn Self, class F>
struct FirstCallEntry;

template <int S, OpFn Self, class R, class... A>
struct FirstCallEntry<S, Self, R(A...)> {
    static R Call(A... args) {
        InitMathDispatch(1);
        OpFn current = g_mathOps.Get(S);
        while (current == Self) {
            std::this_thread::yield();
            InitMathDispatch(1);
            current = g_mathOps.Get(S);
        }
        return reinterpret_cast<R (*)(A...)>(current)(args...);
    }
};

}  // namespace

// Each first-call entry is declared twice under one assembler name: once with
// its operation's type, where it is defined, and once as an untyped slot word.
// The second declaration makes its address a constant expression of type
// OpFn, so the table below is constant-initialised: it holds the first-call
// entries before any code of the process runs, static initialisers included.
#define D3DX_SLOT(index, Name, Ret, Params, Args)                                  \
    void FirstCallWord##Name() asm("d3dx_first_call_" #Name);                      \
    Ret FirstCall##Name Params asm("d3dx_first_call_" #Name);                      \
    Ret FirstCall##Name Params {                                                   \
        return FirstCallEntry<k##Name, &FirstCallWord##Name, fn::Name>::Call Args; \
    }
#include "d3dx_math_slots.def"
#undef D3DX_SLOT

constexpr std::array<OpFn, kSlotCount> kFirstCallEntries{
#define D3DX_SLOT(index, Name, Ret, Params, Args) &FirstCallWord##Name,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

namespace {

template <std::size_t... I>
constexpr MathOpTable TableOf(const std::array<OpFn, kSlotCount>& entries,
                              std::index_sequence<I...>) {
    return MathOpTable{{{entries[I]...}}};
}

}  // namespace

constinit MathOpTable g_mathOps =
    TableOf(kFirstCallEntries, std::make_index_sequence<kSlotCount>{});

// Plain pointer words; the compiler emits them as load-time data.
const std::array<OpFn, kSlotCount> DefaultMathOps{
#define D3DX_SLOT(index, Name, Ret, Params, Args) reinterpret_cast<OpFn>(&x87::Name),
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

}  // namespace d3dx

// The public entries: one load of the slot and a jump through it.
#define D3DX_SLOT(index, Name, Ret, Params, Args)                                          \
    extern "C" Ret D3DX##Name Params {                                                     \
        return reinterpret_cast<d3dx::fn::Name*>(d3dx::g_mathOps.Get(d3dx::k##Name)) Args; \
    }
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
