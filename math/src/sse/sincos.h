// The private sine/cosine routines of the SSE and SSE2 sets, exposed for
// their tests.
#pragma once

#include <xmmintrin.h>

namespace d3dx::sse {
// Four angles in, four sines and four cosines out; all three arrays 16-byte
// aligned (sines may be the angle array).
void QuadSinCos(const float* angles, float* sines, float* cosines);
}  // namespace d3dx::sse

namespace d3dx::sse2 {
void QuadSinCos(const float* angles, float* sines, float* cosines);
// One angle in all four lanes in, (cos, sin, cos, sin) out.
__m128 PairSinCos(__m128 angle);
}  // namespace d3dx::sse2
