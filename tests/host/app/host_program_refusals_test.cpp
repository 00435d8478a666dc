// What the host program refuses, and says why: scenarios that are folders,
// devices that never end or too large for memory, picture folders it cannot
// write to or that are links to nowhere, links planted where its pictures
// go, a disk that fills, and a kill of a Flamer that already died.
#include "host_program_run.h"

#include <algorithm>

namespace {

using namespace flamer_host::testing;

// Limits on memory make no sense to a program built with a sanitizer, which
// maps far more than it uses.
constexpr bool kSanitized = FLAMER_SANITIZED != 0;

TEST_F(HostProgramTest, FolderGivenAsTheScenarioIsRefused) {
    const Outcome run = Run(ShellQuoted(dir));

    EXPECT_EQ(run.status, kBadInput);
    EXPECT_EQ(run.err, Cat({"flamer_host: cannot read the scenario ", dir.string(),
                            ": it is a folder, not a file\n"}));
    EXPECT_EQ(run.out, "");
}

// A device that never ends stops at its first NUL byte, which the checker
// refuses, as a file, as standard input or as a pipe.
TEST_F(HostProgramTest, EndlessDevicesStopAtOnce) {
    for (const char* args : {"/dev/zero", "- </dev/zero", "/dev/stdin </dev/zero"}) {
        const Outcome run = Run(args);
        EXPECT_EQ(run.status, kBadInput) << args;
        EXPECT_TRUE(Contains(run.err, ":1: NUL byte in column 1:")) << args << ": " << run.err;
        EXPECT_EQ(run.out, "") << args;
    }
}

// A scenario larger than memory is not read, nor played in part; running
// out of memory later is said, never an abort.
TEST_F(HostProgramTest, MemoryThatRunsOutIsSaid) {
    if (kSanitized) GTEST_SKIP() << "memory limits do not apply to sanitized programs";
    const fs::path big = dir / "big.txt";
    Script("big.txt", "flamer f pos 0 0 0\n");
    fs::resize_file(big, std::uintmax_t{1} << 40);  // a terabyte, sparse
    const Outcome tooBig = Run(ShellQuoted(big));
    EXPECT_EQ(tooBig.status, kBadInput);
    EXPECT_EQ(tooBig.err, Cat({"flamer_host: cannot read the scenario ", big.string(),
                               ": not enough memory\n"}));
    EXPECT_EQ(tooBig.out, "");

    std::string many;
    for (int i = 0; i < 200000; ++i)
        many += Cat(
            {"entity e", std::to_string(i), " pos ", std::to_string(i), " 0 0 box 0 0 0 1 1 1\n"});
    Script("many.txt", many);
    for (const char* limit : {"60000000", "90000000", "150000000"}) {
        const Outcome run = Run("many.txt", FLAMER_HOST_PATH, Cat({"prlimit --as=", limit, " --"}));
        EXPECT_TRUE(run.status == 0 || run.status == kRunFailed || run.status == kBadInput)
            << limit << ": status " << run.status;
        if (run.status != 0) {
            EXPECT_TRUE(Contains(run.err, "not enough memory")) << limit << ": " << run.err;
        }
    }
}

// A link planted where a picture or the index goes is replaced, never
// written through; the probe of the folder writes through nothing either.
TEST_F(HostProgramTest, PlantedLinksAreNotWrittenThrough) {
    const fs::path pictures = dir / "svg";
    fs::create_directories(pictures);
    const fs::path victim = Script("victim", "keep");
    for (const char* name : {"explosion-01.svg", "index.html", ".flamer_host-write-test"})
        fs::create_symlink(victim, pictures / name);

    const Outcome run = Run(Cat({"--svg ", ShellQuoted(pictures)}));

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(victim), "keep");
    EXPECT_FALSE(fs::is_symlink(pictures / "explosion-01.svg"));
    EXPECT_TRUE(Contains(ReadFile(pictures / "explosion-01.svg"), "<svg"));
    EXPECT_TRUE(Contains(ReadFile(pictures / "index.html"), "<html"));
}

// A disk that fills (here a limit on file sizes) stops the run with the
// reason; the pictures written whole stay, the one cut short leaves no
// file, and the index shows what was drawn.
TEST_F(HostProgramTest, FullDiskGivesTheReasonAndKeepsWhatWasComplete) {
    const fs::path pictures = dir / "svg";
    // The first picture of the built-in scenario takes about 28 kB, the
    // second about 31 kB.
    const Outcome run =
        Run(Cat({"--svg ", ShellQuoted(pictures)}), FLAMER_HOST_PATH, "prlimit --fsize=30000 --");

    EXPECT_EQ(run.status, kRunFailed);
    EXPECT_TRUE(
        Contains(run.err, Cat({"built-in:27: cannot write ",
                               (pictures / "explosion-02.svg").string(), ": File too large\n"})))
        << run.err;
    EXPECT_TRUE(Contains(ReadFile(pictures / "explosion-01.svg"), "</svg>"));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pictures))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"explosion-01.svg", "index.html"}));
}

// A picture folder that is a link to a missing place is said to be one.
TEST_F(HostProgramTest, PictureFolderLinkedToNowhereIsSaidToBe) {
    fs::create_symlink(dir / "missing", dir / "pictures");

    const Outcome run = Run("--svg pictures");

    EXPECT_EQ(run.status, kBadInput);
    EXPECT_EQ(run.err, Cat({"flamer_host: cannot write pictures into pictures: it is a link to "
                            "a missing place (",
                            (dir / "missing").string(), ")\n"}));
}

// The picture folder is checked before anything runs, not at the first
// explosion.
TEST_F(HostProgramTest, PictureFolderThatCannotBeWrittenIsRefusedFirst) {
    Script("taken", "a file where the folder would go");
    const Outcome run = Run("--svg taken/pictures");

    EXPECT_EQ(run.status, kBadInput);
    EXPECT_TRUE(Contains(run.err, "flamer_host: cannot write pictures into taken/pictures: "))
        << run.err;
    EXPECT_EQ(run.out, "");
}

// A Flamer that died of an explosion's damage is not killed (and exploded)
// again by a later kill; its corpse is placed all the same.
TEST_F(HostProgramTest, KillOfAFlamerThatAlreadyDiedSaysSo) {
    Script("chain.txt",
           "set flamer_splash_damage 100\n"
           "flamer a pos 0 0 0\n"
           "flamer b pos 30 0 0\n"
           "kill a 2\n"
           "kill b 2\n"
           "event b fireblow\n");

    const Outcome run = Run("chain.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         "explosion 3 at b (30, 0, 0), splash radius 100, set off by the "
                         "death of b in explosion 1\n"));
    EXPECT_TRUE(Contains(run.out,
                         "line 5: kill b 2\n"
                         "  b already died of the damage of explosion 1: it is not killed again\n"
                         "  no explosion\n"
                         "  corpse b.corpse placed at (30, 0, 0)\n"
                         "  health afterwards: b 0 (dead)\n"))
        << run.out;
    EXPECT_EQ(Count(run.out, "\n  explosion "), 4u);  // a's kill, both deaths, b's corpse
}

// A scenario saved with a byte-order mark plays from its first command.
TEST_F(HostProgramTest, ByteOrderMarkIsSkipped) {
    Script("bom.txt",
           "\xEF\xBB\xBF"
           "flamer a pos 0 0 0\nkill a 0\n");

    const Outcome run = Run("bom.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "line 1: flamer a pos 0 0 0\n  Flamer a at (0, 0, 0)"));
}

}  // namespace
