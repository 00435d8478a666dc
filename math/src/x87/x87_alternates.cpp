// x87 alternates of slots 0-7.
#include "dispatch/op_table.h"

namespace d3dx::x87alt {

D3DXVECTOR4* Vec2Transform(D3DXVECTOR4*, const D3DXVECTOR2*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR4* Vec3Transform(D3DXVECTOR4*, const D3DXVECTOR3*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4Transform(D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixMultiply(D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3*, const D3DXVECTOR3*) { return nullptr; }  // TODO

}  // namespace d3dx::x87alt

namespace d3dx {
static const VariantEntry kEntries[] = {
    {kVec2Transform, Erase(&x87alt::Vec2Transform)},
    {kVec3Transform, Erase(&x87alt::Vec3Transform)},
    {kVec4Transform, Erase(&x87alt::Vec4Transform)},
    {kMatrixMultiply, Erase(&x87alt::MatrixMultiply)},
    {kMatrixMultiplyTranspose, Erase(&x87alt::MatrixMultiplyTranspose)},
    {kVec2TransformNormal, Erase(&x87alt::Vec2TransformNormal)},
    {kVec3TransformNormal, Erase(&x87alt::Vec3TransformNormal)},
    {kVec3Normalize, Erase(&x87alt::Vec3Normalize)},
};
const VariantList kX87AltVariants{kEntries};
}  // namespace d3dx
