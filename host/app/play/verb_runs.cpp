// The run half of the scenario verbs: what each kind of command does in the
// world, and what it hands to the output. Every call into a module is
// bracketed by the world's command context, and what the call did is handed
// on once it has returned.
#include "runner.h"
#include "zorObjRegistry.h"
#include "zorQNameHash.h"
#include "zorQParam.h"

namespace flamer_host {
namespace {

// Flags handed to an object's Create: the host asks for nothing special.
constexpr unsigned long kCreateFlags = 0;
constexpr char kCorpseSuffix[] = ".corpse";
// The module the host's own effect classes are said to come from.
constexpr char kHostModule[] = "flamer_host";

ZORPARAM_RESULT SetParam(zorObjClass& cls, const std::string& param, const ParamValue& value) {
    const char* name = param.c_str();
    if (const auto* text = std::get_if<std::string>(&value))
        return zorQParam_SetText(&cls, name, text->c_str());
    if (const auto* number = std::get_if<int32_t>(&value))
        return zorQParam_SetInt(&cls, name, *number);
    return zorQParam_SetFloat(&cls, name, std::get<float>(value));
}

}  // namespace

// ---- set [CLASS.]PARAM VALUE ----

bool ScenarioRunner::Play(const Command& command, const SetArgs& args) {
    const ClassView view(*classes_.Find(args.className));
    const std::optional<EffectBinding> bindingBefore = view.Binding();
    world_.BeginCommand(nullptr, command.line, command.sourceText);
    const ZORPARAM_RESULT result = SetParam(view.Object(), args.param, args.value);
    world_.EndCommand();
    if (!TellRecords()) return false;
    if (result != ZORPARAM_OK)
        return Fail(command, "cannot set " + args.shownName + ": " + zorQParam_ResultText(result));
    paramsChanged_ = true;
    ParamSet set;
    set.shownName = args.shownName;
    set.value = view.Value(args.param);
    // The binding is shown when the change moved it.
    if (const std::optional<EffectBinding> binding = view.Binding(); binding != bindingBefore)
        set.bindingChange = binding;
    if (zorQNameEqual{}(args.param, kSplashRadiusParam)) set.splashRadius = view.SplashRadius();
    return Tell(std::move(set));
}

// ---- effect NAME ----

bool ScenarioRunner::Play(const Command& command, const EffectArgs& args) {
    auto effect = std::make_unique<zorCustomClass>();
    std::string name = args.name;
    std::string module = kHostModule;
    std::string noFile;
    effect->Setup(name.data(), module.data(), noFile.data(), nullptr);
    if (zorQObj_RegisterClass(effect.get(), kEffectKind) == 0)
        return Fail(command, "the registry refused the effect class " + args.name);
    effects_.push_back(std::move(effect));
    return Tell(EffectRegistered{.name = args.name, .kind = kEffectKind});
}

// ---- entity NAME pos X Y Z box X0 Y0 Z0 X1 Y1 Z1 [health N] ----

bool ScenarioRunner::Play(const Command& command, const EntityArgs& args) {
    zorQEntityRef* entity = CreateEntity(args.name, args.position, args.boxMin, args.boxMax);
    if (entity == nullptr) return Fail(command, "the world refused the entity " + args.name);
    world_.TrackHealth(entity, args.health);
    AddActor(Actor{.name = args.name, .entity = entity, .object = nullptr, .corpse = nullptr});
    return Tell(
        EntityPlaced{.name = args.name, .position = entity->position, .health = args.health});
}

// ---- spawn CLASS NAME pos X Y Z [box ...], flamer NAME pos X Y Z [box ...] ----

bool ScenarioRunner::Play(const Command& command, const SpawnArgs& args) {
    zorObj* made = classes_.Find(args.className)->CreateObj();
    auto* player = dynamic_cast<zorPlClassic*>(made);
    if (player == nullptr) {
        delete made;
        return Fail(command, "the class " + args.className + " made no classic player object for " +
                                 args.name);
    }
    Actor& actor = AddActor(Actor{.name = args.name,
                                  .entity = nullptr,
                                  .object = std::unique_ptr<zorPlClassic>(player),
                                  .corpse = nullptr});
    zorQEntityRef* entity = CreateEntity(args.name, args.position, args.boxMin, args.boxMax);
    if (entity == nullptr) return Fail(command, "the world refused the entity of " + args.name);
    actor.entity = entity;
    actorByEntity_.emplace(entity, actorByName_.at(args.name));
    world_.BeginCommand(entity, command.line, command.sourceText);
    const long created = player->Create(entity, kCreateFlags);
    world_.EndCommand();
    if (!TellRecords()) return false;
    if (created < 0)
        return Fail(command, "Create failed for " + args.name + " with " + std::to_string(created));
    return Tell(ObjectSpawned{.noun = args.noun,
                              .name = args.name,
                              .position = entity->position,
                              .health = player->GetHealth()});
}

// ---- kill NAME FLAG ----

void ScenarioRunner::PlaceCorpse(Actor& actor) {
    actor.corpse = actor.object->PlaceCorpseForHost();
    if (actor.corpse != nullptr) world_.Name(actor.corpse, actor.name + kCorpseSuffix);
}

// An object that already died of damage is not killed again (a kill could
// set it off again); its corpse is placed all the same.
bool ScenarioRunner::Play(const Command& command, const KillArgs& args) {
    Actor& actor = FindActor(args.name);
    world_.BeginCommand(actor.entity, command.line, command.sourceText);
    if (actor.object->IsDead()) {
        if (!Tell(NotKilledAgain{.name = args.name,
                                 .causeExplosion = world_.DeathCauseOf(actor.entity)}))
            return false;
    } else {
        actor.object->Kill(args.flag);
        if (!TellRecords() || !RunDeaths()) return false;
    }
    if (recordsTold_ == 0 && !Tell(NothingHappened{})) return false;
    const bool placing = actor.corpse == nullptr;
    if (placing) PlaceCorpse(actor);
    world_.EndCommand();
    if (!TellRecords()) return false;
    if (placing) {
        const bool told = actor.corpse != nullptr
                              ? Tell(CorpsePlaced{.name = actor.name + kCorpseSuffix,
                                                  .position = actor.corpse->position})
                              : Tell(NoCorpsePlaced{});
        if (!told) return false;
    }
    return TellHealth(&actor);
}

// ---- event NAME TEXT ----

bool ScenarioRunner::Play(const Command& command, const EventArgs& args) {
    Actor& actor = FindActor(args.name);
    if (actor.corpse == nullptr)
        return Fail(command, args.name + " left no corpse to raise the event on");
    world_.BeginCommand(actor.corpse, command.line, command.sourceText);
    const int reached = world_.DeliverCorpseEvent(actor.corpse, args.text.c_str());
    const bool told = TellRecords() && RunDeaths();
    world_.EndCommand();
    if (!told || (recordsTold_ == 0 && !Tell(NothingHappened{}))) return false;
    return Tell(EventRaised{.text = args.text, .reached = reached}) && TellHealth(nullptr);
}

// ---- move NAME X Y Z ----

bool ScenarioRunner::Play(const Command&, const MoveArgs& args) {
    Actor& actor = FindActor(args.name);
    // A killed object is its corpse now.
    zorQEntityRef* entity = actor.corpse != nullptr ? actor.corpse : actor.entity;
    world_.MoveEntity(entity, &args.position);
    return Tell(Moved{.name = world_.NameOf(entity), .position = entity->position});
}

}  // namespace flamer_host
