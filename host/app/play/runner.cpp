#include "runner.h"

#include "verbs.h"
#include "zorObjRegistry.h"

#include <algorithm>
#include <variant>

namespace flamer_host {

ScenarioRunner::ScenarioRunner(LoadedClasses& classes, RecordingWorld& world, HappeningSink& output)
    : classes_(classes), world_(world), output_(output) {}

ScenarioRunner::~ScenarioRunner() {
    DestroyObjects();
    DestroyEffects();
}

void ScenarioRunner::DestroyObjects() {
    for (Actor& actor : actors_) actor.object.reset();
}

void ScenarioRunner::DestroyEffects() {
    for (const std::unique_ptr<zorCustomClass>& effect : effects_)
        zorQObj_UnregisterClass(effect.get());
    effects_.clear();
}

bool ScenarioRunner::Run(const Scenario& scenario) {
    source_ = scenario.source;
    bool played = Tell(ScenarioStarted{.source = scenario.source,
                                       .commandCount = scenario.commands.size()}) &&
                  ShowParametersIfChanged();
    for (const Command& command : scenario.commands) {
        if (!played) break;
        // The tuning an explosion uses is shown before the command that sets it off.
        played = (!command.verb->explodes || ShowParametersIfChanged()) &&
                 Tell(CommandStarted{.line = command.line, .text = command.sourceText}) &&
                 Play(command);
    }
    world_.EndCommand();
    // The output finishes its files whatever happened; a failure to do so
    // fails the play.
    outputFailed_ = false;
    return Tell(ScenarioEnded{}) && played;
}

bool ScenarioRunner::Play(const Command& command) {
    touched_.clear();
    recordsTold_ = 0;
    return std::visit([&](const auto& args) { return Play(command, args); }, command.args);
}

bool ScenarioRunner::Tell(Happening happening) {
    if (outputFailed_) return false;
    if (!output_.Take(happening)) outputFailed_ = true;
    return !outputFailed_;
}

bool ScenarioRunner::TellRecords() {
    std::vector<Happening> records = world_.TakeRecords();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto touch = [&](const SentMessage& message) {
            const auto actor = actorByEntity_.find(message.targetEntity);
            if (actor != actorByEntity_.end()) touched_.push_back(actor->second);
        };
        if (const auto* explosion = std::get_if<Explosion>(&records[i]))
            for (const SentMessage& message : explosion->messages) touch(message);
        if (const auto* sent = std::get_if<MessageSent>(&records[i])) touch(sent->message);
        // A death's own explosion follows it, and says what set it off.
        if (auto* died = std::get_if<Died>(&records[i]))
            died->setOffExplosion =
                i + 1 < records.size() && std::holds_alternative<Explosion>(records[i + 1]);
        ++recordsTold_;
        if (!Tell(std::move(records[i]))) return false;
    }
    return true;
}

bool ScenarioRunner::RunDeaths() {
    while (world_.RunNextDeath())
        if (!TellRecords()) return false;
    return true;
}

bool ScenarioRunner::Fail(const Command& command, const std::string& message) {
    Tell(RunFailed{ScenarioError{.source = source_, .line = command.line, .message = message}});
    return false;
}

bool ScenarioRunner::ShowParametersIfChanged() {
    if (!paramsChanged_) return true;
    paramsChanged_ = false;
    ParametersShown shown;
    for (const ClassView& view : classes_.Views()) shown.classes.push_back(view.Parameters());
    return Tell(std::move(shown));
}

zorQEntityRef* ScenarioRunner::CreateEntity(const std::string& name, const D3DXVECTOR3& position,
                                            const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax) {
    zorQEntityRef* entity = world_.CreateEntity(&position, &boxMin, &boxMax);
    if (entity != nullptr) world_.Name(entity, name);
    return entity;
}

ScenarioRunner::Actor& ScenarioRunner::AddActor(Actor actor) {
    const std::size_t index = actors_.size();
    actorByName_.emplace(actor.name, index);
    if (actor.entity != nullptr) actorByEntity_.emplace(actor.entity, index);
    actors_.push_back(std::move(actor));
    return actors_.back();
}

ScenarioRunner::Actor& ScenarioRunner::FindActor(const std::string& name) {
    return actors_[actorByName_.at(name)];
}

bool ScenarioRunner::TellHealth(const Actor* subject) {
    std::vector<std::size_t> shown = std::move(touched_);
    touched_.clear();
    if (subject != nullptr) shown.push_back(actorByName_.at(subject->name));
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    HealthAfterwards health;
    for (std::size_t index : shown) {
        const Actor& actor = actors_[index];
        HealthLine line{.name = actor.name, .health = world_.HealthOf(actor.entity), .note = ""};
        if (actor.object != nullptr && actor.object->IsDead()) line.note = "dead";
        health.lines.push_back(std::move(line));
    }
    return health.lines.empty() || Tell(std::move(health));
}

}  // namespace flamer_host
