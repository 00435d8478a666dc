// Setting a class object's parameters from the host.
#include "zorQParam.h"

#include "zorQModule.h"
#include "zorQObj.h"

#include <cstring>

namespace {

// Finds the record named `name` of the kind `kind`; the result is ZORPARAM_OK
// with `found` set, or the reason there is none.
ZORPARAM_RESULT FindParam(zorObjClass* cls, const char* name, int32_t kind, zorParam** found) {
    if (cls == nullptr || name == nullptr) return ZORPARAM_NO_CLASS;
    zorParam* param = cls->GetParam(const_cast<char*>(name));
    if (param == nullptr || param->data == nullptr) return ZORPARAM_UNKNOWN_NAME;
    if (param->type != kind) return ZORPARAM_WRONG_KIND;
    *found = param;
    return ZORPARAM_OK;
}

// Writes `size` bytes of `value` into the record's storage, then tells the
// class.
ZORPARAM_RESULT Store(zorObjClass* cls, zorParam* param, const void* value, std::size_t size) {
    std::memcpy(param->data, value, size);
    cls->ParamChanged(param);
    return ZORPARAM_OK;
}

}  // namespace

ZORPARAM_RESULT zorQParam_SetText(zorObjClass* cls, const char* name, const char* value) {
    zorParam* param = nullptr;
    const ZORPARAM_RESULT result = FindParam(cls, name, PARAM_TEXT, &param);
    if (result != ZORPARAM_OK) return result;
    if (value == nullptr) return ZORPARAM_NO_CLASS;
    const std::size_t length = std::strlen(value);
    if (length >= kZorParamTextSize) return ZORPARAM_TEXT_TOO_LONG;
    return Store(cls, param, value, length + 1);
}

ZORPARAM_RESULT zorQParam_SetInt(zorObjClass* cls, const char* name, int32_t value) {
    zorParam* param = nullptr;
    const ZORPARAM_RESULT result = FindParam(cls, name, PARAM_INT, &param);
    return result != ZORPARAM_OK ? result : Store(cls, param, &value, sizeof value);
}

ZORPARAM_RESULT zorQParam_SetFloat(zorObjClass* cls, const char* name, float value) {
    zorParam* param = nullptr;
    const ZORPARAM_RESULT result = FindParam(cls, name, PARAM_FLOAT, &param);
    return result != ZORPARAM_OK ? result : Store(cls, param, &value, sizeof value);
}

const char* zorQParam_ResultText(ZORPARAM_RESULT result) {
    switch (result) {
        case ZORPARAM_OK:
            return "parameter set";
        case ZORPARAM_NO_CLASS:
            return "no class object, parameter name or value given";
        case ZORPARAM_UNKNOWN_NAME:
            return "the class has no parameter of that name";
        case ZORPARAM_WRONG_KIND:
            return "the parameter holds a different kind of value";
        case ZORPARAM_TEXT_TOO_LONG:
            return "the text is longer than the parameter can hold (127 characters)";
    }
    return "unknown parameter result";
}
