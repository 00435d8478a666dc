// The plug-in the host program loads by default: the installed one when the
// program lies in an installed tree, else the one built beside it.
#include "plugin_location.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace flamer_host {
namespace {

namespace fs = std::filesystem;

constexpr char kBuilt[] = "/build/plugin/libplFlamer.so";
constexpr char kInstalled[] = "../lib/flamer/libplFlamer.so";

class PluginLocation : public ::testing::Test {
protected:
    PluginLocation()
        : root_(fs::temp_directory_path() / ("plugin_location_" + std::to_string(getpid()))) {
        fs::create_directories(root_ / "bin");
    }
    ~PluginLocation() override { fs::remove_all(root_); }

    std::string Bin() const { return (root_ / "bin").string(); }
    void InstallPlugin() const {
        fs::create_directories(root_ / "lib" / "flamer");
        std::ofstream(root_ / "lib" / "flamer" / "libplFlamer.so") << "plug-in";
    }

    fs::path root_;
};

TEST_F(PluginLocation, InstalledTreeWinsOverTheBuiltPlugin) {
    InstallPlugin();
    EXPECT_EQ(DefaultPluginPath(Bin(), kInstalled, kBuilt),
              (root_ / "lib" / "flamer" / "libplFlamer.so").string());
}

TEST_F(PluginLocation, BuiltPluginWithoutAnInstalledOne) {
    EXPECT_EQ(DefaultPluginPath(Bin(), kInstalled, kBuilt), kBuilt);
    fs::create_directories(root_ / "lib" / "flamer" / "libplFlamer.so");  // a folder, not a file
    EXPECT_EQ(DefaultPluginPath(Bin(), kInstalled, kBuilt), kBuilt);
    EXPECT_EQ(DefaultPluginPath("", kInstalled, kBuilt), kBuilt);
    EXPECT_EQ(DefaultPluginPath(Bin(), "", kBuilt), kBuilt);
}

TEST(ProgramDirectory, IsTheFolderOfTheRunningProgram) {
    const std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_TRUE(fs::exists(fs::path(dir) / "flamer_host_tests"));
}

}  // namespace
}  // namespace flamer_host
