// The mipchain tool end to end: it reads a PNG the test writes, and the
// levels it writes hold the box filter averages down to 1x1; it refuses
// what it cannot do and leaves no partial chain behind.
#include <gtest/gtest.h>

#ifdef MIPCHAIN_PATH

#include "box_filter_test_support.h"
#include "d3dx_math.h"
#include "png_test_support.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <png.h>

namespace {

namespace fs = std::filesystem;

struct Png {
    uint32_t width = 0, height = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> argb;  // read back as 8-bit BGRA words
};

png_image BlankPng() {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    return png;
}

void WriteArgbPng(const fs::path& path, uint32_t width, uint32_t height,
                  const std::vector<uint32_t>& argb) {
    png_image png = BlankPng();
    png.width = width;
    png.height = height;
    png.format = PNG_FORMAT_BGRA;
    ASSERT_TRUE(png_image_write_to_file(&png, path.c_str(), 0, argb.data(), 0, nullptr))
        << png.message;
}

Png ReadPng(const fs::path& path) {
    Png out;
    png_image png = BlankPng();
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        ADD_FAILURE() << "cannot read " << path << ": " << png.message;
        return out;
    }
    out.width = png.width;
    out.height = png.height;
    out.hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_BGRA;
    out.argb.resize(std::size_t(png.width) * png.height);
    EXPECT_TRUE(png_image_finish_read(&png, nullptr, out.argb.data(), 0, nullptr)) << png.message;
    return out;
}

class MipchainTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("mipchain_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the tool with the given arguments in the test's folder; returns
    // its exit status. Output() is what it printed.
    int Run(const std::string& args) {
        const std::string command = "cd '" + dir_.string() + "' && " + MIPCHAIN_PATH + " " + args +
                                    " > " + (dir_ / "out.txt").string() + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output() const {
        std::ifstream in(dir_ / "out.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string Level(int n) const {
        return (dir_ / ("level_" + std::to_string(n) + ".png")).string();
    }
    std::string Prefix() const { return (dir_ / "level").string(); }

    fs::path dir_;
};

uint32_t PairAverage(uint32_t a, uint32_t b) {
    return d3dx::testing::ReferenceAverage(a, b, a, b, d3dx::testing::TopByte::kAveraged);
}

// 5x3: the odd last column and row stay out of level 1 (2x1); level 2 is
// the pair average of level 1's single row.
TEST_F(MipchainTool, WritesEveryLevelWithBoxAverages) {
    std::vector<uint32_t> pixels(15);
    for (uint32_t i = 0; i < pixels.size(); ++i) pixels[i] = 0x10203040u * (i + 1) ^ (i << 28);
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 5, 3, pixels);
    ASSERT_EQ(Run(input.string() + " " + Prefix()), 0);

    const Png level0 = ReadPng(Level(0)), level1 = ReadPng(Level(1)), level2 = ReadPng(Level(2));
    EXPECT_EQ(level0.argb, pixels);
    ASSERT_EQ(level1.width, 2u);
    ASSERT_EQ(level1.height, 1u);
    const auto at = [&](uint32_t x, uint32_t y) {
        return pixels[y * 5 + x];
    };
    for (uint32_t i = 0; i < 2; ++i)
        EXPECT_EQ(level1.argb[i], d3dx::testing::ReferenceAverage(
                                      at(2 * i, 0), at(2 * i + 1, 0), at(2 * i, 1),
                                      at(2 * i + 1, 1), d3dx::testing::TopByte::kAveraged));
    ASSERT_EQ(level2.width, 1u);
    ASSERT_EQ(level2.height, 1u);
    EXPECT_EQ(level2.argb[0], PairAverage(level1.argb[0], level1.argb[1]));
    EXPECT_TRUE(level2.hasAlpha);
    EXPECT_FALSE(fs::exists(Level(3)));
}

struct ChainCase {
    uint32_t width, height;
    int levels;
};

TEST_F(MipchainTool, ChainsOfThinAndOddImagesEndAtOneByOne) {
    const ChainCase cases[] = {{1, 1, 1}, {1, 4, 3}, {8, 1, 4}, {7, 7, 3}, {16, 2, 5}};
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const fs::path input = dir_ / "in.png";
        WriteArgbPng(input, c.width, c.height,
                     std::vector<uint32_t>(std::size_t(c.width) * c.height, 0xFF336699));
        ASSERT_EQ(Run(input.string() + " " + Prefix()), 0);
        const Png last = ReadPng(Level(c.levels - 1));
        EXPECT_EQ(last.width, 1u);
        EXPECT_EQ(last.height, 1u);
        EXPECT_EQ(last.argb.at(0), 0xFF336699u);  // a flat image stays flat
        EXPECT_FALSE(fs::exists(Level(c.levels)));
        for (int n = 0; n < c.levels; ++n) fs::remove(Level(n));
    }
}

