/*
 * Uses the installed math library from C: places a point with a rotation and
 * a translation, halves a 2x2 image with the box filter, and keeps the
 * library's selection line for its own report instead of standard error.
 * Exits with 1 when a result is not the expected one.
 */
#include <d3dx_math.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

/* The library's debug lines, collected by the sink below. */
struct DebugLines {
    char text[512];
};

static void CollectLine(const char* line, void* context) {
    struct DebugLines* lines = (struct DebugLines*)context;
    strncat(lines->text, line, sizeof lines->text - strlen(lines->text) - 1);
}

static int Near(float a, float b) { return fabsf(a - b) < 1e-5f; }

int main(void) {
    const float kQuarterTurn = 1.57079632679f;
    struct DebugLines lines = {""};
    D3DXMATRIX rotation, translation, world;
    D3DXVECTOR3 point = {1.0f, 0.0f, 0.0f};
    D3DXVECTOR3 placed;
    /* Four A8R8G8B8 pixels; their average is one. */
    const uint32_t image[4] = {0x80FF0000u, 0x80FF0000u, 0x800000FFu, 0x800000FFu};
    uint32_t half = 0;
    int failures = 0;

    D3DXSetDebugOutput(CollectLine, &lines);

    /* Rows are multiplied on the left: rotate first, then translate. */
    D3DXMatrixRotationY(&rotation, kQuarterTurn);
    D3DXMatrixTranslation(&translation, 10.0f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&world, &rotation, &translation);
    D3DXVec3TransformCoord(&placed, &point, &world);
    printf("d3dxmath %s\n", D3DXMATH_VERSION_STRING);
    printf("library said: %s", lines.text);
    printf("(1, 0, 0) placed at (%.3f, %.3f, %.3f)\n", placed.x, placed.y, placed.z);
    if (!Near(placed.x, 10.0f) || !Near(placed.y, 0.0f) || !Near(placed.z, -1.0f)) {
        printf("expected (10, 0, -1)\n");
        ++failures;
    }

    if (BoxDownsampleArgbEntry(&half, image, 2, 2, 8, 4) != 0 || half != 0x80800080u) {
        printf("box filter: expected 0x80800080, got 0x%08x\n", (unsigned)half);
        ++failures;
    } else {
        printf("2x2 image averaged to 0x%08x\n", (unsigned)half);
    }

    if (strstr(lines.text, "D3DX: (INFO) ") == NULL) {
        printf("expected the selection line in the sink\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
