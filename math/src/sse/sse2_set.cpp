// The SSE2 variant set, generated from sse/simd_variants.def: every slot
// whose SSE2 cell is "own" gets its kernel instantiated for Sse2Isa here
// (SSE2 lane shuffles and integer sign-mask arithmetic), bound to
// sse2::<Name> and listed in the set; a cell "sse" lists the SSE set's
// variant, which is instantiated only in the SSE set's own code.
#include "dispatch/op_table.h"
#include "sse/cofactor_kernels.h"
#include "sse/normalize_kernels.h"
#include "sse/pair_sincos.h"
#include "sse/quaternion_kernels.h"
#include "sse/rotation_kernels.h"
#include "sse/simd_set.h"
#include "sse/sincos.h"
#include "sse/spline_kernels.h"
#include "sse/sse2_isa.h"
#include "sse/transform_kernels.h"

namespace d3dx {

#define D3DX_SSE2_DEFINE_own(Name, ...)                             \
    template fn::Name D3DX_SIMD_KERNEL(simd::Sse2Isa, __VA_ARGS__); \
    fn::Name& sse2::Name = D3DX_SIMD_KERNEL(simd::Sse2Isa, __VA_ARGS__);
#define D3DX_SSE2_DEFINE_sse(Name, ...) \
    extern template fn::Name D3DX_SIMD_KERNEL(simd::SseIsa, __VA_ARGS__);
#define D3DX_SSE2_DEFINE_x87(Name, ...)
#define D3DX_SIMD_SLOT(Name, Sse, Sse2, ...) D3DX_SSE2_DEFINE_##Sse2(Name, __VA_ARGS__)
#include "sse/simd_variants.def"

void (&sse2::QuadSinCos)(const float*, float*, float*) = simd::QuadSinCos<simd::Sse2Isa>;
__m128 (&sse2::PairSinCos)(__m128) = simd::PairSinCos;

namespace {

const VariantEntry kSse2Entries[] = {
#define D3DX_SSE2_ENTRY_own(Name, ...) \
    {k##Name, Erase<fn::Name>(&D3DX_SIMD_KERNEL(simd::Sse2Isa, __VA_ARGS__))},
#define D3DX_SSE2_ENTRY_sse(Name, ...) \
    {k##Name, Erase<fn::Name>(&D3DX_SIMD_KERNEL(simd::SseIsa, __VA_ARGS__))},
#define D3DX_SSE2_ENTRY_x87(Name, ...)
#define D3DX_SIMD_SLOT(Name, Sse, Sse2, ...) D3DX_SSE2_ENTRY_##Sse2(Name, __VA_ARGS__)
#include "sse/simd_variants.def"
};

}  // namespace

const VariantList kSse2Variants{kSse2Entries};

}  // namespace d3dx
