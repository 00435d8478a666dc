// A scenario: the script the host program plays, one command per line in the
// style of an engine console file. The whole script is parsed and checked
// before anything runs, so a broken script never runs half-way.
#pragma once

#include "d3dx_math.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace flamer_host {

// Value kind of a class parameter, as its record declares it.
enum class ParamKind {
    kText,
    kInt,
    kFloat
};

// A class parameter the scenario may set: its name, kind and, for text, the
// capacity of its field (terminator included).
struct ParamInfo {
    std::string name;
    ParamKind kind;
    std::size_t textCapacity;
};

enum class CommandKind {
    kSet,     // set <parameter> <value>
    kEffect,  // effect <class name>
    kEntity,  // entity <name> pos x y z box x0 y0 z0 x1 y1 z1 [health n]
    kFlamer,  // flamer <name> pos x y z [box x0 y0 z0 x1 y1 z1]
    kKill,    // kill <flamer> <flag>
    kEvent,   // event <flamer> <text>
    kMove,    // move <name> x y z
};

// One checked command. Only the members of its kind are meaningful.
struct Command {
    CommandKind kind = CommandKind::kSet;
    int line = 0;
    std::string sourceText;  // the command as written, without its comment
    std::string name;        // parameter, effect class, entity or Flamer name
    std::string text;        // text value of `set`, event text of `event`
    ParamKind paramKind = ParamKind::kInt;
    int intValue = 0;  // integer value of `set`, flag of `kill`
    float floatValue = 0.0f;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin{};  // relative to the position
    D3DXVECTOR3 boxMax{};
    int health = 0;
};

struct Scenario {
    std::string source;  // file name used in messages
    std::vector<Command> commands;
};

// One problem found in a script, printed as "source:line: message".
struct ScenarioError {
    std::string source;
    int line;
    std::string message;
};

std::string FormatError(const ScenarioError& error);

// Longest entity, Flamer or effect class name (terminator included).
constexpr std::size_t kNameCapacity = 64;
// Health of an entity that names none.
constexpr int kDefaultHealth = 100;
// Box of a Flamer that names none, relative to its position: a standing body.
constexpr D3DXVECTOR3 kDefaultFlamerBoxMin{-16.0f, -24.0f, -16.0f};
constexpr D3DXVECTOR3 kDefaultFlamerBoxMax{16.0f, 32.0f, 16.0f};

struct ParseResult {
    Scenario scenario;
    std::vector<ScenarioError> errors;  // empty when the script is sound
};

// Parses and checks the whole script against the class's parameters. Every
// problem is collected; the scenario is usable only when `errors` is empty.
ParseResult ParseScenario(std::string_view text, const std::string& source,
                          const std::vector<ParamInfo>& params);

}  // namespace flamer_host
