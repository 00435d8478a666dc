// Reading one scenario line: its words, and the names and numbers among
// them.
#pragma once

#include "d3dx_math.h"
#include "scenario.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flamer_host {

// Longest entity, object or effect class name (terminator included).
constexpr std::size_t kNameCapacity = 64;

// Splits one line into words: blanks separate, '#' starts a comment, and a
// double-quoted word may hold blanks (or be empty). Null on an open quote.
std::optional<std::vector<std::string>> SplitWords(std::string_view line);
// The words of a command as a line again, quoting those that need it.
std::string JoinWords(const std::vector<std::string>& words);

// Collects the problems of one script.
class ErrorSink {
public:
    ErrorSink(const std::string& source, std::vector<ScenarioError>& errors)
        : source_(source), errors_(errors) {}
    void Report(int line, std::string message) {
        errors_.push_back({source_, line, std::move(message)});
    }

private:
    const std::string& source_;
    std::vector<ScenarioError>& errors_;
};

// Reads the words of one command in order; the first problem is reported
// and ends the reading of the line. `what` names the word in messages.
class WordReader {
public:
    WordReader(std::vector<std::string> words, int line, ErrorSink& sink)
        : words_(std::move(words)), line_(line), sink_(sink) {}

    bool Word(std::string& out, const std::string& what);
    // A non-empty name of at most kNameCapacity - 1 characters.
    bool Name(std::string& out, const std::string& what);
    // An entity or object name: letters, digits, '_' and '-', so that the
    // report's derived names (a corpse is "<name>.corpse") never collide.
    bool EntityName(std::string& out, const std::string& what);
    // Decimal numbers only: an optional sign, digits, for a float an optional
    // fraction and exponent. No blanks, no hexadecimal, no inf or nan; a
    // float must neither overflow nor underflow to 0.
    bool Int(int& out, const std::string& what);
    bool Float(float& out, const std::string& what);
    bool Vector(D3DXVECTOR3& out, const std::string& what);

    // Consumes `keyword` if it comes next (letter case ignored).
    bool Optional(std::string_view keyword);
    bool Keyword(std::string_view keyword);
    // Reports words left over after the command.
    bool End();

    bool Fail(std::string message);
    int Line() const { return line_; }

private:
    bool Next(const std::string& what);

    std::vector<std::string> words_;
    std::size_t index_ = 0;
    int line_;
    ErrorSink& sink_;
};

}  // namespace flamer_host
