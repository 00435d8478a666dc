// Axis-aligned boxes and points in world coordinates: the one place for the
// rules the engine, the host program and the tools share about corners.
#pragma once

#include "d3dx_math.h"

#include <cmath>

namespace zorq {

inline D3DXVECTOR3 Add(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3{a.x + b.x, a.y + b.y, a.z + b.z};
}

// True when `low` lies at or below `high` on every axis (false when either
// holds a coordinate that is not a number).
inline bool Ordered(const D3DXVECTOR3& low, const D3DXVECTOR3& high) {
    return low.x <= high.x && low.y <= high.y && low.z <= high.z;
}

inline bool Finite(const D3DXVECTOR3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// True when the boxes [aMin, aMax] and [bMin, bMax] share a point (touching
// counts); a box whose minimum lies above its maximum holds nothing.
inline bool BoxesMeet(const D3DXVECTOR3& aMin, const D3DXVECTOR3& aMax, const D3DXVECTOR3& bMin,
                      const D3DXVECTOR3& bMax) {
    return Ordered(aMin, aMax) && Ordered(bMin, bMax) && Ordered(aMin, bMax) && Ordered(bMin, aMax);
}

}  // namespace zorq
