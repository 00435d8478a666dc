// The class framework: operation-table order, shared parameter lists.
#include "leak_delta.h"
#include "vtable_index.h"
#include "zorMemLeakRecords.h"
#include "zorQModule.h"
#include "zorQObj.h"
#include "zorQWorld.h"

#include <string>

#include <gtest/gtest.h>

using zorq::testing::LeakBaseline;
using zorq::testing::VtableIndex;

namespace {

// Reaches the protected entries of the object table.
struct ClassicProbe : zorPlClassic {
    static std::ptrdiff_t TakeDamageIndex() { return VtableIndex(&ClassicProbe::TakeDamage); }
    static std::ptrdiff_t PlaceCorpseIndex() { return VtableIndex(&ClassicProbe::PlaceCorpse); }
    static std::ptrdiff_t DResetIndex() { return VtableIndex(&ClassicProbe::DReset); }
    static std::ptrdiff_t PrepareTagFlashesIndex() {
        return VtableIndex(&ClassicProbe::PrepareTagFlashes);
    }
};

struct SlotCase {
    const char* operation;
    std::ptrdiff_t index;
    std::ptrdiff_t expected;
};

TEST(FrameworkTables, ClassObjectEntriesAreInOrder) {
    const SlotCase cases[] = {
        {"AddParam", VtableIndex(&zorModuleClass::AddParam), 2},
        {"AddRef", VtableIndex(&zorPlayerClass::AddRef), 6},
        {"GetParam(char*)",
         VtableIndex(static_cast<zorParam* (zorModuleClass::*)(char*)>(&zorModuleClass::GetParam)),
         9},
        {"GetParam(int)",
         VtableIndex(static_cast<zorParam* (zorModuleClass::*)(int)>(&zorModuleClass::GetParam)),
         10},
        {"Create", VtableIndex(&zorPlClassicClass::Create), 12},
        {"PrintComments", VtableIndex(&zorPlOrthoClass::PrintComments), 17},
        {"backup_file", VtableIndex(&zorModuleClass::backup_file), 20},
        {"CreateObj", VtableIndex(&zorObjClass::CreateObj), 21},
        {"ParamChanged", VtableIndex(&zorObjClass::ParamChanged), 23},
        {"SetClassID", VtableIndex(&zorObjClass::SetClassID), 29},
        {"GetActorName", VtableIndex(&zorPlayerClass::GetActorName), 30},
        {"LoadEffects", VtableIndex(&zorPlayerClass::LoadEffects), 33},
        {"SpawnAt", VtableIndex(&zorCustomClass::SpawnAt), 32},
        {"SetEventCallback", VtableIndex(&zorQEventSource::SetEventCallback), 28},
    };
    for (const SlotCase& c : cases) EXPECT_EQ(c.index, c.expected) << c.operation;
}

TEST(FrameworkTables, ObjectEntriesAreInOrder) {
    const SlotCase cases[] = {
        {"GetName", VtableIndex(&zorObj::GetName), 2},
        {"SetTimer", VtableIndex(&zorPlayer::SetTimer), 10},
        {"Create", VtableIndex(&zorPlClassic::Create), 11},
        {"PlayerProc", VtableIndex(&zorPlClassic::PlayerProc), 14},
        {"GetRef", VtableIndex(&zorPlayer::GetRef), 19},
        {"Kill", VtableIndex(&zorPlClassic::Kill), 26},
        {"DestroyGlow", VtableIndex(&zorPlayer::DestroyGlow), 27},
        {"DReset", ClassicProbe::DResetIndex(), 28},
        {"TakeDamage", ClassicProbe::TakeDamageIndex(), 31},
        {"PlaceCorpse", ClassicProbe::PlaceCorpseIndex(), 35},
        {"SetMove", VtableIndex(&zorPlOrtho::SetMove), 38},
        {"SetAttack", VtableIndex(&zorPlClassic::SetAttack), 45},
        {"GetView(float*, float*)",
         VtableIndex(static_cast<void (zorPlOrtho::*)(float*, float*)>(&zorPlOrtho::GetView)), 48},
        {"DGet", VtableIndex(&zorPlOrtho::DGet), 55},
        {"SetGunForTag", VtableIndex(&zorPlClassic::SetGunForTag), 56},
        {"PrepareTagFlashes", ClassicProbe::PrepareTagFlashesIndex(), 63},
        {"GetTargetEntity", VtableIndex(&zorPlClassic::GetTargetEntity), 64},
        {"FireTag", VtableIndex(&zorPlClassic::FireTag), 74},
    };
    for (const SlotCase& c : cases) EXPECT_EQ(c.index, c.expected) << c.operation;
}

struct TwoParamClass : zorObjClass {
    TwoParamClass() {
        AddParam(new zorParam("alpha", &a, -1));
        AddParam(new zorParam("beta", &b, -1));
    }
    int32_t a = 1;
    int32_t b = 2;
};

TEST(SharedParamList, CopiesShareTheListAndTheLastHolderReleasesIt) {
    LeakBaseline baseline;
    {
        auto* original = new TwoParamClass();
        auto* copy = new TwoParamClass(*original);
        EXPECT_EQ(copy->params, original->params);
        delete original;
        EXPECT_STREQ(copy->GetParam(1)->name, "beta");  // still whole
        TwoParamClass assigned;
        assigned = *copy;
        EXPECT_EQ(assigned.params, copy->params);
        delete copy;
        EXPECT_STREQ(assigned.GetParam(const_cast<char*>("ALPHA"))->name, "alpha");
    }
    EXPECT_TRUE(baseline.NewBlocks().empty()) << zorMemLeak_Report();
}

TEST(SharedParamList, AppendingToACopyLeavesTheOriginalAlone) {
    TwoParamClass original;
    TwoParamClass copy(original);
    int32_t c = 3;
    copy.AddParam(new zorParam("gamma", &c, -1));
    EXPECT_NE(copy.params, original.params);
    EXPECT_EQ(copy.paramCount, 3);
    EXPECT_EQ(original.paramCount, 2);
    EXPECT_EQ(copy.GetParam(2)->data, &c);
    EXPECT_EQ(original.GetParam(2), nullptr);
    EXPECT_EQ(original.GetParam(-1), nullptr);
}

TEST(SharedParamList, SortOrdersByNameWithoutRegardToCase) {
    zorObjClass cls;
    int32_t v = 0;
    for (const char* name : {"Delta", "alpha", "charlie", "Bravo"})
        cls.AddParam(new zorParam(name, &v, -1));
    cls.SortParams();
    std::string order;
    for (int i = 0; i < cls.paramCount; ++i) order += std::string(cls.GetParam(i)->name) + " ";
    EXPECT_EQ(order, "alpha Bravo charlie Delta ");
}

}  // namespace
