// The class object: defaults, parameters, objects, copies, storage.
#include "leak_delta.h"
#include "plFlamer.h"
#include "zorMemLeakRecords.h"
#include "zorObjRegistry.h"
#include "zorQParam.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using zorq::testing::LeakBaseline;

namespace {

struct ParamExpectation {
    const char* name;
    int32_t type;
    void* (*field)(zorPlFlamerClass*);
};

const ParamExpectation kFlamerParams[] = {
    {"flamer_explosion", PARAM_TEXT,
     [](zorPlFlamerClass* c) -> void* {
         return c->explosionName;
     }},
    {"flamer_splash_radius", PARAM_INT,
     [](zorPlFlamerClass* c) -> void* {
         return &c->splashRadius;
     }},
    {"flamer_splash_damage", PARAM_INT,
     [](zorPlFlamerClass* c) -> void* {
         return &c->splashDamage;
     }},
    {"flamer_impulse", PARAM_FLOAT,
     [](zorPlFlamerClass* c) -> void* {
         return &c->impulse;
     }},
    {"flamer_rot_impulse", PARAM_FLOAT,
     [](zorPlFlamerClass* c) -> void* {
         return &c->rotImpulse;
     }},
};
constexpr int kFlamerParamCount = 5;

class FlamerClassTest : public ::testing::Test {
protected:
    void TearDown() override { delete cls; }
    zorPlFlamerClass* cls = CreateObjClass();
};

TEST_F(FlamerClassTest, FreshClassHasTheDefaults) {
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->explosionName[0], '\0');
    EXPECT_EQ(cls->explosionClass, nullptr);
    EXPECT_EQ(cls->splashRadius, 100);
    EXPECT_EQ(cls->splashDamage, 20);
    EXPECT_EQ(cls->impulse, 200.0f);
    EXPECT_EQ(cls->rotImpulse, 50.0f);
    EXPECT_EQ(cls->refCount, 0);
}

TEST_F(FlamerClassTest, ListEndsWithTheFiveParametersPointingAtTheFields) {
    ASSERT_GE(cls->paramCount, kFlamerParamCount);
    zorParam** flamer = cls->params + (cls->paramCount - kFlamerParamCount);
    for (int i = 0; i < kFlamerParamCount; ++i) {
        const ParamExpectation& expected = kFlamerParams[i];
        ASSERT_NE(flamer[i], nullptr);
        EXPECT_STREQ(flamer[i]->name, expected.name);
        EXPECT_EQ(flamer[i]->type, expected.type) << expected.name;
        EXPECT_EQ(flamer[i]->extra, -1) << expected.name;
        EXPECT_EQ(flamer[i]->data, expected.field(cls)) << expected.name;
    }
}

TEST_F(FlamerClassTest, WritingThroughARecordChangesTheField) {
    *static_cast<int32_t*>(cls->GetParam(const_cast<char*>("flamer_splash_radius"))->data) = 7;
    *static_cast<float*>(cls->GetParam(const_cast<char*>("flamer_impulse"))->data) = 1.5f;
    std::strcpy(static_cast<char*>(cls->GetParam(const_cast<char*>("flamer_explosion"))->data),
                "fx");
    EXPECT_EQ(cls->splashRadius, 7);
    EXPECT_EQ(cls->impulse, 1.5f);
    EXPECT_STREQ(cls->explosionName, "fx");
}

TEST_F(FlamerClassTest, StorageComesFromTheTrackedAllocatorWithTheModulePath) {
    LeakBaseline baseline;
    zorPlFlamerClass* other = CreateObjClass();
    bool found = false;
    for (const zorMemLeakBlock& block : baseline.NewBlocks()) {
        if (block.address == other) {
            found = true;
            EXPECT_EQ(block.file, PLFLAMER_SOURCE_FILE);
            EXPECT_GT(block.line, 0);
            EXPECT_EQ(block.size, sizeof(zorPlFlamerClass));
        }
    }
    EXPECT_TRUE(found);
    delete other;
    EXPECT_TRUE(baseline.NewBlocks().empty());
}

TEST(FlamerFactory, FailedAllocationYieldsNullAndReportsTheRequest) {
    zorMemLeak_ClearEvents();
    zorGlobalMem_FailNext(1);
    EXPECT_EQ(CreateObjClass(), nullptr);
    const std::vector<zorMemLeakFailure> failures = zorMemLeak_Failures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].size, sizeof(zorPlFlamerClass));
    EXPECT_EQ(failures[0].file, PLFLAMER_SOURCE_FILE);
    EXPECT_GT(failures[0].line, 0);
}

TEST_F(FlamerClassTest, CreateObjGivesDistinctFlamersOfThisClass) {
    zorObj* first = cls->CreateObj();
    zorObj* second = cls->CreateObj();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->GetClass(), cls);
    EXPECT_EQ(second->GetClass(), cls);
    EXPECT_NE(dynamic_cast<zorPlFlamer*>(first), nullptr);
    EXPECT_EQ(static_cast<zorPlFlamer*>(first)->FlamerClass(), cls);
    delete first;
    delete second;
}

