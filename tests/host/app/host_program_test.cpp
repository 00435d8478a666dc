// The host program run as a person runs it: the built-in scenario's report,
// pictures, and broken scenarios and command lines refused with status 2.
#include "d3dx_math.h"
#include "host_program_run.h"
#include "svg_document.h"

namespace {

using namespace flamer_host::testing;

TEST_F(HostProgramTest, DefaultScenarioReportsBothRoads) {
    const Outcome run = Run("");

    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& r = run.out;
    for (const char* part :
         {"flamer_explosion      text     \"fx_boom\"", "flamer_splash_radius  integer  100",
          "flamer_splash_damage  integer  20", "flamer_impulse        float    200",
          "flamer_rot_impulse    float    50", "effect class bound: fx_boom"})
        EXPECT_TRUE(Contains(r, part)) << part;
    // The kill road, then the corpse road.
    EXPECT_TRUE(Contains(r, "explosion 1 at f1 (0, 0, 0), splash radius 100"));
    EXPECT_TRUE(Contains(r, "corpse f1.corpse placed at (0, 0, 0)"));
    EXPECT_TRUE(Contains(r, "at f1.corpse (0, 0, 0)"));
    EXPECT_TRUE(Contains(
        r,
        "line 28: event f1 fireblows\n  no explosion\n  event \"fireblows\" reached 1 callback\n"));
    // The boundary is a hit; a big box reaches in; the cube's corner misses.
    EXPECT_TRUE(Contains(
        r, "HIT    crate   box (100, -10, -10) to (120, 10, 10)  distance 100.000 <= 100"));
    EXPECT_TRUE(Contains(
        r, "HIT    wall    box (-150, -50, -270) to (150, 50, -90)  distance 90.000 <= 100"));
    EXPECT_TRUE(
        Contains(r, "missed lamp    box (80, -5, 80) to (90, 5, 90)  distance 113.137 > 100"));
    EXPECT_TRUE(
        Contains(r, "missed beacon  box (-81, -5, 71) to (-71, 5, 81)  distance 100.409 > 100"));
    // The tower stands beside the cube: never picked, and the report says why.
    EXPECT_TRUE(Contains(r,
                         "      not picked, outside the cube but near it (nearest first):\n"
                         "        tower   box (130, -20, 20) to (170, 20, 60)  distance 131.529, "
                         "outside the cube: beyond its side x = 100\n"));
    EXPECT_TRUE(Contains(r, "distance 100.000 <= 100, nearest point (100, 0, 0)\n"));
    // Messages, the effect and what is left.
    EXPECT_TRUE(Contains(r,
                         "damage message (3) to f1: damage 20, impulse 200, rotImpulse 50\n"
                         "        origin (0, 0, 0), direction (0, 24, 0)"));
    EXPECT_TRUE(Contains(r,
                         "damage message (3) to crate: damage 20, impulse 200, rotImpulse 50\n"
                         "        origin (0, 0, 0), direction (110, 24, 0)"));
    EXPECT_TRUE(Contains(r, "effect fx_boom started at"));
    // The math library's choice, said on the engine's console at its first
    // call.
    EXPECT_EQ(Count(r, "\n  console: D3DX: (INFO) Using "), 1u);
    EXPECT_TRUE(Contains(r, "[ -60.000    0.000    0.000    1.000 ]"));
    // Health is shown for what the command's messages reached.
    EXPECT_TRUE(
        Contains(r, "health afterwards: f1 0 (dead), f2 80, barrel 80, crate 80, wall 80\n"));
    EXPECT_FALSE(Contains(r, "tower 500"));
    EXPECT_EQ(Count(r, "\n  explosion "), 6u);  // none indented under another
    EXPECT_TRUE(Contains(r,
                         "explosion 6 at f2 (-60, 0, 0), splash radius 100, set off by the "
                         "death of f2 in explosion 5\n"));
    EXPECT_TRUE(Contains(r, "\nleak report: none\n"));
}

// Every explosion of the built-in scenario is drawn and listed in the index,
// in order, each picture well-formed with its verdicts.
TEST_F(HostProgramTest, PicturesShowEveryExplosion) {
    const fs::path pictures = dir / "svg";

    const Outcome run = Run(Cat({"--svg ", ShellQuoted(pictures)}));

    ASSERT_EQ(run.status, 0) << run.err;
    for (int number = 1; number <= 6; ++number) {
        const std::string name = Cat({"explosion-0", std::to_string(number), ".svg"});
        const SvgDocument svg(ReadFile(pictures / name));
        ASSERT_TRUE(svg.Parsed()) << name << ": " << svg.Error();
        EXPECT_TRUE(Contains(run.out, Cat({"picture: ", (pictures / name).string(), "\n"})));
    }
    EXPECT_FALSE(fs::exists(pictures / "explosion-07.svg"));
    const SvgDocument first(ReadFile(pictures / "explosion-01.svg"));
    Element top = first.View("top-view");
    EXPECT_EQ(FindAll(top, "rect", {"box", "hit"}).size(), 5u);
    EXPECT_EQ(FindAll(top, "rect", {"box", "missed"}).size(), 2u);
    EXPECT_EQ(FindAll(top, "line", {"push"}).size(), 4u);  // f1 itself is pushed straight up
    EXPECT_EQ(FindAll(top, "circle", {"push-ring"}).size(), 1u);
    // The tower stands beside the cube: drawn, not picked.
    EXPECT_NE(Named(top, "rect", {"box", "outside"}, "tower"), nullptr);
    // The last explosion was set off by the death of f2 and links to the one
    // that killed it.
    // The last links back and to the index, not to a next one.
    const SvgDocument last(ReadFile(pictures / "explosion-06.svg"));
    EXPECT_EQ(Links(last.Root()),
              (std::vector<std::string>{"explosion-05.svg", "index.html#explosion-6",
                                        "explosion-05.svg"}));
    const std::string index = ReadFile(pictures / "index.html");
    EXPECT_EQ(Count(index, "<img src=\"explosion-0"), 12u);  // two views of each
    EXPECT_TRUE(Contains(index, "set off by the death of f2 in <a href=\"#explosion-5\">"));
    EXPECT_TRUE(Contains(run.out, Cat({"pictures: ", (pictures / "index.html").string(),
                                       " shows the 6 explosions drawn\n"})));
}

// A folder used again keeps no picture of an earlier, longer run; names
// this program never writes are left alone.
TEST_F(HostProgramTest, PicturesOfAnEarlierRunAreRemoved) {
    const fs::path pictures = dir / "svg";
    fs::create_directories(pictures);
    for (const char* name :
         {"explosion-07.svg", "explosion-100.svg", "explosion-7.svg", "mine.svg"})
        Script(Cat({"svg/", name}), "old");

    const Outcome run = Run("--svg svg");

    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out,
                         " shows the 6 explosions drawn; 2 pictures of an earlier run "
                         "removed\n"))
        << run.out;
    EXPECT_FALSE(fs::exists(pictures / "explosion-07.svg"));
    EXPECT_FALSE(fs::exists(pictures / "explosion-100.svg"));
    EXPECT_TRUE(fs::exists(pictures / "explosion-7.svg"));
    EXPECT_TRUE(fs::exists(pictures / "mine.svg"));
}

