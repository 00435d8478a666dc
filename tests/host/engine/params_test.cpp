// Setting parameters from the host: checked, written in place, announced.
#include "zorQModule.h"
#include "zorQObj.h"
#include "zorQParam.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

// A class object with one parameter of each kind that notes every change.
struct TunedClass : zorObjClass {
    TunedClass() {
        std::strcpy(text, "start");
        AddParam(new zorParam("tune_text", text, -1));
        AddParam(new zorParam("tune_count", &count, -1));
        AddParam(new zorParam("tune_scale", &scale, -1));
    }
    void ParamChanged(zorParam* param) override {
        ++changes;
        lastChanged = param->name;
    }

    char text[kZorParamTextSize] = {};
    int32_t count = 1;
    float scale = 2.0f;
    int changes = 0;
    std::string lastChanged;
};

class ParamSettingTest : public ::testing::Test {
protected:
    void ExpectUnchanged() {
        EXPECT_STREQ(cls.text, "start");
        EXPECT_EQ(cls.count, 1);
        EXPECT_EQ(cls.scale, 2.0f);
        EXPECT_EQ(cls.changes, 0);
    }
    TunedClass cls;
};

TEST_F(ParamSettingTest, ValuesAreWrittenInPlaceThenAnnounced) {
    EXPECT_EQ(zorQParam_SetText(&cls, "TUNE_TEXT", "new text"), ZORPARAM_OK);
    EXPECT_STREQ(cls.text, "new text");
    EXPECT_EQ(cls.lastChanged, "tune_text");
    EXPECT_EQ(zorQParam_SetInt(&cls, "tune_count", -12), ZORPARAM_OK);
    EXPECT_EQ(cls.count, -12);
    EXPECT_EQ(zorQParam_SetFloat(&cls, "Tune_Scale", 0.5f), ZORPARAM_OK);
    EXPECT_EQ(cls.scale, 0.5f);
    EXPECT_EQ(cls.changes, 3);
}

TEST_F(ParamSettingTest, TextFillsTheFieldButNeverPassesIt) {
    const std::string longest(kZorParamTextSize - 1, 'x');
    EXPECT_EQ(zorQParam_SetText(&cls, "tune_text", longest.c_str()), ZORPARAM_OK);
    EXPECT_EQ(std::string(cls.text), longest);
    cls.changes = 0;
    std::strcpy(cls.text, "start");
    const std::string tooLong(kZorParamTextSize, 'y');
    EXPECT_EQ(zorQParam_SetText(&cls, "tune_text", tooLong.c_str()), ZORPARAM_TEXT_TOO_LONG);
    ExpectUnchanged();
}

struct RefusalCase {
    const char* what;
    ZORPARAM_RESULT (*set)(zorObjClass*);
    ZORPARAM_RESULT expected;
};

TEST_F(ParamSettingTest, RefusedValuesChangeNothing) {
    const RefusalCase cases[] = {
        {"unknown name", [](zorObjClass* c) { return zorQParam_SetInt(c, "tune_missing", 3); },
         ZORPARAM_UNKNOWN_NAME},
        {"int into text", [](zorObjClass* c) { return zorQParam_SetInt(c, "tune_text", 3); },
         ZORPARAM_WRONG_KIND},
        {"float into int", [](zorObjClass* c) { return zorQParam_SetFloat(c, "tune_count", 3.0f); },
         ZORPARAM_WRONG_KIND},
        {"text into float", [](zorObjClass* c) { return zorQParam_SetText(c, "tune_scale", "3"); },
         ZORPARAM_WRONG_KIND},
        {"no class", [](zorObjClass*) { return zorQParam_SetInt(nullptr, "tune_count", 3); },
         ZORPARAM_NO_CLASS},
        {"no name", [](zorObjClass* c) { return zorQParam_SetInt(c, nullptr, 3); },
         ZORPARAM_NO_CLASS},
        {"no text", [](zorObjClass* c) { return zorQParam_SetText(c, "tune_text", nullptr); },
         ZORPARAM_NO_CLASS},
    };
    for (const RefusalCase& c : cases) {
        EXPECT_EQ(c.set(&cls), c.expected) << c.what;
        EXPECT_STRNE(zorQParam_ResultText(c.expected), zorQParam_ResultText(ZORPARAM_OK));
        ExpectUnchanged();
    }
}

}  // namespace
