// What the host program refuses, and says why: scenarios that are folders,
// picture folders it cannot write to, and a kill of a Flamer that already
// died.
#include "host_program_run.h"

namespace {

using namespace flamer_host::testing;

TEST_F(HostProgramTest, FolderGivenAsTheScenarioIsRefused) {
    const Outcome run = Run(ShellQuoted(dir));

    EXPECT_EQ(run.status, kBadInput);
    EXPECT_EQ(run.err, Cat({"flamer_host: cannot read the scenario ", dir.string(),
                            ": it is a folder, not a file\n"}));
    EXPECT_EQ(run.out, "");
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
