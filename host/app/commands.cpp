// The verbs of the scenario language, each with its reading and its run, and
// the table that lists them.
#include "commands.h"

#include "report.h"
#include "runner.h"
#include "scenario_reader.h"
#include "zorQNameHash.h"
#include "zorQParam.h"

namespace flamer_host {
namespace {

constexpr char kCorpseSuffix[] = ".corpse";
// Flags handed to a Flamer's Create: the host asks for nothing special.
constexpr unsigned long kCreateFlags = 0;

std::string ParamWhat(const ParamInfo& param) {
    return std::string(ParamKindName(param.kind)) + " parameter '" + param.name + "'";
}

bool ReadBox(WordReader& reader, D3DXVECTOR3& boxMin, D3DXVECTOR3& boxMax) {
    if (!reader.Vector(boxMin, "box minimum") || !reader.Vector(boxMax, "box maximum"))
        return false;
    if (boxMin.x > boxMax.x || boxMin.y > boxMax.y || boxMin.z > boxMax.z)
        return reader.Fail("box minimum lies above its maximum");
    return true;
}

ScenarioChecker::Definition Defined(const WordReader& reader, bool flamer,
                                    const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax) {
    return ScenarioChecker::Definition{reader.Line(), flamer, 0, boxMin, boxMax};
}

// ---- set PARAM VALUE ----

bool ParseSet(WordReader& reader, ScenarioChecker& checker, SetArgs& args) {
    std::string name;
    if (!reader.Word(name, "parameter name")) return false;
    const ParamInfo* param = checker.FindParam(name);
    if (param == nullptr) return reader.Fail("unknown parameter " + Quoted(name));
    args.name = param->name;
    switch (param->kind) {
        case ParamKind::kInt: {
            int value = 0;
            if (!reader.Int(value, ParamWhat(*param))) return false;
            args.value = int32_t{value};
            return true;
        }
        case ParamKind::kFloat: {
            float value = 0.0f;
            if (!reader.Float(value, ParamWhat(*param))) return false;
            args.value = value;
            return true;
        }
        case ParamKind::kText: {
            std::string text;
            if (!reader.Word(text, "text for '" + param->name + "'")) return false;
            if (text.size() >= param->textCapacity)
                return reader.Fail(
                    "text for '" + param->name + "' is too long: " + std::to_string(text.size()) +
                    " characters, at most " + std::to_string(param->textCapacity - 1));
            args.value = std::move(text);
            return true;
        }
    }
    return false;
}

ZORPARAM_RESULT SetParam(zorObjClass& cls, const SetArgs& args) {
    const char* name = args.name.c_str();
    if (const auto* text = std::get_if<std::string>(&args.value))
        return zorQParam_SetText(&cls, name, text->c_str());
    if (const auto* number = std::get_if<int32_t>(&args.value))
        return zorQParam_SetInt(&cls, name, *number);
    return zorQParam_SetFloat(&cls, name, std::get<float>(args.value));
}

bool RunSet(ScenarioRunner& runner, const Command& command, const SetArgs& args) {
    const FlamerClass& flamerClass = runner.Class();
    const std::string bindingBefore = flamerClass.BindingText();
    const ZORPARAM_RESULT result = SetParam(flamerClass.Object(), args);
    if (result != ZORPARAM_OK)
        return runner.Fail(command,
                           "cannot set " + args.name + ": " + zorQParam_ResultText(result));
    runner.ParamsChanged();
    runner.Out() << "  " << args.name << " is now " << flamerClass.ValueText(args.name);
    // The binding is shown when the change moved it.
    const std::string bindingAfter = flamerClass.BindingText();
    if (bindingAfter != bindingBefore) runner.Out() << "; " << bindingAfter;
    if (zorQNameEqual{}(args.name, kSplashRadiusParam))
        runner.Out() << RadiusNote(flamerClass.SplashRadius());
    runner.Out() << "\n";
    return true;
}

// ---- effect NAME ----

bool ParseEffect(WordReader& reader, ScenarioChecker& checker, EffectArgs& args) {
    return reader.Name(args.name, "effect class name") && checker.AddEffect(reader, args.name);
}

bool RunEffect(ScenarioRunner& runner, const Command& command, const EffectArgs& args) {
    if (!runner.AddEffect(args.name))
        return runner.Fail(command, "the registry refused the effect class " + args.name);
    runner.Out() << "  effect class " << args.name << " registered as \"" << kEffectKind << "\"\n";
    return true;
}

// ---- entity NAME pos X Y Z box X0 Y0 Z0 X1 Y1 Z1 [health N] ----

bool ParseEntity(WordReader& reader, ScenarioChecker& checker, EntityArgs& args) {
    if (!reader.EntityName(args.name, "entity name") || !reader.Keyword("pos") ||
        !reader.Vector(args.position, "position") || !reader.Keyword("box") ||
        !ReadBox(reader, args.boxMin, args.boxMax) ||
        !CheckBoxFits(reader, args.position, args.boxMin, args.boxMax))
        return false;
    if (reader.Optional("health")) {
        if (!reader.Int(args.health, "health")) return false;
        if (args.health < 0)
            return reader.Fail("health " + std::to_string(args.health) + " is negative");
    }
    return checker.Define(reader, args.name, Defined(reader, false, args.boxMin, args.boxMax));
}

bool RunEntity(ScenarioRunner& runner, const Command& command, const EntityArgs& args) {
    zorQEntityRef* entity = runner.CreateEntity(args.name, args.position, args.boxMin, args.boxMax);
    if (entity == nullptr) return runner.Fail(command, "the world refused the entity " + args.name);
    runner.World().TrackHealth(entity, args.health);
    runner.AddActor({args.name, entity, nullptr, nullptr});
    runner.Out() << "  entity " << args.name << " at " << FormatVector(entity->position)
                 << ", health " << args.health << "\n";
    return true;
}

// ---- flamer NAME pos X Y Z [box X0 Y0 Z0 X1 Y1 Z1] ----

bool ParseFlamer(WordReader& reader, ScenarioChecker& checker, FlamerArgs& args) {
    if (!reader.EntityName(args.name, "Flamer name") || !reader.Keyword("pos") ||
        !reader.Vector(args.position, "position"))
        return false;
    if (reader.Optional("box") && !ReadBox(reader, args.boxMin, args.boxMax)) return false;
    return CheckBoxFits(reader, args.position, args.boxMin, args.boxMax) &&
           checker.Define(reader, args.name, Defined(reader, true, args.boxMin, args.boxMax));
}

bool RunFlamer(ScenarioRunner& runner, const Command& command, const FlamerArgs& args) {
    zorPlClassic* flamer = runner.Class().CreateFlamer();
    if (flamer == nullptr)
        return runner.Fail(command, "the class object made no Flamer for " + args.name);
    ScenarioRunner::Actor& actor = runner.AddActor({args.name, nullptr, flamer, nullptr});
    zorQEntityRef* entity = runner.CreateEntity(args.name, args.position, args.boxMin, args.boxMax);
    if (entity == nullptr)
        return runner.Fail(command, "the world refused the entity of " + args.name);
    runner.SetActorEntity(actor, entity);
    const long created = flamer->Create(entity, kCreateFlags);
    if (created < 0)
        return runner.Fail(command,
                           "Create failed for " + args.name + " with " + std::to_string(created));
    runner.Out() << "  Flamer " << args.name << " at " << FormatVector(entity->position)
                 << ", health " << flamer->GetHealth() << "\n";
    return true;
}

// ---- kill FLAMER FLAG ----

bool ParseKill(WordReader& reader, ScenarioChecker& checker, KillArgs& args) {
    if (!reader.Word(args.flamer, "Flamer name")) return false;
    ScenarioChecker::Definition* flamer = checker.FindFlamer(reader, args.flamer);
    if (flamer == nullptr || !reader.Int(args.flag, "kill flag")) return false;
    if (flamer->killedOn != 0)
        return reader.Fail("Flamer " + Quoted(args.flamer) + " is already dead (killed on line " +
                           std::to_string(flamer->killedOn) + ")");
    flamer->killedOn = reader.Line();
    return true;
}

void PlaceCorpse(ScenarioRunner& runner, ScenarioRunner::Actor& actor) {
    actor.corpse = actor.flamer->PlaceCorpseForHost();
    if (actor.corpse == nullptr) {
        runner.Out() << "  no corpse was placed\n";
        return;
    }
    runner.World().Name(actor.corpse, actor.name + kCorpseSuffix);
    runner.Out() << "  corpse " << actor.name << kCorpseSuffix << " placed at "
                 << FormatVector(actor.corpse->position) << "\n";
}

// A Flamer that already died of an explosion's damage is not killed again
// (its kill would explode it again); its corpse is placed all the same.
bool RunKill(ScenarioRunner& runner, const Command& command, const KillArgs& args) {
    ScenarioRunner::Actor& actor = runner.FindActor(args.flamer);
    ScenarioWorld& world = runner.World();
    world.BeginCommand(actor.entity);
    if (actor.flamer->IsDead()) {
        runner.Out() << "  " << args.flamer << " already died";
        if (const std::optional<int> cause = world.DeathCauseOf(actor.entity))
            runner.Out() << " of the damage of explosion " << *cause;
        runner.Out() << ": it is not killed again\n";
    } else {
        world.KillPlayer(actor.flamer, args.flag);
    }
    if (!runner.ReportExplosions(command)) return false;
    if (actor.corpse == nullptr) PlaceCorpse(runner, actor);
    runner.PrintHealthAfterwards(&actor);
    return true;
}

// ---- event FLAMER TEXT ----

bool ParseEvent(WordReader& reader, ScenarioChecker& checker, EventArgs& args) {
    if (!reader.Word(args.flamer, "Flamer name")) return false;
    const ScenarioChecker::Definition* flamer = checker.FindFlamer(reader, args.flamer);
    if (flamer == nullptr || !reader.Word(args.text, "event text")) return false;
    if (flamer->killedOn == 0)
        return reader.Fail("Flamer " + Quoted(args.flamer) + " has no corpse yet: kill it first");
    return true;
}

bool RunEvent(ScenarioRunner& runner, const Command& command, const EventArgs& args) {
    ScenarioRunner::Actor& actor = runner.FindActor(args.flamer);
    if (actor.corpse == nullptr)
        return runner.Fail(command, args.flamer + " left no corpse to raise the event on");
    ScenarioWorld& world = runner.World();
    world.BeginCommand(actor.corpse);
    const int reached = world.RaiseCorpseEvent(actor.corpse, args.text.c_str());
    if (!runner.ReportExplosions(command)) return false;
    runner.Out() << "  event \"" << Printable(args.text) << "\" reached " << reached << " callback"
                 << (reached == 1 ? "" : "s") << "\n";
    runner.PrintHealthAfterwards(nullptr);
    return true;
}

// ---- move NAME X Y Z ----

bool ParseMove(WordReader& reader, ScenarioChecker& checker, MoveArgs& args) {
    if (!reader.Word(args.name, "entity name")) return false;
    const ScenarioChecker::Definition* entity = checker.FindEntity(reader, args.name);
    if (entity == nullptr || !reader.Vector(args.position, "position")) return false;
    // A killed Flamer moves its corpse, whose box is the engine's own.
    return entity->killedOn != 0 ||
           CheckBoxFits(reader, args.position, entity->boxMin, entity->boxMax);
}

bool RunMove(ScenarioRunner& runner, const Command&, const MoveArgs& args) {
    ScenarioRunner::Actor& actor = runner.FindActor(args.name);
    // A killed Flamer is its corpse now.
    zorQEntityRef* entity = actor.corpse != nullptr ? actor.corpse : actor.entity;
    runner.World().MoveEntity(entity, &args.position);
    runner.Out() << "  " << runner.World().NameOf(entity) << " moved to "
                 << FormatVector(entity->position) << "\n";
    return true;
}

// ---- the table ----

// A row from a verb's typed reading and run.
template <typename Args, bool (*Parse)(WordReader&, ScenarioChecker&, Args&),
          bool (*Run)(ScenarioRunner&, const Command&, const Args&)>
constexpr Verb Row(std::string_view name, bool explodes) {
    return Verb{name,
                [](WordReader& reader, ScenarioChecker& checker, std::any& args) {
                    Args parsed;
                    if (!Parse(reader, checker, parsed)) return false;
                    args = std::move(parsed);
                    return true;
                },
                [](ScenarioRunner& runner, const Command& command) {
                    return Run(runner, command, command.As<Args>());
                },
                explodes};
}

constexpr Verb kVerbs[] = {
    Row<SetArgs, ParseSet, RunSet>("set", false),
    Row<EffectArgs, ParseEffect, RunEffect>("effect", false),
    Row<EntityArgs, ParseEntity, RunEntity>("entity", false),
    Row<FlamerArgs, ParseFlamer, RunFlamer>("flamer", false),
    Row<KillArgs, ParseKill, RunKill>("kill", true),
    Row<EventArgs, ParseEvent, RunEvent>("event", true),
    Row<MoveArgs, ParseMove, RunMove>("move", false),
};

}  // namespace

const Verb* FindVerb(std::string_view name) {
    for (const Verb& verb : kVerbs)
        if (zorQNameEqual{}(verb.name, name)) return &verb;
    return nullptr;
}

std::string VerbList() {
    std::string list;
    for (const Verb& verb : kVerbs) list += (list.empty() ? "" : ", ") + std::string(verb.name);
    return list;
}

}  // namespace flamer_host
