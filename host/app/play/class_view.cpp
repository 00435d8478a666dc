#include "class_view.h"

#include "zorQModule.h"
#include "zorWorld.h"

#include <cstring>

namespace flamer_host {
namespace {

// A text parameter's value: its field holds at most kZorParamTextSize bytes.
std::string TextOf(const zorParam& param) {
    const char* text = static_cast<const char*>(param.data);
    return std::string(text, strnlen(text, kZorParamTextSize));
}

std::optional<ParamValue> ValueOf(const zorParam& param) {
    switch (param.type) {
        case PARAM_TEXT:
            return TextOf(param);
        case PARAM_INT:
            return *static_cast<const int32_t*>(param.data);
        case PARAM_FLOAT:
            return *static_cast<const float*>(param.data);
        default:
            return std::nullopt;
    }
}

template <typename Visit>
void ForEachParam(zorObjClass& cls, Visit visit) {
    for (int i = 0; i < cls.paramCount; ++i)
        if (const zorParam* param = cls.GetParam(i); param != nullptr && param->data != nullptr)
            visit(*param);
}

}  // namespace

std::string ClassView::Name() const { return cls_->GetName(); }

std::string ClassView::Kind() const {
    if (dynamic_cast<zorCustomClass*>(cls_) != nullptr) return kEffectKind;
    if (dynamic_cast<zorPlayerClass*>(cls_) != nullptr) return kPlayerKind;
    return kObjectKind;
}

bool ClassView::IsClassicPlayer() const {
    return dynamic_cast<zorPlClassicClass*>(cls_) != nullptr;
}

std::vector<ParamInfo> ClassView::ParamInfos() const {
    std::vector<ParamInfo> infos;
    ForEachParam(*cls_, [&](const zorParam& param) {
        infos.push_back(
            ParamInfo{.name = param.name, .type = param.type, .textCapacity = kZorParamTextSize});
    });
    return infos;
}

std::vector<ParamLine> ClassView::ParamLines() const {
    std::vector<ParamLine> lines;
    ForEachParam(*cls_, [&](const zorParam& param) {
        lines.push_back(ParamLine{.name = param.name, .type = param.type, .value = ValueOf(param)});
    });
    return lines;
}

std::optional<ParamValue> ClassView::Value(const std::string& name) const {
    const zorParam* param = cls_->GetParam(const_cast<char*>(name.c_str()));
    if (param == nullptr || param->data == nullptr) return std::nullopt;
    return ValueOf(*param);
}

const zorParam* ClassView::Param(const char* name, int32_t type) const {
    const zorParam* param = cls_->GetParam(const_cast<char*>(name));
    return param != nullptr && param->data != nullptr && param->type == type ? param : nullptr;
}

std::optional<int> ClassView::SplashRadius() const {
    const zorParam* param = Param(kSplashRadiusParam, PARAM_INT);
    if (param == nullptr) return std::nullopt;
    return *static_cast<const int32_t*>(param->data);
}

std::optional<EffectBinding> ClassView::Binding() const {
    const zorParam* param = Param(kExplosionParam, PARAM_TEXT);
    if (param == nullptr) return std::nullopt;
    using State = EffectBinding::State;
    const std::string name = TextOf(*param);
    if (name.empty()) return EffectBinding{State::kNoName, ""};
    zorObjClass* effect = zorQObj_GetClass(name.c_str(), kEffectKind);
    if (effect == nullptr) return EffectBinding{State::kNotRegistered, name};
    if (effect->GetRefCount() <= 0) return EffectBinding{State::kNotBound, name};
    return EffectBinding{State::kBound, effect->GetName()};
}

ClassParameters ClassView::Parameters() const {
    return ClassParameters{.className = Name(), .params = ParamLines(), .binding = Binding()};
}

zorObjClass* ClassOfEntity(const zorQEntityRef* entity) {
    if (entity == nullptr) return nullptr;
    if (entity->player != nullptr) return entity->player->GetClass();
    if ((entity->flags & ZORQENTITY_CORPSE) != 0 && entity->data != nullptr)
        return static_cast<const zorQCorpseData*>(entity->data)->classObject;
    return nullptr;
}

}  // namespace flamer_host
