// The scenario language: what a sound script turns into, and how a broken
// one is refused line by line before anything runs.
#include "commands.h"
#include "scenario.h"

#include <cfloat>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;
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
    EXPECT_EQ(c[0].verb->name, "set");
    EXPECT_EQ(std::get<int32_t>(c[0].As<flamer_host::SetArgs>().value), 80);
    EXPECT_EQ(c[0].sourceText, "SET flamer_splash_radius 80");
    EXPECT_EQ(c[1].As<flamer_host::SetArgs>().name, "flamer_impulse");  // the class's own spelling
    EXPECT_EQ(std::get<float>(c[1].As<flamer_host::SetArgs>().value), -25.0f);
    EXPECT_EQ(std::get<std::string>(c[2].As<flamer_host::SetArgs>().value), "");
    EXPECT_EQ(c[3].As<flamer_host::EffectArgs>().name, "fx_boom");
    const auto& entity = c[4].As<flamer_host::EntityArgs>();
    EXPECT_EQ(entity.boxMin.z, -3.0f);
    EXPECT_EQ(entity.boxMax.x, 4.0f);
    EXPECT_EQ(entity.health, 7);
    EXPECT_EQ(c[5].As<flamer_host::FlamerArgs>().boxMin.y, flamer_host::kDefaultFlamerBoxMin.y);
    EXPECT_EQ(c[6].As<flamer_host::KillArgs>().flag, -3);
    EXPECT_EQ(c[7].As<flamer_host::EventArgs>().text, "fireblow ");
    EXPECT_EQ(c[7].sourceText, "event f1 \"fireblow \"");
    EXPECT_EQ(c[8].As<flamer_host::MoveArgs>().position.z, 7.0f);
}

// Every verb of the table is reached by its name in any letter case.
TEST(ScenarioParse, EveryVerbIsFoundInAnyCase) {
    for (const char* name : {"set", "effect", "entity", "flamer", "kill", "event", "move"}) {
        ASSERT_NE(flamer_host::FindVerb(name), nullptr) << name;
        std::string upper(name);
        for (char& ch : upper) ch = static_cast<char>(ch - 'a' + 'A');
        EXPECT_EQ(flamer_host::FindVerb(upper), flamer_host::FindVerb(name)) << name;
    }
    EXPECT_EQ(flamer_host::VerbList(), "set, effect, entity, flamer, kill, event, move");
}

// A byte-order mark is no part of the first command; numbers as small as a
// float holds, and subnormal ones, are taken.
TEST(ScenarioParse, ByteOrderMarkAndExtremeNumbersAreRead) {
    const auto result = ParseScenario(
        "\xEF\xBB\xBF"
        "set flamer_impulse 1e-40\n"
        "set flamer_impulse +3.4e38\n"
        "set flamer_impulse .5\n"
        "set flamer_impulse 0.000e-99\n",
        "s.txt", kParams);
    ASSERT_TRUE(result.errors.empty()) << flamer_host::FormatError(result.errors[0]);
    const auto value = [&](int i) {
        return std::get<float>(
            result.scenario.commands[static_cast<std::size_t>(i)].As<flamer_host::SetArgs>().value);
    };
    EXPECT_GT(value(0), 0.0f);
    EXPECT_LT(value(0), FLT_MIN);
    EXPECT_EQ(value(1), 3.4e38f);
    EXPECT_EQ(value(2), 0.5f);
    EXPECT_EQ(value(3), 0.0f);
}

struct BrokenCase {
    std::string script;
    std::string error;  // the one expected message, with file and line
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << flamer_host::Enclosed(c.script, '"'); }

class ScenarioBrokenTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(ScenarioBrokenTest, IsRefusedWithFileAndLine) {
    EXPECT_EQ(Errors(GetParam().script), std::vector<std::string>{GetParam().error});
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScenarioBrokenTest,
    ::testing::Values(
        BrokenCase{"explode f1",
                   "s.txt:1: unknown command 'explode' (the commands: set, effect, entity, "
                   "flamer, kill, event, move)"},
        BrokenCase{"\nset flamer_radius 5", "s.txt:2: unknown parameter 'flamer_radius'"},
        BrokenCase{"set flamer_splash_radius",
                   "s.txt:1: missing integer parameter 'flamer_splash_radius'"},
        BrokenCase{"set flamer_splash_radius 1.5",
                   "s.txt:1: malformed integer '1.5' for integer parameter 'flamer_splash_radius'"},
        BrokenCase{"set flamer_splash_radius 99999999999",
                   "s.txt:1: integer '99999999999' for integer parameter 'flamer_splash_radius' is "
                   "out of range"},
        BrokenCase{"set flamer_impulse fast",
                   "s.txt:1: malformed number 'fast' for float parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_impulse 1e99",
                   "s.txt:1: number '1e99' for float parameter 'flamer_impulse' is out of range"},
        BrokenCase{"set flamer_impulse nan",
                   "s.txt:1: malformed number 'nan' for float parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_impulse inf",
                   "s.txt:1: malformed number 'inf' for float parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_impulse 0x1p3",
                   "s.txt:1: malformed number '0x1p3' for float parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_splash_radius 0x10",
                   "s.txt:1: malformed integer '0x10' for integer parameter "
                   "'flamer_splash_radius'"},
        BrokenCase{"set flamer_splash_radius \" 5\"",
                   "s.txt:1: malformed integer ' 5' for integer parameter 'flamer_splash_radius'"},
        BrokenCase{"set flamer_impulse \"\t5\"",
                   "s.txt:1: malformed number '\\x095' for float parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_impulse 2e",
                   "s.txt:1: malformed number '2e' for float parameter 'flamer_impulse'"},
        BrokenCase{"set flamer_impulse 1e-50",
                   "s.txt:1: number '1e-50' for float parameter 'flamer_impulse' is too small: it "
                   "would be 0"},
        BrokenCase{"flamer f\0x pos 0 0 0"s,
                   "s.txt:1: NUL byte in column 9: names, texts and numbers cannot hold one"},
        BrokenCase{"flamer f1 pos 0 0 0\nkill f1 2\nevent f1 \"fireblow\0!\""s,
                   "s.txt:3: NUL byte in column 19: names, texts and numbers cannot hold one"},
        BrokenCase{"\nexplode\x01",
                   "s.txt:2: unknown command 'explode\\x01' (the commands: "
                   "set, effect, entity, flamer, kill, event, move)"},
        BrokenCase{"entity e pos 3e38 0 0 box 0 0 0 1e38 1 1",
                   "s.txt:1: the box at this position reaches beyond the largest float"},
        BrokenCase{"flamer f pos 0 -3.4e38 0 box 0 -1e38 0 1 1 1",
                   "s.txt:1: the box at this position reaches beyond the largest float"},
        BrokenCase{"entity e pos 0 0 0 box 0 0 0 0 0 1e38\nmove e 0 0 3e38",
                   "s.txt:2: the box at this position reaches beyond the largest float"},
        BrokenCase{"entity e pos 0 0 0 box 0 0 0 1 1 1 health -5",
                   "s.txt:1: health -5 is negative"},
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
                  "s.txt:1: unknown command 'bogus' (the commands: set, effect, entity, flamer, "
                  "kill, event, move)",
                  "s.txt:2: missing position z", "s.txt:3: unknown Flamer 'f1'",
                  "s.txt:5: malformed integer 'x' for integer parameter 'flamer_splash_radius'"}));
}

}  // namespace
