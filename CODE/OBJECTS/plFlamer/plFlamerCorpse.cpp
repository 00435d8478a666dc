// The Flamer's explosion and the two roads that set it off: a kill with a
// non-zero flag, and every "fireblow" event on the corpse.
#include "d3dx_math.h"
#include "plFlamer.h"
#include "zorQNames.h"
#include "zorQObj.h"
#include "zorQWorld.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

// The damage record and the entity record are read by the host in place;
// their offsets are checked where zorQWorld.h declares them.

namespace {

// At most this many entities take part in one explosion.
constexpr int kPickCapacity = 32;
// Every entity, tested by its box against the query cube.
constexpr PICK_FILTER kPickFilter = PICK_FILTER_ALL;
static_assert(kPickFilter == 1);
constexpr unsigned long kPickFlags = ZORQPICK_BOXES;
static_assert(kPickFlags == 4);
// The push is aimed this far above the line from the centre to the target.
constexpr float kDirectionLift = 24.0f;
constexpr int16_t kDamageKind = 1;
constexpr uint32_t kDamageReserved = 0;
constexpr unsigned long kDamageParam2 = 0;

// The corpse event that sets off the explosion.
constexpr char kFireblowEvent[] = "fireblow";
// The corpse callback is registered under these event selectors, in order.
constexpr int kFirstEventSelector = 1;
constexpr int kSecondEventSelector = 0;

// The centre and the targets are read from their records at every use, so a
// message handler that moves an entity is seen by everything after it.
const D3DXVECTOR3& PositionOf(const zorQEntityRef* entity) { return entity->position; }

void BuildQueryCube(const D3DXVECTOR3& centre, float halfEdge, D3DXVECTOR3& cubeMin,
                    D3DXVECTOR3& cubeMax) {
    cubeMin = {centre.x - halfEdge, centre.y - halfEdge, centre.z - halfEdge};
    cubeMax = {centre.x + halfEdge, centre.y + halfEdge, centre.z + halfEdge};
}

// A host is trusted with no more than the list it was given: an over-reported
// count would otherwise walk past the list.
int ClampPickCount(int reported) { return reported > kPickCapacity ? kPickCapacity : reported; }

// Gap from `point` to the interval [lo, hi] along one axis; zero inside.
float AxisGap(float point, float lo, float hi) {
    if (point < lo) return lo - point;
    if (point > hi) return point - hi;
    return 0.0f;
}

// Distance from `point` to the nearest point of the box [boxMin, boxMax].
float DistanceToBox(const D3DXVECTOR3& point, const D3DXVECTOR3& boxMin,
                    const D3DXVECTOR3& boxMax) {
    const float dx = AxisGap(point.x, boxMin.x, boxMax.x);
    const float dy = AxisGap(point.y, boxMin.y, boxMax.y);
    const float dz = AxisGap(point.z, boxMin.z, boxMax.z);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool InReach(const zorPlFlamerClass& flamerClass, zorQEntityRef* centre, zorQEntityRef* target) {
    D3DXVECTOR3 boxMin;
    D3DXVECTOR3 boxMax;
    zorQWorld_GetEntityBox(target, &boxMin, &boxMax);
    // The boundary itself is in reach.
    return !(DistanceToBox(PositionOf(centre), boxMin, boxMax) >
             static_cast<float>(flamerClass.splashRadius));
}

// Fills the fields the Flamer owns (bytes 0 to 43 but for 38 and 39) and
// leaves the rest of the record as it is.
void FillDamage(const zorPlFlamerClass& flamerClass, const zorQEntityRef* centre,
                const zorQEntityRef* target, zorQMsgDamage& record) {
    const D3DXVECTOR3& origin = PositionOf(centre);
    const D3DXVECTOR3& targetPosition = PositionOf(target);
    record.damage = flamerClass.splashDamage;
    record.impulse = flamerClass.impulse;
    record.rotImpulse = flamerClass.rotImpulse;
    record.origin = origin;
    record.direction = {targetPosition.x - origin.x, targetPosition.y - origin.y + kDirectionLift,
                        targetPosition.z - origin.z};
    record.kind = kDamageKind;
    record.reserved = kDamageReserved;
}

void SendDamage(zorQEntityRef* target, zorQMsgDamage& record) {
    zorQWorld_SendMessage(target, ZORQMSG_DAMAGE, reinterpret_cast<long>(&record), kDamageParam2);
}

void SpawnEffect(zorObjClass* effectClass, const zorQEntityRef* centre) {
    const D3DXVECTOR3& at = PositionOf(centre);
    D3DXMATRIX transform;
    D3DXMatrixTranslation(&transform, at.x, at.y, at.z);
    // Classes of the registry's "custom" kind are effect classes.
    static_cast<zorCustomClass*>(effectClass)->SpawnAt(&transform);
}

// The corpse's entity data: its event source, then the class object of the
// Flamer that left it.
zorQCorpseData* CorpseDataOf(zorQEntityRef* corpse) {
    return static_cast<zorQCorpseData*>(zorQWorld_GetEntityData(corpse));
}

// Called by the corpse's event source for every string event it raises.
void OnCorpseEvent(const char* event, zorQEntityRef* corpse) {
    if (!zorQ_NamesEqual(event, kFireblowEvent) || corpse == nullptr) return;
    const zorQCorpseData* data = CorpseDataOf(corpse);
    if (data == nullptr || data->classObject == nullptr) return;
    static_cast<zorPlFlamerClass*>(data->classObject)->ExplodeCorpse(corpse);
}

// Registers the callback with the event source in the first word of the
// corpse's data, read afresh for the registration. A corpse without an event
// source has nothing to register with.
void RegisterCorpseCallback(zorQCorpseData& data, zorQEntityRef* corpse, int selector) {
    if (data.eventSource != nullptr)
        data.eventSource->SetEventCallback(selector, OnCorpseEvent, corpse);
}

}  // namespace

void zorPlFlamerClass::ExplodeCorpse(zorQEntityRef* centre) {
    zorQEntityRef* picked[kPickCapacity];
    D3DXVECTOR3 cubeMin;
    D3DXVECTOR3 cubeMax;
    BuildQueryCube(PositionOf(centre), static_cast<float>(splashRadius), cubeMin, cubeMax);
    const int count = ClampPickCount(
        zorQWorld_PickEntities(&cubeMin, &cubeMax, picked, kPickCapacity, kPickFilter, kPickFlags));
    // One record serves every message: each receiver is done with it on return.
    zorQMsgDamage record;
    for (int i = 0; i < count; ++i) {
        if (!InReach(*this, centre, picked[i])) continue;
        FillDamage(*this, centre, picked[i], record);
        SendDamage(picked[i], record);
    }
    if (explosionClass != nullptr) SpawnEffect(explosionClass, centre);
}

void zorPlFlamer::Kill(int flag) {
    // A Flamer without an entity has nowhere to explode; it still dies.
    if (flag != 0 && OwnEntity() != nullptr) FlamerClass()->ExplodeCorpse(OwnEntity());
    zorPlClassic::Kill(flag);
}

zorQEntityRef* zorPlFlamer::PlaceCorpse() {
    zorQEntityRef* corpse = zorPlClassic::PlaceCorpse();
    if (corpse == nullptr) return nullptr;
    // The data is asked for once; its first word is read for each
    // registration.
    zorQCorpseData* data = CorpseDataOf(corpse);
    if (data == nullptr) return corpse;
    RegisterCorpseCallback(*data, corpse, kFirstEventSelector);
    RegisterCorpseCallback(*data, corpse, kSecondEventSelector);
    return corpse;
}
