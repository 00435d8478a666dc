// The private sine/cosine routines of the SSE and SSE2 sets, exposed for
// their tests; each set file binds its own instantiation.
#pragma once

#include <xmmintrin.h>

namespace d3dx::sse {
// Four angles in, four sines and four cosines out; all three arrays 16-byte
// aligned (sines may be the angle array).
extern void (&QuadSinCos)(const float* angles, float* sines, float* cosines);
}  // namespace d3dx::sse

namespace d3dx::sse2 {
extern void (&QuadSinCos)(const float* angles, float* sines, float* cosines);
// One angle in all four lanes in, (cos, sin, cos, sin) out.
extern __m128 (&PairSinCos)(__m128 angle);
}  // namespace d3dx::sse2
