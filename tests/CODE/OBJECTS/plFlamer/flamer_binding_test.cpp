// Binding of the explosion effect class through the object registry.
#include "plFlamer.h"
#include "zorObjRegistry.h"
#include "zorQParam.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A registry that notes every lookup before answering it.
class RecordingRegistry : public zorObjRegistry {
public:
    zorObjClass* GetClass(const char* name, const char* kind) override {
        lookups.emplace_back(name, kind);
        return zorObjRegistry::GetClass(name, kind);
    }
    std::vector<std::pair<std::string, std::string>> lookups;
};

class FlamerBindingTest : public ::testing::Test {
protected:
    FlamerBindingTest() {
        previous = zorQObj_SetRegistry(&registry);
        effect.Setup(const_cast<char*>("fire_burst"), nullptr, nullptr, nullptr);
        other.Setup(const_cast<char*>("smoke"), nullptr, nullptr, nullptr);
        registry.Register(&effect, "custom");
        registry.Register(&other, "custom");
    }
    ~FlamerBindingTest() override {
        delete cls;
        zorQObj_SetRegistry(previous);
    }

    void Name(const char* name) { std::strcpy(cls->explosionName, name); }
    void Announce(const char* paramName) {
        zorParam record(paramName, cls->explosionName, -1);
        cls->ParamChanged(&record);
    }

    RecordingRegistry registry;
    zorObjRegistry* previous = nullptr;
    zorCustomClass effect;
    zorCustomClass other;
    zorPlFlamerClass* cls = CreateObjClass();
};

TEST_F(FlamerBindingTest, FirstReferenceBindsAndSecondLooksNothingUp) {
    Name("Fire_BURST");
    cls->AddRef();
    EXPECT_EQ(cls->refCount, 1);
    EXPECT_EQ(cls->explosionClass, &effect);
    EXPECT_EQ(effect.refCount, 1);
    ASSERT_EQ(registry.lookups.size(), 1u);
    EXPECT_EQ(registry.lookups[0], (std::pair<std::string, std::string>{"Fire_BURST", "custom"}));

    cls->AddRef();
    EXPECT_EQ(cls->refCount, 2);
    EXPECT_EQ(registry.lookups.size(), 1u);
    EXPECT_EQ(effect.refCount, 1);
}

TEST_F(FlamerBindingTest, EmptyNameBindsNothingAndLooksNothingUp) {
    cls->AddRef();
    EXPECT_EQ(cls->explosionClass, nullptr);
    EXPECT_TRUE(registry.lookups.empty());
}

TEST_F(FlamerBindingTest, UnknownNameLeavesTheClassUnbound) {
    Name("no_such_effect");
    cls->AddRef();
    EXPECT_EQ(cls->explosionClass, nullptr);
    EXPECT_EQ(registry.lookups.size(), 1u);
}

TEST_F(FlamerBindingTest, OnlyTheReleaseToZeroLetsTheEffectGo) {
    Name("fire_burst");
    cls->AddRef();
    cls->AddRef();
    cls->Release();
    EXPECT_EQ(cls->explosionClass, &effect);
    EXPECT_EQ(effect.refCount, 1);
    cls->Release();
    EXPECT_EQ(cls->refCount, 0);
    EXPECT_EQ(cls->explosionClass, nullptr);
    EXPECT_EQ(effect.refCount, 0);
}

TEST_F(FlamerBindingTest, ChangeOfTheExplosionParameterRebindsWhateverItsCase) {
    for (const char* recordName : {"flamer_explosion", "FLAMER_EXPLOSION", "Flamer_Explosion"}) {
        Name("fire_burst");
        Announce(recordName);
        EXPECT_EQ(cls->explosionClass, &effect) << recordName;
        Name("smoke");
        Announce(recordName);
        EXPECT_EQ(cls->explosionClass, &other) << recordName;
        EXPECT_EQ(effect.refCount, 0) << recordName;
        EXPECT_EQ(other.refCount, 1) << recordName;
        Name("");
        Announce(recordName);
        EXPECT_EQ(cls->explosionClass, nullptr) << recordName;
        EXPECT_EQ(other.refCount, 0) << recordName;
    }
}

TEST_F(FlamerBindingTest, OtherParametersChangeNoBinding) {
    Name("fire_burst");
    Announce("flamer_splash_radius");
    Announce("flamer_explosion_x");
    EXPECT_EQ(cls->explosionClass, nullptr);
    EXPECT_TRUE(registry.lookups.empty());
    cls->ParamChanged(nullptr);
}

TEST_F(FlamerBindingTest, HostParameterSettingRebindsAnUnreferencedClass) {
    ASSERT_EQ(zorQParam_SetText(cls, "flamer_explosion", "fire_burst"), ZORPARAM_OK);
    EXPECT_EQ(cls->refCount, 0);
    EXPECT_EQ(cls->explosionClass, &effect);
    EXPECT_EQ(effect.refCount, 1);
    cls->AddRef();
    cls->Release();
}

// A release lowers the count by one even from 0; only a release that ends at
// 0 lets the effect go, so a bound, unreferenced class keeps its binding.
// The engine's classes count the same way.
TEST_F(FlamerBindingTest, ReleaseOfAnUnreferencedClassLowersItsCountAndKeepsTheBinding) {
    Name("fire_burst");
    Announce("flamer_explosion");
    cls->Release();
    EXPECT_EQ(cls->refCount, -1);
    EXPECT_EQ(cls->explosionClass, &effect);
    EXPECT_EQ(effect.refCount, 1);
    other.Release();
    EXPECT_EQ(other.refCount, -1);
}

TEST_F(FlamerBindingTest, FirstReferenceAfterAnUnreferencedBindingKeepsOneReference) {
    Name("fire_burst");
    Announce("flamer_explosion");
    ASSERT_EQ(effect.refCount, 1);
    cls->AddRef();
    EXPECT_EQ(cls->explosionClass, &effect);
    EXPECT_EQ(effect.refCount, 1);  // the earlier reference went back first
    EXPECT_EQ(registry.lookups.size(), 2u);
    cls->Release();
    EXPECT_EQ(effect.refCount, 0);
}

}  // namespace
