#include "runner.h"

#include "commands.h"
#include "zorObjRegistry.h"

#include <algorithm>

namespace flamer_host {

ScenarioRunner::ScenarioRunner(const FlamerClass& flamerClass, ScenarioWorld& world,
                               std::ostream& out, std::ostream& err, std::string svgDirectory)
    : flamerClass_(flamerClass),
      world_(world),
      out_(out),
      err_(err),
      svgDirectory_(std::move(svgDirectory)) {
    world_.SetExplosionSink([this](Explosion& explosion) { ReportExplosion(explosion); });
}

ScenarioRunner::~ScenarioRunner() {
    world_.SetExplosionSink(nullptr);
    DestroyFlamers();
    DestroyEffects();
}

void ScenarioRunner::DestroyFlamers() {
    for (Actor& actor : actors_) {
        delete static_cast<zorObj*>(actor.flamer);
        actor.flamer = nullptr;
    }
}

void ScenarioRunner::DestroyEffects() {
    for (const std::unique_ptr<RecordingEffectClass>& effect : effects_)
        zorQObj_UnregisterClass(effect.get());
    effects_.clear();
}

bool ScenarioRunner::Run(const Scenario& scenario) {
    source_ = scenario.source;
    if (!svgDirectory_.empty()) pictures_.emplace(svgDirectory_, source_);
    const bool played = PlayCommands(scenario);
    command_ = nullptr;
    return FinishPictures() && played;
}

bool ScenarioRunner::PlayCommands(const Scenario& scenario) {
    out_ << "scenario " << scenario.source << ": " << scenario.commands.size() << " commands\n";
    PrintParametersIfChanged();
    for (const Command& command : scenario.commands) {
        // The tuning an explosion uses is shown before the command that sets it off.
        if (command.verb->explodes) PrintParametersIfChanged();
        out_ << "\nline " << command.line << ": " << command.sourceText << "\n";
        command_ = &command;
        if (!command.verb->run(*this, command)) return false;
    }
    return true;
}

bool ScenarioRunner::Fail(const Command& command, const std::string& message) {
    err_ << FormatError(ScenarioError{source_, command.line, message}) << "\n";
    return false;
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

void ScenarioRunner::SetActorEntity(Actor& actor, zorQEntityRef* entity) {
    actor.entity = entity;
    actorByEntity_.emplace(entity, actorByName_.at(actor.name));
}

ScenarioRunner::Actor& ScenarioRunner::FindActor(const std::string& name) {
    return actors_[actorByName_.at(name)];
}

bool ScenarioRunner::AddEffect(const std::string& name) {
    auto effect = std::make_unique<RecordingEffectClass>(name, world_);
    if (zorQObj_RegisterClass(effect.get(), kEffectKind) == 0) return false;
    effects_.push_back(std::move(effect));
    return true;
}

void ScenarioRunner::PrintParametersIfChanged() {
    if (!paramsChanged_) return;
    paramsChanged_ = false;
    out_ << "\n";
    PrintParameters(out_, flamerClass_.ParamLines(), flamerClass_.BindingText());
}

bool ScenarioRunner::ReportExplosions(const Command& command) {
    if (world_.EndCommand() == 0) out_ << "  no explosion\n";
    if (pictureError_.empty()) return true;
    const std::string error = std::move(pictureError_);
    pictureError_.clear();
    return Fail(command, error);
}

void ScenarioRunner::ReportExplosion(Explosion& explosion) {
    explosion.radius = static_cast<float>(flamerClass_.SplashRadius());
    if (command_ != nullptr) {
        explosion.commandLine = command_->line;
        explosion.commandText = command_->sourceText;
    }
    PrintExplosion(out_, explosion);
    for (const DamageMessage& message : explosion.messages)
        if (const auto actor = actorByEntity_.find(message.targetEntity);
            actor != actorByEntity_.end())
            touched_.push_back(actor->second);
    DrawExplosion(explosion);
}

// After a picture failed, the command fails and nothing more is drawn.
void ScenarioRunner::DrawExplosion(const Explosion& explosion) {
    if (!pictures_ || !pictureError_.empty()) return;
    switch (pictures_->Add(explosion, pictureError_)) {
        case PictureFolder::Result::kWritten:
            out_ << "  picture: " << pictures_->PathOf(explosion.number) << "\n";
            break;
        case PictureFolder::Result::kBeyondLimit:
            if (pictures_->NotDrawn() == 1)
                out_ << "  picture: not drawn, nor those of the explosions after it (a run "
                        "draws at most "
                     << kPictureLimit << ")\n";
            break;
        case PictureFolder::Result::kFailed:
            break;
    }
}

bool ScenarioRunner::FinishPictures() {
    if (!pictures_) return true;
    std::string error;
    if (!pictures_->WriteIndex(error)) {
        err_ << "flamer_host: " << error << "\n";
        return false;
    }
    out_ << "\npictures: " << pictures_->IndexPath() << " shows the " << pictures_->Drawn()
         << (pictures_->Drawn() == 1 ? " explosion" : " explosions") << " drawn\n";
    return true;
}

void ScenarioRunner::PrintHealthAfterwards(const Actor* subject) {
    std::vector<std::size_t> shown = std::move(touched_);
    touched_.clear();
    if (subject != nullptr) shown.push_back(actorByName_.at(subject->name));
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    if (shown.empty()) return;
    std::vector<HealthLine> lines;
    for (std::size_t index : shown) {
        const Actor& actor = actors_[index];
        HealthLine line{actor.name, world_.HealthOf(actor.entity), ""};
        if (actor.flamer != nullptr && actor.flamer->IsDead()) line.note = "dead";
        lines.push_back(line);
    }
    PrintHealth(out_, lines);
}

}  // namespace flamer_host
