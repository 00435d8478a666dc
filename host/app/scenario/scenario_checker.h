// What the lines before a command define, as the checker keeps it: the
// loaded classes and their parameters, the effect classes registered, and
// the entities and objects with what happened to them.
#pragma once

#include "class_catalogue.h"
#include "d3dx_math.h"
#include "scenario_reader.h"
#include "zorQNameHash.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace flamer_host {

class ScenarioChecker {
public:
    // One named thing of the script: an entity, or an object of a class.
    struct Definition {
        int line = 0;
        std::string noun;  // how the report names an object's kind; empty for an entity
        int killedOn = 0;  // 0 while no kill command has killed it
        D3DXVECTOR3 boxMin{};
        D3DXVECTOR3 boxMax{};

        bool IsObject() const { return !noun.empty(); }
    };

    // The parameter a set command names, and the class that lists it.
    struct FoundParam {
        const ClassInfo* cls;
        const ParamInfo* param;
    };

    explicit ScenarioChecker(const ClassCatalogue& classes);

    const ClassCatalogue& Classes() const { return classes_; }

    // The loaded class of that name; null after a reported problem.
    const ClassInfo* FindClass(WordReader& reader, const std::string& name);
    // The class of the objects a command spawns: a loaded classic player
    // class; null after a reported problem.
    const ClassInfo* FindSpawnableClass(WordReader& reader, const std::string& name);
    // PARAM, when exactly one loaded class lists it, or CLASS.PARAM; false
    // after a reported problem.
    bool FindParam(WordReader& reader, const std::string& word, FoundParam& found);
    // Registers an effect class name; refused when a class of the effect
    // kind has it already (letter case ignored).
    bool AddEffect(WordReader& reader, const std::string& name);
    // Defines an entity or object name; refused when taken.
    bool Define(WordReader& reader, const std::string& name, const Definition& definition);
    // The definition of a name a command uses, or a reported problem: any
    // entity or object, or an object only.
    Definition* FindEntity(WordReader& reader, const std::string& name);
    Definition* FindObject(WordReader& reader, const std::string& name);

private:
    const ClassCatalogue& classes_;
    std::unordered_map<std::string, Definition> names_;
    std::unordered_set<std::string, zorQNameHash, zorQNameEqual> effects_;
};

// False, with a problem reported, when a box placed at `position` reaches
// beyond the float range.
bool CheckBoxFits(WordReader& reader, const D3DXVECTOR3& position, const D3DXVECTOR3& boxMin,
                  const D3DXVECTOR3& boxMax);

}  // namespace flamer_host
