#include "scenario_reader.h"

#include "shown_text.h"
#include "zorQNameHash.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace flamer_host {
namespace {

constexpr char kCommentMark = '#';
constexpr char kQuote = '"';

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSign(std::string_view word, std::size_t i) {
    return i < word.size() && (word[i] == '+' || word[i] == '-') ? i + 1 : i;
}

std::size_t SkipDigits(std::string_view word, std::size_t i) {
    while (i < word.size() && IsDigit(word[i])) ++i;
    return i;
}

bool IsDecimalInteger(std::string_view word) {
    const std::size_t start = SkipSign(word, 0);
    const std::size_t end = SkipDigits(word, start);
    return end > start && end == word.size();
}

// Digits with an optional fraction, then an optional exponent; `mantissaEnd`
// receives where the exponent (or the word) begins.
bool IsDecimalNumber(std::string_view word, std::size_t& mantissaEnd) {
    std::size_t i = SkipSign(word, 0);
    const std::size_t whole = SkipDigits(word, i);
    std::size_t digits = whole - i;
    i = whole;
    if (i < word.size() && word[i] == '.') {
        const std::size_t fraction = SkipDigits(word, i + 1);
        digits += fraction - i - 1;
        i = fraction;
    }
    if (digits == 0) return false;
    mantissaEnd = i;
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        const std::size_t start = SkipSign(word, i + 1);
        const std::size_t end = SkipDigits(word, start);
        if (end == start) return false;
        i = end;
    }
    return i == word.size();
}

bool HasNonZeroDigit(std::string_view text) {
    for (char c : text)
        if (c >= '1' && c <= '9') return true;
    return false;
}

}  // namespace

std::optional<std::vector<std::string>> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size() || line[i] == kCommentMark) return words;
        if (line[i] == kQuote) {
            const std::size_t close = line.find(kQuote, i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            words.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != kCommentMark) ++i;
        words.emplace_back(line.substr(start, i - start));
    }
}

std::string JoinWords(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        const bool quote = word.empty() || word.find_first_of(" \t#") != std::string::npos;
        const std::string shown = Printable(word);
        line += (line.empty() ? "" : " ") + (quote ? kQuote + shown + kQuote : shown);
    }
    return line;
}

bool WordReader::Next(const std::string& what) {
    if (index_ < words_.size()) return true;
    return Fail("missing " + what);
}

bool WordReader::Word(std::string& out, const std::string& what) {
    if (!Next(what)) return false;
    out = words_[index_++];
    return true;
}

bool WordReader::Name(std::string& out, const std::string& what) {
    if (!Word(out, what)) return false;
    if (out.empty()) return Fail("empty " + what);
    if (out.size() >= kNameCapacity)
        return Fail(what + " " + Quoted(out) + " is too long: " + std::to_string(out.size()) +
                    " characters, at most " + std::to_string(kNameCapacity - 1));
    return true;
}

bool WordReader::EntityName(std::string& out, const std::string& what) {
    if (!Name(out, what)) return false;
    for (char c : out)
        if (!IsNameCharacter(c))
            return Fail(what + " " + Quoted(out) + " may hold only letters, digits, '_' and '-'");
    return true;
}

bool WordReader::Int(int& out, const std::string& what) {
    std::string word;
    if (!Word(word, what)) return false;
    if (!IsDecimalInteger(word)) return Fail("malformed integer " + Quoted(word) + " for " + what);
    errno = 0;
    const long value = std::strtol(word.c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return Fail("integer " + Quoted(word) + " for " + what + " is out of range");
    out = static_cast<int>(value);
    return true;
}

bool WordReader::Float(float& out, const std::string& what) {
    std::string word;
    if (!Word(word, what)) return false;
    std::size_t mantissaEnd = 0;
    if (!IsDecimalNumber(word, mantissaEnd))
        return Fail("malformed number " + Quoted(word) + " for " + what);
    const float value = std::strtof(word.c_str(), nullptr);
    if (std::isinf(value))
        return Fail("number " + Quoted(word) + " for " + what + " is out of range");
    if (value == 0.0f && HasNonZeroDigit(std::string_view(word).substr(0, mantissaEnd)))
        return Fail("number " + Quoted(word) + " for " + what + " is too small: it would be 0");
    out = value;
    return true;
}

bool WordReader::Vector(D3DXVECTOR3& out, const std::string& what) {
    return Float(out.x, what + " x") && Float(out.y, what + " y") && Float(out.z, what + " z");
}

bool WordReader::Optional(std::string_view keyword) {
    if (index_ < words_.size() && zorQNameEqual{}(words_[index_], keyword)) {
        ++index_;
        return true;
    }
    return false;
}

bool WordReader::Keyword(std::string_view keyword) {
    if (Optional(keyword)) return true;
    const std::string quoted = Quoted(keyword);
    if (index_ == words_.size()) return Fail("missing " + quoted);
    return Fail("expected " + quoted + ", found " + Quoted(words_[index_]));
}

bool WordReader::End() {
    if (index_ == words_.size()) return true;
    return Fail("unexpected " + Quoted(words_[index_]) + " after the command");
}

bool WordReader::Fail(std::string message) {
    sink_.Report(line_, std::move(message));
    return false;
}

}  // namespace flamer_host
