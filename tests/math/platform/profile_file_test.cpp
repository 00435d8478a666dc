// The win.ini-style profile reader.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

namespace d3dx::platform {
namespace {

TEST(ProfileFile, ReadsIntegersBySectionAndKeyInAnyCase) {
    const ProfileFile profile = ProfileFile::Parse(
        "; the math library's settings\r\n"
        "[Other]\r\n"
        "debug=9\r\n"
        "[DIRECT3D]\r\n"
        "  Debug = 3 \r\n"
        "negative=-2\r\n"
        "words=abc\r\n"
        "trailing=12abc\r\n"
        "junk line\r\n");
    EXPECT_EQ(profile.GetInt("Direct3D", "debug", 0), 3u);
    EXPECT_EQ(profile.GetInt("other", "DEBUG", 0), 9u);
    EXPECT_EQ(profile.GetInt("Direct3D", "negative", 0), static_cast<uint32_t>(-2));
    EXPECT_EQ(profile.GetInt("Direct3D", "words", 5), 0u);
    EXPECT_EQ(profile.GetInt("Direct3D", "trailing", 5), 12u);
    EXPECT_EQ(profile.GetInt("Direct3D", "missing", 7), 7u);
    EXPECT_EQ(profile.GetInt("Nowhere", "debug", 4), 4u);
}

TEST(ProfileFile, ReadsUtf16AndUtf8FilesWithByteOrderMarks) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string_view("[Direct3D]\r\ndebug=3\r\n")) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    EXPECT_EQ(ProfileFile::Parse(utf16).GetInt("Direct3D", "debug", 0), 3u);
    EXPECT_EQ(
        ProfileFile::Parse("\xEF\xBB\xBF[Direct3D]\ndebug=3\n").GetInt("Direct3D", "debug", 0), 3u);
}

TEST(ProfileFile, IgnoresKeysBeforeTheFirstSection) {
    const ProfileFile profile = ProfileFile::Parse("debug=3\n[Direct3D]\n");
    EXPECT_EQ(profile.GetInt("Direct3D", "debug", 0), 0u);
}

}  // namespace
}  // namespace d3dx::platform
