// What the play hands on, in the order it happens: one record for each thing
// a person reading the report wants to know, complete when it is handed on.
// The play makes them; the output (report, pictures) turns them into text
// and drawings, after the module call that caused them has returned.
#pragma once

#include "d3dx_math.h"
#include "explosion_record.h"
#include "scenario.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace flamer_host {

struct ScenarioStarted {
    std::string source;
    std::size_t commandCount = 0;
};

// The checker refused the script: nothing runs.
struct ScenarioRefused {
    std::vector<ScenarioError> errors;
};

// One class parameter: its name, its kind (a ZORPARAM_TYPE) and its value,
// none for a kind the host does not know.
struct ParamLine {
    std::string name;
    int32_t type = 0;
    std::optional<ParamValue> value;
};

// How the effect class a class names stands, as far as the class interface
// and the registry tell.
struct EffectBinding {
    enum class State {
        kNoName,         // no effect class named
        kNotRegistered,  // no effect class of that name is registered
        kNotBound,       // registered, but nothing holds a reference on it
        kBound,          // registered and referenced
    };
    State state = State::kNoName;
    std::string name;  // the name, or for a bound class its own

    bool operator==(const EffectBinding&) const = default;
};

// A class's parameters and, for a class that names an effect class, its
// binding.
struct ClassParameters {
    std::string className;
    std::vector<ParamLine> params;
    std::optional<EffectBinding> binding;
};

// The tuning of every loaded class, shown at the start and again before a
// command that may explode whenever a set changed it.
struct ParametersShown {
    std::vector<ClassParameters> classes;
};

struct CommandStarted {
    int line = 0;
    std::string text;  // the command as written
};

struct EffectRegistered {
    std::string name;
    std::string kind;
};

struct ParamSet {
    std::string shownName;                       // as the command named it
    std::optional<ParamValue> value;             // read back through the record
    std::optional<EffectBinding> bindingChange;  // the binding, when the change moved it
    std::optional<int> splashRadius;             // when the parameter is the splash radius
};

struct EntityPlaced {
    std::string name;
    D3DXVECTOR3 position{};
    int health = 0;
};

struct ObjectSpawned {
    std::string noun;  // the object's kind: "Flamer", or its class
    std::string name;
    D3DXVECTOR3 position{};
    int health = 0;
};

// A kill of an object that already died of damage: it is not killed again.
struct NotKilledAgain {
    std::string name;
    std::optional<int> causeExplosion;
};

// A message a module sent outside any explosion.
struct MessageSent {
    std::string sender;  // the object whose call sent it
    SentMessage message;
};

// An effect started outside any explosion.
struct EffectStarted {
    std::string startedBy;  // the object whose call started it
    EffectSpawn spawn;
};

// A line a module printed on the engine's console outside any explosion.
struct ConsoleLine {
    std::string text;
};

// A death the damage of a message caused, run once the explosion or call
// that sent the message had finished.
struct Died {
    std::string name;
    int causeExplosion = 0;        // 0: not an explosion's message
    std::string causeSender;       // the object whose message it was
    bool setOffExplosion = false;  // its own explosion follows, and names it
};

// A command that may explode set nothing off.
struct NothingHappened {};

struct CorpsePlaced {
    std::string name;
    D3DXVECTOR3 position{};
};

struct NoCorpsePlaced {};

struct EventRaised {
    std::string text;
    int reached = 0;  // callbacks called
};

// One entity's health after a command; none when it keeps none.
struct HealthLine {
    std::string name;
    std::optional<int> health;
    std::string note;  // e.g. "dead"
};

struct HealthAfterwards {
    std::vector<HealthLine> lines;
};

struct Moved {
    std::string name;
    D3DXVECTOR3 position{};
};

// A command failed while running: the play stops.
struct RunFailed {
    ScenarioError error;
};

// Every command ran, or the play stopped: the output finishes its files.
struct ScenarioEnded {};

using Happening =
    std::variant<ScenarioStarted, ScenarioRefused, ParametersShown, CommandStarted,
                 EffectRegistered, ParamSet, EntityPlaced, ObjectSpawned, NotKilledAgain, Explosion,
                 MessageSent, EffectStarted, ConsoleLine, Died, NothingHappened, CorpsePlaced,
                 NoCorpsePlaced, EventRaised, HealthAfterwards, Moved, RunFailed, ScenarioEnded>;

// Where the play hands its happenings.
class HappeningSink {
public:
    virtual ~HappeningSink() = default;
    // False when the output failed (it has said why): the play stops.
    virtual bool Take(const Happening& happening) = 0;
};

}  // namespace flamer_host
