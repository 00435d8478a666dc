// The world: entities in memory, cube queries, message delivery and corpses.
#include "zorQWorld.h"

#include "zorQObj.h"

#include <algorithm>
#include <atomic>

namespace {

// A corpse's box: a flat body on the ground around its position.
constexpr D3DXVECTOR3 kCorpseBoxMin{-16.0f, 0.0f, -16.0f};
constexpr D3DXVECTOR3 kCorpseBoxMax{16.0f, 8.0f, 16.0f};

D3DXVECTOR3 Add(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3{a.x + b.x, a.y + b.y, a.z + b.z};
}

bool Ordered(const D3DXVECTOR3& low, const D3DXVECTOR3& high) {
    return low.x <= high.x && low.y <= high.y && low.z <= high.z;
}

// True when [aMin, aMax] and [bMin, bMax] share a point (touching counts).
bool Overlap(const D3DXVECTOR3& aMin, const D3DXVECTOR3& aMax, const D3DXVECTOR3& bMin,
             const D3DXVECTOR3& bMax) {
    return Ordered(aMin, bMax) && Ordered(bMin, aMax);
}

zorQCorpseData* CorpseData(const zorQEntityRef* entity) {
    return (entity->flags & ZORQENTITY_CORPSE) ? static_cast<zorQCorpseData*>(entity->data)
                                               : nullptr;
}

void ReleaseEntity(zorQEntityRef* entity) {
    if (entity->player != nullptr) entity->player->DetachEntity();
    if (zorQCorpseData* corpse = CorpseData(entity)) {
        delete corpse->eventSource;
        delete corpse;
    }
    delete entity;
}

zorWorld& DefaultWorld() {
    static zorWorld world;
    return world;
}

std::atomic<zorWorld*> currentWorld{nullptr};

}  // namespace

zorWorld::zorWorld() : nextId(1) {}

zorWorld::~zorWorld() {
    for (zorQEntityRef* entity : entities) ReleaseEntity(entity);
}

int zorWorld::PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                           PICK_FILTER filter, unsigned long flags) {
    if (min == nullptr || max == nullptr || list == nullptr || capacity <= 0) return 0;
    int written = 0;
    for (zorQEntityRef* entity : entities) {
        if (written == capacity) break;
        if (!Selects(entity, filter)) continue;
        D3DXVECTOR3 boxMin = entity->position;
        D3DXVECTOR3 boxMax = entity->position;
        if (flags & ZORQPICK_BOXES) GetEntityBox(entity, &boxMin, &boxMax);
        if (Overlap(boxMin, boxMax, *min, *max)) list[written++] = entity;
    }
    return written;
}

void zorWorld::GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) {
    if (entity == nullptr) return;
    if (min != nullptr) *min = Add(entity->position, entity->boxMin);
    if (max != nullptr) *max = Add(entity->position, entity->boxMax);
}

void* zorWorld::GetEntityData(zorQEntityRef* entity) {
    return entity != nullptr ? entity->data : nullptr;
}

long zorWorld::SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                           unsigned long param2) {
    if (target == nullptr || target->player == nullptr) return ZORQMSG_UNHANDLED;
    return target->player->PlayerProc(target, nullptr, msg, param1, param2);
}

zorQEntityRef* zorWorld::CreateEntity(const D3DXVECTOR3* position, const D3DXVECTOR3* boxMin,
                                      const D3DXVECTOR3* boxMax) {
    if (position == nullptr || boxMin == nullptr || boxMax == nullptr || !Ordered(*boxMin, *boxMax))
        return nullptr;
    auto* entity = new zorQEntityRef{nextId++, 0, *position, *boxMin, *boxMax, nullptr, nullptr};
    entities.push_back(entity);
    return entity;
}

zorQEntityRef* zorWorld::CreateCorpse(const D3DXVECTOR3* position, zorObjClass* classObject) {
    zorQEntityRef* corpse = CreateEntity(position, &kCorpseBoxMin, &kCorpseBoxMax);
    if (corpse == nullptr) return nullptr;
    auto* source = new zorQEventSource();
    source->SetEntity(corpse);
    source->SetPosition(position);
    corpse->flags |= ZORQENTITY_CORPSE;
    corpse->data = new zorQCorpseData{source, classObject};
    return corpse;
}

void zorWorld::DestroyEntity(zorQEntityRef* entity) {
    const auto found = std::find(entities.begin(), entities.end(), entity);
    if (found == entities.end()) return;
    entities.erase(found);
    ReleaseEntity(entity);
}

int zorWorld::RaiseCorpseEvent(zorQEntityRef* corpse, const char* event) {
    if (!Contains(corpse)) return -1;
    zorQCorpseData* data = CorpseData(corpse);
    if (data == nullptr || data->eventSource == nullptr) return -1;
    return data->eventSource->RaiseEvent(event);
}

int zorWorld::EntityCount() const { return static_cast<int>(entities.size()); }

zorQEntityRef* zorWorld::EntityAt(int index) const {
    return (index >= 0 && index < EntityCount()) ? entities[static_cast<std::size_t>(index)]
                                                 : nullptr;
}

bool zorWorld::Contains(const zorQEntityRef* entity) const {
    return entity != nullptr &&
           std::find(entities.begin(), entities.end(), entity) != entities.end();
}

bool zorWorld::Selects(const zorQEntityRef* entity, PICK_FILTER filter) const {
    switch (filter) {
        case PICK_FILTER_ALL:
            return true;
        case PICK_FILTER_PLAYERS:
            return entity->player != nullptr;
        case PICK_FILTER_CORPSES:
            return (entity->flags & ZORQENTITY_CORPSE) != 0;
        case PICK_FILTER_NONE:
            break;
    }
    return false;
}

zorWorld* zorQWorld_SetCurrent(zorWorld* world) {
    zorWorld* previous = zorQWorld_Current();
    currentWorld.store(world, std::memory_order_relaxed);
    return previous;
}

zorWorld* zorQWorld_Current() {
    zorWorld* world = currentWorld.load(std::memory_order_relaxed);
    return world != nullptr ? world : &DefaultWorld();
}

extern "C" {

int zorQWorld_PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                           PICK_FILTER filter, unsigned long flags) {
    // Callers size their list by capacity: never report more than that.
    const int picked = zorQWorld_Current()->PickEntities(min, max, list, capacity, filter, flags);
    return std::min(picked, std::max(capacity, 0));
}

void zorQWorld_GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) {
    zorQWorld_Current()->GetEntityBox(entity, min, max);
}

void* zorQWorld_GetEntityData(zorQEntityRef* entity) {
    return zorQWorld_Current()->GetEntityData(entity);
}

long zorQWorld_SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                           unsigned long param2) {
    return zorQWorld_Current()->SendMessage(target, msg, param1, param2);
}

}  // extern "C"
