// A scenario: the script the host program plays, one command per line in the
// style of an engine console file. The whole script is parsed and checked
// before anything runs, so a broken script never runs half-way.
#pragma once

#include <any>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace flamer_host {

struct Verb;

// Value kind of a class parameter, as its record declares it.
enum class ParamKind {
    kText,
    kInt,
    kFloat
};

// The kind's name as the parameter list and messages show it: "text",
// "integer" or "float".
std::string_view ParamKindName(ParamKind kind);

// A class parameter the scenario may set: its name, kind and, for text, the
// capacity of its field (terminator included).
struct ParamInfo {
    std::string name;
    ParamKind kind;
    std::size_t textCapacity;
};

// One checked command: where it stands, its verb, and the values the verb
// read from its words (the verb's own argument record, commands.h).
struct Command {
    int line = 0;
    std::string sourceText;  // the command as written, without its comment
    const Verb* verb = nullptr;
    std::any args;

    template <typename Args>
    const Args& As() const {
        return std::any_cast<const Args&>(args);
    }
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

// A text as messages and the report show it: control bytes written as \xNN.
std::string Printable(std::string_view text);
// The text printable, between two `mark` characters.
std::string Enclosed(std::string_view text, char mark);

struct ParseResult {
    Scenario scenario;
    std::vector<ScenarioError> errors;  // empty when the script is sound
};

// Parses and checks the whole script against the class's parameters. Every
// problem is collected; the scenario is usable only when `errors` is empty.
// A UTF-8 byte-order mark at the start is skipped.
ParseResult ParseScenario(std::string_view text, const std::string& source,
                          const std::vector<ParamInfo>& params);

}  // namespace flamer_host
