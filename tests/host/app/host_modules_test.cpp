// Modules other than the Flamer, played beside it: their parameters set,
// their objects spawned and killed, the effects they start and what they
// print reported; the Flamer binding an effect class a module brought; and
// the modules the host refuses, with the reason.
#include "host_program_run.h"

namespace {

using namespace flamer_host::testing;

std::string Modules(std::initializer_list<const char*> paths) {
    std::string args;
    for (const char* path : paths) args += Cat({"--plugin '", path, "' "});
    return args;
}

const std::string kAllModules = Modules({PLFLAMER_PATH, PLBEACON_PATH, PLSPARK_PATH});

// The documented scenario of the example modules: their parameters set,
// a Beacon killed by the scenario and one by the Flamer's blast (its death
// named with its cause), every start of the module's effect, which the
// Flamer bound through the registry, reported with what the module printed.
TEST_F(HostProgramTest, ModulesPlayBesideTheFlamer) {
    const fs::path scenario =
        fs::path(FLAMER_SOURCE_DIR) / "docs/scenarios/modules/flamer-beacon-spark.txt";

    const Outcome run = Run(kAllModules + ShellQuoted(scenario));

    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& r = run.out;
    EXPECT_TRUE(Contains(r, "\nclass parameters of plBeacon\n    beacon_effect  text     \"\"\n"))
        << r;
    EXPECT_TRUE(Contains(r, "\nclass parameters of plSpark: none\n"));
    EXPECT_TRUE(
        Contains(r, "  flamer_explosion is now \"plSpark\"; effect class bound: plSpark\n"));
    EXPECT_TRUE(Contains(r, "  plBeacon b1 at (40, 0, 0), health 100\n"));
    EXPECT_TRUE(Contains(r,
                         "      effect plSpark started at\n"
                         "        [   1.000    0.000    0.000    0.000 ]\n"
                         "        [   0.000    1.000    0.000    0.000 ]\n"
                         "        [   0.000    0.000    1.000    0.000 ]\n"
                         "        [   0.000    0.000    0.000    1.000 ]\n"
                         "      console: plSpark: spark 1 at (0, 0, 0)\n"))
        << r;
    EXPECT_TRUE(Contains(r,
                         "  b1 died of the damage of explosion 2\n"
                         "  effect plSpark started by b1 at\n"
                         "    [   1.000    0.000    0.000    0.000 ]\n"
                         "    [   0.000    1.000    0.000    0.000 ]\n"
                         "    [   0.000    0.000    1.000    0.000 ]\n"
                         "    [  40.000    0.000    0.000    1.000 ]\n"
                         "  console: plSpark: spark 3 at (40, 0, 0)\n"
                         "  console: D3DX: (INFO) Using "))
        << r;
    // Each module's math library says which instructions it chose, on the
    // engine's console, at its first call.
    EXPECT_EQ(Count(r, "  console: D3DX: (INFO) Using "), 2u);
    EXPECT_TRUE(Contains(r,
                         " Instructions\n"
                         "  event \"fireblow\" reached 1 callback\n"
                         "  health afterwards: f1 0 (dead), b1 0 (dead), crate 0\n"))
        << r;
    EXPECT_TRUE(Contains(r, "line 26: kill b2 1\n  effect plSpark started by b2 at\n"));
    EXPECT_TRUE(Contains(r,
                         "  console: plSpark: spark 4 at (300, 0, 0)\n"
                         "  corpse b2.corpse placed at (300, 0, 0)\n"));
    EXPECT_TRUE(Contains(r, "\nleak report: none\n"));
}

// Modules are refused with the reason before anything runs: status 2 for a
// command line that names one class twice, 1 for a module that does not
// load or makes no class object.
TEST_F(HostProgramTest, ModulesThatCannotBeLoadedAreNamed) {
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {Modules({PLFLAMER_PATH, PLFLAMER_PATH}), kBadInput,
         Cat({"flamer_host: two modules give the class name plFlamer: ", PLFLAMER_PATH, " and ",
              PLFLAMER_PATH, "\n"})},
        {Modules({NULL_CLASS_PATH}), kRunFailed,
         Cat({"flamer_host: the module ", NULL_CLASS_PATH,
              " made no class object (its CreateObjClass returned null)\n"})},
        {Modules({NO_FACTORY_PATH}), kRunFailed,
         Cat({"flamer_host: the module ", NO_FACTORY_PATH, " has no CreateObjClass"})},
    };
    for (const Case& c : cases) {
        const Outcome run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err.substr(0, c.message.size()), c.message) << c.args;
        EXPECT_FALSE(Contains(run.out, "scenario")) << run.out;
    }
}

// A class whose objects are not classic players fails where it is spawned.
TEST_F(HostProgramTest, ClassThatMakesNoClassicPlayerFailsWhereItIsSpawned) {
    Script("odd.txt", "spawn odd_objects o pos 0 0 0\n");

    const Outcome run = Run(Modules({ODD_OBJECTS_PATH}) + "odd.txt");

    EXPECT_EQ(run.status, kRunFailed);
    EXPECT_EQ(run.err, "odd.txt:1: the class odd_objects made no classic player object for o\n");
    EXPECT_TRUE(Contains(run.out, "\nleak report: none\n"));
}

}  // namespace
