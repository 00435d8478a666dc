// Registry export file reader.
#include "platform/reg_file.h"

#include "platform/text_encoding.h"
#include "platform/text_util.h"

#include <array>
#include <cstdint>
#include <vector>

namespace d3dx::platform {
namespace {

constexpr std::array<std::string_view, 2> kHeaders{"Windows Registry Editor Version 5.00",
                                                   "REGEDIT4"};
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kHexPrefix = "hex";
constexpr char kCommentStart = ';';
constexpr char kContinuation = '\\';
constexpr size_t kDwordDigits = 8;

// The file split into logical lines: continuations joined, numbered by the
// line they start on.
struct Line {
    int number;
    std::string text;
};

std::vector<Line> LogicalLines(std::string_view text) {
    std::vector<Line> lines;
    bool continuing = false;
    for (int number = 1; !text.empty(); ++number) {
        std::string_view trimmed = TrimSpaces(NextLine(text));
        const bool continues = !trimmed.empty() && trimmed.back() == kContinuation;
        if (continues) trimmed.remove_suffix(1);
        if (continuing) {
            lines.back().text += trimmed;
        } else {
            lines.push_back(Line{number, std::string(trimmed)});
        }
        continuing = continues;
    }
    return lines;
}

class Parser {
public:
    RegFileParse Run(std::string_view text);

private:
    bool Fail(const Line& line, std::string message);
    bool ParseKeyLine(const Line& line);
    bool ParseValueLine(const Line& line);
    bool ParseData(const Line& line, std::string_view data, RegValue* value);
    bool ParseHexBytes(const Line& line, std::string_view bytes, std::vector<uint8_t>* out);

    RegistryStore store_;
    std::string key_;  // current key path, empty before the first key line
    RegFileError error_;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string with \\ and \" escapes from the start of text.
// Returns the characters consumed, 0 when it is not a complete string.
size_t ReadQuoted(std::string_view text, std::string* out) {
    if (text.empty() || text.front() != '"') return 0;
    out->clear();
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') return i + 1;
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        out->push_back(text[i]);
    }
    return 0;
}

bool ParseHexNumber(std::string_view digits, uint32_t* value) {
    if (digits.empty() || digits.size() > kDwordDigits) return false;
    *value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        *value = *value * 16 + static_cast<uint32_t>(d);
    }
    return true;
}

bool Parser::Fail(const Line& line, std::string message) {
    error_ = RegFileError{line.number, std::move(message)};
    return false;
}

bool Parser::ParseKeyLine(const Line& line) {
    if (line.text.back() != ']') return Fail(line, "key line without closing ']'");
    std::string_view path = std::string_view(line.text).substr(1, line.text.size() - 2);
    const bool removal = !path.empty() && path.front() == '-';
    if (removal) path.remove_prefix(1);
    const std::string_view root = path.substr(0, path.find('\\'));
    if (RootKeyByName(root) == 0)
        return Fail(line, "unknown root key \"" + std::string(root) + "\"");
    key_ = std::string(path);
    if (removal) {
        store_.RemoveKey(key_);
    } else {
        store_.CreateKey(key_);
    }
    return true;
}

bool Parser::ParseHexBytes(const Line& line, std::string_view bytes, std::vector<uint8_t>* out) {
    while (!TrimSpaces(bytes).empty()) {
        const size_t comma = bytes.find(',');
        const std::string_view byte = TrimSpaces(bytes.substr(0, comma));
        uint32_t value = 0;
        if (byte.size() > 2 || !ParseHexNumber(byte, &value)) {
            return Fail(line, "bad hex byte \"" + std::string(byte) + "\"");
        }
        out->push_back(static_cast<uint8_t>(value));
        if (comma == std::string_view::npos) break;
        bytes.remove_prefix(comma + 1);
    }
    return true;
}

bool Parser::ParseData(const Line& line, std::string_view data, RegValue* value) {
    if (data.substr(0, kDwordPrefix.size()) == kDwordPrefix) {
        uint32_t number = 0;
        if (!ParseHexNumber(data.substr(kDwordPrefix.size()), &number)) {
            return Fail(line, "bad dword value \"" + std::string(data) + "\"");
        }
        *value = DwordValue(number);
        return true;
    }
    if (data.front() == '"') {
        std::string text;
        if (ReadQuoted(data, &text) != data.size()) return Fail(line, "bad string value");
        *value = StringValue(text);
        return true;
    }
    if (data.substr(0, kHexPrefix.size()) == kHexPrefix) {
        std::string_view rest = data.substr(kHexPrefix.size());
        uint32_t type = kRegBinary;
        if (!rest.empty() && rest.front() == '(') {
            const size_t close = rest.find(')');
            if (close == std::string_view::npos ||
                !ParseHexNumber(rest.substr(1, close - 1), &type)) {
                return Fail(line, "bad hex value type");
            }
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') return Fail(line, "expected ':' after hex");
        value->type = type;
        return ParseHexBytes(line, rest.substr(1), &value->data);
    }
    return Fail(line, "unknown value data \"" + std::string(data) + "\"");
}

bool Parser::ParseValueLine(const Line& line) {
    if (key_.empty()) return Fail(line, "value before the first key line");
    const std::string_view text = line.text;
    std::string name;
    size_t nameEnd = 1;
    if (text.front() != '@') {
        nameEnd = ReadQuoted(text, &name);
        if (nameEnd == 0) return Fail(line, "unterminated value name");
    }
    const std::string_view rest = TrimSpaces(text.substr(nameEnd));
    if (rest.empty() || rest.front() != '=') return Fail(line, "expected '=' after the value name");
    const std::string_view data = TrimSpaces(rest.substr(1));
    if (data.empty()) return Fail(line, "value without data");
    if (data == "-") {
        store_.RemoveValue(key_, name);
        return true;
    }
    RegValue value;
    if (!ParseData(line, data, &value)) return false;
    store_.SetValue(key_, name, std::move(value));
    return true;
}

bool IsHeader(std::string_view line) {
    for (std::string_view header : kHeaders) {
        if (line == header) return true;
    }
    return false;
}

RegFileParse Parser::Run(std::string_view text) {
    const std::vector<Line> lines = LogicalLines(text);
    bool headerSeen = false;
    for (const Line& line : lines) {
        if (line.text.empty() || line.text.front() == kCommentStart) continue;
        bool ok = true;
        if (!headerSeen) {
            ok = IsHeader(line.text) ||
                 Fail(line, "missing header line \"" + std::string(kHeaders[0]) + "\"");
            headerSeen = true;
        } else if (line.text.front() == '[') {
            ok = ParseKeyLine(line);
        } else {
            ok = ParseValueLine(line);
        }
        if (!ok) return {std::nullopt, error_};
    }
    if (!headerSeen) return {std::nullopt, RegFileError{1, "empty file"}};
    return {std::move(store_), {}};
}

}  // namespace

RegFileParse ParseRegFile(std::string_view bytes) {
    const DecodedText decoded = DecodeText(bytes);
    if (!decoded.error.empty()) {
        return {std::nullopt, RegFileError{decoded.errorLine, decoded.error}};
    }
    return Parser{}.Run(decoded.text);
}

}  // namespace d3dx::platform
