// What the host program saw of one explosion: the cube query, every picked
// entity with its box, every damage message, and the effect started.
#pragma once

#include "d3dx_math.h"
#include "zorQWorld.h"

#include <string>
#include <vector>

namespace flamer_host {

// One entity the cube query returned and whose box the plug-in asked for.
struct PickedEntity {
    const zorQEntityRef* entity = nullptr;
    std::string name;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin{};
    D3DXVECTOR3 boxMax{};
    D3DXVECTOR3 centre{};   // the centre's position when the box was asked for
    double distance = 0.0;  // from the centre to the nearest point of the box
    bool hit = false;       // a damage message followed the box query
    int message = -1;       // index of that message in Explosion::messages
};

// One message the plug-in sent during the explosion.
struct DamageMessage {
    std::string target;
    const zorQEntityRef* targetEntity = nullptr;
    unsigned long number = 0;
    unsigned long param2 = 0;
    zorQMsgDamage record{};  // copied on delivery
};

struct EffectSpawn {
    std::string effectName;
    D3DXMATRIX transform{};
};

struct Explosion {
    int number = 0;    // 1-based over the run
    int setOffBy = 0;  // 0: by the command; else the explosion whose damage killed the centre
    std::string centreName;
    D3DXVECTOR3 centre{};  // the centre's position at the cube query
    float radius = 0.0f;   // the class's splash radius
    D3DXVECTOR3 cubeMin{};
    D3DXVECTOR3 cubeMax{};
    int capacity = 0;       // the most entities the plug-in asked for
    int inCube = 0;         // entities in the cube
    int reportedPicks = 0;  // what the world returned to the query
    std::vector<PickedEntity> picks;
    std::vector<DamageMessage> messages;
    std::vector<EffectSpawn> spawns;
};

// The point of the box [boxMin, boxMax] nearest to `point` (itself inside).
D3DXVECTOR3 NearestBoxPoint(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                            const D3DXVECTOR3& boxMax);

// Distance from `point` to the nearest point of the box, in double so the
// report shows the exact figure the float test rounds.
double DistanceToBox(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                     const D3DXVECTOR3& boxMax);

}  // namespace flamer_host
