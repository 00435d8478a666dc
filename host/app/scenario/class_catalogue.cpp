#include "class_catalogue.h"

#include "zorQNameHash.h"

namespace flamer_host {

const ParamInfo* ClassInfo::FindParam(std::string_view paramName) const {
    for (const ParamInfo& param : params)
        if (zorQNameEqual{}(param.name, paramName)) return &param;
    return nullptr;
}

const ClassInfo* ClassCatalogue::Find(std::string_view name) const {
    for (const ClassInfo& cls : classes_)
        if (zorQNameEqual{}(cls.name, name)) return &cls;
    return nullptr;
}

std::string ClassCatalogue::Names() const {
    std::string names;
    for (const ClassInfo& cls : classes_) names += (names.empty() ? "" : ", ") + cls.name;
    return names;
}

}  // namespace flamer_host
