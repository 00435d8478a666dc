#include "explosion_model.h"

#include "explosion_words.h"

namespace flamer_host {
namespace {

EntityView PickedView(const Explosion& explosion, const PickedEntity& pick) {
    EntityView view;
    view.name = pick.name;
    view.verdict = pick.hit ? Verdict::kHit : Verdict::kMissed;
    view.position = pick.position;
    view.boxMin = pick.boxMin;
    view.boxMax = pick.boxMax;
    view.nearest = NearestBoxPoint(pick.centre, pick.boxMin, pick.boxMax);
    view.distance = pick.distance;
    view.reason = pick.hit ? "picked; its box reaches within the radius"
                           : "picked; its box stays beyond the radius";
    if (pick.message >= 0 && static_cast<std::size_t>(pick.message) < explosion.messages.size()) {
        const SentMessage& message = explosion.messages[static_cast<std::size_t>(pick.message)];
        if (message.number == ZORQMSG_DAMAGE) view.push = message.damage.direction;
    }
    return view;
}

EntityView LeftOutView(const Explosion& explosion, const LeftOutEntity& left) {
    EntityView view;
    view.name = left.name;
    view.verdict =
        left.reason == LeftOutReason::kOverLimit ? Verdict::kOverLimit : Verdict::kOutside;
    view.position = left.position;
    view.boxMin = left.boxMin;
    view.boxMax = left.boxMax;
    view.nearest = NearestBoxPoint(explosion.centre, left.boxMin, left.boxMax);
    view.distance = left.distance;
    view.reason = LeftOutWhy(left, explosion);
    return view;
}

}  // namespace

bool Picked(Verdict verdict) { return verdict == Verdict::kHit || verdict == Verdict::kMissed; }

ExplosionModel ModelOf(const Explosion& explosion) {
    ExplosionModel model{explosion, {}};
    model.entities.reserve(explosion.picks.size() + explosion.leftOut.size());
    for (const PickedEntity& pick : explosion.picks)
        model.entities.push_back(PickedView(explosion, pick));
    for (const LeftOutEntity& left : explosion.leftOut)
        model.entities.push_back(LeftOutView(explosion, left));
    return model;
}

}  // namespace flamer_host
