// Registration helpers shared by every benchmark file of the library.
//
// Benchmarks are named "<group>/<set>/<name>", e.g. "public/sse2/MatrixMultiply",
// so a filter such as --benchmark_filter='/sse2/' or 'MatrixMultiply' picks
// them out. A benchmark registered for each instruction set runs once per set
// the library can select; a set whose variant list is still empty runs the x87
// implementations it falls back to.
#pragma once

#include "dispatch/sample_arguments.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include <benchmark/benchmark.h>

namespace d3dx::bench {

struct InstructionSet {
    const char* name;      // as it appears in benchmark names
    const char* features;  // processor features in the D3DX_CPU syntax
};

// One per variant set of dispatch/variant_sets.def: x87, sse, sse2, 3dnow,
// 3dnowext.
std::span<const InstructionSet> InstructionSets();

using Body = std::function<void(benchmark::State&)>;

// Registers body once per instruction set; the set is selected before each
// run, outside the timed loop.
void RegisterForEachSet(std::string_view group, std::string_view name, Body body);

// Registers body once, under "<group>/<name>", with whatever set is active
// (for peers such as other math libraries, and for one-off measurements).
void RegisterOnce(std::string_view group, std::string_view name, Body body);

// The timed loop over one function with sample arguments prepared once.
template <class R, class... A>
void RunWithSampleArguments(benchmark::State& state, R (*f)(A...)) {
    SampleArguments storage;
    auto args = storage.For(f);
    for (auto _ : state) {
        if constexpr (std::is_void_v<R>) {
            std::apply(f, args);
        } else {
            benchmark::DoNotOptimize(std::apply(f, args));
        }
        benchmark::ClobberMemory();
    }
}

// Runs registration code before main: static const bool r = AtStartup([] {...});
bool AtStartup(const std::function<void()>& registerBenchmarks);

}  // namespace d3dx::bench
