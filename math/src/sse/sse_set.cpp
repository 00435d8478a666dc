// The SSE variant set (SSE1 instructions only), generated from
// sse/simd_variants.def: every slot whose SSE cell is "own" gets its kernel
// instantiated for SseIsa here, bound to sse::<Name> and listed in the set.
//
// This file is compiled for SSE1 alone (math/CMakeLists.txt): otherwise the
// compiler would use SSE2 instructions (integer moves, zeroing, vectorised
// integer loops) on its own, and the set must run on processors that have
// SSE but not SSE2. The kernels for SseIsa are instantiated nowhere else; the
// SSE2 set takes the ones it shares from here.
#include "dispatch/op_table.h"
#include "sse/cofactor_kernels.h"
#include "sse/normalize_kernels.h"
#include "sse/quaternion_kernels.h"
#include "sse/simd_set.h"
#include "sse/sincos.h"
#include "sse/spline_kernels.h"
#include "sse/transform_kernels.h"

namespace d3dx {

#define D3DX_SSE_DEFINE_own(Name, ...)                             \
    template fn::Name D3DX_SIMD_KERNEL(simd::SseIsa, __VA_ARGS__); \
    fn::Name& sse::Name = D3DX_SIMD_KERNEL(simd::SseIsa, __VA_ARGS__);
#define D3DX_SSE_DEFINE_x87(Name, ...)
#define D3DX_SIMD_SLOT(Name, Sse, Sse2, ...) D3DX_SSE_DEFINE_##Sse(Name, __VA_ARGS__)
#include "sse/simd_variants.def"

void (&sse::QuadSinCos)(const float*, float*, float*) = simd::QuadSinCos<simd::SseIsa>;

namespace {

const VariantEntry kSseEntries[] = {
#define D3DX_SSE_ENTRY_own(Name, ...) \
    {k##Name, Erase<fn::Name>(&D3DX_SIMD_KERNEL(simd::SseIsa, __VA_ARGS__))},
#define D3DX_SSE_ENTRY_x87(Name, ...)
#define D3DX_SIMD_SLOT(Name, Sse, Sse2, ...) D3DX_SSE_ENTRY_##Sse(Name, __VA_ARGS__)
#include "sse/simd_variants.def"
};

}  // namespace

const VariantList kSseVariants{kSseEntries};

}  // namespace d3dx
