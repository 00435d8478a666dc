// The verbs of the scenario language. Each verb is one row of the table in
// verbs.cpp: its name, how its words are read and checked before anything
// runs, and whether it may set off explosions. What a command does when it
// is played is found by its argument record (command_args.h), so a new verb
// is a new row here, a new record there, and its run in the play (and a line
// in docs/host-program.md).
#pragma once

#include "command_args.h"

#include <string>
#include <string_view>
#include <vector>

namespace flamer_host {

class ScenarioChecker;
class WordReader;

struct Verb {
    std::string_view name;
    // Reads and checks the words after the verb into its argument record;
    // false after reporting a problem.
    bool (*parse)(WordReader& reader, ScenarioChecker& checker, CommandArgs& args);
    // The command may set off explosions: the tuning is shown before it.
    bool explodes;
};

// The verb of that name (letter case ignored), or null.
const Verb* FindVerb(std::string_view name);
// The verbs' names, in the table's order.
std::vector<std::string_view> VerbNames();
// The verbs' names, comma-separated, for messages.
std::string VerbList();

}  // namespace flamer_host