// The example scenario of 40 entities at different heights: every picture
// readable, no two labels of a view on each other.
TEST_F(HostProgramTest, CrowdedScenarioPicturesKeepLabelsApart) {
    const fs::path scenario = fs::path(FLAMER_SOURCE_DIR) / "docs/scenarios/crowd-with-heights.txt";
    const fs::path pictures = dir / "svg";

    const Outcome run = Run(Cat({"--svg ", ShellQuoted(pictures), " ", ShellQuoted(scenario)}));

    ASSERT_EQ(run.status, 0) << run.err;
    int drawn = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(pictures)) {
        if (entry.path().extension() != ".svg") continue;
        ++drawn;
        const SvgDocument svg(ReadFile(entry.path()));
        ASSERT_TRUE(svg.Parsed()) << entry.path() << ": " << svg.Error();
        for (const char* view : {"top-view", "side-view"}) {
            EXPECT_GE(LabelsOf(svg.View(view)).size(), 20u) << entry.path() << " " << view;
            EXPECT_EQ(OverlappingLabels(svg.View(view)), std::vector<std::string>{})
                << entry.path() << " " << view;
        }
    }
    EXPECT_EQ(drawn, 3);
}

TEST_F(HostProgramTest, ScenarioFileAndStandardInputArePlayed) {
    const std::string script =
        "effect fx\nset flamer_explosion fx\nflamer a pos 1 2 3\nkill a 0\nevent a FIREBLOW\n";
    const fs::path path = Script("play.txt", script);

    const Outcome fromFile = Run(ShellQuoted(path));
    const Outcome fromInput = Run(Cat({"- <", ShellQuoted(path)}));

    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_TRUE(Contains(fromFile.out, Cat({"scenario ", path.string(), ": 5 commands"})));
    EXPECT_TRUE(Contains(fromFile.out, "line 4: kill a 0\n  no explosion"));
    EXPECT_TRUE(Contains(fromFile.out, "[   1.000    2.000    3.000    1.000 ]"));
    ASSERT_EQ(fromInput.status, 0) << fromInput.err;
    EXPECT_TRUE(Contains(fromInput.out, "scenario <stdin>: 5 commands"));
}

