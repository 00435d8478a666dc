// Small text helpers shared by the platform layer's readers, and the one rule
// for names: registry keys and values, profile sections and keys and
// processor feature words are matched without regard to letter case. ASCII
// letters fold; every other byte stands for itself, whatever the locale.
#pragma once

#include <algorithm>
#include <cctype>
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

inline std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace d3dx::platform
