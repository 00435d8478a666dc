// Benchmark registration across instruction sets.
#include "bench_registry.h"

#include "dispatch/dispatch_internal.h"
#include "dispatch/test_hooks.h"
#include "platform/linux_platform.h"

#include <array>

namespace d3dx::bench {
namespace {

// One per variant set: the processor that makes detection install it.
constexpr std::array<InstructionSet, kVariantSetCount> kInstructionSets = [] {
    std::array<InstructionSet, kVariantSetCount> sets{};
    for (std::size_t i = 0; i < sets.size(); ++i) {
        sets[i] = {kVariantSets[i].name, kVariantSets[i].cpu};
    }
    return sets;
}();

std::string JoinName(std::initializer_list<std::string_view> parts) {
    std::string name;
    for (std::string_view part : parts) {
        if (!name.empty()) name += '/';
        name += part;
    }
    return name;
}

// Each selection reports itself on the debugger output; keep the benchmark
// output free of those lines.
void SilenceDebugOutput() {
    D3DXSetDebugOutput([](const char*, void*) {}, nullptr);
}

}  // namespace

std::span<const InstructionSet> InstructionSets() { return kInstructionSets; }

void RegisterForEachSet(std::string_view group, std::string_view name, Body body) {
    for (const InstructionSet& set : kInstructionSets) {
        const std::string features = set.features;
        benchmark::RegisterBenchmark(JoinName({group, set.name, name}).c_str(),
                                     [features, body](benchmark::State& state) {
                                         SelectInstructionSet(features);
                                         body(state);
                                     });
    }
}

void RegisterOnce(std::string_view group, std::string_view name, Body body) {
    benchmark::RegisterBenchmark(JoinName({group, name}).c_str(),
                                 [body](benchmark::State& state) { body(state); });
}

bool AtStartup(const std::function<void()>& registerBenchmarks) {
    SilenceDebugOutput();
    registerBenchmarks();
    return true;
}

}  // namespace d3dx::bench
