// What the world saw of one explosion, complete when it is handed on: what
// set it off and the command behind it, the class's splash radius, the cube
// query, every picked entity with its box, the nearest entities left out,
// every message, the effects started and the console lines printed.
#pragma once

#include "d3dx_math.h"
#include "zorQWorld.h"

#include <string>
#include <vector>

namespace flamer_host {

// Entities left out of an explosion that the report and the pictures show,
// nearest the centre first: at most this many over the pick limit, and at
// most this many outside the cube but near it.
inline constexpr int kShownOverLimit = 16;
inline constexpr int kShownOutside = 16;
// How far around the query cube entities count as near it: this share of the
// splash radius, and at least kMinNearbyMargin units (a body's width), so a
// blast of radius 0 still shows what stands beside it.
inline constexpr double kNearbyShare = 0.5;
inline constexpr double kMinNearbyMargin = 32.0;

// One entity the cube query returned and whose box the module asked for.
struct PickedEntity {
    const zorQEntityRef* entity = nullptr;
    std::string name;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin{};
    D3DXVECTOR3 boxMax{};
    D3DXVECTOR3 centre{};   // the centre's position when the box was asked for
    double distance = 0.0;  // from the centre to the nearest point of the box
    bool hit = false;       // a message followed the box query
    int message = -1;       // index of that message in Explosion::messages
};

// Why an entity near the explosion was not picked.
enum class LeftOutReason {
    kOverLimit,    // in the cube, but the pick list was full of nearer ones
    kOutsideCube,  // near the cube, but not in it
};

// One entity the cube query did not return, with what decides its fate.
struct LeftOutEntity {
    std::string name;
    LeftOutReason reason = LeftOutReason::kOutsideCube;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin{};
    D3DXVECTOR3 boxMax{};
    double distance = 0.0;  // from the centre to the nearest point of the box
};

// One message a module sent through the world.
struct SentMessage {
    std::string target;
    const zorQEntityRef* targetEntity = nullptr;
    unsigned long number = 0;
    long param1 = 0;
    unsigned long param2 = 0;
    bool hasDamage = false;  // a damage message with its record
    zorQMsgDamage damage{};  // copied on delivery
};

struct EffectSpawn {
    std::string effectName;
    D3DXMATRIX transform{};
};

struct Explosion {
    int number = 0;       // 1-based over the run
    int setOffBy = 0;     // 0: by the command; else the explosion whose damage killed the centre
    int commandLine = 0;  // the scenario line whose command set off the explosion or its chain
    std::string commandText;  // that command as written
    std::string centreName;
    D3DXVECTOR3 centre{};  // the centre's position at the cube query
    float radius = 0.0f;   // the class's splash radius
    D3DXVECTOR3 cubeMin{};
    D3DXVECTOR3 cubeMax{};
    int capacity = 0;       // the most entities the module asked for
    int inCube = 0;         // entities in the cube
    int reportedPicks = 0;  // what the world returned to the query
    std::vector<PickedEntity> picks;
    // The nearest left out, each reason nearest first (over the limit first).
    std::vector<LeftOutEntity> leftOut;
    int nearbyOutside = 0;  // entities near the cube but outside it, shown or not
    std::vector<SentMessage> messages;
    std::vector<EffectSpawn> spawns;
    std::vector<std::string> consoleLines;
};

// The point of the box [boxMin, boxMax] nearest to `point` (itself inside).
D3DXVECTOR3 NearestBoxPoint(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                            const D3DXVECTOR3& boxMax);

// The region whose entities count as near the query cube of an explosion at
// `centre` whose cube reaches `halfEdge` from it (negative: inverted).
void NearbyRegion(const D3DXVECTOR3& centre, double halfEdge, D3DXVECTOR3& regionMin,
                  D3DXVECTOR3& regionMax);
// Half the edge of the explosion's query cube; negative when it is inverted.
double CubeHalfEdge(const Explosion& explosion);

// Distance from `point` to the nearest point of the box, in double so the
// report shows the exact figure the float test rounds.
double DistanceToBox(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                     const D3DXVECTOR3& boxMax);

}  // namespace flamer_host
