// The class object a plug-in made, seen the way the engine sees any class
// object: through the class-object interface and its parameter list. The
// host program never looks inside the plug-in's own classes.
#pragma once

#include "report.h"
#include "scenario.h"
#include "zorQObj.h"

#include <optional>
#include <string>
#include <vector>

namespace flamer_host {

// Registry kind of effect classes.
inline constexpr char kEffectKind[] = "custom";
// The parameter that holds the splash radius.
inline constexpr char kSplashRadiusParam[] = "flamer_splash_radius";

class FlamerClass {
public:
    // The class object as a Flamer class, or nothing (with the reason in
    // `error`) when it is not one: a Flamer class is a classic player class
    // whose parameter list holds the five Flamer parameters, each of its
    // kind, and whose objects are classic players. The check makes one object
    // and deletes it again.
    static std::optional<FlamerClass> Check(zorObjClass* cls, std::string& error);

    zorObjClass& Object() const { return *cls_; }
    // A new Flamer, or null when the class made none (or something else).
    zorPlClassic* CreateFlamer() const;

    // Read through the parameter records.
    int SplashRadius() const;
    std::string ExplosionName() const;
    // A parameter's current value as the report shows it ("?" if unknown).
    std::string ValueText(const std::string& name) const;

    // The parameters as a scenario may set them, and as the report lists them.
    std::vector<ParamInfo> ParamInfos() const;
    std::vector<ParamLine> ParamLines() const;
    // Whether an effect class is bound, as far as the class interface and
    // the registry tell: the named class is registered and referenced.
    std::string BindingText() const;

private:
    explicit FlamerClass(zorObjClass* cls) : cls_(cls) {}
    const zorParam* Param(const char* name) const;

    zorObjClass* cls_;
};

}  // namespace flamer_host
