#include "scenario_world.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace flamer_host {
namespace {

constexpr char kEffectModule[] = "flamer_host";
constexpr char kUnnamed[] = "(unnamed)";

D3DXVECTOR3 Midpoint(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}

// Nearest first, then by name, so the order does not depend on the world's.
void SortByDistance(std::vector<LeftOutEntity>::iterator first,
                    std::vector<LeftOutEntity>::iterator last) {
    std::sort(first, last, [](const LeftOutEntity& a, const LeftOutEntity& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.name < b.name;
    });
}

}  // namespace

int ScenarioWorld::PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list,
                                int capacity, PICK_FILTER filter, unsigned long flags) {
    if (min == nullptr || max == nullptr) return 0;
    const zorQPickResult result = Pick(*min, *max, list, capacity, filter, flags);
    if (!context_) return result.written;
    Explosion explosion;
    explosion.number = ++explosionCount_;
    explosion.setOffBy = context_->setOffBy;
    explosion.cubeMin = *min;
    explosion.cubeMax = *max;
    const zorQEntityRef* centre = context_->centre;
    explosion.centreName = centre != nullptr ? NameOf(centre) : kUnnamed;
    explosion.centre = centre != nullptr ? centre->position : Midpoint(*min, *max);
    explosion.capacity = capacity;
    explosion.inCube = result.inCube;
    explosion.reportedPicks = result.written;
    RecordLeftOut(explosion, list, filter, flags);
    HandOn();
    current_ = std::move(explosion);
    ++commandExplosions_;
    return result.written;
}

LeftOutEntity ScenarioWorld::LeftOut(zorQEntityRef* entity, LeftOutReason reason,
                                     const D3DXVECTOR3& centre) {
    LeftOutEntity left;
    left.name = NameOf(entity);
    left.reason = reason;
    left.position = entity->position;
    zorWorld::GetEntityBox(entity, &left.boxMin, &left.boxMax);
    left.distance = DistanceToBox(centre, left.boxMin, left.boxMax);
    return left;
}

// Asks the world again, with longer lists, for the entities the plug-in's
// query left out: the nearest ones in the cube beyond its list, and the
// nearest ones around the cube. The work grows with the entities near the
// cube, as the query's own does; what is kept is bounded.
void ScenarioWorld::RecordLeftOut(Explosion& explosion, zorQEntityRef* const* picked,
                                  PICK_FILTER filter, unsigned long flags) {
    const std::unordered_set<const zorQEntityRef*> pickedSet(picked,
                                                             picked + explosion.reportedPicks);
    std::vector<zorQEntityRef*> list;
    if (explosion.inCube > explosion.reportedPicks) {
        list.resize(static_cast<std::size_t>(explosion.reportedPicks) + kShownOverLimit);
        const zorQPickResult more = Pick(explosion.cubeMin, explosion.cubeMax, list.data(),
                                         static_cast<int>(list.size()), filter, flags);
        for (int i = 0; i < more.written; ++i)
            if (pickedSet.count(list[static_cast<std::size_t>(i)]) == 0)
                explosion.leftOut.push_back(LeftOut(list[static_cast<std::size_t>(i)],
                                                    LeftOutReason::kOverLimit, explosion.centre));
    }
    const std::size_t overLimit = explosion.leftOut.size();
    SortByDistance(explosion.leftOut.begin(), explosion.leftOut.end());

    D3DXVECTOR3 nearbyMin;
    D3DXVECTOR3 nearbyMax;
    NearbyRegion(explosion.centre, CubeHalfEdge(explosion), nearbyMin, nearbyMax);
    list.assign(static_cast<std::size_t>(explosion.inCube) + kShownOutside, nullptr);
    const zorQPickResult nearby =
        Pick(nearbyMin, nearbyMax, list.data(), static_cast<int>(list.size()), filter, flags);
    const bool boxes = (flags & ZORQPICK_BOXES) != 0;
    for (int i = 0; i < nearby.written; ++i) {
        zorQEntityRef* entity = list[static_cast<std::size_t>(i)];
        LeftOutEntity left = LeftOut(entity, LeftOutReason::kOutsideCube, explosion.centre);
        const D3DXVECTOR3& lo = boxes ? left.boxMin : left.position;
        const D3DXVECTOR3& hi = boxes ? left.boxMax : left.position;
        if (!BoxMeetsCube(lo, hi, explosion.cubeMin, explosion.cubeMax))
            explosion.leftOut.push_back(std::move(left));
    }
    explosion.nearbyOutside = std::max(nearby.inCube - explosion.inCube, 0);
    SortByDistance(explosion.leftOut.begin() + static_cast<std::ptrdiff_t>(overLimit),
                   explosion.leftOut.end());
    if (explosion.leftOut.size() > overLimit + kShownOutside)
        explosion.leftOut.resize(overLimit + kShownOutside);
}

