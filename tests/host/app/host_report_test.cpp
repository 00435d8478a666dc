// What the report says about explosions: the pick limit, a negative radius,
// chain reactions, and that its size follows the scenario's.
#include "host_program_run.h"

#include <algorithm>

namespace {

using namespace flamer_host::testing;

std::string ChainScenario(int flamers) {
    std::string text = "set flamer_splash_damage 100\n";
    for (int i = 0; i < flamers; ++i)
        text += Cat({"flamer f", std::to_string(i), " pos ", std::to_string(50 * i), " 0 0\n"});
    return text + "kill f0 2\n";
}

std::size_t WidestMargin(const std::string& report) {
    std::size_t widest = 0;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);)
        widest = std::max(widest, line.find_first_not_of(' '));
    return widest;
}

// More entities in the cube than the plug-in's list holds: the nearest to the
// centre are picked, and the report says how many were in the cube.
TEST_F(HostProgramTest, CrowdedCubeReportsThePickLimit) {
    std::string text = "flamer centre pos 0 0 0\n";
    for (int i = 0; i < 40; ++i)
        text += Cat({"entity far", std::to_string(i), " pos 90 90 ", std::to_string(90 - i),
                     " box -1 -1 -1 1 1 1\n"});
    text += "entity near pos 5 0 0 box -1 -1 -1 1 1 1\nkill centre 2\n";
    Script("crowd.txt", text);

    const Outcome run = Run("crowd.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         ": 42 in the cube, the 32 nearest its centre picked (the limit "
                         "is 32)\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "HIT    near "));
    // The ten corner entities farthest from the centre are left out, and
    // listed as such, nearest first.
    EXPECT_TRUE(Contains(run.out, "missed far10 "));
    EXPECT_FALSE(Contains(run.out, "missed far9 "));
    EXPECT_TRUE(Contains(run.out,
                         "      not picked, over the pick limit (nearest first):\n"
                         "        far9    box (89, 89, 80) to (91, 91, 82)  distance 149.138, in "
                         "the cube, over the pick limit of 32\n"
                         "        far8    box (89, 89, 81) to (91, 91, 83)  distance 149.676, "))
        << run.out;
    EXPECT_TRUE(Contains(run.out,
                         "        far0    box (89, 89, 89) to (91, 91, 91)  distance "
                         "154.153, in the cube, over the pick limit of 32\n"
                         "      damage message (3) to centre"));
}

// What the record keeps of those left out is bounded; the report counts the
// rest. Entities above and below the cube are said to be so.
TEST_F(HostProgramTest, LeftOutBeyondTheListAreCounted) {
    std::string text = "flamer centre pos 0 0 0\n";
    for (int i = 0; i < 60; ++i)
        text += Cat(
            {"entity e", std::to_string(i), " pos ", std::to_string(i), " 0 0 box 0 0 0 1 1 1\n"});
    for (int i = 0; i < 20; ++i)
        text += Cat({"entity up", std::to_string(i), " pos ", std::to_string(i),
                     " 110 0 box 0 0 0 1 1 1\n"});
    text += "entity down pos 0 -120 0 box 0 0 0 1 1 1\nkill centre 2\n";
    Script("many.txt", text);

    const Outcome run = Run("many.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         ": 61 in the cube, the 32 nearest its centre picked (the limit is 32)\n"));
    // 29 over the limit: 16 listed; 21 outside: 16 listed.
    EXPECT_TRUE(Contains(run.out, "        and 13 more\n      not picked, outside the cube"));
    EXPECT_TRUE(Contains(run.out, "        and 5 more\n      damage message"));
    EXPECT_TRUE(Contains(run.out,
                         "up0     box (0, 110, 0) to (1, 111, 1)  distance 110.000, outside "
                         "the cube: above its top, y = 100\n"));
    EXPECT_FALSE(Contains(run.out, "        up19 "));  // the farthest above: counted, not listed
}

// Names from outside reach the report escaped, wherever it echoes them: no
// byte of a name can drive the terminal.
TEST_F(HostProgramTest, ControlBytesOfNamesAreShownEscaped) {
    Script("escape.txt",
           "effect \"fx\x1b[31m\"\n"
           "set flamer_explosion \"fx\x1b[31m\"\n"
           "flamer f pos 0 0 0\n"
           "kill f 1\n");

    const Outcome run = Run("escape.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_TRUE(Contains(run.out, "  effect class fx\\x1B[31m registered as \"custom\"\n"));
    EXPECT_TRUE(Contains(run.out, "effect class bound: fx\\x1B[31m\n"));
    EXPECT_TRUE(Contains(run.out, "      effect fx\\x1B[31m started at\n"));
}

TEST_F(HostProgramTest, NegativeSplashRadiusIsNoted) {
    Script("negative.txt", "set flamer_splash_radius -5\nflamer a pos 0 0 0\nkill a 2\n");

    const Outcome run = Run("negative.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    const std::string note =
        " (negative: the query cube is inverted, nothing is picked or reached)";
    EXPECT_TRUE(Contains(run.out, Cat({"flamer_splash_radius is now -5", note, "\n"})));
    EXPECT_TRUE(Contains(run.out, Cat({"explosion 1 at a (0, 0, 0), splash radius -5", note})));
    EXPECT_TRUE(Contains(run.out, ": 0 in the cube, 0 picked\n"));
}

// The largest splash radius an integer parameter holds is shown as the
// float the plug-in compares with.
TEST_F(HostProgramTest, LargestSplashRadiusIsReported) {
    Script("large.txt",
           "set flamer_splash_radius 2147483647\n"
           "entity e pos 0 0 0 box -1e30 0 0 1e30 1 1\n"
           "flamer f pos 0 0 0\n"
           "kill f 1\n");

    const Outcome run = Run("large.txt");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "explosion 1 at f (0, 0, 0), splash radius 2.14748e+09\n"));
    EXPECT_TRUE(Contains(run.out, "HIT    e "));
}

// A chain reaction is reported one explosion after another, each naming the
// one that set it off; the report grows with the chain, its margin does not.
TEST_F(HostProgramTest, ChainReactionReportStaysFlat) {
    Script("short.txt", ChainScenario(100));
    Script("long.txt", ChainScenario(200));

    const Outcome shorter = Run("short.txt");
    const Outcome longer = Run("long.txt");

    ASSERT_EQ(shorter.status, 0) << shorter.err;
    ASSERT_EQ(longer.status, 0) << longer.err;
    EXPECT_EQ(Count(longer.out, "\n  explosion "), 201u);
    EXPECT_TRUE(Contains(longer.out,
                         "explosion 201 at f199 (9950, 0, 0), splash radius 100, set "
                         "off by the death of f199 in explosion 199\n"));
    EXPECT_EQ(WidestMargin(longer.out), WidestMargin(shorter.out));
    EXPECT_LT(longer.out.size(), shorter.out.size() * 21 / 10);
}

// scripts/run.sh takes the scenario and the picture folder relative to the
// folder it is run from. It builds the default preset, so it is tried only
// from the tests of that build.
TEST_F(HostProgramTest, RunScriptTakesPathsFromTheCallersFolder) {
    const fs::path source = FLAMER_SOURCE_DIR;
    if (fs::path(FLAMER_HOST_PATH) != source / "build/default/host/app/flamer_host")
        GTEST_SKIP() << "only from the default build";
    Script("play.txt", "flamer a pos 0 0 0\nkill a 2\n");

    const Outcome run = Run("play.txt --svg pictures", (source / "scripts/run.sh").string());

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "scenario play.txt: 2 commands"));
    EXPECT_TRUE(fs::exists(dir / "pictures/explosion-01.svg"));
}

}  // namespace