TEST_F(MipchainTool, XrgbOptionWritesOpaqueRgbLevels) {
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 2, 2, {0x00FF0000, 0x40FF0000, 0x80FF0000, 0xC0FF0000});
    ASSERT_EQ(Run("--xrgb " + input.string() + " " + Prefix()), 0);
    const Png level1 = ReadPng(Level(1));
    EXPECT_FALSE(level1.hasAlpha);
    EXPECT_EQ(level1.argb.at(0), 0xFFFF0000u);
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A 16-bit file: its samples are rounded to 8 bits, not taken for linear
// light (0x8080 is 0x80, not brightened).
TEST_F(MipchainTool, SixteenBitSamplesKeepTheirLevel) {
    const fs::path input = dir_ / "grey16.png";
    mipchain::testing::WriteFile(
        input, mipchain::testing::EncodePng(mipchain::testing::Grey16(4, 4, 0x8080)));
    ASSERT_EQ(Run(input.string() + " " + Prefix()), 0) << Output();
    EXPECT_EQ(ReadPng(Level(0)).argb.at(0), 0xFF808080u);
    EXPECT_EQ(ReadPng(Level(2)).argb.at(0), 0xFF808080u);
}

// A tiny file claiming an enormous size is refused with the limit named,
// and nothing is written.
TEST_F(MipchainTool, RefusesSizesBeyondTheLimit) {
    const fs::path input = dir_ / "huge.png";
    mipchain::testing::WriteFile(
        input,
        mipchain::testing::WithClaimedSize(
            mipchain::testing::EncodePng(mipchain::testing::Grey16(1, 1, 0)), 1000000, 1000000));
    EXPECT_EQ(Run(input.string() + " " + Prefix()), 1);
    EXPECT_NE(Output().find("16384 x 16384"), std::string::npos) << Output();
    EXPECT_FALSE(fs::exists(Level(0)));
}

TEST_F(MipchainTool, RefusesAnOutputThatIsTheInput) {
    std::vector<uint32_t> pixels(64, 0xFF102030);
    WriteArgbPng(Level(2), 8, 8, pixels);  // the input is what level 2 would be
    const std::vector<uint8_t> before = FileBytes(Level(2));
    EXPECT_EQ(Run(Level(2) + " " + Prefix()), 2);
    EXPECT_NE(Output().find("is the input"), std::string::npos) << Output();
    EXPECT_EQ(FileBytes(Level(2)), before);
    EXPECT_FALSE(fs::exists(Level(0)));
}

// Level 2 cannot be written (a folder stands in its place): levels 0 and 1
// are removed again, and the folder is left alone.
TEST_F(MipchainTool, RemovesWrittenLevelsWhenALevelCannotBeWritten) {
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 8, 8, std::vector<uint32_t>(64, 0xFF405060));
    fs::create_directory(Level(2));
    EXPECT_EQ(Run(input.string() + " " + Prefix()), 1);
    EXPECT_NE(Output().find(Level(2)), std::string::npos) << Output();
    EXPECT_FALSE(fs::exists(Level(0)));
    EXPECT_FALSE(fs::exists(Level(1)));
    EXPECT_TRUE(fs::is_directory(Level(2)));
    EXPECT_FALSE(fs::exists(Level(3)));
}