TEST_F(FlamerClassTest, CreateObjOnAFailingAllocatorYieldsNull) {
    zorGlobalMem_FailNext(1);
    EXPECT_EQ(cls->CreateObj(), nullptr);
}

TEST_F(FlamerClassTest, CopySharesTheListAndTheEffectClassWithoutAReference) {
    zorCustomClass effect;
    cls->explosionClass = &effect;
    cls->splashDamage = 33;
    std::strcpy(cls->explosionName, "burst");
    {
        const zorPlFlamerClass copy(*cls);
        EXPECT_EQ(copy.params, cls->params);
        EXPECT_EQ(copy.paramCount, cls->paramCount);
        EXPECT_EQ(copy.explosionClass, &effect);
        EXPECT_EQ(effect.refCount, 0);
        EXPECT_EQ(copy.splashDamage, 33);
        EXPECT_EQ(std::memcmp(copy.explosionName, cls->explosionName, sizeof copy.explosionName),
                  0);
        EXPECT_EQ(copy.splashRadius, cls->splashRadius);
        EXPECT_EQ(copy.impulse, cls->impulse);
        EXPECT_EQ(copy.rotImpulse, cls->rotImpulse);
    }
    // The copy is gone; the source's list is still whole.
    EXPECT_STREQ(cls->params[0]->name, "flamer_explosion");
    cls->explosionClass = nullptr;
}

TEST_F(FlamerClassTest, CopyBehavesAsAFlamerClass) {
    zorPlFlamerClass copy(*cls);
    zorModuleClass& asBase = copy;
    zorObj* obj = static_cast<zorObjClass&>(asBase).CreateObj();
    EXPECT_NE(dynamic_cast<zorPlFlamer*>(obj), nullptr);
    delete obj;
}

TEST_F(FlamerClassTest, SelfAssignmentChangesNothing) {
    cls->splashRadius = 42;
    std::strcpy(cls->explosionName, "self");
    zorParam** const params = cls->params;
    zorPlFlamerClass& same = *cls;
    *cls = same;
    EXPECT_EQ(cls->splashRadius, 42);
    EXPECT_STREQ(cls->explosionName, "self");
    EXPECT_EQ(cls->params, params);
    EXPECT_EQ(cls->paramCount, kFlamerParamCount);
    EXPECT_STREQ(cls->params[1]->name, "flamer_splash_radius");
}

TEST_F(FlamerClassTest, AssignmentCopiesTheTuningAndSharesTheSourceList) {
    zorPlFlamerClass* target = CreateObjClass();
    cls->splashDamage = 5;
    cls->rotImpulse = 1.25f;
    *target = *cls;
    EXPECT_EQ(target->splashDamage, 5);
    EXPECT_EQ(target->rotImpulse, 1.25f);
    EXPECT_EQ(target->params, cls->params);
    delete target;
    EXPECT_EQ(cls->params[4]->data, &cls->rotImpulse);
}

TEST(FlamerClassArray, ElementsAreBuiltAndTheBlockGoesBackWhole) {
    LeakBaseline baseline;
    zorPlFlamerClass* classes = new zorPlFlamerClass[3];
    ASSERT_NE(classes, nullptr);
    EXPECT_EQ(classes[2].splashRadius, 100);
    delete[] classes;
    EXPECT_TRUE(baseline.NewBlocks().empty());
    EXPECT_TRUE(zorMemLeak_UnknownFrees().empty());
}

TEST(FlamerLifecycle, AWholeCycleLeavesNothingOutstanding) {
    LeakBaseline baseline;
    zorCustomClass effect;
    effect.Setup(const_cast<char*>("cycle_fx"), nullptr, nullptr, nullptr);
    ASSERT_EQ(zorQObj_RegisterClass(&effect, "custom"), 1);
    {
        zorPlFlamerClass* cls = CreateObjClass();
        ASSERT_EQ(zorQParam_SetText(cls, "flamer_explosion", "cycle_fx"), ZORPARAM_OK);
        ASSERT_EQ(zorQParam_SetInt(cls, "flamer_splash_radius", 64), ZORPARAM_OK);
        cls->AddRef();
        zorQEntityRef entity{9, 0, {1.0f, 2.0f, 3.0f}, {}, {}, nullptr, nullptr};
        zorObj* flamer = cls->CreateObj();
        EXPECT_EQ(flamer->Create(&entity, 0), 0);
        cls->Release();
        delete flamer;
        delete cls;
    }
    zorQObj_UnregisterClass(&effect);
    EXPECT_EQ(effect.refCount, 0);
    EXPECT_TRUE(baseline.NewBlocks().empty()) << zorMemLeak_Report();
    EXPECT_TRUE(zorMemLeak_UnknownFrees().empty());
}

}  // namespace
