// The per-slot table of the agreement test: how to generate each slot's
// inputs and how closely each instruction set must agree with the x87
// reference.
#pragma once

#include "call_harness.h"

#include <cstddef>
#include <string>
#include <vector>

namespace d3dx::testing {

// A result element agrees when it is within `ulps` units in the last place
// of the reference, or within `abs` of it (for values that pass through zero).
struct Tolerance {
    double ulps;
    double abs;
};

struct SlotCase {
    Slot slot;
    Generator generator;
    Tolerance sse;       // the SSE and SSE2 sets
    Tolerance amd3dnow;  // the 3DNow! sets
};

// The case of a slot (every slot has one).
const SlotCase& CaseOf(Slot slot);
const char* SlotName(Slot slot);

// Type-erased runs of one slot's operation on `count` samples generated from
// `seed`: every outcome with the standard layout, or with a given layout.
std::vector<Outcome> RunSamples(Slot slot, OpFn fn, unsigned seed, std::size_t count,
                                const Layout& layout = {});

// For each sample and each output/input pair of the same type: the outcome
// with the output passed as that input, next to the outcome without aliasing.
struct AliasRun {
    std::string what;  // "out=arg2", for messages
    Outcome plain;
    Outcome aliased;
};
std::vector<AliasRun> RunAliased(Slot slot, OpFn fn, unsigned seed, std::size_t count);

// Every pointer argument moved off the 16-byte boundary by `offset` bytes.
Layout ShiftedLayout(int offset);

}  // namespace d3dx::testing