// A link planted where a level goes is replaced by the level, its target
// never written.
TEST_F(MipchainTool, LevelsReplaceLinksPlantedInTheirPlace) {
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 4, 4, std::vector<uint32_t>(16, 0xFF112233));
    const fs::path victim = dir_ / "victim";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, Level(1));
    ASSERT_EQ(Run(input.string() + " " + Prefix()), 0) << Output();
    EXPECT_EQ(FileBytes(victim), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(fs::is_symlink(Level(1)));
    EXPECT_EQ(ReadPng(Level(1)).width, 2u);
}

// An empty prefix, or one that names only a folder, would write files
// named "_0.png": refused before anything is read or written.
TEST_F(MipchainTool, RefusesAPrefixWithoutAFileName) {
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 2, 2, std::vector<uint32_t>(4, 0xFF000000));
    EXPECT_EQ(Run(input.string() + " ''"), 2);
    EXPECT_NE(Output().find("prefix is empty"), std::string::npos) << Output();
    EXPECT_EQ(Run(input.string() + " sub/"), 2);
    EXPECT_FALSE(fs::exists(dir_ / "_0.png"));
    EXPECT_FALSE(fs::exists(dir_ / "sub"));
}

TEST_F(MipchainTool, NamesAFolderGivenAsInput) {
    fs::create_directory(dir_ / "images");
    EXPECT_EQ(Run((dir_ / "images").string() + " " + Prefix()), 1);
    EXPECT_NE(Output().find("is a folder"), std::string::npos) << Output();
}

TEST_F(MipchainTool, CreatesTheOutputFolder) {
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 4, 2, std::vector<uint32_t>(8, 0xFF112233));
    ASSERT_EQ(Run(input.string() + " out/deeper/level"), 0) << Output();
    EXPECT_TRUE(fs::exists(dir_ / "out/deeper/level_0.png"));
    EXPECT_TRUE(fs::exists(dir_ / "out/deeper/level_2.png"));
}

// One line for each level written, in level order; the box filter's times
// only when asked for.
TEST_F(MipchainTool, PrintsALineForEachLevelAndTimesOnlyWhenAsked) {
    const fs::path input = dir_ / "in.png";
    WriteArgbPng(input, 4, 4, std::vector<uint32_t>(16, 0xFF112233));
    ASSERT_EQ(Run(input.string() + " " + Prefix()), 0) << Output();
    EXPECT_EQ(Output(), "level  0       4 x 4       " + Level(0) + "\n" +
                            "level  1       2 x 2       " + Level(1) + "\n" +
                            "level  2       1 x 1       " + Level(2) + "\n");
    ASSERT_EQ(Run("--verbose --compression=small " + input.string() + " " + Prefix()), 0)
        << Output();
    EXPECT_NE(Output().find("times are of the box filter call alone"), std::string::npos)
        << Output();
    EXPECT_NE(Output().find(" ms  " + Level(2)), std::string::npos) << Output();
}

TEST_F(MipchainTool, BadInvocationsFailWithNonZeroStatus) {
    const fs::path notPng = dir_ / "not.png";
    {
        std::FILE* f = std::fopen(notPng.c_str(), "wb");
        std::fputs("plain text", f);
        std::fclose(f);
    }
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("--bogus in.png out"), 2);
    EXPECT_EQ(Output(), "mipchain: unknown option '--bogus' (try 'mipchain --help')\n");
    EXPECT_EQ(Run("--compression=tiny in.png out"), 2);
    EXPECT_NE(Output().find("unknown compression 'tiny'"), std::string::npos) << Output();
    EXPECT_EQ(Run((dir_ / "missing.png").string() + " " + Prefix()), 1);
    EXPECT_EQ(Run(notPng.string() + " " + Prefix()), 1);
    EXPECT_EQ(Run("/dev/zero " + Prefix()), 1);  // stops at the missing signature
    EXPECT_NE(Output().find("not a PNG file"), std::string::npos) << Output();
    EXPECT_FALSE(fs::exists(Level(0)));
    EXPECT_EQ(Run("--help"), 0);
}

TEST_F(MipchainTool, VersionIsTheProjectVersion) {
    ASSERT_EQ(Run("--version"), 0);
    EXPECT_EQ(Output(), "mipchain (flamer) " D3DXMATH_VERSION_STRING "\n");
}

}  // namespace

#else

TEST(MipchainTool, SkippedWithoutTools) { GTEST_SKIP() << "the mipchain tool is not built"; }

#endif
