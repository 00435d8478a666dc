// What the scenario checker knows of the classes the host program loaded:
// their names, their registry kinds, whether their objects are classic
// players, and the parameters they list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace flamer_host {

// The class the `flamer` command spawns: the one the Flamer module makes.
inline constexpr char kFlamerClassName[] = "plFlamer";

// Registry kinds: player classes, effect classes, and every other class.
inline constexpr char kPlayerKind[] = "player";
inline constexpr char kEffectKind[] = "custom";
inline constexpr char kObjectKind[] = "object";

// A class parameter a scenario may set: its name, its kind (a
// ZORPARAM_TYPE) and, for text, the capacity of its field (terminator
// included).
struct ParamInfo {
    std::string name;
    int32_t type = 0;
    std::size_t textCapacity = 0;
};

struct ClassInfo {
    std::string name;  // as the registry knows it, e.g. "plFlamer"
    std::string kind;  // its registry kind
    bool classicPlayer = false;
    std::vector<ParamInfo> params;

    // The parameter of that name (letter case ignored), or null.
    const ParamInfo* FindParam(std::string_view paramName) const;
};

class ClassCatalogue {
public:
    ClassCatalogue() = default;
    explicit ClassCatalogue(std::vector<ClassInfo> classes) : classes_(std::move(classes)) {}

    const std::vector<ClassInfo>& Classes() const { return classes_; }
    // The class of that name (letter case ignored), or null.
    const ClassInfo* Find(std::string_view name) const;
    // The classes' names, comma-separated, for messages.
    std::string Names() const;

private:
    std::vector<ClassInfo> classes_;
};

}  // namespace flamer_host
