#include "flamer_class.h"

#include "zorQModule.h"

#include <cstring>

namespace flamer_host {
namespace {

constexpr char kExplosionParam[] = "flamer_explosion";

// What makes a class object a Flamer class: these parameters, of these kinds.
struct RequiredParam {
    const char* name;
    int32_t type;
};
constexpr RequiredParam kFlamerParams[] = {
    {kExplosionParam, PARAM_TEXT},       {kSplashRadiusParam, PARAM_INT},
    {"flamer_splash_damage", PARAM_INT}, {"flamer_impulse", PARAM_FLOAT},
    {"flamer_rot_impulse", PARAM_FLOAT},
};

std::optional<ParamKind> KindOf(int32_t type) {
    switch (type) {
        case PARAM_TEXT:
            return ParamKind::kText;
        case PARAM_INT:
            return ParamKind::kInt;
        case PARAM_FLOAT:
            return ParamKind::kFloat;
        default:
            return std::nullopt;
    }
}

std::string KindText(int32_t type) {
    const std::optional<ParamKind> kind = KindOf(type);
    return kind ? std::string(ParamKindName(*kind)) : "unknown";
}

// A text parameter's value: its field holds at most kZorParamTextSize bytes.
std::string TextOf(const zorParam& param) {
    const char* text = static_cast<const char*>(param.data);
    return std::string(text, strnlen(text, kZorParamTextSize));
}

std::string ValueOf(const zorParam& param) {
    switch (param.type) {
        case PARAM_TEXT:
            return Enclosed(TextOf(param), '"');
        case PARAM_INT:
            return std::to_string(*static_cast<const int32_t*>(param.data));
        case PARAM_FLOAT:
            return FormatNumber(*static_cast<const float*>(param.data));
        default:
            return "?";
    }
}

template <typename Visit>
void ForEachParam(zorObjClass& cls, Visit visit) {
    for (int i = 0; i < cls.paramCount; ++i)
        if (const zorParam* param = cls.GetParam(i); param != nullptr && param->data != nullptr)
            visit(*param);
}

// The first thing that keeps the class object from being a Flamer class, or
// an empty text.
std::string WhyNotAFlamerClass(zorObjClass& cls) {
    if (dynamic_cast<zorPlClassicClass*>(&cls) == nullptr)
        return "its class object is not a classic player class";
    for (const RequiredParam& required : kFlamerParams) {
        const zorParam* param = cls.GetParam(const_cast<char*>(required.name));
        if (param == nullptr || param->data == nullptr)
            return "its class object has no parameter \"" + std::string(required.name) + "\"";
        if (param->type != required.type)
            return "its parameter \"" + std::string(required.name) + "\" is of the kind " +
                   KindText(param->type) + ", not " + KindText(required.type);
    }
    return "";
}

}  // namespace

std::optional<FlamerClass> FlamerClass::Check(zorObjClass* cls, std::string& error) {
    if (cls == nullptr) {
        error = "it made no class object";
        return std::nullopt;
    }
    error = WhyNotAFlamerClass(*cls);
    if (!error.empty()) return std::nullopt;
    const FlamerClass flamerClass(cls);
    zorPlClassic* probe = flamerClass.CreateFlamer();
    if (probe == nullptr) {
        error = "its class object makes no classic player objects";
        return std::nullopt;
    }
    delete static_cast<zorObj*>(probe);
    return flamerClass;
}

zorPlClassic* FlamerClass::CreateFlamer() const {
    zorObj* made = cls_->CreateObj();
    if (auto* player = dynamic_cast<zorPlClassic*>(made)) return player;
    delete made;
    return nullptr;
}

const zorParam* FlamerClass::Param(const char* name) const {
    return cls_->GetParam(const_cast<char*>(name));
}

int FlamerClass::SplashRadius() const {
    return *static_cast<const int32_t*>(Param(kSplashRadiusParam)->data);
}

std::string FlamerClass::ExplosionName() const { return TextOf(*Param(kExplosionParam)); }

std::string FlamerClass::ValueText(const std::string& name) const {
    const zorParam* param = Param(name.c_str());
    return param != nullptr && param->data != nullptr ? ValueOf(*param) : "?";
}

std::vector<ParamInfo> FlamerClass::ParamInfos() const {
    std::vector<ParamInfo> infos;
    ForEachParam(*cls_, [&](const zorParam& param) {
        if (const std::optional<ParamKind> kind = KindOf(param.type))
            infos.push_back(ParamInfo{param.name, *kind, kZorParamTextSize});
    });
    return infos;
}

std::vector<ParamLine> FlamerClass::ParamLines() const {
    std::vector<ParamLine> lines;
    ForEachParam(*cls_, [&](const zorParam& param) {
        lines.push_back(ParamLine{param.name, KindText(param.type), ValueOf(param)});
    });
    return lines;
}

std::string FlamerClass::BindingText() const {
    const std::string name = ExplosionName();
    if (name.empty()) return "no effect class named: explosions start no effect";
    const std::string quoted = Enclosed(name, '"');
    zorObjClass* effect = zorQObj_GetClass(name.c_str(), kEffectKind);
    if (effect == nullptr)
        return "effect class " + quoted + " is not registered: explosions start no effect";
    if (effect->GetRefCount() == 0)
        return "effect class " + quoted +
               " is registered but not bound (it was named before it was registered): "
               "explosions start no effect";
    return std::string("effect class bound: ") + effect->GetName();
}

}  // namespace flamer_host
