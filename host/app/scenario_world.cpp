#include "scenario_world.h"

#include <algorithm>
#include <cmath>

namespace flamer_host {
namespace {

constexpr char kEffectModule[] = "flamer_host";
constexpr char kUnnamed[] = "(unnamed)";

D3DXVECTOR3 Midpoint(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}

}  // namespace

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
    HandOn();
    current_ = std::move(explosion);
    ++commandExplosions_;
    return result.written;
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
