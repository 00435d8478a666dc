// A class object seen the way the engine sees any class object: through the
// class-object interface and its parameter list. The host program never looks
// inside a module's own classes.
#pragma once

#include "class_catalogue.h"
#include "happenings.h"
#include "zorQObj.h"

#include <optional>
#include <string>
#include <vector>

namespace flamer_host {

// The parameter that holds a Flamer-like class's splash radius, and the one
// that names its effect class.
inline constexpr char kSplashRadiusParam[] = "flamer_splash_radius";
inline constexpr char kExplosionParam[] = "flamer_explosion";

class ClassView {
public:
    explicit ClassView(zorObjClass& cls) : cls_(&cls) {}

    zorObjClass& Object() const { return *cls_; }
    std::string Name() const;
    // The registry kind its interface tells: effect, player, or any other.
    std::string Kind() const;
    bool IsClassicPlayer() const;

    // The parameters as a scenario may set them, and as the report lists them.
    std::vector<ParamInfo> ParamInfos() const;
    std::vector<ParamLine> ParamLines() const;
    // A parameter's current value; none when the class has no such
    // parameter of a known kind.
    std::optional<ParamValue> Value(const std::string& name) const;

    // The splash radius, read through its parameter record, when the class
    // lists one.
    std::optional<int> SplashRadius() const;
    // The binding of the effect class it names, when it lists the parameter
    // that names one.
    std::optional<EffectBinding> Binding() const;
    // Everything the report lists of the class.
    ClassParameters Parameters() const;

private:
    const zorParam* Param(const char* name, int32_t type) const;

    zorObjClass* cls_;
};

// The class object of the object living in `entity`, or, for a corpse, of
// the object that left it; null for a plain entity.
zorObjClass* ClassOfEntity(const zorQEntityRef* entity);

}  // namespace flamer_host