// A broken script is refused whole: its errors on stderr as file:line,
// nothing run, status 2.
TEST_F(HostProgramTest, BrokenScenarioRunsNothing) {
    const fs::path path = Script("broken.txt",
                                 "flamer f1 pos 0 0 0\n"
                                 "kill f1 2\n"
                                 "set flamer_splash_radius wide\n"
                                 "explode f1\n"
                                 "event f2 fireblow\n");

    const Outcome run = Run(ShellQuoted(path));

    EXPECT_EQ(run.status, kBadInput);
    EXPECT_EQ(run.out, "");
    const std::string p = path.string();
    EXPECT_EQ(
        run.err,
        Cat({p, ":3: malformed integer 'wide' for integer parameter 'flamer_splash_radius'\n", p,
             ":4: unknown command 'explode' (the commands: set, effect, entity, flamer, "
             "spawn, kill, event, move)\n",
             p, ":5: unknown object 'f2'\n", "3 errors: nothing was run\n"}));
}

TEST_F(HostProgramTest, TextTooLongForTheClassFieldIsRefused) {
    const fs::path path =
        Script("long.txt", Cat({"set flamer_explosion ", std::string(128, 'n'), "\n"}));

    const Outcome run = Run(ShellQuoted(path));

    EXPECT_EQ(run.status, kBadInput);
    EXPECT_TRUE(Contains(
        run.err,
        Cat({path.string(),
             ":1: text for 'flamer_explosion' is too long: 128 characters, at most 127"})));
}

// Usage errors are one line that points to --help, with status 2; values
// come as --name VALUE or --name=VALUE, and "--" ends the options.
TEST_F(HostProgramTest, CommandLineAsPeopleTypeIt) {
    struct Case {
        std::string args;
        std::string message;
    };
    const Case cases[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"--svg", "option '--svg' needs a value"},
        {"--svg=", "option '--svg' needs a value"},
        {"--help=x", "option '--help' takes no value"},
        {"a.txt b.txt", "more than one scenario given: a.txt and b.txt"},
    };
    for (const Case& c : cases) {
        const Outcome run = Run(c.args);
        EXPECT_EQ(run.status, kBadInput) << c.args;
        EXPECT_EQ(run.err, Cat({"flamer_host: ", c.message, " (try 'flamer_host --help')\n"}))
            << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }
    const Outcome missing = Run(ShellQuoted(dir / "missing.txt"));
    EXPECT_EQ(missing.status, kBadInput);
    EXPECT_EQ(missing.err, Cat({"flamer_host: cannot read the scenario ",
                                (dir / "missing.txt").string(), ": No such file or directory\n"}));

    Script("-odd.txt", "flamer a pos 0 0 0\nkill a 1\n");
    const Outcome played = Run("--svg=pictures -- -odd.txt");
    ASSERT_EQ(played.status, 0) << played.err;
    EXPECT_TRUE(Contains(played.out, "scenario -odd.txt: 2 commands"));
    EXPECT_TRUE(fs::exists(dir / "pictures/explosion-01.svg"));
}

TEST_F(HostProgramTest, HelpDefaultScenarioAndMissingPlugin) {
    const Outcome help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(Contains(help.out, "usage: "));

    const Outcome version = Run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "flamer_host (flamer) " D3DXMATH_VERSION_STRING "\n");

    const Outcome listing = Run("--print-default");
    EXPECT_EQ(listing.status, 0);
    EXPECT_TRUE(Contains(listing.out, "kill f1 2\n"));

    const Outcome noPlugin = Run(Cat({"--plugin ", ShellQuoted(dir / "none.so")}));
    EXPECT_EQ(noPlugin.status, 1);
    EXPECT_TRUE(Contains(noPlugin.err, "cannot load the module"));
}

}  // namespace
