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

TEST_F(HostProgramTest, ModulesPlayBesideTheFlamer) {
    Script("modules.txt",
           "set beacon_effect plSpark\n"
           "set plFlamer.flamer_explosion plSpark\n"
           "set flamer_splash_damage 100\n"
           "spawn plBeacon b pos 0 0 0\n"
           "flamer f pos 200 0 0\n"
           "kill b 1\n"
           "kill f 1\n");

    const Outcome run = Run(kAllModules + "modules.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& r = run.out;
    EXPECT_TRUE(Contains(r, "\nclass parameters of plBeacon\n    beacon_effect  text     \"\"\n"))
        << r;
    EXPECT_TRUE(Contains(r, "\nclass parameters of plSpark: none\n"));
    EXPECT_TRUE(Contains(r,
                         "  plFlamer.flamer_explosion is now \"plSpark\"; effect class bound: "
                         "plSpark\n"));
    EXPECT_TRUE(Contains(r, "  plBeacon b at (0, 0, 0), health 100\n"));
    // The Beacon's death starts the module's effect, which prints on the
    // engine's console.
    EXPECT_TRUE(Contains(r,
                         "line 6: kill b 1\n"
                         "  effect plSpark started by b at\n"
                         "    [   1.000    0.000    0.000    0.000 ]\n"
                         "    [   0.000    1.000    0.000    0.000 ]\n"
                         "    [   0.000    0.000    1.000    0.000 ]\n"
                         "    [   0.000    0.000    0.000    1.000 ]\n"
                         "  console: plSpark: spark 1 at (0, 0, 0)\n"
                         "  corpse b.corpse placed at (0, 0, 0)\n"
                         "  health afterwards: b 0 (dead)\n"))
        << r;
    // The Flamer's explosion starts the effect class it bound through the
    // registry.
    EXPECT_TRUE(Contains(r,
                         "      effect plSpark started at\n"
                         "        [   1.000    0.000    0.000    0.000 ]\n"
                         "        [   0.000    1.000    0.000    0.000 ]\n"
                         "        [   0.000    0.000    1.000    0.000 ]\n"
                         "        [ 200.000    0.000    0.000    1.000 ]\n"
                         "      console: plSpark: spark 2 at (200, 0, 0)\n"))
        << r;
    EXPECT_TRUE(Contains(r, "\nleak report: none\n"));
}

// A Beacon the Flamer's blast kills dies once the explosion has finished;
// its death, and the effect its death starts, are reported with their cause.
TEST_F(HostProgramTest, DeathOfAModuleObjectNamesItsCause) {
    Script("death.txt",
           "set beacon_effect plSpark\n"
           "set flamer_splash_damage 100\n"
           "flamer f pos 0 0 0\n"
           "spawn plBeacon b pos 30 0 0\n"
           "kill f 1\n");

    const Outcome run = Run(kAllModules + "death.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         "  b died of the damage of explosion 1\n"
                         "  effect plSpark started by b at\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "  health afterwards: f 0 (dead), b 0 (dead)\n"));
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
