// The verbs of the scenario language, each with its reading, and the table
// that lists them.
#include "verbs.h"

#include "scenario_checker.h"
#include "scenario_reader.h"
#include "shown_text.h"
#include "zorQBox.h"
#include "zorQModule.h"
#include "zorQNameHash.h"

namespace flamer_host {
namespace {

constexpr char kPosKeyword[] = "pos";
constexpr char kBoxKeyword[] = "box";
constexpr char kHealthKeyword[] = "health";

std::string ParamWhat(const ParamInfo& param) {
    return std::string(zorParam_KindName(param.type)) + " parameter '" + param.name + "'";
}

bool ReadBox(WordReader& reader, D3DXVECTOR3& boxMin, D3DXVECTOR3& boxMax) {
    if (!reader.Vector(boxMin, "box minimum") || !reader.Vector(boxMax, "box maximum"))
        return false;
    if (!zorq::Ordered(boxMin, boxMax)) return reader.Fail("box minimum lies above its maximum");
    return true;
}

ScenarioChecker::Definition Defined(const WordReader& reader, std::string noun,
                                    const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax) {
    ScenarioChecker::Definition definition;
    definition.line = reader.Line();
    definition.noun = std::move(noun);
    definition.boxMin = boxMin;
    definition.boxMax = boxMax;
    return definition;
}

// ---- set [CLASS.]PARAM VALUE ----

bool ReadValue(WordReader& reader, const ParamInfo& param, SetArgs& args) {
    switch (param.type) {
        case PARAM_INT: {
            int value = 0;
            if (!reader.Int(value, ParamWhat(param))) return false;
            args.value = int32_t{value};
            return true;
        }
        case PARAM_FLOAT: {
            float value = 0.0f;
            if (!reader.Float(value, ParamWhat(param))) return false;
            args.value = value;
            return true;
        }
        case PARAM_TEXT: {
            std::string text;
            if (!reader.Word(text, "text for '" + param.name + "'")) return false;
            if (text.size() >= param.textCapacity)
                return reader.Fail(
                    "text for '" + param.name + "' is too long: " + std::to_string(text.size()) +
                    " characters, at most " + std::to_string(param.textCapacity - 1));
            args.value = std::move(text);
            return true;
        }
    }
    return reader.Fail("parameter '" + param.name + "' is of a kind the host cannot set");
}

bool ParseSet(WordReader& reader, ScenarioChecker& checker, SetArgs& args) {
    std::string word;
    ScenarioChecker::FoundParam found{};
    if (!reader.Word(word, "parameter name") || !checker.FindParam(reader, word, found))
        return false;
    args.className = found.cls->name;
    args.param = found.param->name;
    const bool qualified = !zorQNameEqual{}(word, found.param->name);
    args.shownName = qualified ? found.cls->name + "." + found.param->name : found.param->name;
    return ReadValue(reader, *found.param, args);
}

// ---- effect NAME ----

bool ParseEffect(WordReader& reader, ScenarioChecker& checker, EffectArgs& args) {
    return reader.Name(args.name, "effect class name") && checker.AddEffect(reader, args.name);
}

// ---- entity NAME pos X Y Z box X0 Y0 Z0 X1 Y1 Z1 [health N] ----

bool ParseEntity(WordReader& reader, ScenarioChecker& checker, EntityArgs& args) {
    if (!reader.EntityName(args.name, "entity name") || !reader.Keyword(kPosKeyword) ||
        !reader.Vector(args.position, "position") || !reader.Keyword(kBoxKeyword) ||
        !ReadBox(reader, args.boxMin, args.boxMax) ||
        !CheckBoxFits(reader, args.position, args.boxMin, args.boxMax))
        return false;
    if (reader.Optional(kHealthKeyword)) {
        if (!reader.Int(args.health, "health")) return false;
        if (args.health < 0)
            return reader.Fail("health " + std::to_string(args.health) + " is negative");
    }
    return checker.Define(reader, args.name, Defined(reader, "", args.boxMin, args.boxMax));
}

// ---- spawn CLASS NAME pos X Y Z [box ...], flamer NAME pos X Y Z [box ...] ----

// The words after the class: NAME pos X Y Z [box X0 Y0 Z0 X1 Y1 Z1].
bool ParseBody(WordReader& reader, ScenarioChecker& checker, SpawnArgs& args) {
    if (!reader.EntityName(args.name, args.noun + " name") || !reader.Keyword(kPosKeyword) ||
        !reader.Vector(args.position, "position"))
        return false;
    if (reader.Optional(kBoxKeyword) && !ReadBox(reader, args.boxMin, args.boxMax)) return false;
    return CheckBoxFits(reader, args.position, args.boxMin, args.boxMax) &&
           checker.Define(reader, args.name, Defined(reader, args.noun, args.boxMin, args.boxMax));
}

bool ParseSpawn(WordReader& reader, ScenarioChecker& checker, SpawnArgs& args) {
    std::string className;
    if (!reader.Word(className, "class name")) return false;
    const ClassInfo* cls = checker.FindSpawnableClass(reader, className);
    if (cls == nullptr) return false;
    args.className = cls->name;
    args.noun = cls->name;
    return ParseBody(reader, checker, args);
}

bool ParseFlamer(WordReader& reader, ScenarioChecker& checker, SpawnArgs& args) {
    if (checker.Classes().Find(kFlamerClassName) == nullptr)
        return reader.Fail(std::string("no Flamer module is loaded: 'flamer' spawns the class ") +
                           kFlamerClassName + " (the classes: " + checker.Classes().Names() + ")");
    const ClassInfo* cls = checker.FindSpawnableClass(reader, kFlamerClassName);
    if (cls == nullptr) return false;
    args.className = cls->name;
    args.noun = kFlamerNoun;
    return ParseBody(reader, checker, args);
}

// ---- kill NAME FLAG ----

bool ParseKill(WordReader& reader, ScenarioChecker& checker, KillArgs& args) {
    if (!reader.Word(args.name, "object name")) return false;
    ScenarioChecker::Definition* object = checker.FindObject(reader, args.name);
    if (object == nullptr || !reader.Int(args.flag, "kill flag")) return false;
    if (object->killedOn != 0)
        return reader.Fail(object->noun + " " + Quoted(args.name) +
                           " is already dead (killed on line " + std::to_string(object->killedOn) +
                           ")");
    object->killedOn = reader.Line();
    return true;
}

// ---- event NAME TEXT ----

bool ParseEvent(WordReader& reader, ScenarioChecker& checker, EventArgs& args) {
    if (!reader.Word(args.name, "object name")) return false;
    const ScenarioChecker::Definition* object = checker.FindObject(reader, args.name);
    if (object == nullptr || !reader.Word(args.text, "event text")) return false;
    if (object->killedOn == 0)
        return reader.Fail(object->noun + " " + Quoted(args.name) +
                           " has no corpse yet: kill it first");
    return true;
}

// ---- move NAME X Y Z ----

bool ParseMove(WordReader& reader, ScenarioChecker& checker, MoveArgs& args) {
    if (!reader.Word(args.name, "entity name")) return false;
    const ScenarioChecker::Definition* entity = checker.FindEntity(reader, args.name);
    if (entity == nullptr || !reader.Vector(args.position, "position")) return false;
    // A killed object moves its corpse, whose box is the engine's own.
    return entity->killedOn != 0 ||
           CheckBoxFits(reader, args.position, entity->boxMin, entity->boxMax);
}

// ---- the table ----

// A row from a verb's typed reading.
template <typename Args, bool (*Parse)(WordReader&, ScenarioChecker&, Args&)>
constexpr Verb Row(std::string_view name, bool explodes) {
    return Verb{name,
                [](WordReader& reader, ScenarioChecker& checker, CommandArgs& args) {
                    Args parsed;
                    if (!Parse(reader, checker, parsed)) return false;
                    args = std::move(parsed);
                    return true;
                },
                explodes};
}

constexpr Verb kVerbs[] = {
    Row<SetArgs, ParseSet>("set", false),          Row<EffectArgs, ParseEffect>("effect", false),
    Row<EntityArgs, ParseEntity>("entity", false), Row<SpawnArgs, ParseFlamer>("flamer", false),
    Row<SpawnArgs, ParseSpawn>("spawn", false),    Row<KillArgs, ParseKill>("kill", true),
    Row<EventArgs, ParseEvent>("event", true),     Row<MoveArgs, ParseMove>("move", false),
};

}  // namespace

const Verb* FindVerb(std::string_view name) {
    for (const Verb& verb : kVerbs)
        if (zorQNameEqual{}(verb.name, name)) return &verb;
    return nullptr;
}

std::vector<std::string_view> VerbNames() {
    std::vector<std::string_view> names;
    for (const Verb& verb : kVerbs) names.push_back(verb.name);
    return names;
}

std::string VerbList() {
    std::string list;
    for (std::string_view name : VerbNames())
        list += (list.empty() ? "" : ", ") + std::string(name);
    return list;
}

}  // namespace flamer_host
