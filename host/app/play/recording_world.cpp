#include "recording_world.h"

#include "class_view.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace flamer_host {
namespace {

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

int RecordingWorld::PickEntities(D3DXVECTOR3* min, D3DXVECTOR3* max, zorQEntityRef** list,
                                 int capacity, PICK_FILTER filter, unsigned long flags) {
    if (min == nullptr || max == nullptr) return 0;
    const zorQPickResult result = Pick(*min, *max, list, capacity, filter, flags);
    if (!context_) return result.written;
    FinishExplosion();
    Explosion explosion;
    explosion.number = ++explosionCount_;
    explosion.setOffBy = context_->setOffBy;
    explosion.commandLine = commandLine_;
    explosion.commandText = commandText_;
    explosion.cubeMin = *min;
    explosion.cubeMax = *max;
    const zorQEntityRef* subject = context_->subject;
    explosion.centreName = subject != nullptr ? NameOf(subject) : kUnnamed;
    explosion.centre = subject != nullptr ? subject->position : Midpoint(*min, *max);
    explosion.radius = SplashRadiusAt(*min, *max);
    explosion.capacity = capacity;
    explosion.inCube = result.inCube;
    explosion.reportedPicks = result.written;
    RecordLeftOut(explosion, list, filter, flags);
    current_ = std::move(explosion);
    return result.written;
}

// The acting class's splash radius when it lists one; else how far the
// query cube reaches from its middle.
float RecordingWorld::SplashRadiusAt(const D3DXVECTOR3& cubeMin, const D3DXVECTOR3& cubeMax) const {
    if (zorObjClass* cls = ClassOfEntity(context_->subject))
        if (const std::optional<int> radius = ClassView(*cls).SplashRadius())
            return static_cast<float>(*radius);
    return static_cast<float>((double(cubeMax.x) - cubeMin.x) / 2);
}

LeftOutEntity RecordingWorld::LeftOut(zorQEntityRef* entity, LeftOutReason reason,
                                      const D3DXVECTOR3& centre) {
    LeftOutEntity left;
    left.name = NameOf(entity);
    left.reason = reason;
    left.position = entity->position;
    zorWorld::GetEntityBox(entity, &left.boxMin, &left.boxMax);
    left.distance = DistanceToBox(centre, left.boxMin, left.boxMax);
    return left;
}

// Asks the world again for the entities the module's query left out: the
// nearest ones in the cube beyond its list, and the nearest ones around the
// cube but outside it, with how many there are. Each question costs what the
// world's picks cost: about the logarithm of the world's size and the
// entities kept.
void RecordingWorld::RecordLeftOut(Explosion& explosion, zorQEntityRef* const* picked,
                                   PICK_FILTER filter, unsigned long flags) {
    std::vector<zorQEntityRef*> list;
    if (explosion.inCube > explosion.reportedPicks) {
        const std::unordered_set<const zorQEntityRef*> pickedSet(picked,
                                                                 picked + explosion.reportedPicks);
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
    list.assign(kShownOutside, nullptr);
    const zorQPickResult nearby =
        PickOutside(nearbyMin, nearbyMax, explosion.cubeMin, explosion.cubeMax, list.data(),
                    static_cast<int>(list.size()), filter, flags);
    for (int i = 0; i < nearby.written; ++i)
        explosion.leftOut.push_back(LeftOut(list[static_cast<std::size_t>(i)],
                                            LeftOutReason::kOutsideCube, explosion.centre));
    explosion.nearbyOutside = nearby.inCube;
    SortByDistance(explosion.leftOut.begin() + static_cast<std::ptrdiff_t>(overLimit),
                   explosion.leftOut.end());
}

void RecordingWorld::GetEntityBox(zorQEntityRef* entity, D3DXVECTOR3* min, D3DXVECTOR3* max) {
    zorWorld::GetEntityBox(entity, min, max);
    Explosion* explosion = Current();
    if (explosion == nullptr || entity == nullptr || min == nullptr || max == nullptr) return;
    PickedEntity picked;
    picked.entity = entity;
    picked.name = NameOf(entity);
    picked.position = entity->position;
    picked.boxMin = *min;
    picked.boxMax = *max;
    const zorQEntityRef* subject = context_->subject;
    picked.centre = subject != nullptr ? subject->position : explosion->centre;
    picked.distance = DistanceToBox(picked.centre, *min, *max);
    explosion->picks.push_back(std::move(picked));
}

long RecordingWorld::SendMessage(zorQEntityRef* target, unsigned long msg, long param1,
                                 unsigned long param2) {
    RecordMessage(target, msg, param1, param2);
    ApplyTrackedDamage(target, msg, param1);
    return zorWorld::SendMessage(target, msg, param1, param2);
}

void RecordingWorld::RecordMessage(zorQEntityRef* target, unsigned long msg, long param1,
                                   unsigned long param2) {
    if (!context_) return;
    SentMessage message;
    message.target = NameOf(target);
    message.targetEntity = target;
    message.number = msg;
    message.param1 = param1;
    message.param2 = param2;
    message.hasDamage = msg == ZORQMSG_DAMAGE && param1 != 0;
    if (message.hasDamage) message.damage = *reinterpret_cast<const zorQMsgDamage*>(param1);
    Explosion* explosion = Current();
    if (explosion == nullptr) {
        records_.push_back(MessageSent{.sender = ActorName(), .message = std::move(message)});
        return;
    }
    explosion->messages.push_back(std::move(message));
    if (explosion->picks.empty() || explosion->picks.back().entity != target) return;
    explosion->picks.back().hit = true;
    explosion->picks.back().message = static_cast<int>(explosion->messages.size()) - 1;
}

void RecordingWorld::ApplyTrackedDamage(const zorQEntityRef* target, unsigned long msg,
                                        long param1) {
    const auto tracked = health_.find(target);
    if (msg != ZORQMSG_DAMAGE || param1 == 0 || tracked == health_.end() ||
        target->player != nullptr)
        return;
    const int damage = reinterpret_cast<const zorQMsgDamage*>(param1)->damage;
    if (damage > 0) tracked->second = damage < tracked->second ? tracked->second - damage : 0;
}

void RecordingWorld::EffectStarted(zorCustomClass* effect, const D3DXMATRIX* transform) {
    if (!context_ || effect == nullptr || transform == nullptr) return;
    EffectSpawn spawn{.effectName = effect->GetName(), .transform = *transform};
    if (Explosion* explosion = Current())
        explosion->spawns.push_back(std::move(spawn));
    else
        records_.push_back(
            flamer_host::EffectStarted{.startedBy = ActorName(), .spawn = std::move(spawn)});
}

void RecordingWorld::Print(const char* text) {
    if (!context_ || text == nullptr) return;
    if (Explosion* explosion = Current())
        explosion->consoleLines.push_back(text);
    else
        records_.push_back(ConsoleLine{text});
}

void RecordingWorld::QueueDeath(zorQEntityRef* entity, int flag) {
    if (context_) {
        const Explosion* explosion = Current();
        deathCauses_[entity] = DeathCause{.explosion = explosion != nullptr ? explosion->number : 0,
                                          .sender = ActorName()};
    }
    zorWorld::QueueDeath(entity, flag);
}

void RecordingWorld::RunDeath(zorQEntityRef* entity, int flag) {
    FinishExplosion();
    const std::optional<Context> outer = context_;
    const auto cause = deathCauses_.find(entity);
    const int causeExplosion = cause != deathCauses_.end() ? cause->second.explosion : 0;
    if (outer) {
        Died died;
        died.name = NameOf(entity);
        died.causeExplosion = causeExplosion;
        if (cause != deathCauses_.end()) died.causeSender = cause->second.sender;
        records_.push_back(std::move(died));
    }
    context_ = Context{.subject = entity, .setOffBy = causeExplosion};
    zorWorld::RunDeath(entity, flag);
    FinishExplosion();
    context_ = outer;
}

void RecordingWorld::Name(const zorQEntityRef* entity, const std::string& name) {
    names_[entity] = name;
}

void RecordingWorld::TrackHealth(const zorQEntityRef* entity, int health) {
    health_[entity] = health;
}

std::string RecordingWorld::NameOf(const zorQEntityRef* entity) const {
    const auto found = names_.find(entity);
    return found != names_.end() ? found->second : kUnnamed;
}

std::optional<int> RecordingWorld::HealthOf(const zorQEntityRef* entity) const {
    if (entity->player != nullptr) return entity->player->GetHealth();
    const auto found = health_.find(entity);
    if (found == health_.end()) return std::nullopt;
    return found->second;
}

std::optional<int> RecordingWorld::DeathCauseOf(const zorQEntityRef* entity) const {
    const auto found = deathCauses_.find(entity);
    if (found == deathCauses_.end() || found->second.explosion == 0) return std::nullopt;
    return found->second.explosion;
}

void RecordingWorld::BeginCommand(const zorQEntityRef* subject, int line, const std::string& text) {
    context_ = Context{.subject = subject, .setOffBy = 0};
    commandLine_ = line;
    commandText_ = text;
}

void RecordingWorld::EndCommand() {
    FinishExplosion();
    context_.reset();
}

std::vector<Happening> RecordingWorld::TakeRecords() {
    FinishExplosion();
    if (debugger_ != nullptr)
        for (std::string& line : debugger_->TakeLines())
            records_.push_back(ConsoleLine{.text = std::move(line)});
    std::vector<Happening> taken = std::move(records_);
    records_.clear();
    return taken;
}

void RecordingWorld::FinishExplosion() {
    if (current_) records_.push_back(std::move(*current_));
    current_.reset();
}

std::string RecordingWorld::ActorName() const {
    return context_ && context_->subject != nullptr ? NameOf(context_->subject) : kUnnamed;
}

Explosion* RecordingWorld::Current() { return context_ && current_ ? &*current_ : nullptr; }

}  // namespace flamer_host
