// Processor detection, table initialisation and the library's debug output.
#pragma once

#include "dispatch/op_table.h"

#include <cstdint>

namespace d3dx {

// Value of MathDispatchState: the instruction set detection chose (one per
// instruction set of dispatch/variant_sets.def), x87 when none was
// available, or 0xFFFF, "not yet initialised".
enum MathDispatchState : uint32_t {
    DISPATCH_X87 = 0,
#define D3DX_INSTRUCTION_SET(Name, State, FeatureCode, Message) DISPATCH_##Name = State,
#include "dispatch/variant_sets.def"
    DISPATCH_UNINITIALIZED = 0xFFFF,
};

// Nonzero enable: detect and fill the table once; later calls return the
// state. Zero enable: put the plain x87 table back and forget the detection.
MathDispatchState InitMathDispatch(int enable);

// 1 when the processor has MMX and the registry does not disable it.
int ProcessorHasMMX();

// printf-style line "D3DX: <text>\r\n" to the debugger output, written when
// level is at or below the profile's "debug" setting.
void MathDebugMessage(uint32_t level, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

}  // namespace d3dx
