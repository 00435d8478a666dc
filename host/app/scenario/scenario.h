// A scenario: the script the host program plays, one command per line in the
// style of an engine console file. The whole script is parsed and checked
// against the loaded classes before anything runs, so a broken script never
// runs half-way.
#pragma once

#include "class_catalogue.h"
#include "command_args.h"

#include <string>
#include <string_view>
#include <vector>

namespace flamer_host {

struct Verb;

// One checked command: where it stands, its verb, and what its words say.
struct Command {
    int line = 0;
    std::string sourceText;  // the command as written, without its comment
    const Verb* verb = nullptr;
    CommandArgs args;
};

struct Scenario {
    std::string source;  // file name used in messages
    std::vector<Command> commands;
};

// One problem found in a script, printed as "source:line: message".
struct ScenarioError {
    std::string source;
    int line;
    std::string message;
};

std::string FormatError(const ScenarioError& error);

struct ParseResult {
    Scenario scenario;
    std::vector<ScenarioError> errors;  // empty when the script is sound
};

// Parses and checks the whole script against the loaded classes. Every
// problem is collected; the scenario is usable only when `errors` is empty.
// A UTF-8 byte-order mark at the start is skipped.
ParseResult ParseScenario(std::string_view text, const std::string& source,
                          const ClassCatalogue& classes);

}  // namespace flamer_host
