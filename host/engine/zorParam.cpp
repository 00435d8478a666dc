// The parameter record.
#include "zorQModule.h"
#include "zorQText.h"

#include <stdexcept>
#include <string>

const char* zorParam_KindName(int32_t type) {
    switch (type) {
        case PARAM_TEXT:
            return "text";
        case PARAM_INT:
            return "integer";
        case PARAM_FLOAT:
            return "float";
        default:
            return "unknown";
    }
}

zorParam::zorParam(const char* paramName, char* text, int32_t extraValue) {
    Init(paramName, PARAM_TEXT, text, extraValue);
}

zorParam::zorParam(const char* paramName, int32_t* value, int32_t extraValue) {
    Init(paramName, PARAM_INT, value, extraValue);
}

zorParam::zorParam(const char* paramName, float* value, int32_t extraValue) {
    Init(paramName, PARAM_FLOAT, value, extraValue);
}

zorParam::zorParam(const zorParam& other) = default;
zorParam& zorParam::operator=(const zorParam& other) = default;
zorParam::~zorParam() = default;

void zorParam::Init(const char* paramName, int32_t kind, void* storage, int32_t extraValue) {
    if (!zorq::CopyText(name, sizeof name, paramName)) {
        throw std::length_error("parameter name \"" + std::string(paramName) +
                                "\" is longer than " + std::to_string(kZorParamNameSize - 1) +
                                " characters");
    }
    type = kind;
    data = storage;
    extra = extraValue;
}
