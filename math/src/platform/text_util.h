// Small text helpers shared by the platform layer's readers, and the one rule
// for names: registry keys and values, profile sections and keys and
// processor feature words are matched without regard to letter case. ASCII
// letters fold; every other byte stands for itself, whatever the locale.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace d3dx::platform {

constexpr char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, {}, FoldCase, FoldCase);
}

// Orders names as EqualsIgnoringCase matches them, for maps keyed by name.
struct LessIgnoringCase {
    using is_transparent = void;
    constexpr bool operator()(std::string_view a, std::string_view b) const {
        return std::ranges::lexicographical_compare(a, b, {}, FoldCase, FoldCase);
    }
};

// Hashes names as EqualsIgnoringCase matches them (FNV-1a of the folded
// bytes), for hash maps keyed by name.
struct HashIgnoringCase {
    using is_transparent = void;
    constexpr size_t operator()(std::string_view name) const {
        uint64_t hash = 14695981039346656037ull;  // the FNV-1a offset basis
        for (char c : name) {
            hash ^= static_cast<unsigned char>(FoldCase(c));
            hash *= 1099511628211ull;  // the FNV-1a prime
        }
        return static_cast<size_t>(hash);
    }
};
struct EqualIgnoringCase {
    using is_transparent = void;
    constexpr bool operator()(std::string_view a, std::string_view b) const {
        return EqualsIgnoringCase(a, b);
    }
};

// Takes the next line off `text`: a line ends at "\r\n", at "\n" or at a
// lone "\r" (as old Macintosh files end them), and the end is not part of it.
inline std::string_view NextLine(std::string_view& text) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

inline std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace d3dx::platform
