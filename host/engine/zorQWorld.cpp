// The world: entities in memory, cube queries, message delivery, corpses and
// the deaths that messages cause.
#include "zorQWorld.h"

#include "entity_index.h"
#include "zorQBox.h"
#include "zorQObj.h"
#include "zorWorld.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <deque>
#include <utility>

namespace {

// A corpse's box: a flat body on the ground around its position.
constexpr D3DXVECTOR3 kCorpseBoxMin{-16.0f, 0.0f, -16.0f};
constexpr D3DXVECTOR3 kCorpseBoxMax{16.0f, 8.0f, 16.0f};

using zorq::Add;
using zorq::Finite;
using zorq::Ordered;

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

struct zorWorld::State {
    struct Death {
        zorQEntityRef* entity;
        int flag;
    };

    zorq::EntityIndex index;
    std::deque<Death> deaths;
    bool runningDeaths = false;
    uint32_t nextId = 1;
};

zorWorld::zorWorld() : state_(std::make_unique<State>()) {}

zorWorld::~zorWorld() {
    for (zorQEntityRef* entity : state_->index.All()) ReleaseEntity(entity);
}

int zorWorld::PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list, int capacity,
                           PICK_FILTER filter, unsigned long flags) {
    if (min == nullptr || max == nullptr) return 0;
    return Pick(*min, *max, list, capacity, filter, flags).written;
}

zorQPickResult zorWorld::Pick(const D3DXVECTOR3& min, const D3DXVECTOR3& max, zorQEntityRef** list,
                              int capacity, PICK_FILTER filter, unsigned long flags) const {
    zorq::PickQuery query;
    query.min = min;
    query.max = max;
    query.boxes = (flags & ZORQPICK_BOXES) != 0;
    query.filter = filter;
    return state_->index.Pick(query, list, capacity);
}

zorQPickResult zorWorld::PickOutside(const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                                     const D3DXVECTOR3& outsideMin, const D3DXVECTOR3& outsideMax,
                                     zorQEntityRef** list, int capacity, PICK_FILTER filter,
                                     unsigned long flags) const {
    zorq::PickQuery query;
    query.min = min;
    query.max = max;
    query.boxes = (flags & ZORQPICK_BOXES) != 0;
    query.filter = filter;
    query.outsideMin = &outsideMin;
    query.outsideMax = &outsideMax;
    return state_->index.Pick(query, list, capacity);
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
    if (!Finite(*position) || !Finite(Add(*position, *boxMin)) || !Finite(Add(*position, *boxMax)))
        return nullptr;
    auto* entity =
        new zorQEntityRef{state_->nextId++, 0, *position, *boxMin, *boxMax, nullptr, nullptr};
    state_->index.Insert(entity);
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
    if (!Contains(entity)) return;
    state_->index.Remove(entity);
    std::deque<State::Death>& deaths = state_->deaths;
    deaths.erase(std::remove_if(deaths.begin(), deaths.end(),
                                [entity](const State::Death& d) { return d.entity == entity; }),
                 deaths.end());
    ReleaseEntity(entity);
}

void zorWorld::MoveEntity(zorQEntityRef* entity, const D3DXVECTOR3* position) {
    if (entity == nullptr || position == nullptr) return;
    entity->position = *position;
    state_->index.Update(entity);
}

int zorWorld::RaiseCorpseEvent(zorQEntityRef* corpse, const char* event) {
    const int called = DeliverCorpseEvent(corpse, event);
    RunQueuedDeaths();
    return called;
}

int zorWorld::DeliverCorpseEvent(zorQEntityRef* corpse, const char* event) {
    if (!Contains(corpse)) return -1;
    zorQCorpseData* data = CorpseData(corpse);
    if (data == nullptr || data->eventSource == nullptr) return -1;
    return data->eventSource->RaiseEvent(event);
}

void zorWorld::EffectStarted(zorCustomClass*, const D3DXMATRIX*) {}

void zorWorld::Print(const char* text) {
    if (text != nullptr) std::fprintf(stderr, "%s\n", text);
}

void zorWorld::QueueDeath(zorQEntityRef* entity, int flag) {
    if (entity != nullptr) state_->deaths.push_back(State::Death{entity, flag});
}

int zorWorld::RunQueuedDeaths() {
    int ran = 0;
    while (RunNextDeath()) ++ran;
    return ran;
}

bool zorWorld::RunNextDeath() {
    if (state_->runningDeaths || state_->deaths.empty()) return false;
    state_->runningDeaths = true;
    const State::Death death = state_->deaths.front();
    state_->deaths.pop_front();
    RunDeath(death.entity, death.flag);
    state_->runningDeaths = false;
    return true;
}

void zorWorld::KillPlayer(zorPlayer* player, int flag) {
    if (player == nullptr) return;
    player->Kill(flag);
    RunQueuedDeaths();
}

void zorWorld::RunDeath(zorQEntityRef* entity, int flag) {
    if (entity->player != nullptr) entity->player->Kill(flag);
}

int zorWorld::EntityCount() const { return static_cast<int>(state_->index.Size()); }

bool zorWorld::Contains(const zorQEntityRef* entity) const {
    return entity != nullptr && state_->index.Contains(entity);
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

void zorQWorld_Print(const char* text) {
    if (text != nullptr) zorQWorld_Current()->Print(text);
}

}  // extern "C"
