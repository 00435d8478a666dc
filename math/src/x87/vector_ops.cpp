// x87 reference: vector and matrix operations.
#include "dispatch/op_table.h"

namespace d3dx::x87 {

D3DXVECTOR4* Vec2Transform(D3DXVECTOR4*, const D3DXVECTOR2*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR4* Vec3Transform(D3DXVECTOR4*, const D3DXVECTOR3*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4Transform(D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixMultiply(D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixMultiplyTranspose(D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2TransformNormal(D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3TransformNormal(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3Normalize(D3DXVECTOR3*, const D3DXVECTOR3*) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4Normalize(D3DXVECTOR4*, const D3DXVECTOR4*) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2TransformCoord(D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3TransformCoord(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXMATRIX*) { return nullptr; }  // TODO
float MatrixDeterminant(const D3DXMATRIX*) { return 0.0f; }  // TODO
D3DXVECTOR3* Vec3Project(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVIEWPORT*, const D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3Unproject(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVIEWPORT*, const D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4Cross(D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2Hermite(D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixInverse(D3DXMATRIX*, float*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixTranslation(D3DXMATRIX*, float, float, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixRotationX(D3DXMATRIX*, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixRotationY(D3DXMATRIX*, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixRotationZ(D3DXMATRIX*, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixScaling(D3DXMATRIX*, float, float, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixTranspose(D3DXMATRIX*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixRotationQuaternion(D3DXMATRIX*, const D3DXQUATERNION*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixTransformation(D3DXMATRIX*, const D3DXVECTOR3*, const D3DXQUATERNION*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXQUATERNION*, const D3DXVECTOR3*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixAffineTransformation(D3DXMATRIX*, float, const D3DXVECTOR3*, const D3DXQUATERNION*, const D3DXVECTOR3*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixRotationAxis(D3DXMATRIX*, const D3DXVECTOR3*, float) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2Normalize(D3DXVECTOR2*, const D3DXVECTOR2*) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2CatmullRom(D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, float) { return nullptr; }  // TODO
D3DXVECTOR2* Vec2BaryCentric(D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, const D3DXVECTOR2*, float, float) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3Hermite(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, float) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3CatmullRom(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, float) { return nullptr; }  // TODO
D3DXVECTOR3* Vec3BaryCentric(D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*, float, float) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4Hermite(D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, float) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4CatmullRom(D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, float) { return nullptr; }  // TODO
D3DXVECTOR4* Vec4BaryCentric(D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, const D3DXVECTOR4*, float, float) { return nullptr; }  // TODO

}  // namespace d3dx::x87
