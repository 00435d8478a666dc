// The one rule for names: ASCII letters match without regard to case, and
// every other byte stands for itself.
#include "platform/text_util.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

namespace d3dx::platform {
namespace {

TEST(NameMatching, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(EqualsIgnoringCase("HKEY_Local_Machine", "hkey_local_MACHINE"));
    EXPECT_FALSE(EqualsIgnoringCase("debug", "debug "));
    EXPECT_FALSE(EqualsIgnoringCase("\xC4", "\xE4")) << "Latin-1 letters are not folded";
    EXPECT_FALSE(EqualsIgnoringCase("[", "{")) << "0x5B and 0x7B are not letters";
    EXPECT_TRUE(EqualsIgnoringCase("", ""));
}

TEST(NameMatching, MapsKeyedByNameFindEverySpelling) {
    std::map<std::string, int, LessIgnoringCase> values;
    values.insert_or_assign("DisablePSGP", 1);
    values.insert_or_assign("disablepsgp", 2);
    values.insert_or_assign("Zeta", 3);
    values.insert_or_assign("alpha", 4);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values.find("DISABLEPSGP")->second, 2);
    EXPECT_EQ(values.begin()->first, "alpha") << "ordered by folded letters";
}

}  // namespace
}  // namespace d3dx::platform
