#include "scenario.h"

#include "scenario_checker.h"
#include "scenario_reader.h"
#include "shown_text.h"
#include "verbs.h"

namespace flamer_host {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Checks one command's words against its verb; null after a reported problem.
std::optional<Command> ParseCommand(std::vector<std::string> words, int line, ErrorSink& sink,
                                    ScenarioChecker& checker) {
    const std::string verbName = words.front();
    words.erase(words.begin());
    WordReader reader(std::move(words), line, sink);
    const Verb* verb = FindVerb(verbName);
    if (verb == nullptr) {
        reader.Fail("unknown command " + Quoted(verbName) + " (the commands: " + VerbList() + ")");
        return std::nullopt;
    }
    Command command;
    command.line = line;
    command.verb = verb;
    if (!verb->parse(reader, checker, command.args) || !reader.End()) return std::nullopt;
    return command;
}

}  // namespace

std::string FormatError(const ScenarioError& error) {
    return Printable(error.source) + ":" + std::to_string(error.line) + ": " + error.message;
}

ParseResult ParseScenario(std::string_view text, const std::string& source,
                          const ClassCatalogue& classes) {
    ParseResult result;
    result.scenario.source = source;
    ErrorSink sink(source, result.errors);
    ScenarioChecker checker(classes);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) {
            sink.Report(lineNumber, "NUL byte in column " + std::to_string(nul + 1) +
                                        ": names, texts and numbers cannot hold one");
            continue;
        }
        std::optional<std::vector<std::string>> words = SplitWords(line);
        if (!words) {
            sink.Report(lineNumber, "unterminated quoted text");
            continue;
        }
        if (words->empty()) continue;
        const std::string sourceText = JoinWords(*words);
        if (std::optional<Command> command =
                ParseCommand(std::move(*words), lineNumber, sink, checker)) {
            command->sourceText = sourceText;
            result.scenario.commands.push_back(std::move(*command));
        }
    }
    return result;
}

}  // namespace flamer_host