void ScenarioWorld::GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) {
    zorWorld::GetEntityBox(entity, min, max);
    Explosion* explosion = Current();
    if (explosion == nullptr || entity == nullptr || min == nullptr || max == nullptr) return;
    PickedEntity picked;
    picked.entity = entity;
    picked.name = NameOf(entity);
    picked.position = entity->position;
    picked.boxMin = *min;
    picked.boxMax = *max;
    const zorQEntityRef* centre = context_->centre;
    picked.centre = centre != nullptr ? centre->position : explosion->centre;
    picked.distance = DistanceToBox(picked.centre, *min, *max);
    explosion->picks.push_back(std::move(picked));
}

long ScenarioWorld::SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                                unsigned long param2) {
    RecordMessage(target, msg, param1, param2);
    ApplyTrackedDamage(target, msg, param1);
    return zorWorld::SendMessage(target, msg, param1, param2);
}

void ScenarioWorld::QueueDeath(zorQEntityRef* entity, int flag) {
    if (const Explosion* explosion = Current()) deathCauses_[entity] = explosion->number;
    zorWorld::QueueDeath(entity, flag);
}

void ScenarioWorld::RunDeath(zorQEntityRef* entity, int flag) {
    const std::optional<Context> outer = context_;
    const auto cause = deathCauses_.find(entity);
    context_ = Context{entity, cause != deathCauses_.end() ? cause->second : 0};
    zorWorld::RunDeath(entity, flag);
    context_ = outer;
}

void ScenarioWorld::RecordMessage(zorQEntityRef* target, unsigned long msg, long param1,
                                  unsigned long param2) {
    Explosion* explosion = Current();
    if (explosion == nullptr) return;
    DamageMessage message;
    message.target = NameOf(target);
    message.targetEntity = target;
    message.number = msg;
    message.param2 = param2;
    if (msg == ZORQMSG_DAMAGE && param1 != 0)
        message.record = *reinterpret_cast<const zorQMsgDamage*>(param1);
    explosion->messages.push_back(message);
    if (explosion->picks.empty() || explosion->picks.back().entity != target) return;
    explosion->picks.back().hit = true;
    explosion->picks.back().message = static_cast<int>(explosion->messages.size()) - 1;
}

void ScenarioWorld::ApplyTrackedDamage(const zorQEntityRef* target, unsigned long msg,
                                       long param1) {
    const auto tracked = health_.find(target);
    if (msg != ZORQMSG_DAMAGE || param1 == 0 || tracked == health_.end() ||
        target->player != nullptr)
        return;
    const int damage = reinterpret_cast<const zorQMsgDamage*>(param1)->damage;
    if (damage > 0) tracked->second = damage < tracked->second ? tracked->second - damage : 0;
}

void ScenarioWorld::Name(const zorQEntityRef* entity, const std::string& name) {
    names_[entity] = name;
}

void ScenarioWorld::TrackHealth(const zorQEntityRef* entity, int health) {
    health_[entity] = health;
}

std::string ScenarioWorld::NameOf(const zorQEntityRef* entity) const {
    const auto found = names_.find(entity);
    return found != names_.end() ? found->second : kUnnamed;
}

std::optional<int> ScenarioWorld::HealthOf(const zorQEntityRef* entity) const {
    if (entity->player != nullptr) return entity->player->GetHealth();
    const auto found = health_.find(entity);
    if (found == health_.end()) return std::nullopt;
    return found->second;
}

std::optional<int> ScenarioWorld::DeathCauseOf(const zorQEntityRef* entity) const {
    const auto found = deathCauses_.find(entity);
    if (found == deathCauses_.end()) return std::nullopt;
    return found->second;
}

void ScenarioWorld::SetExplosionSink(std::function<void(Explosion&)> sink) {
    sink_ = std::move(sink);
}

void ScenarioWorld::BeginCommand(const zorQEntityRef* centre) {
    context_ = Context{centre, 0};
    current_.reset();
    commandExplosions_ = 0;
}

int ScenarioWorld::EndCommand() {
    HandOn();
    context_.reset();
    return commandExplosions_;
}

void ScenarioWorld::HandOn() {
    if (current_ && sink_) sink_(*current_);
    current_.reset();
}

void ScenarioWorld::RecordSpawn(const std::string& effectName, const D3DXMATRIX* transform) {
    Explosion* explosion = Current();
    if (explosion == nullptr || transform == nullptr) return;
    explosion->spawns.push_back(EffectSpawn{effectName, *transform});
}

Explosion* ScenarioWorld::Current() { return context_ && current_ ? &*current_ : nullptr; }

RecordingEffectClass::RecordingEffectClass(const std::string& name, ScenarioWorld& world)
    : world_(world) {
    std::string className = name;
    std::string moduleName = kEffectModule;
    std::string fileName;
    Setup(className.data(), moduleName.data(), fileName.data(), nullptr);
}

long RecordingEffectClass::SpawnAt(D3DXMATRIX* transform) {
    world_.RecordSpawn(GetName(), transform);
    return zorCustomClass::SpawnAt(transform);
}

}  // namespace flamer_host
