// Byte-order marks and UTF-16 LE decoding.
#include "platform/text_encoding.h"

#include "platform/text_util.h"

#include <algorithm>
#include <cstdint>

namespace d3dx::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

constexpr uint32_t kReplacementCharacter = 0xFFFD;
constexpr uint32_t kHighSurrogateFirst = 0xD800;
constexpr uint32_t kLowSurrogateFirst = 0xDC00;
constexpr uint32_t kSurrogateEnd = 0xE000;
constexpr uint32_t kSupplementaryFirst = 0x10000;

bool IsHighSurrogate(uint32_t u) { return u >= kHighSurrogateFirst && u < kLowSurrogateFirst; }
bool IsLowSurrogate(uint32_t u) { return u >= kLowSurrogateFirst && u < kSurrogateEnd; }

void AppendUtf8(uint32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

uint32_t CodeUnitAt(std::string_view bytes, size_t i) {
    return static_cast<uint8_t>(bytes[i]) |
           (static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8);
}

int LineAtEndOf(const std::string& text) {
    int line = 1;
    for (std::string_view rest = text; !rest.empty(); NextLine(rest))
        if (rest.find_first_of("\r\n") != std::string_view::npos) ++line;
    return line;
}

DecodedText DecodeUtf16Le(std::string_view bytes) {
    DecodedText out;
    out.text.reserve(bytes.size() / 2);
    const size_t whole = bytes.size() - bytes.size() % 2;
    for (size_t i = 0; i < whole; i += 2) {
        uint32_t c = CodeUnitAt(bytes, i);
        if (IsHighSurrogate(c) && i + 2 < whole && IsLowSurrogate(CodeUnitAt(bytes, i + 2))) {
            c = kSupplementaryFirst + ((c - kHighSurrogateFirst) << 10) +
                (CodeUnitAt(bytes, i + 2) - kLowSurrogateFirst);
            i += 2;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacementCharacter;
        }
        AppendUtf8(c, out.text);
    }
    if (whole != bytes.size()) {
        out.error = "UTF-16 text ends in half a character";
        out.errorLine = LineAtEndOf(out.text);
    }
    return out;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeBom)) return DecodeUtf16Le(bytes.substr(kUtf16LeBom.size()));
    if (bytes.starts_with(kUtf16BeBom)) {
        return {{}, "big-endian UTF-16 text; save the file as UTF-16 LE or UTF-8", 1};
    }
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    return {std::string(bytes), {}, 0};
}

}  // namespace d3dx::platform
