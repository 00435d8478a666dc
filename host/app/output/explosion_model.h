// An explosion as the report and the pictures show it: the world's record,
// and every entity in it with its verdict, the point that decides it and
// why, in the words both use. Made once per explosion; the report lists it
// and the pictures draw it.
#pragma once

#include "explosion_record.h"

#include <optional>
#include <string>
#include <vector>

namespace flamer_host {

enum class Verdict {
    kHit,        // picked, and its box reaches within the radius
    kMissed,     // picked, but its box stays beyond the radius
    kOverLimit,  // in the cube, left out by the pick limit
    kOutside,    // near the cube, outside it
};
inline constexpr int kVerdictCount = 4;

bool Picked(Verdict verdict);

// One entity of an explosion, as shown.
struct EntityView {
    std::string name;
    Verdict verdict = Verdict::kOutside;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin{};
    D3DXVECTOR3 boxMax{};
    D3DXVECTOR3 nearest{};  // the point of the box nearest the centre
    double distance = 0.0;
    std::optional<D3DXVECTOR3> push;  // the damage message's direction, for a hit
    std::string reason;               // why: "picked; its box reaches within the radius", ...
};

struct ExplosionModel {
    const Explosion& record;
    // The picks in the module's order, then those left out, over the limit
    // first, each reason nearest first.
    std::vector<EntityView> entities;
};

ExplosionModel ModelOf(const Explosion& explosion);

}  // namespace flamer_host
