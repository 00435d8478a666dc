#include "explosion_record.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace flamer_host {
namespace {

float ToFloat(double value) {
    return static_cast<float>(std::clamp(value, -double(FLT_MAX), double(FLT_MAX)));
}

}  // namespace

void NearbyRegion(const D3DXVECTOR3& centre, double halfEdge, D3DXVECTOR3& regionMin,
                  D3DXVECTOR3& regionMax) {
    const double reach = std::max(halfEdge, 0.0);
    const double extent = reach + std::max(reach * kNearbyShare, kMinNearbyMargin);
    regionMin = {ToFloat(centre.x - extent), ToFloat(centre.y - extent),
                 ToFloat(centre.z - extent)};
    regionMax = {ToFloat(centre.x + extent), ToFloat(centre.y + extent),
                 ToFloat(centre.z + extent)};
}

double CubeHalfEdge(const Explosion& explosion) {
    return (double(explosion.cubeMax.x) - explosion.cubeMin.x) / 2;
}

D3DXVECTOR3 NearestBoxPoint(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                            const D3DXVECTOR3& boxMax) {
    return {std::clamp(point.x, boxMin.x, boxMax.x), std::clamp(point.y, boxMin.y, boxMax.y),
            std::clamp(point.z, boxMin.z, boxMax.z)};
}

double DistanceToBox(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                     const D3DXVECTOR3& boxMax) {
    const D3DXVECTOR3 nearest = NearestBoxPoint(point, boxMin, boxMax);
    const double dx = double(point.x) - nearest.x;
    const double dy = double(point.y) - nearest.y;
    const double dz = double(point.z) - nearest.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace flamer_host
