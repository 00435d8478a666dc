// The verbs of the scenario language. Each verb is one row of the table in
// commands.cpp: its name, how its words are read and checked before anything
// runs, and how it runs. A new verb is a new row there (and a line in
// docs/host-program.md).
#pragma once

#include "d3dx_math.h"
#include "scenario.h"

#include <any>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace flamer_host {

class ScenarioChecker;
class ScenarioRunner;
class WordReader;

struct Verb {
    std::string_view name;
    // Reads and checks the words after the verb into the verb's argument
    // record; false after reporting a problem.
    bool (*parse)(WordReader& reader, ScenarioChecker& checker, std::any& args);
    // Plays the command; false after reporting a run-time failure.
    bool (*run)(ScenarioRunner& runner, const Command& command);
    // The command may set off explosions: the tuning is shown before it.
    bool explodes;
};

// The verb of that name (letter case ignored), or null.
const Verb* FindVerb(std::string_view name);
// The verbs' names, comma-separated, for messages.
std::string VerbList();

// Health of an entity that names none.
constexpr int kDefaultHealth = 100;
// Box of a Flamer that names none, relative to its position: a standing body.
constexpr D3DXVECTOR3 kDefaultFlamerBoxMin{-16.0f, -24.0f, -16.0f};
constexpr D3DXVECTOR3 kDefaultFlamerBoxMax{16.0f, 32.0f, 16.0f};

// The argument records, one per verb.

// set PARAM VALUE
struct SetArgs {
    std::string name;  // the class's own spelling
    std::variant<std::string, int32_t, float> value;
};

// effect NAME
struct EffectArgs {
    std::string name;
};

// entity NAME pos X Y Z box X0 Y0 Z0 X1 Y1 Z1 [health N]
struct EntityArgs {
    std::string name;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin{};  // relative to the position
    D3DXVECTOR3 boxMax{};
    int health = kDefaultHealth;
};

// flamer NAME pos X Y Z [box X0 Y0 Z0 X1 Y1 Z1]
struct FlamerArgs {
    std::string name;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin = kDefaultFlamerBoxMin;
    D3DXVECTOR3 boxMax = kDefaultFlamerBoxMax;
};

// kill FLAMER FLAG
struct KillArgs {
    std::string flamer;
    int flag = 0;
};

// event FLAMER TEXT
struct EventArgs {
    std::string flamer;
    std::string text;
};

// move NAME X Y Z
struct MoveArgs {
    std::string name;
    D3DXVECTOR3 position{};
};

}  // namespace flamer_host
