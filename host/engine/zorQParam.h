// Class parameters as the host sets them: found by name (without regard to
// case), checked against the record's kind, written in place through `data`,
// then announced through ParamChanged. A refused value changes nothing.
#pragma once

#include "zorQDefs.h"

#include <cstdint>

enum ZORPARAM_RESULT {
    ZORPARAM_OK = 0,
    ZORPARAM_NO_CLASS = -1,       // no class object, or no name/value given
    ZORPARAM_UNKNOWN_NAME = -2,   // the class has no parameter of that name
    ZORPARAM_WRONG_KIND = -3,     // the parameter holds another kind of value
    ZORPARAM_TEXT_TOO_LONG = -4,  // the text does not fit kZorParamTextSize
};

ZOR_HOST_API ZORPARAM_RESULT zorQParam_SetText(zorObjClass* cls, const char* name,
                                               const char* value);
ZOR_HOST_API ZORPARAM_RESULT zorQParam_SetInt(zorObjClass* cls, const char* name, int32_t value);
ZOR_HOST_API ZORPARAM_RESULT zorQParam_SetFloat(zorObjClass* cls, const char* name, float value);
// A sentence describing the result, for the host program to print.
ZOR_HOST_API const char* zorQParam_ResultText(ZORPARAM_RESULT result);
