// The scenario language: what a sound script turns into, and how a broken
// one is refused line by line before anything runs.
#include "scenario.h"
#include "shown_text.h"
#include "verbs.h"
#include "zorQModule.h"

#include <cfloat>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;
using flamer_host::ClassCatalogue;
using flamer_host::ClassInfo;
using flamer_host::ParseScenario;
using flamer_host::SetArgs;

// The Flamer, a second player class, and an effect class; "speed" is listed
// by two of them.
const ClassCatalogue kClasses({
    ClassInfo{"plFlamer",
              "player",
              true,
              {{"flamer_explosion", PARAM_TEXT, 128},
               {"flamer_splash_radius", PARAM_INT, 128},
               {"flamer_impulse", PARAM_FLOAT, 128}}},
    ClassInfo{"plBeacon",
              "player",
              true,
              {{"beacon_effect", PARAM_TEXT, 128}, {"speed", PARAM_FLOAT, 128}}},
    ClassInfo{"plSpark", "custom", false, {{"speed", PARAM_FLOAT, 128}}},
});

constexpr char kCommands[] = "set, effect, entity, flamer, spawn, kill, event, move";

std::vector<std::string> Errors(const std::string& script,
                                const ClassCatalogue& classes = kClasses) {
    std::vector<std::string> lines;
    for (const auto& error : ParseScenario(script, "s.txt", classes).errors)
        lines.push_back(flamer_host::FormatError(error));
    return lines;
}

template <typename Args>
const Args& ArgsOf(const flamer_host::Command& command) {
    return std::get<Args>(command.args);
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
        "move crate 9 8 7\r\n"
        "spawn PLBEACON b pos 1 1 1 box -1 -1 -1 1 1 1\n"
        "set plbeacon.SPEED 2\n"
        "set beacon_effect plSpark\n",
        "s.txt", kClasses);
    ASSERT_TRUE(result.errors.empty()) << flamer_host::FormatError(result.errors[0]);
    const auto& c = result.scenario.commands;
    ASSERT_EQ(c.size(), 12u);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[0].verb->name, "set");
    EXPECT_EQ(std::get<int32_t>(ArgsOf<SetArgs>(c[0]).value), 80);
    EXPECT_EQ(c[0].sourceText, "SET flamer_splash_radius 80");
    EXPECT_EQ(ArgsOf<SetArgs>(c[1]).param, "flamer_impulse");  // the class's own spelling
    EXPECT_EQ(ArgsOf<SetArgs>(c[1]).className, "plFlamer");
    EXPECT_EQ(std::get<float>(ArgsOf<SetArgs>(c[1]).value), -25.0f);
    EXPECT_EQ(std::get<std::string>(ArgsOf<SetArgs>(c[2]).value), "");
    EXPECT_EQ(ArgsOf<flamer_host::EffectArgs>(c[3]).name, "fx_boom");
    const auto& entity = ArgsOf<flamer_host::EntityArgs>(c[4]);
    EXPECT_EQ(entity.boxMin.z, -3.0f);
    EXPECT_EQ(entity.boxMax.x, 4.0f);
    EXPECT_EQ(entity.health, 7);
    const auto& flamer = ArgsOf<flamer_host::SpawnArgs>(c[5]);
    EXPECT_EQ(flamer.className, "plFlamer");
    EXPECT_EQ(flamer.noun, "Flamer");
    EXPECT_EQ(flamer.boxMin.y, flamer_host::kDefaultBodyBoxMin.y);
    EXPECT_EQ(ArgsOf<flamer_host::KillArgs>(c[6]).flag, -3);
    EXPECT_EQ(ArgsOf<flamer_host::EventArgs>(c[7]).text, "fireblow ");
    EXPECT_EQ(c[7].sourceText, "event f1 \"fireblow \"");
    EXPECT_EQ(ArgsOf<flamer_host::MoveArgs>(c[8]).position.z, 7.0f);
    const auto& beacon = ArgsOf<flamer_host::SpawnArgs>(c[9]);
    EXPECT_EQ(beacon.className, "plBeacon");
    EXPECT_EQ(beacon.noun, "plBeacon");
    EXPECT_EQ(beacon.boxMax.x, 1.0f);
    // A parameter named with its class is shown so, in the class's spelling.
    EXPECT_EQ(ArgsOf<SetArgs>(c[10]).className, "plBeacon");
    EXPECT_EQ(ArgsOf<SetArgs>(c[10]).shownName, "plBeacon.speed");
    EXPECT_EQ(ArgsOf<SetArgs>(c[11]).shownName, "beacon_effect");
}

