// x87 reference: quaternion and plane operations.
#include "dispatch/op_table.h"

namespace d3dx::x87 {

D3DXPLANE* PlaneFromPointNormal(D3DXPLANE*, const D3DXVECTOR3*, const D3DXVECTOR3*) { return nullptr; }  // TODO
D3DXPLANE* PlaneFromPoints(D3DXPLANE*, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionMultiply(D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionNormalize(D3DXQUATERNION*, const D3DXQUATERNION*) { return nullptr; }  // TODO
D3DXPLANE* PlaneNormalize(D3DXPLANE*, const D3DXPLANE*) { return nullptr; }  // TODO
D3DXVECTOR3* PlaneIntersectLine(D3DXVECTOR3*, const D3DXPLANE*, const D3DXVECTOR3*, const D3DXVECTOR3*) { return nullptr; }  // TODO
void QuaternionToAxisAngle(const D3DXQUATERNION*, D3DXVECTOR3*, float*) { }  // TODO
D3DXQUATERNION* QuaternionRotationMatrix(D3DXQUATERNION*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionRotationYawPitchRoll(D3DXQUATERNION*, float, float, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixShadow(D3DXMATRIX*, const D3DXVECTOR4*, const D3DXPLANE*) { return nullptr; }  // TODO
D3DXMATRIX* MatrixReflect(D3DXMATRIX*, const D3DXPLANE*) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionRotationAxis(D3DXQUATERNION*, const D3DXVECTOR3*, float) { return nullptr; }  // TODO
D3DXPLANE* PlaneTransform(D3DXPLANE*, const D3DXPLANE*, const D3DXMATRIX*) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionSlerp(D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, float) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionBaryCentric(D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, float, float) { return nullptr; }  // TODO
D3DXMATRIX* MatrixRotationYawPitchRoll(D3DXMATRIX*, float, float, float) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionSquad(D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, float) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionInverse(D3DXQUATERNION*, const D3DXQUATERNION*) { return nullptr; }  // TODO
void QuaternionSquadSetup(D3DXQUATERNION*, D3DXQUATERNION*, D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*) { }  // TODO
D3DXQUATERNION* QuaternionLn(D3DXQUATERNION*, const D3DXQUATERNION*) { return nullptr; }  // TODO
D3DXQUATERNION* QuaternionExp(D3DXQUATERNION*, const D3DXQUATERNION*) { return nullptr; }  // TODO

}  // namespace d3dx::x87
