// The object registry.
#include "zorObjRegistry.h"
#include "zorQObj.h"

#include <string>

#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() {
        fire.Setup(const_cast<char*>("Fire_Burst"), nullptr, nullptr, nullptr);
        walker.Setup(const_cast<char*>("walker"), nullptr, nullptr, nullptr);
    }
    zorObjRegistry registry;
    zorCustomClass fire;
    zorPlClassicClass walker;
};

TEST_F(RegistryTest, NamesAndKindsMatchWithoutRegardToCase) {
    ASSERT_TRUE(registry.Register(&fire, "custom"));
    ASSERT_TRUE(registry.Register(&walker, "player"));
    EXPECT_EQ(registry.GetClass("fire_burst", "custom"), &fire);
    EXPECT_EQ(registry.GetClass("FIRE_BURST", "CUSTOM"), &fire);
    EXPECT_EQ(registry.GetClass("fire_burst", "player"), nullptr);
    EXPECT_EQ(registry.GetClass("fire_burs", "custom"), nullptr);
    EXPECT_EQ(registry.GetClass("fire_burst_", "custom"), nullptr);
    EXPECT_EQ(registry.GetClass(nullptr, "custom"), nullptr);
    EXPECT_EQ(registry.GetClass("Walker", "player"), &walker);
}

TEST_F(RegistryTest, RefusesDuplicatesNamelessAndOverlongKinds) {
    zorCustomClass twin;
    twin.Setup(const_cast<char*>("FIRE_burst"), nullptr, nullptr, nullptr);
    zorCustomClass nameless;
    EXPECT_TRUE(registry.Register(&fire, "custom"));
    EXPECT_FALSE(registry.Register(&twin, "custom"));
    EXPECT_FALSE(registry.Register(&nameless, "custom"));
    EXPECT_FALSE(registry.Register(nullptr, "custom"));
    EXPECT_FALSE(registry.Register(&twin, std::string(kZorQObjKindSize, 'k').c_str()));
    EXPECT_EQ(registry.GetClass("fire_burst", "custom"), &fire);
}

TEST_F(RegistryTest, UnregisteredClassesAreNoLongerFound) {
    registry.Register(&fire, "custom");
    registry.Unregister(&fire);
    EXPECT_EQ(registry.GetClass("fire_burst", "custom"), nullptr);
}

TEST_F(RegistryTest, PlainFunctionsUseTheCurrentRegistry) {
    zorObjRegistry* previous = zorQObj_SetRegistry(&registry);
    EXPECT_EQ(zorQObj_RegisterClass(&fire, "custom"), 1);
    EXPECT_EQ(zorQObj_GetClass("fire_BURST", "custom"), &fire);
    zorQObj_UnregisterClass(&fire);
    EXPECT_EQ(zorQObj_GetClass("fire_burst", "custom"), nullptr);
    EXPECT_EQ(zorQObj_SetRegistry(previous), &registry);
}

}  // namespace