// Every verb of the table is reached by its name in any letter case, and
// the fuzz programs' dictionary holds every one.
TEST(ScenarioParse, EveryVerbIsFoundInAnyCaseAndIsInTheFuzzDictionary) {
    std::ifstream file(std::string(FLAMER_SOURCE_DIR) + "/fuzz/host/app/scenario_check.dict");
    std::ostringstream dictionary;
    dictionary << file.rdbuf();
    for (std::string_view name : flamer_host::VerbNames()) {
        std::string upper(name);
        for (char& ch : upper) ch = static_cast<char>(ch - 'a' + 'A');
        EXPECT_EQ(flamer_host::FindVerb(upper), flamer_host::FindVerb(name)) << name;
        std::string entry(1, '"');
        entry.append(name).append("\"\n");
        EXPECT_NE(dictionary.str().find(entry), std::string::npos)
            << name << " is not in the fuzz dictionary";
    }
    EXPECT_EQ(flamer_host::VerbList(), kCommands);
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
        "s.txt", kClasses);
    ASSERT_TRUE(result.errors.empty()) << flamer_host::FormatError(result.errors[0]);
    const auto value = [&](int i) {
        return std::get<float>(
            ArgsOf<SetArgs>(result.scenario.commands[static_cast<std::size_t>(i)]).value);
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
                   "s.txt:1: unknown command 'explode' (the commands: set, effect, entity, flamer, "
                   "spawn, kill, event, move)"},
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
                   "s.txt:2: unknown command 'explode\\x01' (the commands: set, effect, entity, "
                   "flamer, spawn, kill, event, move)"},
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
        BrokenCase{"kill f1 2", "s.txt:1: unknown object 'f1'"},
        BrokenCase{"entity c pos 0 0 0 box 0 0 0 1 1 1\nkill c 2",
                   "s.txt:2: 'c' is an entity, not an object that flamer or spawn made"},
        BrokenCase{"spawn plBeacon b pos 0 0 0\nkill b 1\nkill b 1",
                   "s.txt:3: plBeacon 'b' is already dead (killed on line 2)"},
        BrokenCase{"spawn plX b pos 0 0 0",
                   "s.txt:1: unknown class 'plX' (the classes: plFlamer, plBeacon, plSpark)"},
        BrokenCase{"spawn plSpark s pos 0 0 0",
                   "s.txt:1: class 'plSpark' is not a classic player class: only those spawn"},
        BrokenCase{"set speed 1",
                   "s.txt:1: parameter 'speed' is listed by plBeacon and plSpark: name the "
                   "class, as in plBeacon.speed"},
        BrokenCase{"set plBeacon.bogus 1", "s.txt:1: class plBeacon has no parameter 'bogus'"},
        BrokenCase{"effect PLSPARK", "s.txt:1: effect class 'PLSPARK' is already registered"},
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

// Without the Flamer module, the short form has nothing to spawn.
TEST(ScenarioParse, FlamerNeedsTheFlamerModule) {
    const ClassCatalogue beaconOnly({ClassInfo{"plBeacon", "player", true, {}}});
    EXPECT_EQ(Errors("flamer f pos 0 0 0", beaconOnly),
              std::vector<std::string>{"s.txt:1: no Flamer module is loaded: 'flamer' spawns the "
                                       "class plFlamer (the classes: plBeacon)"});
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
                  "spawn, kill, event, move)",
                  "s.txt:2: missing position z", "s.txt:3: unknown object 'f1'",
                  "s.txt:5: malformed integer 'x' for integer parameter 'flamer_splash_radius'"}));
}

}  // namespace
