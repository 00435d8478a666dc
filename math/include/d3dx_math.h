/*
 * Public interface of the vector math library: the D3DX value types, the 57
 * dispatched operations and the 2x2 box filter for 32-bit pixels.
 *
 * Compiles as C and as C++. Every operation is a C function under its D3DX
 * name; each one is a single indirect call through its slot of the operation
 * table, which binds itself to the processor's variants on the first call.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct D3DXVECTOR2 {
    float x, y;
} D3DXVECTOR2;
typedef struct D3DXVECTOR3 {
    float x, y, z;
} D3DXVECTOR3;
typedef struct D3DXVECTOR4 {
    float x, y, z, w;
} D3DXVECTOR4;
/* w is the scalar part. */
typedef struct D3DXQUATERNION {
    float x, y, z, w;
} D3DXQUATERNION;
/* a*x + b*y + c*z + d = 0; (a, b, c) is the normal. */
typedef struct D3DXPLANE {
    float a, b, c, d;
} D3DXPLANE;
/* Row-major; vectors are rows multiplied on the left, row 3 is the translation. */
typedef struct D3DXMATRIX {
    float m[4][4];
} D3DXMATRIX;
typedef struct D3DXVIEWPORT {
    uint32_t X, Y, Width, Height;
    float MinZ, MaxZ;
} D3DXVIEWPORT;

#define D3DX_SLOT(index, Name, Ret, Params, Args) Ret D3DX##Name Params;
#include "d3dx_math_slots.def"
#undef D3DX_SLOT

/*
 * 2x2 box filter for A8R8G8B8 and X8R8G8B8 pixels. Halves the image in both
 * directions; each output pixel is the rounded average of a 2x2 source block,
 * channel by channel. The first call binds both entries to the processor's
 * routines (AVX2, SSE2 or MMX when it has MMX, else integer); every one of
 * them gives the same pixels, except that the integer X8R8G8B8 routine writes
 * a top byte of 0 where the others average it.
 * Returns 0 on success, a negative status for an invalid call.
 */
int32_t BoxDownsampleArgbEntry(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                               int32_t srcPitch, int32_t dstPitch);
int32_t BoxDownsampleXrgbEntry(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                               int32_t srcPitch, int32_t dstPitch);

#ifdef __cplusplus
}
#endif
