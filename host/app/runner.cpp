#include "runner.h"

#include "plFlamer.h"
#include "svg_writer.h"
#include "zorQObj.h"

#include <cstdio>

namespace flamer_host {
namespace {

constexpr char kEffectKind[] = "custom";
constexpr char kCorpseSuffix[] = ".corpse";
// Flags handed to a Flamer's Create: the host asks for nothing special.
constexpr unsigned long kCreateFlags = 0;

std::string Quoted(const char* text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string ParamValueText(const zorParam& param) {
    switch (param.type) {
        case PARAM_TEXT:
            return Quoted(static_cast<const char*>(param.data));
        case PARAM_INT:
            return std::to_string(*static_cast<const int32_t*>(param.data));
        case PARAM_FLOAT:
            return FormatNumber(*static_cast<const float*>(param.data));
        default:
            return "?";
    }
}

const char* ParamKindText(int32_t type) {
    switch (type) {
        case PARAM_TEXT:
            return "text";
        case PARAM_INT:
            return "integer";
        case PARAM_FLOAT:
            return "float";
        default:
            return "unknown";
    }
}

template <typename Visit>
void ForEachParam(const zorPlFlamerClass& flamerClass, Visit visit) {
    for (int32_t i = 0; i < flamerClass.paramCount; ++i)
        if (const zorParam* param = flamerClass.params[i]) visit(*param);
}

ZORPARAM_RESULT SetParam(zorPlFlamerClass& flamerClass, const Command& command) {
    switch (command.paramKind) {
        case ParamKind::kInt:
            return zorQParam_SetInt(&flamerClass, command.name.c_str(), command.intValue);
        case ParamKind::kFloat:
            return zorQParam_SetFloat(&flamerClass, command.name.c_str(), command.floatValue);
        case ParamKind::kText:
            return zorQParam_SetText(&flamerClass, command.name.c_str(), command.text.c_str());
    }
    return ZORPARAM_WRONG_KIND;
}

}  // namespace

std::vector<ParamInfo> ParamInfosOf(const zorPlFlamerClass& flamerClass) {
    std::vector<ParamInfo> paramInfos;
    ForEachParam(flamerClass, [&](const zorParam& param) {
        const ParamKind kind = param.type == PARAM_TEXT  ? ParamKind::kText
                               : param.type == PARAM_INT ? ParamKind::kInt
                                                         : ParamKind::kFloat;
        paramInfos.push_back(ParamInfo{param.name, kind, kZorParamTextSize});
    });
    return paramInfos;
}

std::vector<ParamLine> ParamLinesOf(const zorPlFlamerClass& flamerClass) {
    std::vector<ParamLine> lines;
    ForEachParam(flamerClass, [&](const zorParam& param) {
        lines.push_back(ParamLine{param.name, ParamKindText(param.type), ParamValueText(param)});
    });
    return lines;
}

std::string BindingText(const zorPlFlamerClass& flamerClass) {
    if (flamerClass.explosionClass != nullptr)
        return std::string("effect class bound: ") + flamerClass.explosionClass->GetName();
    if (flamerClass.explosionName[0] != '\0')
        return std::string("effect class \"") + flamerClass.explosionName +
               "\" is not registered: explosions start no effect";
    return "no effect class named: explosions start no effect";
}

ScenarioRunner::ScenarioRunner(zorPlFlamerClass& flamerClass, ScenarioWorld& world,
                               std::ostream& out, std::ostream& err, std::string svgDirectory)
    : flamerClass_(flamerClass),
      world_(world),
      out_(out),
      err_(err),
      svgDirectory_(std::move(svgDirectory)) {}

ScenarioRunner::~ScenarioRunner() {
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
    out_ << "scenario " << scenario.source << ": " << scenario.commands.size() << " commands\n";
    PrintParametersIfChanged();
    for (const Command& command : scenario.commands) {
        // The tuning an explosion uses is shown before the command that sets it off.
        if (command.kind == CommandKind::kKill || command.kind == CommandKind::kEvent)
            PrintParametersIfChanged();
        out_ << "\nline " << command.line << ": " << command.sourceText << "\n";
        if (!Execute(command)) return false;
    }
    return true;
}

bool ScenarioRunner::Execute(const Command& command) {
    switch (command.kind) {
        case CommandKind::kSet:
            return Set(command);
        case CommandKind::kEffect:
            return Effect(command);
        case CommandKind::kEntity:
            return Entity(command);
        case CommandKind::kFlamer:
            return Flamer(command);
        case CommandKind::kKill:
            return Kill(command);
        case CommandKind::kEvent:
            return Event(command);
        case CommandKind::kMove:
            return Move(command);
    }
    return Fail(command, "unknown command");
}

bool ScenarioRunner::Set(const Command& command) {
    const std::string bindingBefore = BindingText(flamerClass_);
    const ZORPARAM_RESULT result = SetParam(flamerClass_, command);
    if (result != ZORPARAM_OK)
        return Fail(command, std::string("cannot set ") + command.name + ": " +
                                 zorQParam_ResultText(result));
    paramsChanged_ = true;
    std::string name = command.name;
    const zorParam* param = flamerClass_.GetParam(name.data());
    out_ << "  " << command.name << " is now " << (param != nullptr ? ParamValueText(*param) : "?");
    // The binding is shown when the change moved it.
    const std::string bindingAfter = BindingText(flamerClass_);
    out_ << (bindingAfter != bindingBefore ? "; " + bindingAfter : std::string()) << "\n";
    return true;
}

bool ScenarioRunner::Effect(const Command& command) {
    auto effect = std::make_unique<RecordingEffectClass>(command.name, world_);
    if (zorQObj_RegisterClass(effect.get(), kEffectKind) == 0)
        return Fail(command, "the registry refused the effect class " + command.name);
    effects_.push_back(std::move(effect));
    out_ << "  effect class " << command.name << " registered as \"" << kEffectKind << "\"\n";
    return true;
}

zorQEntityRef* ScenarioRunner::CreateEntity(const Command& command) {
    zorQEntityRef* entity =
        world_.CreateEntity(&command.position, &command.boxMin, &command.boxMax);
    if (entity != nullptr) world_.Name(entity, command.name);
    return entity;
}

bool ScenarioRunner::Entity(const Command& command) {
    zorQEntityRef* entity = CreateEntity(command);
    if (entity == nullptr) return Fail(command, "the world refused the entity " + command.name);
    world_.TrackHealth(entity, command.health);
    actors_.push_back(Actor{command.name, entity, nullptr, nullptr});
    out_ << "  entity " << command.name << " at " << FormatVector(entity->position) << ", health "
         << command.health << "\n";
    return true;
}

bool ScenarioRunner::Flamer(const Command& command) {
    auto* flamer = static_cast<zorPlFlamer*>(flamerClass_.CreateObj());
    if (flamer == nullptr)
        return Fail(command, "the class object made no Flamer for " + command.name);
    actors_.push_back(Actor{command.name, nullptr, flamer, nullptr});
    zorQEntityRef* entity = CreateEntity(command);
    if (entity == nullptr) return Fail(command, "the world refused the entity of " + command.name);
    actors_.back().entity = entity;
    const long created = flamer->Create(entity, kCreateFlags);
    if (created < 0)
        return Fail(command,
                    "Create failed for " + command.name + " with " + std::to_string(created));
    out_ << "  Flamer " << command.name << " at " << FormatVector(entity->position) << ", health "
         << flamer->GetHealth() << "\n";
    return true;
}

bool ScenarioRunner::Kill(const Command& command) {
    Actor* actor = Find(command.name);
    world_.BeginCommand(actor->entity);
    world_.KillPlayer(actor->flamer, command.intValue);
    if (!ReportExplosions(command)) return false;
    actor->corpse = actor->flamer->PlaceCorpse();
    if (actor->corpse == nullptr) {
        out_ << "  no corpse was placed\n";
    } else {
        world_.Name(actor->corpse, command.name + kCorpseSuffix);
        out_ << "  corpse " << command.name << kCorpseSuffix << " placed at "
             << FormatVector(actor->corpse->position) << "\n";
    }
    PrintHealthTable();
    return true;
}

bool ScenarioRunner::Event(const Command& command) {
    Actor* actor = Find(command.name);
    if (actor->corpse == nullptr)
        return Fail(command, command.name + " left no corpse to raise the event on");
    world_.BeginCommand(actor->corpse);
    const int reached = world_.RaiseCorpseEvent(actor->corpse, command.text.c_str());
    out_ << "  event \"" << command.text << "\" reached " << reached << " callback"
         << (reached == 1 ? "" : "s") << "\n";
    if (!ReportExplosions(command)) return false;
    PrintHealthTable();
    return true;
}

bool ScenarioRunner::Move(const Command& command) {
    Actor* actor = Find(command.name);
    // A dead Flamer is its corpse now.
    zorQEntityRef* entity = actor->corpse != nullptr ? actor->corpse : actor->entity;
    entity->position = command.position;
    out_ << "  " << world_.NameOf(entity) << " moved to " << FormatVector(entity->position) << "\n";
    return true;
}

bool ScenarioRunner::Fail(const Command& command, const std::string& message) {
    err_ << FormatError(ScenarioError{source_, command.line, message}) << "\n";
    return false;
}

ScenarioRunner::Actor* ScenarioRunner::Find(const std::string& name) {
    for (Actor& actor : actors_)
        if (actor.name == name) return &actor;
    return nullptr;
}

void ScenarioRunner::PrintParametersIfChanged() {
    if (!paramsChanged_) return;
    paramsChanged_ = false;
    out_ << "\n";
    PrintParameters(out_, ParamLinesOf(flamerClass_), BindingText(flamerClass_));
}

bool ScenarioRunner::ReportExplosions(const Command& command) {
    std::vector<Explosion> explosions = world_.EndCommand();
    if (explosions.empty()) out_ << "  no explosion\n";
    for (Explosion& explosion : explosions) {
        explosion.radius = static_cast<float>(flamerClass_.splashRadius);
        PrintExplosion(out_, explosion);
        if (svgDirectory_.empty()) continue;
        std::string error;
        if (!WriteExplosionSvg(svgDirectory_, explosion, error)) return Fail(command, error);
        out_ << "    picture: " << svgDirectory_ << "/" << ExplosionSvgName(explosion) << "\n";
    }
    return true;
}

void ScenarioRunner::PrintHealthTable() {
    std::vector<HealthLine> lines;
    for (const Actor& actor : actors_) {
        HealthLine line{actor.name, world_.HealthOf(actor.entity), ""};
        if (actor.flamer != nullptr && actor.flamer->IsDead()) line.note = "dead";
        lines.push_back(line);
    }
    PrintHealth(out_, lines);
}

}  // namespace flamer_host
