// Reading one scenario line: its words, the numbers and names among them,
// and what the lines before it defined.
#pragma once

#include "d3dx_math.h"
#include "scenario.h"
#include "zorQNameHash.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace flamer_host {

// Longest entity, Flamer or effect class name (terminator included).
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
    // An entity or Flamer name: letters, digits, '_' and '-', so that the
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

// A word as a message shows it: quoted, and printable.
std::string Quoted(std::string_view word);

// What the lines before a command define: the class's parameters, the effect
// classes registered, and the entities and Flamers with what happened to them.
class ScenarioChecker {
public:
    struct Definition {
        int line;
        bool flamer;
        int killedOn;  // 0 while no kill command has killed it
        D3DXVECTOR3 boxMin;
        D3DXVECTOR3 boxMax;
    };

    explicit ScenarioChecker(const std::vector<ParamInfo>& params) : params_(params) {}

    const ParamInfo* FindParam(std::string_view name) const;
    // Registers an effect class name; refused when taken (letter case ignored).
    bool AddEffect(WordReader& reader, const std::string& name);
    // Defines an entity or Flamer name; refused when taken.
    bool Define(WordReader& reader, const std::string& name, const Definition& definition);
    // The definition of a name used by a command, or a reported problem.
    Definition* FindEntity(WordReader& reader, const std::string& name);
    Definition* FindFlamer(WordReader& reader, const std::string& name);

private:
    Definition* Find(WordReader& reader, const std::string& name, const char* noun);

    const std::vector<ParamInfo>& params_;
    std::unordered_map<std::string, Definition> names_;
    std::unordered_set<std::string, zorQNameHash, zorQNameEqual> effects_;
};

// False, with a problem reported, when a box placed at `position` reaches
// beyond the float range.
bool CheckBoxFits(WordReader& reader, const D3DXVECTOR3& position, const D3DXVECTOR3& boxMin,
                  const D3DXVECTOR3& boxMax);

}  // namespace flamer_host
