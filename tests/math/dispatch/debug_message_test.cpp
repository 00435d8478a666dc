// The leveled debugger output: level filter, cached profile level, and the
// 255-character limits of the message and of the line.
#include "dispatch/dispatch.h"
#include "dispatch/test_hooks.h"
#include "platform/fake_platform.h"

#include <string>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

constexpr size_t kLineLimit = 255;

class DebugMessage : public ::testing::Test {
protected:
    platform::ScopedFakePlatform fake_;
};

TEST_F(DebugMessage, DefaultLevelShowsInfoButNotAlignmentWarnings) {
    MathDebugMessage(0, "(INFO) %s", "hello");
    MathDebugMessage(3, "misaligned %p", static_cast<void*>(nullptr));
    EXPECT_EQ(fake_->DebugLines(), std::vector<std::string>{"D3DX: (INFO) hello\r\n"});
}

TEST_F(DebugMessage, LevelThreeShowsAlignmentWarningsToo) {
    fake_->SetDebugLevel(3);
    MathDebugMessage(0, "info");
    MathDebugMessage(3, "warning %d", 3);
    MathDebugMessage(4, "too verbose");
    EXPECT_EQ(fake_->DebugLines(),
              (std::vector<std::string>{"D3DX: info\r\n", "D3DX: warning 3\r\n"}));
}

// A level with the top bit set is above every setting: the comparison is
// unsigned.
TEST_F(DebugMessage, ComparesLevelsUnsigned) {
    fake_->SetDebugLevel(3);
    MathDebugMessage(0x80000000u, "never");
    EXPECT_TRUE(fake_->DebugLines().empty());
}

TEST_F(DebugMessage, ReadsTheProfileOnceAndKeepsTheLevel) {
    fake_->SetDebugLevel(3);
    MathDebugMessage(3, "a");
    fake_->SetDebugLevel(0);
    MathDebugMessage(3, "b");
    EXPECT_EQ(fake_->Counts().getProfileInt, 1);
    EXPECT_EQ(fake_->DebugLines().size(), 2u);
}

TEST_F(DebugMessage, CutsLongMessagesAndLosesTheLineEnd) {
    const std::string fits(kLineLimit - std::string("D3DX: \r\n").size(), 'x');
    MathDebugMessage(0, "%s", fits.c_str());
    MathDebugMessage(0, "%s", (fits + "y").c_str());
    MathDebugMessage(0, "%s%s", std::string(300, 'z').c_str(), "tail");
    const std::vector<std::string> lines = fake_->DebugLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "D3DX: " + fits + "\r\n");
    EXPECT_EQ(lines[1], "D3DX: " + fits + "y\r");
    EXPECT_EQ(lines[2], "D3DX: " + std::string(kLineLimit - 6, 'z'));
}

TEST(DebugCapture, CollectsLinesAtItsLevelAndRestoresThePlatform) {
    platform::ScopedFakePlatform fake;
    {
        ScopedDebugCapture capture(3);
        MathDebugMessage(3, "captured %d", 1);
        EXPECT_EQ(capture.Lines(), std::vector<std::string>{"D3DX: captured 1\r\n"});
        capture.Clear();
        EXPECT_TRUE(capture.Lines().empty());
    }
    EXPECT_EQ(&platform::CurrentPlatform(), &*fake);
    MathDebugMessage(3, "not shown at the fake's level 0");
    MathDebugMessage(0, "shown");
    EXPECT_EQ(fake->DebugLines(), std::vector<std::string>{"D3DX: shown\r\n"});
}

}  // namespace
}  // namespace d3dx
