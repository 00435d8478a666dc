// The exact 2x2 average from byte averages, written once over an
// instruction-set policy: box_filter_sse2.cpp instantiates it for 128-bit
// vectors, box_filter_avx2.cpp for 256-bit ones.
//
// The byte average instruction computes (x + y + 1) >> 1. Averaging the two
// rows first, v = avg(top, bottom), rounds up and drops the low bit of
// top + bottom, which is the low bit of top ^ bottom. Averaging the two
// columns of v rounds up a second time; the result is one too high exactly
// when both of these hold: the columns of v differ in their low bit, and at
// least one of the two row averages dropped a bit. So
//   out = avg(vEven, vOdd) - ((vEven ^ vOdd) & (dropEven | dropOdd) & 1)
// equals (p00 + p01 + p10 + p11 + 2) >> 2 for every quadruple of bytes. All
// four bytes of a pixel are averaged, as by the MMX routine.
//
// A policy Isa gives:
//   Vector, kVectorBytes          the vector type and its size
//   Load(p), StoreOutput(p, v)    unaligned load; store of a step's output
//                                 pixels, in order
//   Avg, Xor, Or, And, Sub        bytewise: rounded-up average, logic, minus
//   LowBits()                     every byte 1
//   EvenPixels(a, b), OddPixels(a, b)
//                                 the even (odd) 32-bit pixels of a then b,
//                                 in the order StoreOutput restores
#pragma once

#include "boxfilter/box_filter_loop.h"

#include <cstddef>
#include <cstdint>

namespace d3dx::boxfilter {
namespace {

template <class Isa>
inline constexpr uint32_t kStepOutputs = Isa::kVectorBytes / kBytesPerPixel;

// One step: two vectors of source pixels from each row, one vector of output
// pixels.
template <class Isa>
void AverageStep(const uint8_t* top, const uint8_t* bottom, uint8_t* out) {
    using V = typename Isa::Vector;
    const V t0 = Isa::Load(top), t1 = Isa::Load(top + Isa::kVectorBytes);
    const V b0 = Isa::Load(bottom), b1 = Isa::Load(bottom + Isa::kVectorBytes);
    const V v0 = Isa::Avg(t0, b0), v1 = Isa::Avg(t1, b1);
    const V drop0 = Isa::Xor(t0, b0), drop1 = Isa::Xor(t1, b1);
    const V vEven = Isa::EvenPixels(v0, v1), vOdd = Isa::OddPixels(v0, v1);
    const V dropped = Isa::Or(Isa::EvenPixels(drop0, drop1), Isa::OddPixels(drop0, drop1));
    const V excess = Isa::And(Isa::And(Isa::Xor(vEven, vOdd), dropped), Isa::LowBits());
    Isa::StoreOutput(out, Isa::Sub(Isa::Avg(vEven, vOdd), excess));
}

template <class Isa>
void AverageRow(const uint8_t* top, const uint8_t* bottom, uint8_t* out, uint32_t outWidth) {
    AverageRowInSteps<kStepOutputs<Isa>, AverageStep<Isa>>(top, bottom, out, outWidth);
}

// The whole routine for one policy.
template <class Isa>
int32_t ExactByteAverageRoutine(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                                int32_t srcPitch, int32_t dstPitch) {
    return ForEachOutputRow(pDst, pSrc, width, height, srcPitch, dstPitch, AverageRow<Isa>);
}

}  // namespace
}  // namespace d3dx::boxfilter
