// The scenario language: what a sound script turns into, and how a broken
// one is refused line by line before anything runs.
#include "scenario.h"

#include <gtest/gtest.h>

namespace {

using flamer_host::CommandKind;
using flamer_host::ParamInfo;
using flamer_host::ParamKind;
using flamer_host::ParseScenario;

const std::vector<ParamInfo> kParams = {
    {"flamer_explosion", ParamKind::kText, 128},
    {"flamer_splash_radius", ParamKind::kInt, 128},
    {"flamer_impulse", ParamKind::kFloat, 128},
};

std::vector<std::string> Errors(const std::string& script) {
    std::vector<std::string> lines;
    for (const auto& error : ParseScenario(script, "s.txt", kParams).errors)
        lines.push_back(flamer_host::FormatError(error));
    return lines;
}

TEST(ScenarioParse, SoundScriptBecomesCommands) {
    const auto result = ParseScenario(
        "# comment\n"
        "\n"
        "SET flamer_splash_radius 80   # trailing comment\n"
        "set FLAMER_IMPULSE -2.5e1\n"
        "set flamer_explosion \"\"\n"
        "effect fx_boom\n"
        "entity crate pos 1 2 3 box -1 -2 -3 4 5 6 health 7\n"
        "flamer f1 pos 0 0 0\n"
        "kill f1 -3\n"
        "event f1 \"fireblow \"\n"
        "move crate 9 8 7\r\n",
        "s.txt", kParams);
    ASSERT_TRUE(result.errors.empty()) << flamer_host::FormatError(result.errors[0]);
    const auto& c = result.scenario.commands;
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[0].intValue, 80);
    EXPECT_EQ(c[0].sourceText, "SET flamer_splash_radius 80");
    EXPECT_EQ(c[1].name, "flamer_impulse");  // the class's own spelling
    EXPECT_EQ(c[1].floatValue, -25.0f);
    EXPECT_EQ(c[2].paramKind, ParamKind::kText);
    EXPECT_EQ(c[2].text, "");
    EXPECT_EQ(c[4].kind, CommandKind::kEntity);
    EXPECT_EQ(c[4].boxMin.z, -3.0f);
    EXPECT_EQ(c[4].boxMax.x, 4.0f);
    EXPECT_EQ(c[4].health, 7);
    EXPECT_EQ(c[5].boxMin.y, flamer_host::kDefaultFlamerBoxMin.y);
    EXPECT_EQ(c[6].intValue, -3);
    EXPECT_EQ(c[7].text, "fireblow ");
    EXPECT_EQ(c[7].sourceText, "event f1 \"fireblow \"");
    EXPECT_EQ(c[8].position.z, 7.0f);
}

struct BrokenCase {
    const char* script;
    const char* error;  // the one expected message, with file and line
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << '"' << c.script << '"'; }

class ScenarioBrokenTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(ScenarioBrokenTest, IsRefusedWithFileAndLine) {
    EXPECT_EQ(Errors(GetParam().script), std::vector<std::string>{GetParam().error});
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScenarioBrokenTest,
    ::testing::Values(
        BrokenCase{"explode f1", "s.txt:1: unknown command 'explode'"},
        BrokenCase{"\nset flamer_radius 5", "s.txt:2: unknown parameter 'flamer_radius'"},
        BrokenCase{"set flamer_splash_radius",
                   "s.txt:1: missing integer parameter 'flamer_splash_radius'"},
        BrokenCase{"set flamer_splash_radius 1.5",
                   "s.txt:1: malformed integer '1.5' for integer parameter 'flamer_splash_radius'"},
        BrokenCase{"set flamer_splash_radius 99999999999",
                   "s.txt:1: integer '99999999999' for integer parameter 'flamer_splash_radius' is "
                   "out of range"},
        BrokenCase{"set flamer_impulse fast",
                   "s.txt:1: malformed number 'fast' for number parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_impulse 1e99",
                   "s.txt:1: number '1e99' for number parameter 'flamer_impulse' is out of range"},
        BrokenCase{"set flamer_impulse nan",
                   "s.txt:1: number 'nan' for number parameter 'flamer_impulse' is not a number"},
        BrokenCase{"set flamer_splash_radius 5 6", "s.txt:1: unexpected '6' after the command"},
        BrokenCase{"entity crate pos 1 2 box 0 0 0 1 1 1",
                   "s.txt:1: malformed number 'box' for position z"},
        BrokenCase{"entity crate pos 1 2 3", "s.txt:1: missing 'box'"},
        BrokenCase{"entity crate at 1 2 3", "s.txt:1: expected 'pos', found 'at'"},
        BrokenCase{"entity crate pos 0 0 0 box 1 0 0 0 1 1",
                   "s.txt:1: box minimum lies above its maximum"},
        BrokenCase{"entity crate pos 0 0 0 box 0 0 0 1 1 1 health lots",
                   "s.txt:1: malformed integer 'lots' for health"},
        BrokenCase{"kill f1 2", "s.txt:1: unknown Flamer 'f1'"},
        BrokenCase{"entity c pos 0 0 0 box 0 0 0 1 1 1\nkill c 2",
                   "s.txt:2: 'c' is an entity, not a Flamer"},
        BrokenCase{"flamer f1 pos 0 0 0\nkill f1", "s.txt:2: missing kill flag"},
        BrokenCase{"flamer f1 pos 0 0 0\nkill f1 2\nkill f1 2",
                   "s.txt:3: Flamer 'f1' is already dead (killed on line 2)"},
        BrokenCase{"flamer f1 pos 0 0 0\nevent f1 fireblow",
                   "s.txt:2: Flamer 'f1' has no corpse yet: kill it first"},
        BrokenCase{"flamer f1 pos 0 0 0\nkill f1 2\nevent f1", "s.txt:3: missing event text"},
        BrokenCase{"flamer f1 pos 0 0 0\nflamer f1 pos 1 1 1",
                   "s.txt:2: 'f1' is already defined on line 1"},
        BrokenCase{"move ghost 1 2 3", "s.txt:1: unknown entity 'ghost'"},
        BrokenCase{"flamer f1.corpse pos 0 0 0",
                   "s.txt:1: Flamer name 'f1.corpse' may hold only letters, digits, '_' and '-'"},
        BrokenCase{"effect fx\neffect FX", "s.txt:2: effect class 'FX' is already registered"},
        BrokenCase{"set flamer_explosion \"fx", "s.txt:1: unterminated quoted text"}));

TEST(ScenarioParse, TextTooLongForItsField) {
    const std::string longest(127, 'x');
    EXPECT_TRUE(Errors("set flamer_explosion " + longest).empty());
    EXPECT_EQ(Errors("set flamer_explosion " + longest + "y"),
              std::vector<std::string>{
                  "s.txt:1: text for 'flamer_explosion' is too long: 128 characters, at most 127"});
    EXPECT_EQ(Errors("effect " + std::string(64, 'e')),
              std::vector<std::string>{"s.txt:1: effect class name '" + std::string(64, 'e') +
                                       "' is too long: 64 characters, at most 63"});
}

// Every broken line is reported, and a name whose definition was refused
// stays unknown.
TEST(ScenarioParse, EveryProblemIsCollected) {
    EXPECT_EQ(Errors("bogus\n"
                     "flamer f1 pos 0 0\n"
                     "kill f1 2\n"
                     "set flamer_splash_radius 10\n"
                     "set flamer_splash_radius x\n"),
              (std::vector<std::string>{
                  "s.txt:1: unknown command 'bogus'", "s.txt:2: missing position z",
                  "s.txt:3: unknown Flamer 'f1'",
                  "s.txt:5: malformed integer 'x' for integer parameter 'flamer_splash_radius'"}));
}

}  // namespace
