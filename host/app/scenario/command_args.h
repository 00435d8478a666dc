// What each command of the scenario language says, once its words are read
// and checked: one argument record per kind of command. A played command
// is dispatched on the record it holds, so every record has its run.
#pragma once

#include "d3dx_math.h"

#include <cstdint>
#include <string>
#include <variant>

namespace flamer_host {

// Health of an entity that names none.
inline constexpr int kDefaultHealth = 100;
// Box of an object that names none, relative to its position: a standing body.
inline constexpr D3DXVECTOR3 kDefaultBodyBoxMin{-16.0f, -24.0f, -16.0f};
inline constexpr D3DXVECTOR3 kDefaultBodyBoxMax{16.0f, 32.0f, 16.0f};
// How the report names an object of the Flamer class.
inline constexpr char kFlamerNoun[] = "Flamer";

// A class parameter's value: text, integer or float.
using ParamValue = std::variant<std::string, int32_t, float>;

// set [CLASS.]PARAM VALUE
struct SetArgs {
    std::string className;  // the class's own spelling
    std::string param;      // the parameter's own spelling
    std::string shownName;  // as the report names it: PARAM, or CLASS.PARAM when written so
    ParamValue value;
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

// spawn CLASS NAME pos X Y Z [box X0 Y0 Z0 X1 Y1 Z1], and its short form for
// the Flamer, flamer NAME pos X Y Z [box ...]
struct SpawnArgs {
    std::string className;  // the class's own spelling
    std::string noun;       // the object's kind as the report names it
    std::string name;
    D3DXVECTOR3 position{};
    D3DXVECTOR3 boxMin = kDefaultBodyBoxMin;
    D3DXVECTOR3 boxMax = kDefaultBodyBoxMax;
};

// kill NAME FLAG
struct KillArgs {
    std::string name;
    int flag = 0;
};

// event NAME TEXT
struct EventArgs {
    std::string name;
    std::string text;
};

// move NAME X Y Z
struct MoveArgs {
    std::string name;
    D3DXVECTOR3 position{};
};

using CommandArgs =
    std::variant<SetArgs, EffectArgs, EntityArgs, SpawnArgs, KillArgs, EventArgs, MoveArgs>;

}  // namespace flamer_host
