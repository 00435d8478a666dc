// Every operation through its public entry for each instruction set, the
// first call that binds the table, and direct calls of two implementations
// beside their public entries, which shows what the dispatch costs.
#include "bench_registry.h"
#include "dispatch/dispatch_internal.h"
#include "dispatch/op_table.h"
#include "dispatch/sample_arguments.h"
#include "dispatch/test_hooks.h"

namespace d3dx::bench {
namespace {

constexpr std::array<const char*, kSlotCount> kOperationNames{
#define D3DX_SLOT(index, Name, Ret, Params, Args) #Name,
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
};

void RegisterPublicEntries() {
    ForEachPublicEntry([](int slot, auto entry) {
        RegisterForEachSet("public", kOperationNames[slot], [entry](benchmark::State& state) {
            RunWithSampleArguments(state, entry);
        });
    });
}

// From the load-time state: the first call runs detection and fills the table.
void FirstCall(benchmark::State& state) {
    SampleArguments storage;
    auto args = storage.For(&D3DXMatrixTranslation);
    for (auto _ : state) {
        state.PauseTiming();
        RestoreFirstCallEntries();
        state.ResumeTiming();
        benchmark::DoNotOptimize(std::apply(&D3DXMatrixTranslation, args));
        benchmark::ClobberMemory();
    }
    RestoreFirstCallEntries();
}

// The x87 set: slot 3 holds the x87 alternate, slot 10 the plain reference.
void RegisterDispatchOverhead() {
    RegisterOnce("first_call", "MatrixTranslation", FirstCall);
    RegisterOnce("direct/x87", "MatrixMultiply", [](benchmark::State& state) {
        RunWithSampleArguments(state, &x87alt::MatrixMultiply);
    });
    RegisterOnce("direct/x87", "Vec3TransformCoord", [](benchmark::State& state) {
        RunWithSampleArguments(state, &x87::Vec3TransformCoord);
    });
}

const bool kRegistered = AtStartup([] {
    RegisterPublicEntries();
    RegisterDispatchOverhead();
});

}  // namespace
}  // namespace d3dx::bench
